// The read-only form of a trie that lookups walk.
#ifndef LIANG_CORE_PATTERNINDEX_HPP_
#define LIANG_CORE_PATTERNINDEX_HPP_

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string_view>
#include <vector>

#include "core/CodePointMap.hpp"

namespace liang::internal {

class PatternNodes;

// Built for a self-contained store (see PatternIndex.cpp) and kept beside
// it, immutable after: a dense alphabet of the trie's letters and, in full,
// one compact record per path with its failure link, a row indexed by
// letter for the root and every node wide enough to make a row pay, the
// merged scores of every node's suffix patterns as fixed-width blocks, and
// the automaton's moves resolved into one table, for every row or (a large
// trie) for the shallowest, with the moves of the deep rows beside it
// (which replace the records).
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

  // Whether scoreByWindow serves this trie: every positive score fits a
  // byte, the root has no scores of its own, and each node's merged scores
  // fit one ScoreWindow (no pattern's scores span more than kWindow
  // boundaries). Any other trie is scored by score().
  bool hasScoreWindow() const noexcept { return !blocks_.empty(); }

  // The most moves the resolved table holds, and the rows of a trie's
  // automaton left past it (deep rows; none where the table holds all).
  static constexpr std::size_t resolvedMovesBound() noexcept { return kResolvedMoves; }
  std::size_t deepRowCount() const noexcept { return deepRows_.size(); }

  // Entries of the buffer that scoreByWindow needs for a word of `length`.
  static constexpr std::size_t windowCapacityFor(std::size_t length) noexcept {
    return length + 2 + kWindow;
  }

  // How a walk turns the characters of a word into letter codes (letterCode:
  // the letter number, or where the moves are resolved its column's offset): a
  // Latin-1 character in one load from `direct`, a table that may fold as
  // well; a character of the script block, the 256 code points from
  // direct[kScriptBase] on (a multiple of 256; 0 for none), from
  // direct[256 + c - base]; any other below kPagedLimit through the page
  // of its block, direct[direct[kPageOffsets + (c >> 8)] + (c & 0xFF)]
  // (every block below the limit has one: a shared page of zeros where
  // none of its characters is a letter); the rest through `fold` (none
  // when null) and the alphabet, out of line. Two pointers, passed in two
  // registers. Languages whose letters span several blocks (polytonic
  // Greek, Sanskrit in its several scripts, Ethiopic, Coptic) then find
  // every letter in the table.
  struct LetterMap {
    const std::uint32_t* direct;
    const CodePointMap* fold;
  };
  // The layout of a LetterMap's direct table: Latin-1, the script block,
  // the block's base, the page of each block below kPagedLimit, then the
  // pages themselves (the zero page first), 256 entries each.
  static constexpr std::size_t kScriptBase = 512;
  static constexpr std::size_t kPageOffsets = kScriptBase + 1;
  static constexpr char32_t kPagedLimit = 0x3000;  // past Coptic and Ethiopic Extended
  static constexpr std::size_t kZeroPage = 576;    // after the offsets, a multiple of 64
  static_assert(kPageOffsets + (kPagedLimit >> 8) <= kZeroPage);

  // The map of an unfolded word (or one folded already). Needs hasScoreWindow().
  LetterMap identityLetters() const noexcept { return {identityLetters_.data(), nullptr}; }

  // The direct table of a LetterMap (see above) that gives the letter
  // code of fold(c) (fold null: the identity) for every c below
  // kPagedLimit: Latin-1, the script block (the block of 256 past Latin-1
  // that holds most of the trie's letters) and a page for each other block
  // where some character folds to a letter.
  std::vector<std::uint32_t> foldedDirectLetters(const CodePointMap* fold) const;

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
  // The same for a word of ASCII bytes (each below 0x80), each read as the
  // code point it encodes: a UTF-8 word of ASCII needs no decoding.
  std::uint64_t oddBoundaries(std::string_view asciiWord, LetterMap letters) const;

 private:
  static constexpr std::uint32_t kNoRow = 0xFFFFFFFF;

  // Nodes are numbered breadth first (see PatternIndex.cpp); edge e leads
  // to node e + 1.
  struct Node {
    std::uint32_t childBegin;  // into edgeSymbols_
    std::uint32_t childCount;
    std::uint32_t row;    // into rows_, or kNoRow
    std::uint32_t fail;   // the node of the longest proper suffix of this path
    std::uint32_t block;  // into blocks_: the merged scores ending here; 0 for none
  };

  template <class ChildOf, class TrieNodeOf>
  std::size_t walkEveryStartWith(std::u32string_view word, std::int64_t* boundaryScores, bool exact,
                                 ChildOf childOf, TrieNodeOf trieNodeOf) const;
  void resolveTransitions();
  // The full index's part past the alphabet (see the constructor).
  void indexPaths(const PatternNodes& trie);
  bool numberBreadthFirst();
  void buildAutomaton();
  // From the first node of each depth, and the node count after them.
  void buildScoreBlocks(const std::vector<std::uint32_t>& levelStarts, std::size_t scored);
  // Runs the automaton with the window over the padded word, handing each
  // retired boundary's score to `sink`.
  // `Word`: a u32string_view, or a string_view of ASCII bytes.
  template <class Word, class Sink>
  void walkWindowMapped(Word word, LetterMap letters, Sink& sink) const;
  template <class Word, class LetterOf, class Step, class Sink>
  void walkWindow(Word word, LetterOf letterOf, Step step, Sink& sink) const;
  template <class Word>
  std::uint64_t oddBoundariesOf(Word word, LetterMap letters) const;

  std::uint32_t childOf(const Node& node, std::uint32_t symbol) const noexcept;
  // The automaton's move from `state` on `symbol`, by failure links.
  std::uint32_t nextState(std::uint32_t state, std::uint32_t symbol) const noexcept;

