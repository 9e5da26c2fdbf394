# Runs TOOL with the list ARGUMENTS and writes its standard output to OUTPUT;
# fails the build, leaving no OUTPUT behind, when the tool fails.
# cmake -DTOOL=... -DARGUMENTS=... -DOUTPUT=... -P RunTool.cmake
execute_process(COMMAND ${TOOL} ${ARGUMENTS} OUTPUT_FILE ${OUTPUT}.new RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  file(REMOVE ${OUTPUT}.new)
  message(FATAL_ERROR "${TOOL} ${ARGUMENTS} failed: ${result}")
endif()
file(RENAME ${OUTPUT}.new ${OUTPUT})
