# Runs one scenario file with tandorshop-sim and checks its exit code and output.
execute_process(COMMAND ${SIM} --config ${CONFIG} --scenario ${SCENARIO}
  RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
message("${out}${err}")
if(NOT code STREQUAL "${EXIT}")
  message(FATAL_ERROR "tandorshop-sim exited with ${code}, expected ${EXIT}")
endif()
if(NOT "${out}" MATCHES "${PATTERN}")
  message(FATAL_ERROR "the output does not match: ${PATTERN}")
endif()
if(NOT "${ABSENT}" STREQUAL "" AND "${out}" MATCHES "${ABSENT}")
  message(FATAL_ERROR "the output should not contain: ${ABSENT}")
endif()
