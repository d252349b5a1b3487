# The committed table equals what its generator writes now:
# cmake -DPYTHON=... -DGENERATOR=... -DTABLE=... -P CheckGenerated.cmake
execute_process(COMMAND ${PYTHON} ${GENERATOR} OUTPUT_VARIABLE generated RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${GENERATOR} failed")
endif()
file(READ ${TABLE} committed)
if(NOT generated STREQUAL committed)
  message(FATAL_ERROR "${TABLE} is not what ${GENERATOR} writes: run it again")
endif()
