# cmake -DCHECKER=... -DFILE=... -DEXPECTED_EXIT=n [-DEXPECTED_OUTPUT=regex] [-DARGS=--strict] -P RunChecker.cmake
execute_process(COMMAND ${CHECKER} ${ARGS} ${FILE} RESULT_VARIABLE exit_code OUTPUT_VARIABLE output ERROR_VARIABLE output)
message("${output}")
if(NOT exit_code EQUAL EXPECTED_EXIT)
  message(FATAL_ERROR "exit status ${exit_code}, expected ${EXPECTED_EXIT}")
endif()
if(DEFINED EXPECTED_OUTPUT AND NOT output MATCHES "${EXPECTED_OUTPUT}")
  message(FATAL_ERROR "output does not match: ${EXPECTED_OUTPUT}")
endif()
