# The library's sources by layer, relative to src/: the one list that the
# native build (src/CMakeLists.txt) and the WebAssembly engine
# (js/CMakeLists.txt) both include, so that a file added to a layer reaches
# both. Each layer uses only the layers above it in this list and the public
# headers of include/liang (cmake/CheckLayers.cmake checks it).
set(liang_core_sources
  core/CodePointMap.cpp
  core/Exception.cpp
  core/Hyphenator.cpp
  core/Pattern.cpp
  core/PatternImage.cpp
  core/PatternIndex.cpp
  core/PatternParser.cpp
  core/StagedIndex.cpp
)
# The languages layer: the catalogue and tags, which every build compiles,
# and the run-time half that loads embedded files and keeps the shared
# hyphenators, which the WebAssembly engine replaces by its own
# (js/src/WebLanguages.cpp).
set(liang_languages_sources
  languages/Language.cpp
  languages/LanguageTag.cpp
  languages/CharTable.cpp
)
set(liang_languages_loading_sources
  languages/SharedHyphenators.cpp
  languages/Loader.cpp
)
set(liang_text_sources
  text/Elements.cpp
  text/ElementStack.cpp
  text/Markup.cpp
  text/Text.cpp
  text/TextScanner.cpp
  text/TextScannerMarkup.cpp
  text/TechnicalToken.cpp
  text/Unicode.cpp
  text/WordRules.cpp
)
set(liang_c_sources
  c/CInterface.cpp
)
