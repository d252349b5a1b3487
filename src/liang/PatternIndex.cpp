// The lookup index of a trie, and Liang's scoring over it.
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
// shipped languages), the automaton keeps the scores of the 16 boundaries
// that a pattern ending at the current position can still reach in one
// vector register: each step raises it by the node's block with one
// byte-wise max and retires its lowest boundary, which no later match can
// reach. A word then costs a handful of instructions per letter and no
// branch that depends on the patterns found. Since a break depends only on
// the parity of its boundary's score, a word of ordinary length keeps just
// the parities, as the bits of one register: no score goes through memory,
// and the caller visits only the breaks.
//
// The automaton is worth its build only once a trie has scored enough
// words: a large trie starts with the walk alone and is indexed in full
// after that many hyphenate calls (StagedIndex, below).
//
// For a small enough trie the automaton's moves are resolved into one
// table, whose entries carry what the next step needs (the row of the next
// move and the block to merge). It is kept by column, one per letter, so
// that the letter selects a column apart from the walk and each step is a
// single load at the carried row: the walk is a chain of loads and nothing
// else. A larger trie follows failure links.
//
// A step must be cheap either way. The trie's letters get dense numbers,
// looked up once per position (a character that is no letter leads nowhere).
// The index numbers the trie's paths breadth first, which keeps the shallow
// nodes, those most steps visit, together. The root, and every node with
// many children, has a row indexed by letter number, so a child is one load;
// a node with a few children is scanned.

#include "liang/internal/PatternIndex.hpp"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstring>
#include <iterator>
#include <limits>
#include <new>
#include <stdexcept>
#include <tuple>
#include <unordered_map>
#include <utility>

#if defined(__SSE2__) && !defined(LIANG_PORTABLE_WINDOW)
#include <emmintrin.h>
#define LIANG_WINDOW_SSE2 1
#elif defined(__ARM_NEON) && !defined(LIANG_PORTABLE_WINDOW)
#include <arm_neon.h>
#define LIANG_WINDOW_NEON 1
#endif

#include "liang/internal/CodePointMap.hpp"
#include "liang/internal/PatternNodes.hpp"
#include "liang/internal/Scratch.hpp"

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

// The scores of the next 16 boundaries, the lowest first, in one register
// where the target has one.
class ScoreWindow {
 public:
#if defined(LIANG_WINDOW_SSE2)
  void raise(const std::uint8_t* block) noexcept {
    scores_ = _mm_max_epu8(scores_, _mm_load_si128(reinterpret_cast<const __m128i*>(block)));
  }
  // Returns the lowest boundary's score and moves the window up by one.
  std::uint8_t retire() noexcept {
    const auto lowest = static_cast<std::uint8_t>(_mm_cvtsi128_si32(scores_));
    scores_ = _mm_srli_si128(scores_, 1);
    return lowest;
  }
  void store(std::uint8_t* out) const noexcept {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), scores_);
  }
  // Bit k: whether the score of the k-th lowest boundary is odd.
  std::uint32_t oddMask() const noexcept {
    return static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_slli_epi16(scores_, 7)));
  }

 private:
  __m128i scores_ = _mm_setzero_si128();
#elif defined(LIANG_WINDOW_NEON)
  void raise(const std::uint8_t* block) noexcept { scores_ = vmaxq_u8(scores_, vld1q_u8(block)); }
  std::uint8_t retire() noexcept {
    const std::uint8_t lowest = vgetq_lane_u8(scores_, 0);
    scores_ = vextq_u8(scores_, vdupq_n_u8(0), 1);
    return lowest;
  }
  void store(std::uint8_t* out) const noexcept { vst1q_u8(out, scores_); }
  std::uint32_t oddMask() const noexcept {
    std::uint8_t scores[16];
    vst1q_u8(scores, scores_);
    std::uint32_t odd = 0;
    for (unsigned k = 0; k < 16; ++k) odd |= std::uint32_t{scores[k] & 1u} << k;
    return odd;
  }

 private:
  uint8x16_t scores_ = vdupq_n_u8(0);
