# What the scripts that drive programs under Wine share: the prefix's
# environment, a fresh WORK_DIR, failures collected to the end, Windows paths,
# running a Wine program, and the GUIDs of the add-in's COM identity.
# Inputs: WINE, PREFIX (ready), SOURCE_DIR, WORK_DIR.
set(ENV{WINEPREFIX} ${PREFIX})
set(ENV{WINEDEBUG} -all)
set(ENV{WINEDLLOVERRIDES} "mscoree,mshtml=")
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})

set(failures "")
macro(fail text)
  list(APPEND failures "${text}")
  message(STATUS "FAIL ${text}")
endmacro()

# Every step runs; the failures are listed at the end.
macro(report_failures)
  execute_process(COMMAND ${WINESERVER} --wait)
  if(failures)
    list(JOIN failures "\n  " listed)
    message(FATAL_ERROR "${listed}")
  endif()
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
windows_path(${SOURCE_DIR}/registry_check.js registry_check)
