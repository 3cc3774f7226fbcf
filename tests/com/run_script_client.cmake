# Registers VTX_HA.dll with regsvr32, checks the registry, runs the script
# client under cscript against the Korvel stand-in, unregisters and checks
# that the keys are gone. Every step runs; the failures are listed at the end.
# Inputs: WINE, WINESERVER, PREFIX (ready), DLL, SOURCE_DIR, WORK_DIR, and
# SYSTEM_DIR, the Windows folder of the programs of the DLL's bitness
# (system32, or syswow64 for a 32-bit DLL in a 64-bit prefix).
include(${CMAKE_CURRENT_LIST_DIR}/wine_session.cmake)
# Message boxes and dialogs are written here instead of shown (the client
# checks them); reports of trapped errors are on.
set(ENV{VTX_MESSAGE_LOG} ${WORK_DIR}/messages.log)
set(ENV{DEBUG} true)

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
report_failures()
