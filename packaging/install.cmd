@echo off
rem Registers VTX_HA for Korvel: the DLL of Korvel's bitness, from the folder
rem this script lies in (keep the folder where it is while Korvel uses it).
rem
rem   install.cmd [x86 ^| x64]     x86 for a 32-bit Korvel, x64 for a 64-bit one
rem
rem Without an argument the bitness follows Korvel's installation folder: a
rem "Korvel" folder under "Program Files (x86)" means x86, one under "Program
rem Files" x64; on 32-bit Windows it is always x86.
rem uninstall.cmd takes the same argument and removes the registration.
rem Exit codes: 0 done, 1 regsvr32 failed, 2 bad argument, DLL or Korvel not
rem found, 5 not run as administrator.
setlocal EnableExtensions
set "MODE="
set "DONE=registered"
if /i not "%~1"=="/u" goto :arguments
set "MODE=/u"
set "DONE=unregistered"
shift
:arguments
set "BITS=%~1"
if not "%~2"=="" goto :usage

rem COM servers are registered for the whole machine: only an administrator may.
%SystemRoot%\System32\net.exe session >nul 2>&1
if errorlevel 1 goto :not_admin

set "WIN64="
if /i "%PROCESSOR_ARCHITECTURE%"=="AMD64" set "WIN64=1"
if /i "%PROCESSOR_ARCHITECTURE%"=="ARM64" set "WIN64=1"
if defined PROCESSOR_ARCHITEW6432 set "WIN64=1"

if "%BITS%"=="" goto :find_korvel
:bits_known
if /i "%BITS%"=="x86" goto :x86
if /i "%BITS%"=="x64" goto :x64
goto :usage

rem Korvel's folder tells its bitness.
:find_korvel
set "BITS=x86"
if not defined WIN64 goto :bits_known
if exist "%ProgramFiles(x86)%\Korvel\" goto :bits_known
set "BITS=x64"
if defined ProgramW6432 if exist "%ProgramW6432%\Korvel\" goto :bits_known
if exist "%ProgramFiles%\Korvel\" goto :bits_known
goto :no_korvel

:x86
set "BITS=x86"
rem On 64-bit Windows the 32-bit regsvr32 lives in SysWOW64.
set "REGSVR32=%SystemRoot%\System32\regsvr32.exe"
if defined WIN64 set "REGSVR32=%SystemRoot%\SysWOW64\regsvr32.exe"
goto :register

:x64
set "BITS=x64"
if not defined WIN64 goto :no_win64
rem A 32-bit command prompt sees SysWOW64 as System32; Sysnative is the real one.
set "REGSVR32=%SystemRoot%\System32\regsvr32.exe"
if defined PROCESSOR_ARCHITEW6432 set "REGSVR32=%SystemRoot%\Sysnative\regsvr32.exe"
goto :register

:register
set "DLL=%~dp0%BITS%\VTX_HA.dll"
if not exist "%DLL%" goto :no_dll
"%REGSVR32%" /s %MODE% "%DLL%"
if errorlevel 1 goto :failed
echo VTX_HA %BITS% %DONE%: %DLL%
exit /b 0

:usage
echo usage: %~nx0 [x86 ^| x64]   (x86 for a 32-bit Korvel, x64 for a 64-bit Korvel) 1>&2
exit /b 2
:not_admin
echo VTX_HA: nothing was changed. Run this script as administrator (right-click it, then "Run as administrator"). 1>&2
exit /b 5
:no_korvel
echo VTX_HA: no Korvel folder under Program Files; give x86 for a 32-bit Korvel or x64 for a 64-bit Korvel. 1>&2
exit /b 2
:no_win64
echo VTX_HA: a 64-bit Korvel needs 64-bit Windows; this Windows is 32-bit, give x86. 1>&2
exit /b 2
:no_dll
echo VTX_HA: %DLL% is missing; unpack the whole package and run the script from it. 1>&2
exit /b 2
:failed
echo VTX_HA: regsvr32 failed (%ERRORLEVEL%); VTX_HA %BITS% is not %DONE%. 1>&2
exit /b 1
