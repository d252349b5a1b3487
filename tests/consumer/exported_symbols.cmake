# Checks what an installed shared liang exports: the C interface and the C++
# namespace liang, and no symbol of liang::internal; that the library
# carries its soname version; and, given the library's objects (ARCHIVE, the
# static library of the same sources), that every public definition among
# them is exported -- every function of the C interface (liang_*), and every
# function, variable, vtable and type information of namespace liang outside
# liang::internal -- so that a declaration the export marks miss (a friend
# declared only in its class, say) fails here, not in a user's link.
#   cmake -D NM=... -D LIB_DIR=... -D SOVERSION=... [-D ARCHIVE=...] -P exported_symbols.cmake
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

# The names alone, one per list element ("<address> <type> <name>" lines).
function(symbol_names output text)
  string(REPLACE ";" "\\;" text "${text}")
  string(REPLACE "\n" ";" lines "${text}")
  set(names)
  foreach(line IN LISTS lines)
    if(line MATCHES "^[0-9a-fA-F]* *[A-Za-z] (.*)$")
      list(APPEND names "${CMAKE_MATCH_1}")
    endif()
  endforeach()
  list(REMOVE_DUPLICATES names)
  set(${output} "${names}" PARENT_SCOPE)
endfunction()

set(public_count 0)
if(ARCHIVE)
  # Definitions with external linkage, strong (T, D, B, R) or weak objects
  # (V: vtables and type information of the public classes).
  execute_process(COMMAND "${NM}" -C --defined-only --extern-only "${ARCHIVE}"
    OUTPUT_VARIABLE objects RESULT_VARIABLE status ERROR_QUIET)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${NM} ${ARCHIVE} failed (status ${status})")
  endif()
  string(REGEX MATCHALL "[0-9a-fA-F]* [TDBRV] [^\n]*" definitions "${objects}")
  list(JOIN definitions "\n" definitions)
  symbol_names(defined "${definitions}")
  symbol_names(exported "${symbols}")
  set(missing)
  foreach(name IN LISTS defined)
    if(NOT name MATCHES "^(liang_|liang::|vtable for liang::|typeinfo for liang::|typeinfo name for liang::)")
      continue()
    endif()
    if(name MATCHES "liang::internal::")
      continue()
    endif()
    math(EXPR public_count "${public_count} + 1")
    list(FIND exported "${name}" found)
    if(found EQUAL -1)
      list(APPEND missing "${name}")
    endif()
  endforeach()
  if(missing)
    list(JOIN missing "\n  " missing)
    message(FATAL_ERROR "public definitions the shared library does not export:\n  ${missing}")
  endif()
  if(public_count EQUAL 0)
    message(FATAL_ERROR "no public definition found in ${ARCHIVE}")
  endif()
endif()

string(REGEX MATCHALL "\n" lines "${symbols}")
list(LENGTH lines count)
message("${count} symbols exported, none of liang::internal; "
        "all ${public_count} public definitions of the objects among them")
