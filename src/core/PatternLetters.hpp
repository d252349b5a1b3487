// Which characters a trie knows as letters.
#ifndef LIANG_CORE_PATTERNLETTERS_HPP_
#define LIANG_CORE_PATTERNLETTERS_HPP_

#include "liang/Pattern.hpp"

namespace liang::internal {

// Whether `c` is a letter of some pattern of `trie` (the edge mark "." is a
// letter like any other here; callers that scan text leave it out).
// Constant time after the trie's lookup form is built.
bool isPatternLetter(const Patterns& trie, char32_t c);

}  // namespace liang::internal

#endif  // LIANG_CORE_PATTERNLETTERS_HPP_
