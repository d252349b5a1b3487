# Installs the built tree afresh into PREFIX, so that no file of an earlier
# install can stand in for a missing one.
#   cmake -D BUILD_DIR=... -D PREFIX=... -D CONFIG=... -P install.cmake
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
  --config "${CONFIG}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (status ${status})")
endif()
