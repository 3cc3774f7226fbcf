# Runs one scenario through `vtx run` and compares its transcript, byte for
# byte, with the expected one. Variables: VTX, SCENARIO, EXPECTED, OUT.
get_filename_component(out_dir ${OUT} DIRECTORY)
file(MAKE_DIRECTORY ${out_dir})
execute_process(COMMAND ${VTX} run ${SCENARIO} --out ${OUT}
                RESULT_VARIABLE rc ERROR_VARIABLE stderr)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "vtx run ${SCENARIO} exited with ${rc}: ${stderr}")
endif()
if(NOT EXISTS ${EXPECTED})
  message(FATAL_ERROR "no expected transcript ${EXPECTED}; the transcript is at ${OUT}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT} ${EXPECTED} RESULT_VARIABLE diff)
if(NOT diff EQUAL 0)
  message(FATAL_ERROR "transcript ${OUT} differs from ${EXPECTED}\n"
                      "compare them with: diff ${EXPECTED} ${OUT}")
endif()
