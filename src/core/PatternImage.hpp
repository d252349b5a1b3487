// The prebuilt form of a pattern trie: the trie a pattern file parses to,
// laid out so that reading it back is one pass with no search, no sort and
// no character decoding. The build tool (src/languages/data) writes it in
// place of a shipped pattern file's text; it is smaller than the text,
// compressed or not, inflates in a quarter of the time and reads in less
// than half the time the text takes to parse.
//
// Layout (every number an unsigned LEB128 varint of at most 32 bits):
//
//   kPatternImageMagic
//   node count, score entries, node column length, letter column length
//   node column:   per node, (child count << 4) | mark
//   letter column: per edge, the first child's letter, then each next
//                  sibling's letter minus the one before it (at least 1)
//   score column:  the rest; per nonzero score, one byte (gap << 4) | score
//
// Nodes stand in breadth-first order, children by ascending letter, so the
// root is node 0 and edge k (edges numbered in the order of their parents,
// then letters) leads to node k + 1: the edges need no targets. A node's
// mark is 0 when no pattern ends there, else 1 + the number of nonzero
// entries of its score list, which has one entry more than the node's depth
// (as every pattern line whose digits each stand before a letter or at the
// end gives). The nonzero entries follow in the score column, each with
// the count of zero entries before it since the previous one; scores are
// the digits 1 to 9. Score entries, in the header, is the sum of the score
// lists' lengths, at most 64 times the image's size. No letter is a digit or
// a line feed, which pattern text could not write, and every node but the
// root ends a pattern or has children: every image is the trie of some text
// (patternImageText gives one).
//
// Reading checks all of it: a damaged image throws Error, never reads past
// its bytes and never allocates more than a fixed multiple of their size.
#ifndef LIANG_CORE_PATTERNIMAGE_HPP_
#define LIANG_CORE_PATTERNIMAGE_HPP_

#include <string>
#include <string_view>

#include "core/PatternImageFormat.hpp"
#include "liang/Pattern.hpp"

namespace liang::internal {

// Whether `bytes` begin as an image does (and should be read as one).
inline bool isPatternImage(std::string_view bytes) noexcept {
  return bytes.starts_with(kPatternImageMagic);
}

// The trie of an image. Throws Error when the image is damaged.
Patterns readPatternImage(std::string_view image);

// Pattern text that parses to the trie of `image`: a line per pattern, in
// the order of their letters, a digit before each letter (or the end) whose
// boundary scores nonzero. Throws Error when the image is damaged.
std::u32string patternImageText(std::string_view image);

// Reads `bytes` as an image when they are one, else parses them as pattern
// text (parsePatternsUtf8): the loader's way with a pattern file.
Patterns readPatternFile(std::string bytes);

}  // namespace liang::internal

#endif  // LIANG_CORE_PATTERNIMAGE_HPP_
