# Writes the manual page of wolterix-cli from its own option descriptions:
#   cmake -DPROGRAM=path/to/wolterix-cli -DOUTPUT=wolterix-cli.1 -P manual_page.cmake
# A failing run leaves no page behind, so that the build stops rather than installs half a page.
execute_process(COMMAND "${PROGRAM}" --manual-page
                OUTPUT_FILE "${OUTPUT}.tmp"
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  file(REMOVE "${OUTPUT}.tmp")
  message(FATAL_ERROR "${PROGRAM} --manual-page failed: ${result}")
endif()
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
