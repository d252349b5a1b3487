# Installation: the public headers, the library, the CMake package
# (find_package(liang) gives liang::liang) and the pkg-config file liang.pc.
# The tool installs itself from tools/ when it is built.
include(CMakePackageConfigHelpers)

set(LIANG_INSTALL_CMAKEDIR "${CMAKE_INSTALL_LIBDIR}/cmake/liang"
    CACHE STRING "Where the CMake package files go, relative to the prefix")

# Only the public headers: those under internal/ are the library's own, and
# no public header includes one but BuildOnce.hpp, on which Deferred.hpp is
# built.
install(FILES include/liang/internal/BuildOnce.hpp
  DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}/liang/internal"
)
install(FILES
  include/liang/Deferred.hpp
  include/liang/Exception.hpp
  include/liang/Hyphenator.hpp
  include/liang/Language.hpp
  include/liang/LanguageTag.hpp
  include/liang/Pattern.hpp
  include/liang/Text.hpp
  include/liang/Types.hpp
  include/liang/export.h
  include/liang/liang.h
  include/liang/liang.hpp
  DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}/liang"
)

install(TARGETS liang
  EXPORT liangTargets
  ARCHIVE DESTINATION "${CMAKE_INSTALL_LIBDIR}"
  LIBRARY DESTINATION "${CMAKE_INSTALL_LIBDIR}"
  RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}"
  INCLUDES DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}"
)
install(EXPORT liangTargets
  NAMESPACE liang::
  FILE liangTargets.cmake
  DESTINATION "${LIANG_INSTALL_CMAKEDIR}"
)

# The optional EPUB component, in an export set of its own:
# find_package(liang COMPONENTS epub) gives liang::epub. OPTIONAL, since a
# build may install having built the library alone.
if(TARGET liang_epub)
  set_target_properties(liang_epub PROPERTIES EXPORT_NAME epub)
  install(FILES include/liang/Epub.hpp DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}/liang")
  install(TARGETS liang_epub
    EXPORT liangEpubTargets
    OPTIONAL
    ARCHIVE DESTINATION "${CMAKE_INSTALL_LIBDIR}"
    LIBRARY DESTINATION "${CMAKE_INSTALL_LIBDIR}"
    RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}"
    INCLUDES DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}"
  )
  install(EXPORT liangEpubTargets
    NAMESPACE liang::
    FILE liangEpubTargets.cmake
    DESTINATION "${LIANG_INSTALL_CMAKEDIR}"
  )
endif()

configure_package_config_file(
  "${CMAKE_CURRENT_LIST_DIR}/liangConfig.cmake.in"
  "${CMAKE_CURRENT_BINARY_DIR}/liangConfig.cmake"
  INSTALL_DESTINATION "${LIANG_INSTALL_CMAKEDIR}"
)
# Before 1.0 a minor release may change the interface.
if(PROJECT_VERSION_MAJOR EQUAL 0)
  set(liang_compatibility SameMinorVersion)
else()
  set(liang_compatibility SameMajorVersion)
endif()
write_basic_package_version_file(
  "${CMAKE_CURRENT_BINARY_DIR}/liangConfigVersion.cmake"
  VERSION "${PROJECT_VERSION}"
  COMPATIBILITY ${liang_compatibility}
)
install(FILES
  "${CMAKE_CURRENT_BINARY_DIR}/liangConfig.cmake"
  "${CMAKE_CURRENT_BINARY_DIR}/liangConfigVersion.cmake"
  "${CMAKE_CURRENT_LIST_DIR}/FindUtf8proc.cmake"
  DESTINATION "${LIANG_INSTALL_CMAKEDIR}"
)

# The prefix is found from the .pc file's own place, so an install moved or
# made with `cmake --install --prefix` elsewhere still describes itself.
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}")
  set(liang_pc_PREFIX "${CMAKE_INSTALL_PREFIX}")
else()
  file(RELATIVE_PATH liang_pc_up "/prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/prefix")
  string(REGEX REPLACE "/$" "" liang_pc_up "${liang_pc_up}")
  set(liang_pc_PREFIX "\${pcfiledir}/${liang_pc_up}")
endif()
foreach(kind LIBDIR INCLUDEDIR)
  if(IS_ABSOLUTE "${CMAKE_INSTALL_${kind}}")
    set(liang_pc_${kind} "${CMAKE_INSTALL_${kind}}")
  else()
    set(liang_pc_${kind} "\${prefix}/${CMAKE_INSTALL_${kind}}")
  endif()
endforeach()
# A static liang needs zlib and the C++ runtime on the link line of every
# program, C programs included; pkg-config gives them without --static, so
# that `cc app.c $(pkg-config --cflags --libs liang)` links as typed (see
# LiangCxxRuntime.cmake). A shared liang brings its own.
set(liang_pc_PACKAGES "zlib libutf8proc")  # what liang links privately, by pkg-config name
get_target_property(liang_type liang TYPE)
if(liang_type STREQUAL "STATIC_LIBRARY")
  set(liang_pc_REQUIRES "Requires: ${liang_pc_PACKAGES}")
  liang_cxx_runtime(liang_runtime)
  list(TRANSFORM liang_runtime PREPEND "-l")
  list(JOIN liang_runtime " " liang_runtime)
  set(liang_pc_LIBS "-L\${libdir} -lliang ${liang_runtime}")
else()
  set(liang_pc_REQUIRES "Requires.private: ${liang_pc_PACKAGES}")
  set(liang_pc_LIBS "-L\${libdir} -lliang")
endif()
configure_file("${CMAKE_CURRENT_LIST_DIR}/liang.pc.in" "${CMAKE_CURRENT_BINARY_DIR}/liang.pc" @ONLY)
install(FILES "${CMAKE_CURRENT_BINARY_DIR}/liang.pc"
  DESTINATION "${CMAKE_INSTALL_LIBDIR}/pkgconfig"
)
