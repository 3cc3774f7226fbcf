# Every scenario of tests/scenarios through vtx.exe and the registered
# VTX_HA.dll, transcript compared byte for byte with the native one's
# expected transcript; the fault loop sampled on a few. In a prefix of their
# own, so that com.script_client's unregistration cannot pull the DLL away
# under them. Labels: scenario, and wine64 or wine32.
set(VTX_SCENARIO_PREFIX ${CMAKE_CURRENT_BINARY_DIR}/wineprefix)
find_program(VTX_WINESERVER NAMES wineserver REQUIRED)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(system_dir "C:\\windows\\syswow64")
else()
  set(system_dir "C:\\windows\\system32")
endif()
add_test(NAME wine.scenario_prefix
  COMMAND ${CMAKE_COMMAND} -DWINE=${VTX_WINE} -DWINESERVER=${VTX_WINESERVER}
          -DPREFIX=${VTX_SCENARIO_PREFIX} -DDLL=$<TARGET_FILE:VTX_HA> -DSYSTEM_DIR=${system_dir}
          -DPREFIX_SCRIPT=${PROJECT_SOURCE_DIR}/tests/com/wine_prefix.cmake
          -P ${CMAKE_CURRENT_SOURCE_DIR}/register_dll.cmake)
set_tests_properties(wine.scenario_prefix PROPERTIES FIXTURES_SETUP wine_scenarios TIMEOUT 900)
set(wine_tests wine.scenario_prefix)

# Scenarios whose steps share the add-in's module state between a class of
# the DLL and one that runs in vtx.exe (docs/windows.md says why each).
set(not_through_dll settings_templates)

set(wine_env WINEPREFIX=${VTX_SCENARIO_PREFIX} WINEDEBUG=-all "WINEDLLOVERRIDES=mscoree,mshtml=")
file(GLOB VTX_SCENARIOS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/scenarios/*.json)
list(FILTER VTX_SCENARIOS EXCLUDE REGEX "\\.expected\\.json$")
foreach(scenario ${VTX_SCENARIOS})
  get_filename_component(name ${scenario} NAME_WE)
  add_test(NAME scenario_${VTX_WINE_LABEL}.${name}
    COMMAND ${CMAKE_COMMAND} -E env ${wine_env}
            ${CMAKE_COMMAND} -DWINE=${VTX_WINE} -DVTX=$<TARGET_FILE:vtx> -DSCENARIO=${scenario}
            -DEXPECTED=${PROJECT_SOURCE_DIR}/tests/scenarios/${name}.expected.json
            -DOUT=${CMAKE_CURRENT_BINARY_DIR}/scenarios/${name}.transcript.json
            -P ${PROJECT_SOURCE_DIR}/tests/run_scenario.cmake)
  list(APPEND wine_tests scenario_${VTX_WINE_LABEL}.${name})
  if(name IN_LIST not_through_dll)
    set_tests_properties(scenario_${VTX_WINE_LABEL}.${name} PROPERTIES DISABLED TRUE)
  endif()
endforeach()

# The fault loop through the DLL, sampled: the first and last host call of
# each step of a few scenarios that reach both classes Korvel creates.
foreach(name history_delete_fault nls_translation_fallback records_one_sentence)
  add_test(NAME fault_loop_${VTX_WINE_LABEL}.${name}
    COMMAND ${CMAKE_COMMAND} -E env ${wine_env} ${VTX_WINE} $<TARGET_FILE:vtx> run
            Z:${PROJECT_SOURCE_DIR}/tests/scenarios/${name}.json --fault-loop --sample 2)
  list(APPEND wine_tests fault_loop_${VTX_WINE_LABEL}.${name})
endforeach()

set_tests_properties(${wine_tests} PROPERTIES LABELS "scenario;${VTX_WINE_LABEL}" TIMEOUT 600)
list(REMOVE_ITEM wine_tests wine.scenario_prefix)
set_tests_properties(${wine_tests} PROPERTIES FIXTURES_REQUIRED wine_scenarios)
if(CMAKE_SIZEOF_VOID_P EQUAL 4 AND VTX_NO_WINE32)
  message(STATUS "${VTX_NO_WINE32}: the scenarios under 32-bit Wine do not run")
  set_tests_properties(wine.scenario_prefix ${wine_tests} PROPERTIES DISABLED TRUE)
endif()
