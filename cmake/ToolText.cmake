# Writes what the kestrune tool prints for a build-time option (--man,
# --completion bash) into a file, through gzip -9n when GZIP is given:
#   cmake -DTOOL=path/to/kestrune [-DEMULATOR=cmd;args] "-DARGS=--man" -DOUTPUT=kestrune.1 [-DGZIP=gzip] -P ToolText.cmake
# The emulator runs the tool when it was cross-built.
set(pipe COMMAND ${EMULATOR} ${TOOL} ${ARGS})
if(GZIP)
  list(APPEND pipe COMMAND ${GZIP} -9n)
endif()
execute_process(${pipe} OUTPUT_FILE ${OUTPUT} RESULTS_VARIABLE statuses)
if(NOT statuses MATCHES "^0(;0)?$")
  file(REMOVE ${OUTPUT})
  message(FATAL_ERROR "${TOOL} ${ARGS} failed (${statuses})")
endif()
