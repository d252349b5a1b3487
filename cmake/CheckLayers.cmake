# Checks that every file of the library includes only its own layer, the
# layers below it, and the public headers (include/liang). The layers, from
# the bottom: core, languages, text, c, epub (the optional EPUB component,
# which no other layer includes). Run as a test:
#   cmake -DLIANG_SOURCE_DIR=<source> -P cmake/CheckLayers.cmake
# It prints every include that reaches up, and fails if there is one.
set(layers core languages text c epub)
set(violations "")

# Adds to `violations` each include of `files` that names a folder of
# `forbidden`, with `what` to say why it may not.
function(check_includes files forbidden what)
  foreach(file IN LISTS files)
    file(STRINGS "${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
    foreach(line IN LISTS includes)
      foreach(name IN LISTS forbidden)
        if(line MATCHES "[\"<]${name}/")
          string(APPEND violations "  ${file}: ${line} (${what} includes ${name})\n")
        endif()
      endforeach()
    endforeach()
  endforeach()
  set(violations "${violations}" PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE public_files "${LIANG_SOURCE_DIR}/include/*.h" "${LIANG_SOURCE_DIR}/include/*.hpp")
check_includes("${public_files}" "${layers}" "a public header")

list(LENGTH layers layer_count)
math(EXPR last "${layer_count} - 1")
foreach(index RANGE ${last})
  list(GET layers ${index} layer)
  # The layers this one may not include: those above it.
  set(higher "")
  if(index LESS last)
    math(EXPR next "${index} + 1")
    foreach(above RANGE ${next} ${last})
      list(GET layers ${above} name)
      list(APPEND higher ${name})
    endforeach()
  endif()
  file(GLOB_RECURSE files "${LIANG_SOURCE_DIR}/src/${layer}/*.hpp" "${LIANG_SOURCE_DIR}/src/${layer}/*.cpp")
  check_includes("${files}" "${higher}" "${layer}")
endforeach()

if(violations)
  message(FATAL_ERROR "Includes that reach a higher layer:\n${violations}")
endif()
message(STATUS "Every include stays in its layer or below")
