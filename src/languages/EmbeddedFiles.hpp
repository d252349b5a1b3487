// The data set carried inside the library: four gzip files per language, 292
// when the build embeds all 73 (LIANG_LANGUAGES may choose fewer). A pattern
// file holds the prebuilt image of its trie (core/PatternImage.hpp) in
// place of its text, gzipped, or as it is when it is large.
//
// The table is generated at build time from data/*.gz and lives in static,
// read-only storage: it is constant-initialised (no code runs at start-up),
// nothing is copied or decompressed until a caller inflates one file, and it
// lives as long as the library is loaded. Entries stand in ascending byte-wise
// order of their names, so a file is found by binary search on its exact name.
#ifndef LIANG_LANGUAGES_EMBEDDEDFILES_HPP_
#define LIANG_LANGUAGES_EMBEDDEDFILES_HPP_

#include <span>
#include <string_view>

namespace liang::internal {

struct EmbeddedFile {
  std::string_view name;   // such as "hyph-en-us.pat.txt.gz"
  std::string_view bytes;  // one complete gzip file, or a pattern image
};

// Every embedded file, sorted by name.
std::span<const EmbeddedFile> embeddedFiles() noexcept;

}  // namespace liang::internal

#endif  // LIANG_LANGUAGES_EMBEDDEDFILES_HPP_
