@echo off
rem Removes the registration of VTX_HA: uninstall.cmd [x86 ^| x64], as install.cmd.
"%~dp0install.cmd" /u %*
