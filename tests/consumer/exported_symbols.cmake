# Checks what an installed shared liang exports: the C interface and the C++
# namespace liang, and no symbol of liang::internal; and that the library
# carries its soname version.
#   cmake -D NM=... -D LIB_DIR=... -D SOVERSION=... -P exported_symbols.cmake
set(library "${LIB_DIR}/libliang.so.${SOVERSION}")
if(NOT EXISTS "${library}")
  message(FATAL_ERROR "no ${library}: the shared library lacks its soname version")
endif()
execute_process(COMMAND "${NM}" -D -C --defined-only "${library}"
  OUTPUT_VARIABLE symbols RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${NM} -D failed (status ${status})")
endif()
string(REGEX MATCHALL "[^\n]*liang::internal[^\n]*" internal "${symbols}")
if(internal)
  list(JOIN internal "\n" internal)
  message(FATAL_ERROR "internal symbols are exported:\n${internal}")
endif()
foreach(expected " liang_points\n" " liang_last_error\n" " liang::languageHyphenator\\("
                 " liang::insertHyphens" "typeinfo for liang::Error")
  if(NOT symbols MATCHES "${expected}")
    message(FATAL_ERROR "\"${expected}\" is not exported")
  endif()
endforeach()
string(REGEX MATCHALL "\n" lines "${symbols}")
list(LENGTH lines count)
message("${count} symbols exported, none of liang::internal")
