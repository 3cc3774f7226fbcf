# Creates the private Wine prefix PREFIX once (later runs find it ready).
# Inputs: WINE, WINESERVER, PREFIX.
if(EXISTS ${PREFIX}/system.reg)
  return()
endif()
set(ENV{WINEPREFIX} ${PREFIX})
set(ENV{WINEDEBUG} -all)
# No Mono or Gecko installers: nothing here needs them, and they would ask.
set(ENV{WINEDLLOVERRIDES} "mscoree,mshtml=")
execute_process(COMMAND ${WINE} wineboot --init RESULT_VARIABLE status TIMEOUT 840)
execute_process(COMMAND ${WINESERVER} --wait)
if(NOT status EQUAL 0 OR NOT EXISTS ${PREFIX}/system.reg)
  message(FATAL_ERROR "wineboot could not create ${PREFIX} (${status})")
endif()
