# Checks that every file of the library includes only its own layer, the
# layers below it, and the public headers (include/liang). The layers, from
# the bottom: core, languages, text, c, epub (the optional EPUB component,
# which no other layer includes). Run as a test:
#   cmake -DLIANG_SOURCE_DIR=<source> -P cmake/CheckLayers.cmake
# It prints every include that reaches up, and fails if there is one.
set(layers core languages text c epub)
set(violations "")

file(GLOB_RECURSE public_files "${LIANG_SOURCE_DIR}/include/*.h" "${LIANG_SOURCE_DIR}/include/*.hpp")
foreach(file IN LISTS public_files)
  file(STRINGS "${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
  foreach(line IN LISTS includes)
    foreach(layer IN LISTS layers)
      if(line MATCHES "[\"<]${layer}/")
        string(APPEND violations "  ${file}: ${line} (a public header includes a private one)\n")
      endif()
    endforeach()
  endforeach()
endforeach()

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
  foreach(file IN LISTS files)
    file(STRINGS "${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
    foreach(line IN LISTS includes)
      foreach(name IN LISTS higher)
        if(line MATCHES "[\"<]${name}/")
          string(APPEND violations "  ${file}: ${line} (${layer} includes ${name})\n")
        endif()
      endforeach()
    endforeach()
  endforeach()
endforeach()

if(violations)
  message(FATAL_ERROR "Includes that reach a higher layer:\n${violations}")
endif()
message(STATUS "Every include stays in its layer or below")
