# Configures, builds and installs liang's library alone (no tests, tools or
# examples) from the source tree into PREFIX, afresh: the kind of library the
# main build does not make, so that consumers are built against both.
#   cmake -D SOURCE_DIR=... -D BUILD_DIR=... -D PREFIX=... -D GENERATOR=...
#         -D SHARED=ON|OFF -D CXX=... -D CXX_FLAGS=... -D LINK_FLAGS=...
#         -P build_install.cmake
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" -S "${SOURCE_DIR}" -B "${BUILD_DIR}" -G "${GENERATOR}"
  -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=${SHARED} -DCMAKE_CXX_COMPILER=${CXX}
  "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}" "-DCMAKE_SHARED_LINKER_FLAGS=${LINK_FLAGS}"
  -DLIANG_TEST=OFF -DLIANG_TOOLS=OFF -DLIANG_INSTALL=ON RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "configuring the library failed (status ${status})")
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" --build "${BUILD_DIR}" --target liang
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "building the library failed (status ${status})")
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (status ${status})")
endif()
