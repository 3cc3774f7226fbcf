# Registers VTX_HA.dll with regsvr32, checks the registry, runs the script
# client under cscript against the Korvel stand-in, unregisters and checks
# that the keys are gone. Every step runs; the failures are listed at the end.
# Inputs: WINE, WINESERVER, PREFIX (ready), DLL, SOURCE_DIR, WORK_DIR, and
# SYSTEM_DIR, the Windows folder of the programs of the DLL's bitness
# (system32, or syswow64 for a 32-bit DLL in a 64-bit prefix).
set(ENV{WINEPREFIX} ${PREFIX})
set(ENV{WINEDEBUG} -all)
set(ENV{WINEDLLOVERRIDES} "mscoree,mshtml=")
# Message boxes and dialogs are written here instead of shown (the client
# checks them); reports of trapped errors are on.
set(ENV{VTX_MESSAGE_LOG} ${WORK_DIR}/messages.log)
set(ENV{DEBUG} true)
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})

set(failures "")
macro(fail text)
  list(APPEND failures "${text}")
  message(STATUS "FAIL ${text}")
endmacro()

# Wine sees the whole file system as drive Z:.
function(windows_path path out)
  string(REPLACE "/" "\\" path "${path}")
  set(${out} "Z:${path}" PARENT_SCOPE)
endfunction()

function(wine_run out_status out_text)
  execute_process(COMMAND ${WINE} ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE text
                  ERROR_VARIABLE text TIMEOUT 300)
  set(${out_status} ${status} PARENT_SCOPE)
  set(${out_text} "${text}" PARENT_SCOPE)
endfunction()

file(STRINGS ${SOURCE_DIR}/../../src/registration/com_identity.h identity_lines
     REGEX "\"\\{[0-9A-F-]+\\}\"")
string(REGEX MATCHALL "\\{[0-9A-F-]+\\}" guids "${identity_lines}")
list(GET guids 0 library_id)
list(GET guids 1 application_clsid)
list(GET guids 3 nls_clsid)

windows_path(${DLL} dll)
windows_path(${SOURCE_DIR}/nls_catalog_stand_in.wsc catalog)

wine_run(status text ${SYSTEM_DIR}\\regsvr32.exe /s ${dll})
if(NOT status EQUAL 0)
  fail("regsvr32 ${dll}: ${status} ${text}")
endif()
wine_run(status text ${SYSTEM_DIR}\\regsvr32.exe /s /n /i:${catalog} scrobj.dll)
if(NOT status EQUAL 0)
  fail("registering the catalog stand-in: ${status} ${text}")
endif()

windows_path(${SOURCE_DIR}/registry_check.js registry_check)
macro(check_registry state)
  wine_run(status text ${SYSTEM_DIR}\\cscript.exe //nologo ${registry_check} ${state} ${dll} ${library_id}
           ${application_clsid} ${nls_clsid})
  message(STATUS "registry, ${state}: ${text}")
  if(NOT status EQUAL 0 OR NOT text MATCHES "[0-9]+ checks, 0 failed")
    fail("the registry is not as it should be when ${state}")
  endif()
endmacro()
check_registry(registered)

# One script: the stand-in, then the client.
file(READ ${SOURCE_DIR}/korvel_stand_in.js stand_in)
file(READ ${SOURCE_DIR}/script_client.js client)
file(WRITE ${WORK_DIR}/script_client.js "${stand_in}\n${client}")
windows_path(${WORK_DIR}/script_client.js script)
wine_run(status text ${SYSTEM_DIR}\\cscript.exe //nologo ${script})
message(STATUS "cscript:\n${text}")
if(NOT status EQUAL 0 OR NOT text MATCHES "[0-9]+ checks, 0 failed")
  fail("the script client reported failures (${status})")
endif()

wine_run(status text ${SYSTEM_DIR}\\regsvr32.exe /s /u ${dll})
if(NOT status EQUAL 0)
  fail("regsvr32 /u ${dll}: ${status} ${text}")
endif()
wine_run(status text ${SYSTEM_DIR}\\regsvr32.exe /s /u /n /i:${catalog} scrobj.dll)
check_registry(unregistered)
execute_process(COMMAND ${WINESERVER} --wait)

if(failures)
  list(JOIN failures "\n  " listed)
  message(FATAL_ERROR "${listed}")
endif()
