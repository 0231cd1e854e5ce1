# Writes the kestrune tool's manual page from its own help texts:
#   cmake -DTOOL=path/to/kestrune [-DEMULATOR=cmd;args] -DOUTPUT=kestrune.1 -P ManPage.cmake
# The emulator runs the tool when it was cross-built.
execute_process(COMMAND ${EMULATOR} ${TOOL} --man OUTPUT_FILE ${OUTPUT} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  file(REMOVE ${OUTPUT})
  message(FATAL_ERROR "${TOOL} --man failed (${status})")
endif()
