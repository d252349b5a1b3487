# Builds and runs the consumer with nothing but the compiler and the flags
# that pkg-config reads from an installed liang.pc.
#   cmake -D PKG_CONFIG=... -D PC_DIR=... -D LIB_DIR=... -D CXX=... -D CXX_FLAGS=...
#         -D LINK_FLAGS=... -D SOURCE=... -D OUTPUT=... -P pkg_config.cmake
if(NOT PKG_CONFIG)
  message("SKIPPED: pkg-config is not installed")
  return()
endif()
set(ENV{PKG_CONFIG_PATH} "${PC_DIR}")
# --static: the default liang is a static library, whose zlib need is private.
execute_process(COMMAND "${PKG_CONFIG}" --cflags --libs --static liang
  OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "pkg-config does not know liang (status ${status})")
endif()
message("pkg-config --cflags --libs --static liang: ${flags}")
separate_arguments(flags UNIX_COMMAND "${flags}")
separate_arguments(cxx_flags UNIX_COMMAND "${CXX_FLAGS} ${LINK_FLAGS}")
execute_process(COMMAND "${CXX}" -std=c++20 ${cxx_flags} "${SOURCE}" -o "${OUTPUT}" ${flags}
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the consumer did not build (status ${status})")
endif()
# A shared liang is found at run time from the install's own lib directory.
set(ENV{LD_LIBRARY_PATH} "${LIB_DIR}:$ENV{LD_LIBRARY_PATH}")
execute_process(COMMAND "${OUTPUT}" OUTPUT_VARIABLE out RESULT_VARIABLE status)
message("consumer: ${out}")
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the consumer failed (status ${status})")
endif()
