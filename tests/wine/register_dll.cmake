# Creates the prefix PREFIX once (PREFIX_SCRIPT) and registers DLL in it with
# the regsvr32 of its bitness (SYSTEM_DIR). Inputs: WINE, WINESERVER, PREFIX,
# PREFIX_SCRIPT, DLL, SYSTEM_DIR.
include(${PREFIX_SCRIPT})
set(ENV{WINEPREFIX} ${PREFIX})
set(ENV{WINEDEBUG} -all)
set(ENV{WINEDLLOVERRIDES} "mscoree,mshtml=")
string(REPLACE "/" "\\" dll "Z:${DLL}")
execute_process(COMMAND ${WINE} ${SYSTEM_DIR}\\regsvr32.exe /s ${dll} RESULT_VARIABLE status)
execute_process(COMMAND ${WINESERVER} --wait)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "regsvr32 ${dll}: ${status}")
endif()
