// The read-only form of a trie that lookups walk.
#ifndef LIANG_INTERNAL_PATTERNINDEX_HPP_
#define LIANG_INTERNAL_PATTERNINDEX_HPP_

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "liang/internal/PagedTable.hpp"

namespace liang::internal {

class PatternNodes;

// Built once for a self-contained store (see PatternIndex.cpp) and kept
// beside it: a dense alphabet of the trie's letters, one compact record per
// node with its failure link, a row indexed by letter for the root and every
// node wide enough to make a row pay, and the merged scores of every node's
// suffix patterns.
class PatternIndex {
 public:
  explicit PatternIndex(const PatternNodes& trie);

  // Whether `c` labels some edge of the trie.
  bool hasLetter(char32_t c) const noexcept { return symbolOf(c) != 0; }

  // Entries of boundaryScores that score() may write for a word of `length`.
  std::size_t capacityFor(std::size_t length) const noexcept {
    return length + 2 + longestScores_ + 1;
  }

  // Scores every boundary of the padded word "." + word + "." into
  // boundaryScores (capacityFor(word.size()) entries) and returns the length
  // of the combined match list. Boundaries below word.size() + 2 are always
  // exact; those past it only when `exact` is set (hyphenate never reads there).
  std::size_t score(std::u32string_view word, std::int64_t* boundaryScores, bool exact) const;

 private:
  static constexpr std::uint32_t kNoRow = 0xFFFFFFFF;

  struct Node {
    std::uint32_t childBegin;  // into edgeSymbols_ / edgeTargets_
    std::uint32_t childCount;
    std::uint32_t row;     // into rows_, or kNoRow
    std::uint32_t fail;    // the node of the longest proper suffix of this path
    std::uint32_t output;  // into outputs_: the scores ending here; 0 for none
  };

  // The scores of all patterns that end at a node, its own and those of
  // the suffixes on its failure chain, merged and anchored at the boundary
  // after the node's last letter: entry e of the merged list scores that
  // boundary + e. Only positive entries are kept; `reach` is the furthest
  // boundary (relative to the same anchor) that any of the patterns covers.
  struct Output {
    std::uint32_t begin;  // into outputScores_
    std::uint32_t count;
    std::int64_t first;  // anchor-relative boundary of outputScores_[begin]
    std::int64_t reach;
  };

  std::size_t walkEveryStart(std::u32string_view word, std::int64_t* boundaryScores,
                             bool exact) const;
  std::size_t runAutomaton(std::u32string_view word, std::int64_t* boundaryScores) const;
  void buildAutomaton();

  std::uint32_t childOf(const Node& node, std::uint32_t symbol) const noexcept;

  // The letter number of `c`: 1-based, 0 for a character that is no letter.
  std::uint32_t symbolOf(char32_t c) const noexcept {
    return c < kDirectSymbols ? directSymbols_[c] : symbols_(c);
  }
  // Fills symbols[0, word.size() + 3): the padded word's letter numbers and a 0.
  void symbolsOfPadded(std::u32string_view word, std::uint32_t* symbols) const noexcept;

  // Latin-1 is looked up directly, everything else through the paged table.
  static constexpr char32_t kDirectSymbols = 256;

  const PatternNodes& trie_;
  std::uint32_t directSymbols_[kDirectSymbols] = {};
  PagedTable symbols_;
  std::uint32_t alphabetSize_ = 0;
  std::vector<Node> nodes_;
  std::vector<std::uint32_t> edgeSymbols_;  // sorted within each node
  std::vector<std::uint32_t> edgeTargets_;
  std::vector<std::uint32_t> rows_;  // alphabetSize_ + 1 child nodes per row, 0 for none
  std::size_t longestScores_ = 0;

  // The automaton serves hyphenate when every positive score fits a byte
  // and the root has no scores of its own (the shipped data, and any trie
  // of digit patterns with letters on every line).
  bool automaton_ = false;
  std::vector<Output> outputs_;  // outputs_[0] unused
  std::vector<std::uint8_t> outputScores_;
};

}  // namespace liang::internal

#endif  // LIANG_INTERNAL_PATTERNINDEX_HPP_
