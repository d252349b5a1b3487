# Builds and runs a consumer with nothing but the compiler and the flags that
# pkg-config reads from an installed liang.pc, as a user types it:
# `cc app.c $(pkg-config --cflags --libs liang)`, with no --static, whichever
# kind of library is installed.
#   cmake -D PKG_CONFIG=... -D PC_DIR=... -D LIB_DIR=... -D COMPILER=...
#         -D COMPILE_FLAGS=... -D LINK_FLAGS=... -D SOURCE=... -D OUTPUT=...
#         [-D EXPECTED=regex] -P pkg_config.cmake
if(NOT PKG_CONFIG)
  message("SKIPPED: pkg-config is not installed")
  return()
endif()
set(ENV{PKG_CONFIG_PATH} "${PC_DIR}")
execute_process(COMMAND "${PKG_CONFIG}" --cflags --libs liang
  OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "pkg-config does not know liang (status ${status})")
endif()
message("pkg-config --cflags --libs liang: ${flags}")
separate_arguments(flags UNIX_COMMAND "${flags}")
separate_arguments(compile_flags UNIX_COMMAND "${COMPILE_FLAGS} ${LINK_FLAGS}")
execute_process(COMMAND "${COMPILER}" ${compile_flags} "${SOURCE}" -o "${OUTPUT}" ${flags}
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
if(DEFINED EXPECTED AND NOT out MATCHES "${EXPECTED}")
  message(FATAL_ERROR "the consumer printed something else than ${EXPECTED}")
endif()
