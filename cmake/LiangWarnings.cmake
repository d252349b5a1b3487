# Warnings for liang's own targets only; nothing here reaches consumers.
# -Wconversion is GCC's: clang's flag of that name also takes in sign
# conversions, which this code does not hold itself to.
option(LIANG_WERROR "Treat warnings as errors in liang's own targets (CI turns it on)" OFF)

function(liang_set_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 $<$<BOOL:${LIANG_WERROR}>:/WX>)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
      $<$<CXX_COMPILER_ID:GNU>:-Wconversion> $<$<BOOL:${LIANG_WERROR}>:-Werror>)
  endif()
endfunction()
