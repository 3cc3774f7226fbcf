# Makes the zip with cpack, unpacks it, checks its contents, then runs its
# install.cmd and uninstall.cmd under Wine as an administrator would: Korvel
# found by its folder, the registry checked after each script, and a refusal
# when net.exe says the user is no administrator. Every step runs; the
# failures are listed at the end.
# Inputs: CPACK, CONFIG (CPackConfig.cmake), OBJDUMP, WINE, WINESERVER, PREFIX
# (ready), SOURCE_DIR, WORK_DIR, ACCESS_DENIED (stand-in for net.exe),
# X86_SKIPPED (why Wine runs no 32-bit programs here, empty when it does).
include(${CMAKE_CURRENT_LIST_DIR}/wine_session.cmake)

execute_process(COMMAND ${CPACK} -G ZIP --config ${CONFIG} -B ${WORK_DIR}
                RESULT_VARIABLE status OUTPUT_VARIABLE text ERROR_VARIABLE text)
file(GLOB zips ${WORK_DIR}/VTX_HA-*-windows.zip)
list(LENGTH zips count)
if(NOT status EQUAL 0 OR NOT count EQUAL 1)
  message(FATAL_ERROR "cpack made no VTX_HA-<version>-windows.zip (${status}):\n${text}")
endif()
file(MAKE_DIRECTORY ${WORK_DIR}/unpacked)
execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${zips} WORKING_DIRECTORY ${WORK_DIR}/unpacked)
get_filename_component(top ${zips} NAME_WLE)
set(package ${WORK_DIR}/unpacked/${top})

# Each DLL in the folder of its bitness: a swap would register a DLL that
# Korvel cannot load.
foreach(entry install.cmd uninstall.cmd korvel-setup.md x86/VTX_HA.tlb x64/VTX_HA.tlb)
  if(NOT EXISTS ${package}/${entry})
    fail("the zip lacks ${top}/${entry}")
  endif()
endforeach()
foreach(pair "x86;pei-i386" "x64;pei-x86-64")
  list(GET pair 0 folder)
  list(GET pair 1 format)
  execute_process(COMMAND ${OBJDUMP} -f ${package}/${folder}/VTX_HA.dll OUTPUT_VARIABLE dump
                  ERROR_VARIABLE dump)
  if(NOT dump MATCHES "file format ${format}\n")
    fail("${folder}/VTX_HA.dll is not ${format}: ${dump}")
  endif()
endforeach()


# Runs a script of the package and checks its exit code, its message and the
# registry it leaves for the DLL of `bits` (a macro, so that fail() reaches
# the list of failures).
macro(run_script script arguments expected_status expected_text bits state)
  windows_path(${package}/${script} path)
  wine_run(status text cmd /c ${path} ${arguments})
  message(STATUS "${script} ${arguments}: ${status} ${text}")
  if(NOT status EQUAL "${expected_status}" OR NOT text MATCHES "${expected_text}")
    fail("${script} ${arguments}: exit ${status}, expected ${expected_status} and '${expected_text}'")
  endif()
  set(system_dir "C:\\windows\\system32")
  if("${bits}" STREQUAL "x86")
    set(system_dir "C:\\windows\\syswow64")
  endif()
  windows_path(${package}/${bits}/VTX_HA.dll dll)
  wine_run(status text ${system_dir}\\cscript.exe //nologo ${registry_check} ${state} ${dll}
           ${library_id} ${application_clsid} ${nls_clsid})
  if(NOT status EQUAL 0 OR NOT text MATCHES "[0-9]+ checks, 0 failed")
    fail("after ${script} ${arguments} the ${bits} registry is not ${state}: ${text}")
  endif()
endmacro()

# A run that failed half-way may have left its registration in the prefix.
windows_path(${package}/uninstall.cmd uninstall)
wine_run(status text cmd /c ${uninstall} x64)
if(NOT X86_SKIPPED)
  wine_run(status text cmd /c ${uninstall} x86)
endif()

# Korvel is found by its folder; without one the script asks for the bitness.
run_script(install.cmd "" 2 "give x86 for a 32-bit Korvel" x64 unregistered)
set(korvel "${PREFIX}/drive_c/Program Files/Korvel")
file(MAKE_DIRECTORY "${korvel}")
run_script(install.cmd "" 0 "VTX_HA x64 registered" x64 registered)
file(REMOVE_RECURSE "${korvel}")
run_script(uninstall.cmd x64 0 "VTX_HA x64 unregistered" x64 unregistered)
if(X86_SKIPPED)
  message(STATUS "${X86_SKIPPED}: install.cmd x86 and uninstall.cmd x86 are not run")
else()
  run_script(install.cmd x86 0 "VTX_HA x86 registered" x86 registered)
  run_script(uninstall.cmd x86 0 "VTX_HA x86 unregistered" x86 unregistered)
endif()
run_script(install.cmd "x64;x86" 2 "usage: install.cmd" x64 unregistered)

# Not an administrator: nothing is registered, and the script says why.
set(net "${PREFIX}/drive_c/windows/system32/net.exe")
file(RENAME ${net} ${net}.kept)
file(COPY_FILE ${ACCESS_DENIED} ${net})
set(ENV{WINEDLLOVERRIDES} "mscoree,mshtml=;net.exe=n")
run_script(install.cmd x64 5 "Run this script as administrator" x64 unregistered)
set(ENV{WINEDLLOVERRIDES} "mscoree,mshtml=")
file(REMOVE ${net})
file(RENAME ${net}.kept ${net})

report_failures()