  // The letter number of `c`: 1-based, 0 for a character that is no letter.
  std::uint32_t symbolOf(char32_t c) const noexcept {
    return c < kDirectSymbols ? directSymbols_[c] : symbols_(c);
  }
  // The letterCode of fold(c) (fold null: the identity). Out of line: the
  // walk calls it only for a character beyond Latin-1, off its path.
  [[gnu::noinline]] std::uint32_t foldedLetter(char32_t c, const CodePointMap* fold) const noexcept;
  // What a LetterMap gives for the letter numbered `symbol` (0 for none):
  // the number itself, or, where the moves are resolved, the byte offset of
  // the letter's column of the table, so that a step reaches its column
  // with no multiplication. Either is 0 for no letter.
  std::uint32_t letterCode(std::uint32_t symbol) const noexcept {
    return resolved() ? static_cast<std::uint32_t>(symbol * rowCount_ * sizeof(Move)) : symbol;
  }

  // Latin-1 is looked up directly, everything else through the paged table.
  static constexpr char32_t kDirectSymbols = 256;
  // The first code point of the block of 256 past Latin-1 that holds the
  // most letters of the trie (Cyrillic, Greek, an Indic script...); 0 when
  // all of them are Latin-1.
  char32_t scriptBase_ = 0;

  const PatternNodes& trie_;
  std::uint32_t directSymbols_[kDirectSymbols] = {};  // the letter numbers of Latin-1
  std::vector<std::uint32_t> identityLetters_;        // a LetterMap's table, unfolded
  CodePointMap symbols_;
  std::uint32_t alphabetSize_ = 0;
  std::vector<Node> nodes_;
  std::vector<std::uint32_t> edgeSymbols_;  // letter numbers, sorted within each node
  std::vector<std::uint32_t> trieNodeOf_;   // the store's number of each node
  // No per-node records: an alphabet-only index, or too many paths share nodes.
  bool walksStore_ = false;
  std::vector<std::uint32_t> rows_;  // alphabetSize_ + 1 child nodes per row, 0 for none
  std::size_t longestScores_ = 0;

  // Where the merged scores fit a window, a node's merged scores are one
  // fixed-width block, placed so that its entry k scores the boundary
  // windowBase_ + k relative to the node's anchor; a step of the automaton
  // then merges a whole block by one byte-wise max, with no branch on how
  // many scores there are. Equal blocks are stored once; block 0 is all
  // zeros, the block of a node where no pattern ends.
  static constexpr std::size_t kWindow = 16;
  struct alignas(kWindow) ScoreBlock {
    std::uint8_t scores[kWindow];
  };
  std::vector<ScoreBlock> blocks_;
  std::int32_t windowBase_ = 0;
  // The state after the opening "." that starts every padded word (a row
  // of the table when the moves are resolved, else a node), the window
  // after that step has retired boundary 0, and the score it retired.
  std::uint32_t afterEdge_ = 0;
  ScoreBlock afterEdgeWindow_{};
  std::uint8_t afterEdgeRetired_ = 0;
  std::uint32_t edgeCode_ = 0;  // the letterCode of the edge mark "."

  // Where the scores fit the window, the automaton's moves resolved into
  // one table, so that a character costs one load and no failure link is
  // followed. Only nodes with children get a row (the root first, then
  // breadth first): a leaf moves as its failure target does. A move holds
  // what the next step needs of the node it reaches: the row that node
  // moves by (its own, or the first on its failure chain) and its block.
  // The table is stored by column -- every row's move on letter 0, then
  // every row's move on letter 1, ... -- so a walk carries a row number,
  // the letter picks the column apart from it, and a step is one load of a
  // 16-bit row number at that place in the column: no arithmetic stands
  // between one step's load and the next. The per-node records above are
  // then dropped; the walk that lookupPattern takes follows the store's own
  // edges. Row and block numbers fit 16 bits, and the table holds at most
  // kResolvedMoves moves, every row of every shipped trie: the rows of a
  // larger trie past it are deep rows (below), and the bound keeps such a
  // trie's memory in check (see PatternIndex.cpp for the figures).
  struct Move {
    std::uint16_t block;
    std::uint16_t row;
  };
  static constexpr std::size_t kMoveNumbers = std::size_t{1} << 16;    // rows, and blocks
  static constexpr std::size_t kResolvedMoves = std::size_t{1} << 21;  // 8 MiB of moves
  static_assert(kResolvedMoves * sizeof(Move) <= 0xFFFFFFFF,
                "a column's offset (letterCode) fits 32 bits");
  bool resolved() const noexcept { return !moves_.empty(); }
  std::vector<Move> moves_;
  std::size_t rowCount_ = 0;  // the length of a column: the rows in the table
  // The rows past the table, rowCount_ on: each the moves of its node's
  // own children and those it inherits from deep failure rows, sorted by
  // letter, and the row of the table whose moves it takes on any other.
  struct DeepRow {
    std::uint32_t edgeBegin;  // into deepEdges_
    std::uint32_t edgeCount;
    std::uint32_t failRow;
  };
  struct DeepEdge {
    std::uint32_t code;  // the letter's letterCode (its number while the rows are built)
    Move move;
  };
  std::vector<DeepRow> deepRows_;
  std::vector<DeepEdge> deepEdges_;
  // How a walk with the window moves, known once built: by the nodes and
  // their failure links, by the table alone, or by the table and deep rows.
  enum class Walk : std::uint8_t { kNodes, kTable, kDeepRows };
  Walk walk_ = Walk::kNodes;
};

}  // namespace liang::internal

#endif  // LIANG_CORE_PATTERNINDEX_HPP_
