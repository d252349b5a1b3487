// The read-only form of a trie that lookups walk.
#ifndef LIANG_INTERNAL_PATTERNINDEX_HPP_
#define LIANG_INTERNAL_PATTERNINDEX_HPP_

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string_view>
#include <vector>

#include "liang/internal/PagedTable.hpp"

namespace liang::internal {

class CodePointMap;
class PatternNodes;

// Built for a self-contained store (see PatternIndex.cpp) and kept beside
// it, immutable after: a dense alphabet of the trie's letters and, in full,
// one compact record per path with its failure link, a row indexed by
// letter for the root and every node wide enough to make a row pay, the
// merged scores of every node's suffix patterns as fixed-width blocks, and
// for a small trie the automaton's moves resolved into one table (which
// replaces the records).
class PatternIndex {
 public:
  enum class Extent {
    kAlphabet,  // the alphabet only: lookups walk the store
    kFull,
  };
  PatternIndex(const PatternNodes& trie, Extent extent);

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

  // Whether scoreByAutomaton serves this trie: its root has no scores of its
  // own and every positive score fits a byte.
  bool hasAutomaton() const noexcept { return automaton_; }

  // As score(word, boundaryScores, false), in bytes: boundaries below
  // word.size() + 2 are exact, those past it are not. Needs hasAutomaton().
  std::size_t scoreByAutomaton(std::u32string_view word, std::uint8_t* boundaryScores) const;

  // Whether scoreByWindow serves this trie: it has an automaton, and each
  // node's merged scores fit one ScoreWindow (no pattern's scores span more
  // than kWindow boundaries).
  bool hasScoreWindow() const noexcept { return !blocks_.empty(); }

  // Entries of the buffer that scoreByWindow needs for a word of `length`.
  static constexpr std::size_t windowCapacityFor(std::size_t length) noexcept {
    return length + 2 + kWindow;
  }

  // How a walk turns the characters of a word into letter numbers: a
  // Latin-1 character in one load from `latin1`, a table that may fold as
  // well; any other through `fold` (none when null) and the alphabet.
  struct LetterMap {
    const std::uint32_t* latin1;
    const CodePointMap* fold;
  };

  // The map of an unfolded word (or one folded already).
  LetterMap identityLetters() const noexcept { return {directSymbols_, nullptr}; }

  // Fills `latin1` with the letter number of fold(c) for every c < 256
  // (fold null: the identity), the table of a LetterMap that folds by `fold`.
  void foldedLatin1Letters(const CodePointMap* fold, std::uint32_t* latin1) const noexcept;

  // Scores the boundaries 0 .. word.size() + 1 of the padded word, in bytes,
  // into `buffer` (windowCapacityFor(word.size()) entries) and returns where
  // boundary 0 is: the result r has r[b] for boundary b. Needs hasScoreWindow().
  // Entries past the end are not the combined list's (its length is not
  // found): a caller that needs the list's length uses score(). The word's
  // characters are read through `letters`.
  const std::uint8_t* scoreByWindow(std::u32string_view word, std::uint8_t* buffer,
                                    LetterMap letters) const;

  // The longest word whose boundaries, and the window after them, fit the
  // 64 bits of oddBoundaries.
  static constexpr std::size_t longestMaskedWord() noexcept { return 64 - 2 - kWindow; }

  // The parities of what scoreByWindow scores: bit b is set when boundary b
  // (0 .. word.size() + 1) of the padded word scores odd; the bits above are
  // not the combined list's. For a word of at most longestMaskedWord()
  // characters; needs hasScoreWindow().
  std::uint64_t oddBoundaries(std::u32string_view word, LetterMap letters) const;

 private:
  static constexpr std::uint32_t kNoRow = 0xFFFFFFFF;

  // Nodes are numbered breadth first (see PatternIndex.cpp); edge e leads
  // to node e + 1.
  struct Node {
    std::uint32_t childBegin;  // into edgeSymbols_
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
    std::uint16_t count;
    std::int16_t first;  // anchor-relative boundary of outputScores_[begin]
    std::int32_t reach;
  };

  std::size_t walkEveryStart(std::u32string_view word, std::int64_t* boundaryScores,
                             bool exact) const;
  template <class ChildOf, class TrieNodeOf>
  std::size_t walkEveryStartWith(std::u32string_view word, std::int64_t* boundaryScores, bool exact,
                                 ChildOf childOf, TrieNodeOf trieNodeOf) const;
  void resolveTransitions();
  bool numberBreadthFirst();
  bool buildAutomaton();
  // From the first node of each depth, and the node count after them.
  void buildScoreBlocks(const std::vector<std::uint32_t>& levelStarts, std::size_t scored);
  bool buildOutputs(const std::vector<std::uint32_t>& levelStarts);
  // Runs the automaton with the window over the padded word, handing each
  // retired boundary's score to `sink`.
  template <class Sink>
  void walkWindowMapped(std::u32string_view word, LetterMap letters, Sink& sink) const;
  template <class LetterOf, class Step, class Sink>
  void walkWindow(std::u32string_view word, LetterOf letterOf, Step step, Sink& sink) const;