#else
  // Anywhere else: a ring of 16 bytes, the lowest at `first_`.
  void raise(const std::uint8_t* block) noexcept {
    for (unsigned k = 0; k < 16; ++k) {
      std::uint8_t& into = scores_[(first_ + k) % 16];
      into = std::max(into, block[k]);
    }
  }
  std::uint8_t retire() noexcept {
    const std::uint8_t lowest = scores_[first_];
    scores_[first_] = 0;
    first_ = (first_ + 1) % 16;
    return lowest;
  }
  void store(std::uint8_t* out) const noexcept {
    for (unsigned k = 0; k < 16; ++k) out[k] = scores_[(first_ + k) % 16];
  }
  std::uint32_t oddMask() const noexcept {
    std::uint32_t odd = 0;
    for (unsigned k = 0; k < 16; ++k) odd |= std::uint32_t{scores_[(first_ + k) % 16] & 1u} << k;
    return odd;
  }

 private:
  std::uint8_t scores_[16] = {};
  unsigned first_ = 0;
#endif
};

}  // namespace

void PagedTable::set(char32_t key, std::uint32_t value) {
  if (key > 0x10FFFF) {
    beyond_.set(key, value);
    return;
  }
  const std::uint32_t block = key >> 8;
  if (block >= pageOfBlock_.size()) pageOfBlock_.resize(block + 1, 0);
  if (pageOfBlock_[block] == 0) {
    values_.resize(values_.size() + 256, 0);
    pageOfBlock_[block] = static_cast<std::uint32_t>(values_.size() / 256);
  }
  values_[(pageOfBlock_[block] - 1) * std::size_t{256} + (key & 0xFF)] = value;
}

PatternIndex::PatternIndex(const PatternNodes& trie, Extent extent) : trie_(trie) {
  // The distinct letters, marked in the table first so that only they are sorted.
  std::vector<char32_t> letters;
  for (char32_t key : trie.childKeys) {
    if (key < kDirectSymbols) {
      if (directSymbols_[key] != 0) continue;
      directSymbols_[key] = 1;
    } else {
      if (symbols_(key) != 0) continue;
      symbols_.set(key, 1);
    }
    letters.push_back(key);
  }
  std::sort(letters.begin(), letters.end());
  alphabetSize_ = toIndex(letters.size());
  for (std::uint32_t k = 0; k < alphabetSize_; ++k) {
    if (letters[k] < kDirectSymbols) directSymbols_[letters[k]] = k + 1;
    symbols_.set(letters[k], k + 1);
  }
  // In store order, which is sequential.
  for (const PatternNodes::Node& node : trie.nodes) {
    longestScores_ = std::max<std::size_t>(longestScores_, node.scoreCount);
  }
  if (extent == Extent::kAlphabet) {
    walksStore_ = true;
    return;
  }
  const bool bytesSuffice = trie.scores.allAtMost(0xFF);
  if (!numberBreadthFirst()) {
    // Too many paths share nodes: no index of paths, and lookups walk the store.
    nodes_ = {};
    edgeSymbols_ = {};
    rows_ = {};
    trieNodeOf_ = {};
    walksStore_ = true;
    return;
  }
  automaton_ = bytesSuffice && trie.nodes[0].scoreCount == 0 && buildAutomaton();
  if (!automaton_) {
    outputs_ = {};
    outputScores_ = {};
  }
  if (hasScoreWindow()) {
    const std::uint32_t edge = symbolOf(kEdge);
    if (resolved()) {
      const Move first = moves_[edge * rowCount_];  // from the root, row 0
      afterEdge_ = first.row;
      afterEdgeBlock_ = first.block;
    } else {
      afterEdge_ = nextState(0, edge);
      afterEdgeBlock_ = nodes_[afterEdge_].output;
    }
  }
  outputs_.shrink_to_fit();
  outputScores_.shrink_to_fit();
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

bool PatternIndex::buildAutomaton() {
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
    return true;
  }
  return buildOutputs(levelStarts);
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
    to.output = nodes_[to.fail].output;
    if (own.scoreCount == 0) continue;
    ScoreBlock block = blocks_[to.output];
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
    to.output = slots[at];
  }
  blocks_.shrink_to_fit();
}

