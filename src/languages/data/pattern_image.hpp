// Build-time half of the prebuilt pattern trie: a pattern file's text turned
// into the image that the library reads (its layout is described, and read,
// in src/core/PatternImage.hpp). The tool builds the trie by its own plain
// means, a map per node, so the library's parser and this writer check each
// other: the tests compare every shipped language read both ways.
#ifndef LIANG_LANGUAGES_DATA_PATTERN_IMAGE_HPP_
#define LIANG_LANGUAGES_DATA_PATTERN_IMAGE_HPP_

#include <optional>
#include <string>

namespace liang_embed {

// The image of the trie that the UTF-8 pattern `text` parses to, or nothing
// when the layout cannot hold it exactly -- ill-formed UTF-8, a score list
// that is not one entry longer than its letters (two digits in a row), an
// empty trie, more nonzero scores than a node's mark counts -- in which case
// the file is embedded as text and parsed as before.
std::optional<std::string> patternImage(const std::string& text);

}  // namespace liang_embed

#endif  // LIANG_LANGUAGES_DATA_PATTERN_IMAGE_HPP_
