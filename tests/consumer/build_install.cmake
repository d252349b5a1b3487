# Configures, builds and installs liang's library from the source tree into
# PREFIX, afresh: the kind of library the main build does not make, so that
# consumers are built against both. A shared library is built with the
# repository's examples and the tool, which link against it as any program
# would, and run: a public function the library does not export fails here.
#   cmake -D SOURCE_DIR=... -D BUILD_DIR=... -D PREFIX=... -D GENERATOR=...
#         -D SHARED=ON|OFF -D CXX=... -D CXX_FLAGS=... -D LINK_FLAGS=...
#         -D EXE_LINK_FLAGS=...
#         -P build_install.cmake
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" -S "${SOURCE_DIR}" -B "${BUILD_DIR}" -G "${GENERATOR}"
  -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=${SHARED} -DCMAKE_CXX_COMPILER=${CXX}
  "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}" "-DCMAKE_SHARED_LINKER_FLAGS=${LINK_FLAGS}"
  "-DCMAKE_EXE_LINKER_FLAGS=${EXE_LINK_FLAGS}"
  -DLIANG_TEST=OFF -DLIANG_TOOLS=${SHARED} -DLIANG_INSTALL=ON RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "configuring the library failed (status ${status})")
endif()
if(SHARED)
  set(targets all)
else()
  set(targets liang)
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" --build "${BUILD_DIR}" --target ${targets}
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "building the library (targets: ${targets}) failed (status ${status})")
endif()
if(SHARED)
  file(GLOB examples "${BUILD_DIR}/examples/example_*")
  if(NOT examples)
    message(FATAL_ERROR "no example was built in ${BUILD_DIR}/examples")
  endif()
  foreach(example IN LISTS examples)
    execute_process(COMMAND "${example}" RESULT_VARIABLE status OUTPUT_QUIET)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "${example}, linked against the shared library, failed (${status})")
    endif()
  endforeach()
  execute_process(COMMAND "${BUILD_DIR}/tools/liang" -l en-us hyphenation
    OUTPUT_VARIABLE output RESULT_VARIABLE status)
  if(NOT status EQUAL 0 OR NOT output STREQUAL "hy-phen-ation\n")
    message(FATAL_ERROR "the tool, linked against the shared library, printed '${output}' (${status})")
  endif()
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (status ${status})")
endif()
