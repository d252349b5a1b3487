// The lookup index of a trie, and Liang's scoring over it.
//
// (Past 600 lines: the build and the walks are one job, every part of it
// reading the same breadth-first records.)
//
// Scoring a word finds every pattern that occurs in the padded word
// "." + word + "." and raises each boundary to the largest score any of
// them gives it. Two ways to find the occurrences:
//
//  - The walk of TeX: from every start position, follow the trie as far as
//    the letters lead. A word of n letters visits some 3n nodes. This serves
//    lookupPattern, which reports every entry of the combined list exactly,
//    and any trie the automaton does not cover.
//  - An Aho-Corasick automaton over the same trie, for hyphenate: each
//    character is read once; a node's failure link leads to the node of the
//    longest proper suffix of its path, and each node carries the merged
//    scores of every pattern that ends there (its own and its suffixes'),
//    so one step finds all patterns ending at a position. Only positive
//    scores are kept, in bytes: below the end of the padded word every
//    boundary starts at 0, so nothing else can change it, and hyphenate
//    reads nothing past the end.
//
// Both find the same set of occurrences -- a path s[i..j] is in the trie
// exactly when the walk from i reaches it, and exactly when it is a suffix
// that the automaton's chain at j passes -- so they agree on every boundary
// hyphenate reads, and on the length of the combined list.
//
// Where every node's merged scores span at most 16 boundaries (all the
// shipped languages; any other trie is scored by the walk), the automaton
// keeps the scores of the 16 boundaries that a pattern ending at the
// current position can still reach in one vector register (a ScoreWindow,
// in its own header): each step raises it by the node's block with one
// byte-wise max and retires its lowest boundary, which no later match can
// reach. A word then costs a handful of instructions per letter and no
// branch that depends on the patterns found. Since a break depends only on
// the parity of its boundary's score, a word of ordinary length keeps just
// the parities, as the bits of one register: no score goes through memory,
// and the caller visits only the breaks.
//
// The automaton is worth its build only once a trie has scored enough
// words: a large trie starts with the walk alone and is indexed in full
// after that many hyphenate calls (see internal/StagedIndex.hpp).
//
// The automaton's moves are resolved into a table, whose entries carry
// what the next step needs (the row of the next move and the block to
// merge). Only the root and the nodes with children have rows: a leaf
// moves as its failure target does. It is kept by column, one per letter,
// so that the letter selects a column apart from the walk and each step is
// a single load at the carried row: the walk is a chain of loads and
// nothing else.
//
// The table holds at most kResolvedMoves moves (8 MiB): every row of every
// shipped trie, the largest being Hungarian's (42.8k rows of 38 letters,
// 6.5 MiB). A larger trie keeps its shallowest rows there -- numbered
// breadth first, those that most steps visit -- and a row past the table,
// a deep row, keeps only the moves of its node's own children and those
// it inherits from failure rows that are deep as well, sorted by letter,
// and the row of the table that answers any other letter: a step from a
// deep row scans a few moves and then loads from the table at most once,
// never following a chain of failure links.
//
// The bound is what the memory allows, measured (bench/prepared_memory):
// the 73 shared hyphenators, indexed in full, take a peak resident set of
// 53.6 MiB with every row resolved, within the 64 MiB they may take; with
// tables of at most 2.5 MiB, 50.1 MiB, but Hungarian then took 45.0
// instructions a letter against 36.3 with every row resolved, both
// Norwegians 7% more and Ancient Greek 3% more (languages_bench --count
// under callgrind). Packing the rows more tightly (displacement, or
// rows kept as differences) would make every step of every language a
// test and a second load. A trie whose rows or blocks do not fit 16 bits
// follows failure links instead (none shipped does).
//
// A step must be cheap either way. The trie's letters get dense numbers,
// looked up once per position (a character that is no letter leads nowhere).
// The index numbers the trie's paths breadth first, which keeps the shallow
// nodes, those most steps visit, together. The root, and every node with
// many children, has a row indexed by letter number, so a child is one load;
// a node with a few children is scanned.

#include "core/PatternIndex.hpp"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstring>
#include <iterator>
#include <limits>
#include <new>
#include <stdexcept>
#include <tuple>
#include <type_traits>
#include <unordered_map>
#include <utility>

#include "core/CodePointMap.hpp"
#include "core/PatternNodes.hpp"
#include "core/ScoreWindow.hpp"
#include "core/Scratch.hpp"

