// The constants of the pattern trie's image (its layout is described in
// PatternImage.hpp) that its reader and the build tool writing it share.
// Standard headers only: the tool builds for the host, apart from the
// library.
#ifndef LIANG_CORE_PATTERNIMAGEFORMAT_HPP_
#define LIANG_CORE_PATTERNIMAGEFORMAT_HPP_

#include <cstddef>
#include <string_view>

namespace liang::internal {

// The first bytes of every image: a NUL, which no pattern text begins with,
// then a name and the layout's version.
inline constexpr std::string_view kPatternImageMagic{"\0liang trie 1\n", 14};

// The most score entries an image may hold, per byte of it.
inline constexpr std::size_t kPatternImageScoresPerByte = 64;

}  // namespace liang::internal

#endif  // LIANG_CORE_PATTERNIMAGEFORMAT_HPP_