  std::uint32_t childOf(const Node& node, std::uint32_t symbol) const noexcept;
  // The automaton's move from `state` on `symbol`, by failure links.
  std::uint32_t nextState(std::uint32_t state, std::uint32_t symbol) const noexcept;

  // The letter number of `c`: 1-based, 0 for a character that is no letter.
  std::uint32_t symbolOf(char32_t c) const noexcept {
    return c < kDirectSymbols ? directSymbols_[c] : symbols_(c);
  }
  // The letter number of fold(c) (fold null: the identity). Out of line:
  // the walk calls it only for a character beyond Latin-1, off its path.
  [[gnu::noinline]] std::uint32_t foldedLetter(char32_t c, const CodePointMap* fold) const noexcept;
  // Fills symbols[0, word.size() + 2): the padded word's letter numbers.
  void symbolsOfPadded(std::u32string_view word, std::uint32_t* symbols) const noexcept;

  // Latin-1 is looked up directly, everything else through the paged table.
  static constexpr char32_t kDirectSymbols = 256;

  const PatternNodes& trie_;
  std::uint32_t directSymbols_[kDirectSymbols] = {};
  PagedTable symbols_;
  std::uint32_t alphabetSize_ = 0;
  std::vector<Node> nodes_;
  std::vector<std::uint32_t> edgeSymbols_;  // letter numbers, sorted within each node
  std::vector<std::uint32_t> trieNodeOf_;   // the store's number of each node
  // No per-node records: an alphabet-only index, or too many paths share nodes.
  bool walksStore_ = false;
  std::vector<std::uint32_t> rows_;  // alphabetSize_ + 1 child nodes per row, 0 for none
  std::size_t longestScores_ = 0;

  // The automaton serves hyphenate when every positive score fits a byte,
  // the root has no scores of its own, and its merged outputs fit their
  // compact records (the shipped data, and any trie of digit patterns of
  // ordinary length with letters on every line).
  bool automaton_ = false;
  std::vector<Output> outputs_;  // outputs_[0] unused
  std::vector<std::uint8_t> outputScores_;

  // Where the merged scores fit a window, a node's merged scores are one
  // fixed-width block instead of an Output, placed so that its entry k
  // scores the boundary windowBase_ + k relative to the node's anchor; a
  // step of the automaton then merges a whole block by one byte-wise max,
  // with no branch on the output's length. Equal blocks are stored once;
  // block 0 is all zeros, the block of a node where no pattern ends, and
  // Node::output holds a block number.
  static constexpr std::size_t kWindow = 16;
  struct alignas(kWindow) ScoreBlock {
    std::uint8_t scores[kWindow];
  };
  std::vector<ScoreBlock> blocks_;
  std::int32_t windowBase_ = 0;
  // The state after the opening "." that starts every padded word (a row
  // of the table when the moves are resolved, else a node), and its block.
  std::uint32_t afterEdge_ = 0;
  std::uint32_t afterEdgeBlock_ = 0;

  // For a trie small enough whose scores fit the window, the automaton's
  // moves resolved into one table, so that a character costs one load and
  // no failure link is followed. Only nodes with children get a row (the
  // root first, then breadth first): a leaf moves as its failure target
  // does. A move holds what the next step needs of the node it reaches: the
  // row that node moves by (its own, or the first on its failure chain) and
  // its block. The table is stored by column -- every row's move on letter
  // 0, then every row's move on letter 1, ... -- so a walk carries a row
  // number, the letter picks the column apart from it, and a step is one
  // load of a 16-bit row number at that place in the column: no arithmetic
  // stands between one step's load and the next. The per-node records above
  // are then dropped; the walk that lookupPattern takes follows the store's
  // own edges. Row and block numbers fit 16 bits, and a table is at most
  // kResolvedMoves moves, which keeps all 73 languages well within their
  // memory budget while covering the tries of most of them.
  struct Move {
    std::uint16_t block;
    std::uint16_t row;
  };
  static constexpr std::size_t kMoveNumbers = std::size_t{1} << 16;  // rows, and blocks
  static constexpr std::size_t kResolvedMoves = std::size_t{1} << 19;
  bool resolved() const noexcept { return !moves_.empty(); }
  std::vector<Move> moves_;
  std::size_t rowCount_ = 0;  // the length of a column
};

}  // namespace liang::internal

#endif  // LIANG_INTERNAL_PATTERNINDEX_HPP_
