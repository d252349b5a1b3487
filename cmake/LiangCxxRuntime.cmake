# liang_cxx_runtime(<variable>): the C++ runtime libraries that the C++
# compiler links by itself (libstdc++ or libc++ and libc++abi, libm), as
# library names. A C program that links a static liang has to name them,
# since the C compiler's driver does not; they are read from CMake's record of
# what the C++ compiler links, so they follow the compiler in use.
function(liang_cxx_runtime variable)
  set(runtime "")
  foreach(library IN LISTS CMAKE_CXX_IMPLICIT_LINK_LIBRARIES)
    if(library MATCHES "^(stdc\\+\\+|c\\+\\+|c\\+\\+abi|m)$")
      list(APPEND runtime "${library}")
    endif()
  endforeach()
  list(REMOVE_DUPLICATES runtime)
  set(${variable} "${runtime}" PARENT_SCOPE)
endfunction()
