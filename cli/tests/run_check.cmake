# Runs one kelvra-cli command and checks its exit code and what it prints.
#   -DPROGRAM=<kelvra-cli> -DARGS=<arguments separated by "|"> -DEXPECT_CODE=<n>
#   [-DEXPECT_OUTPUT=<regex on stdout>] [-DEXPECT_ERROR=<regex on stderr>]
#   [-DREJECT_OUTPUT=<regex that stdout must not match>]
#   [-DREQUIRE_FOLDER=<folder>: the check is skipped while the folder does not exist]
if(DEFINED REQUIRE_FOLDER AND NOT IS_DIRECTORY "${REQUIRE_FOLDER}")
  message("SKIPPED: ${REQUIRE_FOLDER} does not exist")
  return()
endif()
string(REPLACE "|" ";" ARGS "${ARGS}")
execute_process(COMMAND ${PROGRAM} ${ARGS}
                RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 60)
set(shown "exit code ${code}\n--- stdout ---\n${out}\n--- stderr ---\n${err}")
if(NOT "${code}" STREQUAL "${EXPECT_CODE}")
  message(FATAL_ERROR "expected exit code ${EXPECT_CODE}, got ${shown}")
endif()
if(DEFINED EXPECT_OUTPUT AND NOT out MATCHES "${EXPECT_OUTPUT}")
  message(FATAL_ERROR "stdout does not match \"${EXPECT_OUTPUT}\": ${shown}")
endif()
if(DEFINED EXPECT_ERROR AND NOT err MATCHES "${EXPECT_ERROR}")
  message(FATAL_ERROR "stderr does not match \"${EXPECT_ERROR}\": ${shown}")
endif()
if(DEFINED REJECT_OUTPUT AND out MATCHES "${REJECT_OUTPUT}")
  message(FATAL_ERROR "stdout matches \"${REJECT_OUTPUT}\" but should not: ${shown}")
endif()