bool PatternIndex::buildOutputs(const std::vector<std::uint32_t>& levelStarts) {
  const auto nodeCount = static_cast<std::uint32_t>(nodes_.size());
  outputs_.reserve(nodes_.size() / 2 + 1);
  outputScores_.reserve(trie_.scores.size());
  outputs_.push_back({});  // output 0: no pattern ends here
  std::uint32_t depth = 0;
  for (std::uint32_t node = 1; node < nodeCount; ++node) {
    while (node >= levelStarts[depth + 1]) ++depth;
    const PatternNodes::Node& own = trie_.nodes[trieNodeOf_[node]];
    const std::uint32_t inherited = nodes_[nodes_[node].fail].output;
    if (own.scoreCount == 0) {
      nodes_[node].output = inherited;
      continue;
    }
    const std::int64_t ownFirst = -static_cast<std::int64_t>(depth);
    const ScoreView scores = trie_.scores.view(own.scoreBegin, own.scoreCount);
    std::int64_t low = std::numeric_limits<std::int64_t>::max();
    std::int64_t high = std::numeric_limits<std::int64_t>::min();
    for (std::uint32_t t = 0; t < own.scoreCount; ++t) {
      if (scores[t] > 0) {
        low = std::min(low, ownFirst + t);
        high = std::max(high, ownFirst + t + 1);
      }
    }
    std::int64_t reach = ownFirst + static_cast<std::int64_t>(own.scoreCount);
    const Output* suffix = inherited != 0 ? &outputs_[inherited] : nullptr;
    if (suffix != nullptr) {
      reach = std::max<std::int64_t>(reach, suffix->reach);
      if (suffix->count != 0) {
        low = std::min<std::int64_t>(low, suffix->first);
        high = std::max<std::int64_t>(high, suffix->first + std::int64_t{suffix->count});
      }
    }
    Output result{toIndex(outputScores_.size()), 0, 0, 0};
    const std::int64_t count = low < high ? high - low : 0;
    if (count > std::numeric_limits<std::uint16_t>::max() ||
        (count != 0 && (low < std::numeric_limits<std::int16_t>::min() ||
                        low > std::numeric_limits<std::int16_t>::max())) ||
        reach < std::numeric_limits<std::int32_t>::min() ||
        reach > std::numeric_limits<std::int32_t>::max()) {
      return false;  // patterns too long for the compact records: walk instead
    }
    result.reach = static_cast<std::int32_t>(reach);
    if (count != 0) {
      // Merged in place at the end of the pool; the suffix's entries are
      // read by index, since growing the pool may move it.
      result.first = static_cast<std::int16_t>(low);
      result.count = static_cast<std::uint16_t>(count);
      outputScores_.resize(outputScores_.size() + result.count, 0);
      std::uint8_t* merged = outputScores_.data() + result.begin;
      for (std::uint32_t t = 0; t < own.scoreCount; ++t) {
        if (scores[t] > 0) merged[ownFirst + t - low] = static_cast<std::uint8_t>(scores[t]);
      }
      if (suffix != nullptr) {
        for (std::uint32_t e = 0; e < suffix->count; ++e) {
          std::uint8_t& into = merged[std::int64_t{suffix->first} + e - low];
          into = std::max(into, outputScores_[suffix->begin + e]);
        }
      }
    }
    nodes_[node].output = toIndex(outputs_.size());
    outputs_.push_back(result);
  }
  return true;
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
  if (rowNodes > kMoveNumbers || rowNodes * columns > kResolvedMoves) return;
  // The move that reaches each node. Breadth first, a leaf's failure
  // target has its move before the leaf.
  std::vector<Move> reaching(nodes_.size());
  std::uint32_t nextRow = 0;
  for (std::uint32_t node = 0; node < nodeCount; ++node) {
    const Node& from = nodes_[node];
    const std::uint32_t row =
        node == 0 || from.childCount != 0 ? nextRow++ : reaching[from.fail].row;
    reaching[node] = {static_cast<std::uint16_t>(from.output), static_cast<std::uint16_t>(row)};
  }
  rowCount_ = rowNodes;
  // Letter 0, and any letter that leads nowhere from the root, moves to the
  // root: row 0, block 0 (the root has no scores of its own). A row starts
  // as that of its node's failure target, complete already breadth first,
  // and the node's children overrule it.
  moves_.assign(rowNodes * columns, Move{0, 0});
  for (std::uint32_t node = 0; node < nodeCount; ++node) {
    const Node& from = nodes_[node];
    if (node != 0 && from.childCount == 0) continue;
    const std::size_t row = reaching[node].row;
    if (node != 0) {
      const std::size_t failRow = reaching[from.fail].row;
      for (std::size_t column = 0; column < columns; ++column) {
        moves_[column * rowCount_ + row] = moves_[column * rowCount_ + failRow];
      }
    }
    for (std::uint32_t k = 0; k < from.childCount; ++k) {
      const std::size_t column = edgeSymbols_[from.childBegin + k];
      moves_[column * rowCount_ + row] = reaching[from.childBegin + k + 1];
    }
  }
  nodes_ = {};
  edgeSymbols_ = {};
  rows_ = {};
  trieNodeOf_ = {};
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

void PatternIndex::symbolsOfPadded(std::u32string_view word,
                                   std::uint32_t* symbols) const noexcept {
  const std::uint32_t edge = symbolOf(kEdge);
  symbols[0] = edge;
  for (std::size_t j = 0; j < word.size(); ++j) symbols[j + 1] = symbolOf(word[j]);
  symbols[word.size() + 1] = edge;
}

std::size_t PatternIndex::walkEveryStart(std::u32string_view word, std::int64_t* boundaryScores,
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

std::size_t PatternIndex::scoreByAutomaton(std::u32string_view word,
                                           std::uint8_t* boundaryScores) const {
  const std::size_t paddedLength = word.size() + 2;
  ScratchBuffer<std::uint32_t, 128> symbolBuffer(paddedLength);
  std::uint32_t* symbols = symbolBuffer.data();
  symbolsOfPadded(word, symbols);
  std::fill_n(boundaryScores, paddedLength + longestScores_ + 1, 0);

  auto length = static_cast<std::int64_t>(paddedLength);
  // The tables are read through locals: the byte stores below may alias
  // anything, and would otherwise make every member be loaded again.
  const Output* outputs = outputs_.data();
  const std::uint8_t* outputScores = outputScores_.data();
  const auto emit = [&](std::size_t j, std::uint32_t id) {
    const Output& output = outputs[id];
    const auto anchor = static_cast<std::int64_t>(j + 1);
    length = std::max(length, anchor + output.reach);
    std::uint8_t* into = boundaryScores + (anchor + output.first);
    const std::uint8_t* from = outputScores + output.begin;
    for (std::uint32_t e = 0; e < output.count; ++e) into[e] = std::max(into[e], from[e]);
  };
  // Only tries without a window come here, and those are never resolved.
  std::uint32_t state = 0;
  for (std::size_t j = 0; j < paddedLength; ++j) {
    state = nextState(state, symbols[j]);
    if (const std::uint32_t id = nodes_[state].output) emit(j, id);
  }
  return static_cast<std::size_t>(length);
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

template <class LetterOf, class Step, class Sink>
inline void PatternIndex::walkWindow(std::u32string_view word, LetterOf letterOf, Step step,
                                     Sink& sink) const {
  // The step on character j of the padded word retires boundary
  // j + 1 + windowBase_, which sink.retire receives; the window left after
  // the last step holds the boundaries after it, for sink.finish.
  const ScoreBlock* blocks = blocks_.data();
  const std::uint32_t edge = symbolOf(kEdge);
  ScoreWindow window;
  // Every padded word starts with the same step, taken once beforehand.
  std::uint32_t state = afterEdge_;
  window.raise(blocks[afterEdgeBlock_].scores);
  sink.retire(0, window.retire());
  const auto advance = [&](std::size_t symbol, std::size_t j) {
    std::uint32_t block;
    std::tie(state, block) = step(state, static_cast<std::uint32_t>(symbol));
    window.raise(blocks[block].scores);
    sink.retire(j, window.retire());
  };
  for (std::size_t j = 0; j < word.size(); ++j) advance(letterOf(word[j]), j + 1);
  advance(edge, word.size() + 1);
  sink.finish(word.size() + 2, window);
}

template <class Sink>
inline void PatternIndex::walkWindowMapped(std::u32string_view word, LetterMap letters,
                                           Sink& sink) const {
  // A Latin-1 character, folded or not, is one load; only the rest is
  // folded here, and looked up in the alphabet.
  const std::uint32_t* latin1 = letters.latin1;
  const auto letterOf = [this, latin1, fold = letters.fold](char32_t c) -> std::size_t {
    if (c < kDirectSymbols) [[likely]]
      return latin1[c];
    return foldedLetter(c, fold);
  };
  if (resolved()) {
    // The state carried from step to step is a row number; the letter's
    // column is found apart from it, so the chain of steps is a chain of
    // loads. Letter 0 (no letter) leads every state back to the root.
    const Move* moves = moves_.data();
    const std::size_t rowCount = rowCount_;
    walkWindow(
        word, letterOf,
        [moves, rowCount](std::uint32_t row, std::size_t symbol) {
          const Move* column = moves + symbol * rowCount;
#if defined(__GNUC__)
          // Keeps the compiler from folding the row into the column's
          // offset, which would put arithmetic on the chain of steps.
          asm("" : "+r"(column));
#endif
          // Each half read on its own, from the column's base plus the
          // scaled row: reading the move whole and splitting it would put
          // a shift, or an address computed apart, on the chain.
          const auto* bytes = reinterpret_cast<const unsigned char*>(column);
          std::uint16_t next, block;
          std::memcpy(&next, bytes + std::size_t{row} * sizeof(Move) + offsetof(Move, row), 2);
          std::memcpy(&block, bytes + std::size_t{row} * sizeof(Move) + offsetof(Move, block), 2);
          return std::pair<std::uint32_t, std::uint32_t>(next, block);
        },
        sink);
    return;
  }
  walkWindow(
      word, letterOf,
      [this](std::uint32_t state, std::uint32_t symbol) {
        state = nextState(state, symbol);
        return std::pair<std::uint32_t, std::uint32_t>(state, nodes_[state].output);
      },
      sink);
}

std::uint32_t PatternIndex::foldedLetter(char32_t c, const CodePointMap* fold) const noexcept {
  return symbolOf(fold != nullptr ? (*fold)(c) : c);
}

void PatternIndex::foldedLatin1Letters(const CodePointMap* fold,
                                       std::uint32_t* latin1) const noexcept {
  for (char32_t c = 0; c < kDirectSymbols; ++c) latin1[c] = foldedLetter(c, fold);
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

std::size_t PatternIndex::score(std::u32string_view word, std::int64_t* boundaryScores,
                                bool exact) const {
  return walkEveryStart(word, boundaryScores, exact);
}

StagedIndex::StagedIndex(const PatternNodes& trie) : trie_(trie) {
  if (trie.nodes.size() <= kEagerNodes) {
    full_.emplace(trie, PatternIndex::Extent::kFull);
    fullBuilt_.store(true, std::memory_order_release);
    return;
  }
  walking_.emplace(trie, PatternIndex::Extent::kAlphabet);
  // Measured on the large shipped tries (English, German, Dutch,
  // Hungarian), the full index takes as long to build as walking the store
  // takes extra for a quarter to a third as many words as the trie has
  // nodes: some 400 ns a word, against about a millisecond for English.
  wordsBeforeFull_ = trie.nodes.size() / 4;
}

const PatternIndex& StagedIndex::countWalkedWord() const {
  // Exactly one call sees the count reach the mark (the counter is 64 bits
  // wide and never wraps), so only that one builds.
  if (wordsWalked_.fetch_add(1, std::memory_order_relaxed) + 1 == wordsBeforeFull_) buildFull();
  return current();
}

void StagedIndex::buildFull() const {
  if (!walking_) return;  // indexed in full at once
  std::call_once(fullOnce_, [this]() noexcept {
    // The outcome stays inside the once-block: a failed build is not
    // retried, and lookups keep walking the store.
    try {
      full_.emplace(trie_, PatternIndex::Extent::kFull);
      fullBuilt_.store(true, std::memory_order_release);
    } catch (const std::bad_alloc&) {
    } catch (const Error&) {  // a table past 32-bit numbers
    }
  });
}

}  // namespace liang::internal
