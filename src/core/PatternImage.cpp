// Reading the prebuilt form of a pattern trie (see PatternImage.hpp) into a
// store, and rendering it back as pattern text.

#include "core/PatternImage.hpp"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/PatternNodes.hpp"
#include "liang/Exception.hpp"

namespace liang::internal {
namespace {

[[noreturn]] void throwDamaged() { throw Error("Damaged pattern image"); }

// A varint at `at`, which may not reach `end`, and the position after it.
struct Varint {
  std::uint32_t value;
  const char* next;
};

// The varints of more than one byte, and every damaged one. Out of line and
// by value, so that the caller's position stays in a register.
[[gnu::noinline]] Varint readLongVarint(const char* at, const char* end) {
  std::uint64_t value = 0;
  for (int shift = 0; shift < 35 && at != end; shift += 7) {
    const auto b = static_cast<std::uint8_t>(*at++);
    value |= std::uint64_t{b & 0x7Fu} << shift;
    if (b < 0x80) {
      if (value > UINT32_MAX) break;
      return {static_cast<std::uint32_t>(value), at};
    }
  }
  throwDamaged();
}

// The varint at `at`, which moves past it.
inline std::uint32_t takeVarint(const char*& at, const char* end) {
  if (at != end && static_cast<std::uint8_t>(*at) < 0x80) [[likely]] {
    return static_cast<std::uint8_t>(*at++);
  }
  const Varint read = readLongVarint(at, end);
  at = read.next;
  return read.value;
}

// Whether `c`, a letter of the trie, is one that pattern text cannot write:
// a score digit or a line feed.
inline bool isUnwritable(std::uint64_t c) noexcept { return c - U'0' < 10 || c == U'\n'; }

// An image's header, checked against its size, and where its columns lie.
struct Layout {
  std::uint32_t nodeCount;
  std::uint32_t scoreEntries;
  const char* nodes;  // the node column; the letter column starts at its end
  const char* letters;
  const char* marks;  // the score column, up to the end of the image
  const char* end;
};

Layout readLayout(std::string_view image) {
  if (!isPatternImage(image)) throwDamaged();
  const char* const end = image.data() + image.size();
  const char* at = image.data() + kPatternImageMagic.size();
  const std::uint32_t nodeCount = takeVarint(at, end);
  const std::uint32_t scoreEntries = takeVarint(at, end);
  const std::uint32_t nodeBytes = takeVarint(at, end);
  const std::uint32_t letterBytes = takeVarint(at, end);
  // Every node takes at least a byte of its column: the counts cannot
  // outgrow the image.
  if (nodeBytes > static_cast<std::size_t>(end - at) ||
      letterBytes > static_cast<std::size_t>(end - at) - nodeBytes || nodeCount == 0 ||
      nodeCount > nodeBytes || scoreEntries > kPatternImageScoresPerByte * image.size()) {
    throwDamaged();
  }
  return {nodeCount, scoreEntries, at, at + nodeBytes, at + nodeBytes + letterBytes, end};
}

// Writes the `marks - 1` nonzero scores at `mark` into `list`, a score list
// of `count` zeros.
inline void readMarks(const char*& mark, const char* end, std::uint32_t marks, std::uint32_t count,
                      char* list) {
  std::uint32_t entryAt = 0;  // the next entry of this list
  for (std::uint32_t k = 1; k < marks; ++k) {
    if (mark == end) throwDamaged();
    const auto b = static_cast<std::uint8_t>(*mark++);
    entryAt += b >> 4u;
    const std::uint8_t score = b & 0xFu;
    if (entryAt >= count || score == 0 || score > 9) throwDamaged();
    list[entryAt++] = static_cast<char>(score);
  }
}

// The store an image describes, or null for the empty trie. One loop over
// the nodes, a node's letters read in it: read by a helper of their own,
// they cost Hungarian's first use 6% more instructions. Out of line, so
// that a WebAssembly engine, which recompiles a function whose loop runs
// hot with its optimising compiler, recompiles this one alone rather than
// its caller with it.
[[gnu::noinline]] std::shared_ptr<PatternNodes> readStore(std::string_view image) {
  const Layout layout = readLayout(image);
  // In locals: the scores are written through a char pointer, which could
  // alias the layout's fields and would have them read again after each.
  const std::uint32_t nodeCount = layout.nodeCount;
  const std::uint32_t scoreEntries = layout.scoreEntries;
  const char* node = layout.nodes;  // the three columns, each read front to back
  const char* const nodeEnd = layout.letters;
  const char* letter = layout.letters;
  const char* const letterEnd = layout.marks;
  const char* mark = layout.marks;
  const char* const end = layout.end;

  auto store = std::make_shared<PatternNodes>();
  std::vector<PatternNodes::Node>& nodes = store->nodes;
  nodes.resize(nodeCount);
  store->childKeys.resize(nodeCount - 1);
  store->childTargets.resize(nodeCount - 1);
  PatternNodes::Node* const nodeOut = nodes.data();
  char32_t* const keys = store->childKeys.data();
  std::uint32_t* const targets = store->childTargets.data();
  // Zeros, which the nonzero entries overwrite.
  char* const scores = store->scores.digitRoom(scoreEntries);

  std::uint32_t edges = 0;       // edges read, which is the nodes reached but the root
  std::uint32_t scoreCount = 0;  // score entries given out
  std::uint32_t depth = 0;       // of node n: breadth-first, the depths never fall
  std::uint32_t levelEnd = 1;    // the first node past n's depth
  // A letter no pattern text can hold (a digit, a line feed), a sibling's
  // letter not above the one before, or a leaf that ends no pattern (a
  // branch no text would grow).
  bool unwritable = false;
  for (std::uint32_t n = 0; n < nodeCount; ++n) {
    if (n == levelEnd) {
      if (edges < n) throwDamaged();  // node n is no child of any node before it
      ++depth;
      levelEnd = edges + 1;
    }
    const std::uint32_t entry = takeVarint(node, nodeEnd);
    const std::uint32_t childCount = entry >> 4;
    const std::uint32_t marks = entry & 0xF;
    const std::uint32_t childBegin = edges;
    unwritable |= n != 0 && childCount == 0 && marks == 0;
    if (childCount != 0) {
      if (childCount > nodeCount - 1 - edges) throwDamaged();
      // In 64 bits, which a node's steps cannot overflow: checked once.
      std::uint64_t c = takeVarint(letter, letterEnd);
      unwritable |= isUnwritable(c);
      keys[edges] = static_cast<char32_t>(c);
      targets[edges] = edges + 1;
      ++edges;
      for (std::uint32_t k = 1; k < childCount; ++k) {
        const std::uint32_t step = takeVarint(letter, letterEnd);
        c += step;
        unwritable |= (step == 0) | isUnwritable(c);
        keys[edges] = static_cast<char32_t>(c);
        targets[edges] = edges + 1;
        ++edges;
      }
      if (c > 0x10FFFF) throwDamaged();
    }
    if (marks == 0) {
      nodeOut[n] = {.childBegin = childBegin, .childCount = childCount};
      continue;
    }
    const std::uint32_t count = depth + 1;
    if (count > scoreEntries - scoreCount) throwDamaged();
    nodeOut[n] = {.childBegin = childBegin,
                  .childCount = childCount,
                  .scoreBegin = scoreCount,
                  .scoreCount = count};
    readMarks(mark, end, marks, count, scores + scoreCount);
    scoreCount += count;
  }
  if (unwritable || edges != nodeCount - 1 || scoreCount != scoreEntries || node != nodeEnd ||
      letter != letterEnd || mark != end) {
    throwDamaged();
  }
  if (nodeCount == 1 && nodes[0].scoreCount == 0) return nullptr;
  return store;
}

}  // namespace

Patterns readPatternImage(std::string_view image) {
  std::shared_ptr<PatternNodes> store = readStore(image);
  if (store == nullptr) return Patterns();
  store->seal();
  return PatternsAccess::make(std::move(store));
}

std::u32string patternImageText(std::string_view image) {
  const std::shared_ptr<const PatternNodes> store = readStore(image);
  std::u32string text;
  if (store == nullptr) return text;
  // Depth first, by an explicit stack of (node, next child): the letters of
  // the path so far are those of the stack's edges.
  struct Step {
    std::uint32_t node;
    std::uint32_t nextChild;
  };
  std::vector<Step> stack{{0, 0}};
  std::u32string path;
  const ScorePool& pool = store->scores;
  while (!stack.empty()) {
    Step& top = stack.back();
    const PatternNodes::Node& node = store->nodes[top.node];
    if (top.nextChild == 0 && node.scoreCount != 0) {
      const ScoreView scores = pool.view(node.scoreBegin, node.scoreCount);
      for (std::size_t k = 0; k <= path.size(); ++k) {
        if (scores[k] != 0) text.push_back(static_cast<char32_t>(U'0' + scores[k]));
        if (k < path.size()) text.push_back(path[k]);
      }
      text.push_back(U'\n');
    }
    if (top.nextChild == node.childCount) {
      stack.pop_back();
      if (!path.empty()) path.pop_back();
      continue;
    }
    const std::uint32_t edge = node.childBegin + top.nextChild++;
    path.push_back(store->childKeys[edge]);
    stack.push_back({store->childTargets[edge], 0});
  }
  return text;
}

Patterns readPatternFile(std::string bytes) {
  return isPatternImage(bytes) ? readPatternImage(bytes) : parsePatternsUtf8(std::move(bytes));
}

}  // namespace liang::internal