namespace liang::internal {
namespace {

constexpr char32_t kEdge = U'.';
constexpr std::int64_t kUncovered = std::numeric_limits<std::int64_t>::min();

// Children a node needs before a row of its own pays for its memory: a row
// costs one entry per letter of the alphabet, so it is kept to a small
// multiple of the edges it replaces.
constexpr std::uint32_t kScannedChildren = 4;
constexpr std::uint32_t kRowCostPerEdge = 16;

std::uint32_t toIndex(std::size_t value) {
  if (value > std::numeric_limits<std::uint32_t>::max() - 1) {
    throw Error("Pattern trie too large to index: more than 2^32 - 1 entries in a table");
  }
  return static_cast<std::uint32_t>(value);
}

}  // namespace

PatternIndex::PatternIndex(const PatternNodes& trie, Extent extent) : trie_(trie) {
  // The loops over every edge and node come first and call nothing, so
  // that their code stays a few instructions: a WebAssembly engine charges
  // each turn of a loop with the size of the loop's code and recompiles a
  // function whose charges pass a bound with its optimising compiler, which
  // would cost the first word of a fresh process milliseconds (Node 20,
  // English). The Latin-1 letters are marked in the table, the rest counted.
  std::size_t beyondLatin1 = 0;
  for (const char32_t key : trie.childKeys) {
    if (key < kDirectSymbols) {
      directSymbols_[key] = 1;
    } else {
      ++beyondLatin1;
    }
  }
  // In store order, which is sequential.
  std::uint32_t longestScores = 0;
  for (const PatternNodes::Node& node : trie.nodes) {
    longestScores = std::max(longestScores, node.scoreCount);
  }
  longestScores_ = longestScores;
  // The distinct letters, ascending: Latin-1's, then the others, marked in
  // the map first so that only they are sorted.
  std::vector<char32_t> letters;
  for (char32_t c = 0; c < kDirectSymbols; ++c) {
    if (directSymbols_[c] != 0) letters.push_back(c);
  }
  if (beyondLatin1 != 0) {
    const std::size_t latin1Letters = letters.size();
    for (const char32_t key : trie.childKeys) {
      if (key < kDirectSymbols || symbols_(key) != 0) continue;
      symbols_.set(key, 1);
      letters.push_back(key);
    }
    std::sort(letters.begin() + static_cast<std::ptrdiff_t>(latin1Letters), letters.end());
  }
  alphabetSize_ = toIndex(letters.size());
  std::size_t mostInBlock = 0, inBlock = 0;
  for (std::uint32_t k = 0; k < alphabetSize_; ++k) {
    if (letters[k] < kDirectSymbols) directSymbols_[letters[k]] = k + 1;
    symbols_.set(letters[k], k + 1);
    // Sorted: the letters of a block are consecutive.
    const char32_t block = letters[k] >> 8;
    inBlock = k > 0 && letters[k - 1] >> 8 == block ? inBlock + 1 : 1;
    if (block != 0 && inBlock > mostInBlock) {
      mostInBlock = inBlock;
      scriptBase_ = block << 8;
    }
  }
  if (extent == Extent::kAlphabet) {
    walksStore_ = true;
    return;
  }
  indexPaths(trie);
}

// Out of line, so that the constructor of an alphabet-only index stays small:
// a WebAssembly engine recompiles a function whose loops run hot (as the
// alphabet's do for a large trie) with its optimising compiler, which takes
// milliseconds for a function of this size, all inlined into it.
[[gnu::noinline]] void PatternIndex::indexPaths(const PatternNodes& trie) {
  const bool bytesSuffice = trie.scores.allAtMost(0xFF);
  if (!numberBreadthFirst()) {
    // Too many paths share nodes: no index of paths, and lookups walk the store.
    releaseStorage(nodes_);
    releaseStorage(edgeSymbols_);
    releaseStorage(rows_);
    releaseStorage(trieNodeOf_);
    walksStore_ = true;
    return;
  }
  if (bytesSuffice && trie.nodes[0].scoreCount == 0) buildAutomaton();
  if (hasScoreWindow()) {
    // Only a walk with the window reads a LetterMap.
    identityLetters_ = foldedDirectLetters(nullptr);
    const std::uint32_t edge = symbolOf(kEdge);
    edgeCode_ = letterCode(edge);
    std::uint32_t block;
    if (resolved()) {
      const Move first = moves_[edge * rowCount_];  // from the root, row 0
      afterEdge_ = first.row;
      block = first.block;
    } else {
      afterEdge_ = nextState(0, edge);
      block = nodes_[afterEdge_].block;
    }
    ScoreWindow window;
    window.raise(blocks_[block].scores);
    afterEdgeRetired_ = window.retire();
    window.store(afterEdgeWindow_.scores);
    walk_ = !resolved() ? Walk::kNodes : deepRows_.empty() ? Walk::kTable : Walk::kDeepRows;
  }
}

bool PatternIndex::numberBreadthFirst() {
  // The index numbers the paths of the trie breadth first: the children of
  // a node are numbered after it, in letter order, one after another, so
  // the edge to node e is edge e - 1 and needs no target of its own, every
  // breadth-first pass below is a sequential one, and the shallow nodes that
  // most steps visit sit together. Letter numbers follow code point order,
  // so each node's edges stay sorted.
  //
  // A store may share a subtree between several parents (a trie built from
  // the same trie placed under several letters): the automaton needs a node
  // per path, so a shared subtree is numbered once per path that reaches it,
  // up to a bound on the growth; past it, false.
  const std::size_t rowLength = std::size_t{alphabetSize_} + 1;
  const auto isWide = [&](std::uint32_t childCount) {
    return childCount > kScannedChildren && rowLength <= std::size_t{kRowCostPerEdge} * childCount;
  };
  const std::size_t limit = 2 * trie_.nodes.size() + 1024;
  std::size_t rowCount = 1;  // the root's, and one per wide node of the store
  for (const PatternNodes::Node& node : trie_.nodes) rowCount += isWide(node.childCount);
  rows_.reserve(rowCount * rowLength);
  nodes_.reserve(trie_.nodes.size());
  edgeSymbols_.reserve(trie_.childKeys.size());
  trieNodeOf_.reserve(trie_.nodes.size());
  trieNodeOf_.push_back(0);
  for (std::size_t index = 0; index < trieNodeOf_.size(); ++index) {
    const PatternNodes::Node& from = trie_.nodes[trieNodeOf_[index]];
    if (trieNodeOf_.size() + from.childCount > limit) return false;
    Node& to =
        nodes_.emplace_back(Node{toIndex(edgeSymbols_.size()), from.childCount, kNoRow, 0, 0});
    for (std::uint32_t k = 0; k < from.childCount; ++k) {
      edgeSymbols_.push_back(symbolOf(trie_.childKeys[from.childBegin + k]));
      trieNodeOf_.push_back(trie_.childTargets[from.childBegin + k]);
    }
    if (index == 0 || isWide(from.childCount)) {
      to.row = toIndex(rows_.size());
      rows_.resize(rows_.size() + rowLength, 0);
      for (std::uint32_t k = 0; k < from.childCount; ++k) {
        rows_[to.row + edgeSymbols_[to.childBegin + k]] = to.childBegin + k + 1;
      }
    }
  }
  return true;
}

void PatternIndex::buildAutomaton() {
  const auto nodeCount = static_cast<std::uint32_t>(nodes_.size());
  // Numbered breadth first, the nodes of each depth are a run: the next
  // depth starts after the children of this one. levelStarts ends with the
  // node count.
  std::vector<std::uint32_t> levelStarts{0, 1};
  while (levelStarts.back() < nodeCount) {
    std::uint32_t next = levelStarts.back();
    for (std::uint32_t node = levelStarts[levelStarts.size() - 2]; node < levelStarts.back();
         ++node) {
      next += nodes_[node].childCount;
    }
    levelStarts.push_back(next);
  }
  // Breadth first, so that a node's failure target -- a shorter path, so a
  // lower number -- has its link and its output before the node itself.
  for (std::uint32_t parent = 0; parent < nodeCount; ++parent) {
    const Node& node = nodes_[parent];
    for (std::uint32_t k = 0; k < node.childCount; ++k) {
      const std::uint32_t symbol = edgeSymbols_[node.childBegin + k];
      const std::uint32_t child = node.childBegin + k + 1;
      std::uint32_t fail = 0;
      if (parent != 0) {
        for (std::uint32_t suffix = node.fail;; suffix = nodes_[suffix].fail) {
          if (const std::uint32_t target = childOf(nodes_[suffix], symbol)) {
            fail = target;
            break;
          }
          if (suffix == 0) break;
        }
      }
      nodes_[child].fail = fail;
    }
  }
  // A node's merged scores are its own and its failure target's, all
  // anchored after its last letter, where own entry t scores the boundary
  // t - depth. So the bounds of every merged list are those of the nodes'
  // own positive entries; the window, when they fit one, starts at the
  // lowest of them, and at the boundary before the anchor at the latest, so
  // that a word's boundaries sit at or after the start of the caller's buffer.
  std::int64_t low = -1, high = 0;
  std::size_t scored = 0;
  std::uint32_t depth = 0;
  for (std::uint32_t node = 1; node < nodeCount; ++node) {
    while (node >= levelStarts[depth + 1]) ++depth;
    const PatternNodes::Node& own = trie_.nodes[trieNodeOf_[node]];
    scored += own.scoreCount != 0;
    const ScoreView scores = trie_.scores.view(own.scoreBegin, own.scoreCount);
    for (std::uint32_t t = 0; t < own.scoreCount; ++t) {
      if (scores[t] <= 0) continue;
      low = std::min<std::int64_t>(low, std::int64_t{t} - depth);
      high = std::max<std::int64_t>(high, std::int64_t{t} - depth + 1);
    }
  }
  if (high - low <= static_cast<std::int64_t>(kWindow)) {
    windowBase_ = static_cast<std::int32_t>(low);
    buildScoreBlocks(levelStarts, scored);
    resolveTransitions();
  }
}

void PatternIndex::buildScoreBlocks(const std::vector<std::uint32_t>& levelStarts,
                                    std::size_t scored) {
  const auto nodeCount = static_cast<std::uint32_t>(nodes_.size());
  // Breadth first, a node's block is its failure target's raised by its own
  // scores; equal blocks are numbered once, through an open-addressing
  // table of block numbers (0: empty, since block 0 is never looked up).
  const auto hashOf = [](const ScoreBlock& block) {
    std::uint64_t halves[2];
    std::memcpy(halves, block.scores, sizeof halves);
    const std::uint64_t mixed =
        (halves[0] * 0x9E3779B97F4A7C15ULL) ^ (halves[1] * 0xC2B2AE3D27D4EB4FULL);
    return static_cast<std::size_t>(mixed ^ (mixed >> 31));
  };
  std::size_t slotCount = 16;
  while (slotCount < 2 * scored) slotCount *= 2;
  std::vector<std::uint32_t> slots(slotCount, 0);
  blocks_.reserve(scored + 1);
  blocks_.push_back({});
  std::uint32_t depth = 0;
  for (std::uint32_t node = 1; node < nodeCount; ++node) {
    while (node >= levelStarts[depth + 1]) ++depth;
    Node& to = nodes_[node];
    const PatternNodes::Node& own = trie_.nodes[trieNodeOf_[node]];
    to.block = nodes_[to.fail].block;
    if (own.scoreCount == 0) continue;
    ScoreBlock block = blocks_[to.block];
    const ScoreView scores = trie_.scores.view(own.scoreBegin, own.scoreCount);
    for (std::uint32_t t = 0; t < own.scoreCount; ++t) {
      if (scores[t] <= 0) continue;
      std::uint8_t& into = block.scores[std::int64_t{t} - depth - windowBase_];
      into = std::max(into, static_cast<std::uint8_t>(scores[t]));
    }
    std::size_t at = hashOf(block) & (slotCount - 1);
    while (slots[at] != 0 && std::memcmp(blocks_[slots[at]].scores, block.scores, kWindow) != 0) {
      at = (at + 1) & (slotCount - 1);
    }
    if (slots[at] == 0) {
      slots[at] = toIndex(blocks_.size());
      blocks_.push_back(block);
    }
    to.block = slots[at];
  }
  blocks_.shrink_to_fit();
}

void PatternIndex::resolveTransitions() {
  const auto nodeCount = static_cast<std::uint32_t>(nodes_.size());
  const std::size_t columns = std::size_t{alphabetSize_} + 1;
  // Only the root and the nodes with children get a row, breadth first: a
  // leaf moves as its failure target does, so a node's moves are those of
  // the first node with children on its failure chain, its row node.
  if (!hasScoreWindow() || blocks_.size() > kMoveNumbers) return;
  std::size_t rowNodes = 1;
  for (std::uint32_t node = 1; node < nodeCount; ++node) rowNodes += nodes_[node].childCount != 0;
  // The table takes the shallowest rows that fit its bound, all of them
  // for most tries; the rest are deep rows.
  const std::size_t tableRows = std::min(rowNodes, kResolvedMoves / columns);
  if (rowNodes > kMoveNumbers || tableRows == 0) return;
  // The move that reaches each node. Breadth first, a leaf's failure
  // target has its move before the leaf.
  std::vector<Move> reaching(nodes_.size());
  std::vector<std::uint32_t> failRowOf(rowNodes, 0);
  std::uint32_t nextRow = 0;
  for (std::uint32_t node = 0; node < nodeCount; ++node) {
    const Node& from = nodes_[node];
    const bool hasRow = node == 0 || from.childCount != 0;
    const std::uint32_t row = hasRow ? nextRow++ : reaching[from.fail].row;
    if (hasRow && node != 0) failRowOf[row] = reaching[from.fail].row;
    reaching[node] = {static_cast<std::uint16_t>(from.block), static_cast<std::uint16_t>(row)};
  }
  rowCount_ = tableRows;
  // The edges sorted by letter, and by row within a letter (a counting
  // sort, rows visited in order), so that the table is filled one column
  // at a time: a column of the largest shipped trie is some 170 KB, which
  // stays in cache while it is filled, where filling row by row would touch
  // a line of every column per row.
  std::vector<std::uint32_t> columnStarts(columns + 1, 0);
  std::size_t tableEdges = 0;
  for (std::uint32_t node = 0; node < nodeCount; ++node) {
    const Node& from = nodes_[node];
    if (reaching[node].row >= tableRows) continue;
    for (std::uint32_t k = 0; k < from.childCount; ++k) {
      ++columnStarts[edgeSymbols_[from.childBegin + k] + 1];
    }
    tableEdges += from.childCount;
  }
  for (std::size_t column = 0; column < columns; ++column) {
    columnStarts[column + 1] += columnStarts[column];
  }
  struct RowMove {
    std::uint32_t row;
    Move move;
  };
  std::vector<RowMove> edgesByColumn(tableEdges);
  deepRows_.reserve(rowNodes - tableRows);
  {
    std::vector<DeepEdge> merged;
    std::vector<std::uint32_t> filled(columnStarts.begin(), columnStarts.end() - 1);
    for (std::uint32_t node = 0; node < nodeCount; ++node) {
      const Node& from = nodes_[node];
      const std::uint32_t row = reaching[node].row;
      if (from.childCount == 0) continue;
      if (row < tableRows) {
        for (std::uint32_t k = 0; k < from.childCount; ++k) {
          const std::uint32_t edge = from.childBegin + k;
          edgesByColumn[filled[edgeSymbols_[edge]]++] = {row, reaching[edge + 1]};
        }
        continue;
      }
      // A deep row whose failure row is deep too takes that row's moves on
      // the letters it has no child on, and its row of the table: each deep
      // row then leads to the table in one step. Both lists are sorted by
      // letter.
      DeepRow deep{toIndex(deepEdges_.size()), 0, failRowOf[row]};
      const DeepEdge* inherited = nullptr;
      const DeepEdge* inheritedEnd = nullptr;
      if (deep.failRow >= tableRows) {
        const DeepRow& failing = deepRows_[deep.failRow - tableRows];
        inherited = deepEdges_.data() + failing.edgeBegin;
        inheritedEnd = inherited + failing.edgeCount;
        deep.failRow = failing.failRow;
      }
      merged.clear();
      for (std::uint32_t k = 0; k < from.childCount; ++k) {
        const std::uint32_t edge = from.childBegin + k;
        const std::uint32_t symbol = edgeSymbols_[edge];
        for (; inherited != inheritedEnd && inherited->code < symbol; ++inherited) {
          merged.push_back(*inherited);
        }
        if (inherited != inheritedEnd && inherited->code == symbol) ++inherited;
        merged.push_back({symbol, reaching[edge + 1]});
      }
      merged.insert(merged.end(), inherited, inheritedEnd);
      deep.edgeCount = toIndex(merged.size());
      deepEdges_.insert(deepEdges_.end(), merged.begin(), merged.end());
      deepRows_.push_back(deep);
    }
  }
  // Letter 0, and any letter that leads nowhere from the root, moves to the
  // root: row 0, block 0 (the root has no scores of its own). A row's move
  // is its node's child's where it has one, else that of its failure
  // target's row, filled already: failure rows are lower.
  moves_.resize(tableRows * columns);
  for (std::size_t column = 0; column < columns; ++column) {
    Move* moves = moves_.data() + column * rowCount_;
    const RowMove* edge = edgesByColumn.data() + columnStarts[column];
    const RowMove* end = edgesByColumn.data() + columnStarts[column + 1];
    for (std::size_t row = 0; row < tableRows; ++row) {
      if (edge != end && edge->row == row) {
        moves[row] = (edge++)->move;
      } else {
        moves[row] = row == 0 ? Move{0, 0} : moves[failRowOf[row]];
      }
    }
  }
  // A deep row's moves are found by the code a walk reads for a letter.
  for (DeepEdge& edge : deepEdges_) edge.code = letterCode(edge.code);
  deepEdges_.shrink_to_fit();
  releaseStorage(nodes_);
  releaseStorage(edgeSymbols_);
  releaseStorage(rows_);
  releaseStorage(trieNodeOf_);
}

inline std::uint32_t PatternIndex::childOf(const Node& node, std::uint32_t symbol) const noexcept {
  if (node.row != kNoRow) return rows_[node.row + symbol];
  // Edge e leads to node e + 1.
  const std::uint32_t* symbols = edgeSymbols_.data() + node.childBegin;
  if (node.childCount <= 2 * kScannedChildren) {
    for (std::uint32_t k = 0; k < node.childCount; ++k) {
      if (symbols[k] == symbol) return node.childBegin + k + 1;
    }
    return 0;
  }
  const std::uint32_t* end = symbols + node.childCount;
  const std::uint32_t* found = std::lower_bound(symbols, end, symbol);
  return found != end && *found == symbol
             ? node.childBegin + static_cast<std::uint32_t>(found - symbols) + 1
             : 0;
}

std::size_t PatternIndex::score(std::u32string_view word, std::int64_t* boundaryScores,
                                bool exact) const {
  if (resolved() || walksStore_) {
    // No per-node records (gone, or never made): walk the store itself,
    // whose edges are sorted by code point.
    return walkEveryStartWith(
        word, boundaryScores, exact,
        [&](std::uint32_t node, char32_t c) -> std::uint32_t {
          const PatternNodes::Node& from = trie_.nodes[node];
          const char32_t* begin = trie_.childKeys.data() + from.childBegin;
          const char32_t* end = begin + from.childCount;
          const char32_t* found = std::lower_bound(begin, end, c);
          return found != end && *found == c ? trie_.childTargets[found - trie_.childKeys.data()]
                                             : 0;
        },
        [](std::uint32_t node) { return node; });
  }
  return walkEveryStartWith(
      word, boundaryScores, exact,
      [&](std::uint32_t node, char32_t c) -> std::uint32_t {
        const std::uint32_t symbol = symbolOf(c);
        return symbol == 0 ? 0 : childOf(nodes_[node], symbol);
      },
      [&](std::uint32_t node) { return trieNodeOf_[node]; });
}

template <class ChildOf, class TrieNodeOf>
std::size_t PatternIndex::walkEveryStartWith(std::u32string_view word, std::int64_t* boundaryScores,
                                             bool exact, ChildOf childOf,
                                             TrieNodeOf trieNodeOf) const {
  // Boundary b of the padded word s is the one before s[b]. Every start
  // position contributes at least a 0 on its own boundary, so boundaries
  // 0 .. L-1 start at 0; past the end only the matches that reach there
  // count, and the combined list is as long as the furthest of them.
  const std::size_t paddedLength = word.size() + 2;
  const auto padded = [&](std::size_t b) {
    return b == 0 || b > word.size() ? kEdge : word[b - 1];
  };

  std::fill_n(boundaryScores, paddedLength, 0);
  std::fill_n(boundaryScores + paddedLength, longestScores_ + 1, exact ? kUncovered : 0);
  std::size_t length = paddedLength;
  const auto combineAt = [&](std::size_t start, std::uint32_t node) {
    const PatternNodes::Node& scored = trie_.nodes[trieNodeOf(node)];
    length = std::max<std::size_t>(length, start + scored.scoreCount);
    const ScoreView from = trie_.scores.view(scored.scoreBegin, scored.scoreCount);
    std::int64_t* into = boundaryScores + start;
    for (std::uint32_t k = 0; k < scored.scoreCount; ++k) into[k] = std::max(into[k], from[k]);
  };

  if (trie_.nodes[0].scoreCount != 0) {
    // A root score list (from a line without letters) joins every start
    // position's match list, and once more on the final boundary.
    for (std::size_t start = 0; start <= paddedLength; ++start) combineAt(start, 0);
  }
  for (std::size_t start = 0; start < paddedLength; ++start) {
    std::uint32_t node = childOf(0, padded(start));
    for (std::size_t next = start + 1; node != 0; ++next) {
      combineAt(start, node);
      node = next < paddedLength ? childOf(node, padded(next)) : 0;
    }
  }
  return length;
}

inline std::uint32_t PatternIndex::nextState(std::uint32_t state,
                                             std::uint32_t symbol) const noexcept {
  if (symbol == 0) return 0;  // no letter: no pattern continues through it
  while (true) {
    if (const std::uint32_t child = childOf(nodes_[state], symbol)) return child;
    if (state == 0) return 0;
    state = nodes_[state].fail;
  }
}

template <class Word, class LetterOf, class Step, class Sink>
inline void PatternIndex::walkWindow(Word word, LetterOf letterOf, Step step, Sink& sink) const {
  // The step on character j of the padded word retires boundary
  // j + 1 + windowBase_, which sink.retire receives; the window after the
  // last step, the closing edge's, holds the boundary that step would
  // retire and those after it, for sink.finish.
  const ScoreBlock* blocks = blocks_.data();
  // Every padded word starts with the same step, taken once beforehand.
  std::uint32_t state = afterEdge_;
  ScoreWindow window = ScoreWindow::of(afterEdgeWindow_.scores);
  sink.retire(0, afterEdgeRetired_);
  const auto raise = [&](std::size_t symbol) {
    std::uint32_t block;
    std::tie(state, block) = step(state, static_cast<std::uint32_t>(symbol));
    window.raise(blocks[block].scores);
  };
  for (std::size_t j = 0; j < word.size(); ++j) {
    raise(letterOf(word[j]));
    sink.retire(j + 1, window.retire());
  }
  raise(edgeCode_);
  sink.finish(word.size() + 1, window);
}

template <class Word, class Sink>
inline void PatternIndex::walkWindowMapped(Word word, LetterMap letters, Sink& sink) const {
  // A Latin-1 character, folded or not, is one load; only the rest is
  // folded here, and looked up in the alphabet.
  const std::uint32_t* direct = letters.direct;
  const auto letterOf = [this, direct, fold = letters.fold](auto unit) -> std::size_t {
    // A byte of an ASCII word is below 0x80: no sign to lose.
    const auto c = static_cast<char32_t>(static_cast<std::make_unsigned_t<decltype(unit)>>(unit));
    if (c < kDirectSymbols) [[likely]]
      return direct[c];
    // Wraps around for c below the block: one comparison for both ends. The
    // base is read here, off the path of Latin-1: a word of it never loads it.
    const char32_t inScript = c - direct[kScriptBase];
    if (inScript < kDirectSymbols) [[likely]]
      return direct[kDirectSymbols + inScript];
    if (c < kPagedLimit) [[likely]]
      return direct[direct[kPageOffsets + (c >> 8)] + (c & 0xFF)];
    return foldedLetter(c, fold);
  };
  // With the table, the state carried from step to step is a row number;
  // the letter's column is found apart from it, so the chain of steps is a
  // chain of loads. Letter 0 (no letter) leads every state back to the
  // root. The table alone, the commonest walk, is tested for first.
  const Move* moves = moves_.data();
  const std::size_t rowCount = rowCount_;
  const auto fromTable = [moves](std::uint32_t row, std::size_t code) {
    // The code is the column's offset in bytes (letterCode).
    const auto* column = reinterpret_cast<const unsigned char*>(moves) + code;
#if defined(__GNUC__)
    // Keeps the compiler from folding the row into the column's offset,
    // which would put arithmetic on the chain of steps.
    asm("" : "+r"(column));
#endif
    // Each half read on its own, from the column's base plus the scaled
    // row: reading the move whole and splitting it would put a shift, or
    // an address computed apart, on the chain.
    std::uint16_t next, block;
    std::memcpy(&next, column + std::size_t{row} * sizeof(Move) + offsetof(Move, row), 2);
    std::memcpy(&block, column + std::size_t{row} * sizeof(Move) + offsetof(Move, block), 2);
    return std::pair<std::uint32_t, std::uint32_t>(next, block);
  };
  if (walk_ == Walk::kTable) {
    walkWindow(word, letterOf, fromTable, sink);
    return;
  }
  if (walk_ == Walk::kDeepRows) {
    // A deep row takes its own move (its node's, or one it inherits from
    // deep failure rows), else that of its row in the table.
    const DeepRow* deepRows = deepRows_.data();
    const DeepEdge* deepEdges = deepEdges_.data();
    walkWindow(
        word, letterOf,
        [=](std::uint32_t row, std::size_t code) {
          if (row >= rowCount) [[unlikely]] {
            const DeepRow& deep = deepRows[row - rowCount];
            const DeepEdge* edges = deepEdges + deep.edgeBegin;
            for (std::uint32_t k = 0; k < deep.edgeCount; ++k) {
              if (edges[k].code == code) {
                return std::pair<std::uint32_t, std::uint32_t>(edges[k].move.row,
                                                               edges[k].move.block);
              }
            }
            row = deep.failRow;
          }
          return fromTable(row, code);
        },
        sink);
    return;
  }
  walkWindow(
      word, letterOf,
      [this](std::uint32_t state, std::size_t symbol) {
        state = nextState(state, static_cast<std::uint32_t>(symbol));
        return std::pair<std::uint32_t, std::uint32_t>(state, nodes_[state].block);
      },
      sink);
}

std::uint32_t PatternIndex::foldedLetter(char32_t c, const CodePointMap* fold) const noexcept {
  return letterCode(symbolOf(fold != nullptr ? (*fold)(c) : c));
}

std::vector<std::uint32_t> PatternIndex::foldedDirectLetters(const CodePointMap* fold) const {
  static_assert(kScriptBase == 2 * kDirectSymbols && kZeroPage % 16 == 0);  // 64-byte steps
  constexpr std::size_t kBlocks = kPagedLimit / kDirectSymbols;
  std::vector<std::uint32_t> direct(kZeroPage + kDirectSymbols);
  for (char32_t c = 0; c < kDirectSymbols; ++c) {
    direct[c] = foldedLetter(c, fold);
    // With no script block, base 0 never matches past Latin-1: these stay unread.
    direct[kDirectSymbols + c] = scriptBase_ != 0 ? foldedLetter(scriptBase_ + c, fold) : 0;
  }
  direct[kScriptBase] = scriptBase_;
  // Blocks 0 and the script block are read before their pages are: the
  // offsets only need to be right.
  direct[kPageOffsets] = 0;
  std::uint32_t page[kDirectSymbols];
  for (std::size_t block = 1; block < kBlocks; ++block) {
    const auto first = static_cast<char32_t>(block * kDirectSymbols);
    if (first == scriptBase_) {
      direct[kPageOffsets + block] = kDirectSymbols;
      continue;
    }
    // A block that neither the alphabet nor the fold has a key in holds
    // no letter: its characters fold to themselves, none of them a letter.
    bool anyLetter = false;
    const bool mayHoldLetters =
        symbols_.mayHaveKeysIn(static_cast<std::uint32_t>(block)) ||
        (fold != nullptr && fold->mayHaveKeysIn(static_cast<std::uint32_t>(block)));
    for (char32_t c = 0; mayHoldLetters && c < kDirectSymbols; ++c) {
      page[c] = foldedLetter(first + c, fold);
      anyLetter = anyLetter || page[c] != 0;
    }
    direct[kPageOffsets + block] =
        static_cast<std::uint32_t>(anyLetter ? direct.size() : kZeroPage);
    if (anyLetter) direct.insert(direct.end(), page, page + kDirectSymbols);
  }
  return direct;
}

const std::uint8_t* PatternIndex::scoreByWindow(std::u32string_view word, std::uint8_t* buffer,
                                                LetterMap letters) const {
  struct ToBytes {
    std::uint8_t* buffer;
    void retire(std::size_t j, std::uint8_t score) const noexcept { buffer[j] = score; }
    void finish(std::size_t j, const ScoreWindow& window) const noexcept {
      window.store(buffer + j);
    }
  } sink{buffer};
  walkWindowMapped(word, letters, sink);
  return buffer + (-1 - windowBase_);
}

std::uint64_t PatternIndex::oddBoundaries(std::u32string_view word, LetterMap letters) const {
  return oddBoundariesOf(word, letters);
}

std::uint64_t PatternIndex::oddBoundaries(std::string_view asciiWord, LetterMap letters) const {
  return oddBoundariesOf(asciiWord, letters);
}

template <class Word>
std::uint64_t PatternIndex::oddBoundariesOf(Word word, LetterMap letters) const {
  // Bit j of `odd` is the parity of the boundary that step j retires; the
  // bits after the last step come from the window, 16 at a time. No score
  // goes through memory.
  struct ToBits {
    std::uint64_t odd = 0;
    void retire(std::size_t j, std::uint8_t score) noexcept {
      odd |= std::uint64_t{score & 1u} << j;
    }
    void finish(std::size_t j, const ScoreWindow& window) noexcept {
      odd |= std::uint64_t{window.oddMask()} << j;
    }
  } sink;
  walkWindowMapped(word, letters, sink);
  // Step j retires boundary j + 1 + windowBase_, and windowBase_ < 0.
  return sink.odd >> (-1 - windowBase_);
}

}  // namespace liang::internal
