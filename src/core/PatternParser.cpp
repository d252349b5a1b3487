// The parser of pattern text: the trie of a whole text, built in one pass
// over its characters into one self-contained store.

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "core/PatternNodes.hpp"
#include "core/ScoreMarks.hpp"
#include "core/Utf8.hpp"
#include "liang/Pattern.hpp"

namespace liang {
namespace internal {
namespace {

// The character at `at`, which moves past it: a code unit of UTF-32, or a
// leniently decoded UTF-8 sequence. Decoding the whole text this way gives
// the characters of its lines decoded one by one, because a line feed byte
// is never part of a multi-byte sequence, not even of an ill-formed one.
inline char32_t takeChar(const char32_t*& at, const char32_t*) noexcept { return *at++; }
// Out of line, and by value so that the caller's position stays in a register.
[[gnu::noinline]] DecodedChar decodeMultiByteChar(const char* at, const char* end) noexcept {
  return decodeUtf8Char(std::string_view(at, end - at));
}
inline char32_t takeChar(const char*& at, const char* end) noexcept {
  const auto byte = static_cast<std::uint8_t>(*at);
  if (byte < 0x80) [[likely]] {
    ++at;
    return byte;
  }
  const DecodedChar decoded = decodeMultiByteChar(at, end);
  at += decoded.length;
  return decoded.codePoint;
}

// Builds the trie of a whole pattern text in one store, in place: no trie
// is visible in between. Lines are taken top to bottom and a node keeps the
// first score list it gets, which is what inserting them bottom to top with
// replacement leaves. Children are found through one hash table keyed by
// (parent, letter), so a wide node costs no more than a narrow one and no
// node allocates; at the end the edges are grouped by parent and sorted.
// A slot holds a node number as a Slot: 16 bits for a text too short to
// make 65,536 nodes (most pattern files), which halves the table, the
// largest array that only the parse itself needs.
template <class Slot>
class TrieBuilder {
 public:
  // The size of the text, in code units, sizes the arrays: a pattern file
  // of the usual density has a node per three or four characters, which the
  // arrays and the hash table hold without growing. (Reserved but unused
  // capacity is never touched, so it costs address space, not memory.)
  explicit TrieBuilder(std::size_t textSize) : store_(std::make_shared<PatternNodes>()) {
    store_->nodes.reserve(textSize / 3 + 1);
    store_->nodes.emplace_back();
    // Room for a node per 2.5 letters (about a node per character but digits
    // and line feeds, a fifth of the text), the table at most half full.
    slots_.resize(std::max<std::size_t>(1024, textSize * 2 / 3), 0);
  }

  // The pool that add writes the scores to, in the room it is given there.
  ScorePool& scores() noexcept { return store_->scores; }

  // Adds every line of `text`, in one pass over its characters: each is
  // scored (by the rule of scoreMarks) and, if a letter, stepped to in
  // the trie as it is read, so no line is split off, decoded or scanned
  // twice. The scores go to `scores`, room in the pool for text.size() + 1
  // of them: a line's score list has at most an entry per character and one
  // more, which its line feed pays for (the last line's, if it has none, is
  // the spare entry). So the entries written never outrun the code units
  // read, and `scores` may be the text itself, each entry overwriting a
  // code unit already read.
  template <class Char>
  void add(std::basic_string_view<Char> text, char* const scores) {
    const Char* at = text.data();
    const Char* const end = at + text.size();
    // Held in locals: every score is written through a byte pointer, which
    // could alias any member, so members would be read again after each.
    std::size_t scoreCount = 0;  // kept so far, at the start of scores
    PathStep* path = path_.data();
    PathStep* pathEnd = path;  // the previous path: the steps before pathEnd
    while (at != end) {
      char* const lineScores = scores + scoreCount;
      char* score = lineScores;  // the next of this line's scores
      // Whether the character before was a scored digit, whose score
      // consumes this character unexamined.
      bool afterScore = false;
      // Scores the characters up to the next letter of the line and takes
      // it; false at the end of the line.
      const auto nextLetter = [&](char32_t& letter) {
        while (at != end) {
          const char32_t c = takeChar(at, end);
          if (c == U'\n') return false;
          const bool digit = isPatternDigit(c);
          if (afterScore) {
            afterScore = false;
          } else {
            *score++ = digit ? static_cast<char>(c - U'0') : char{0};
            afterScore = digit;
          }
          if (!digit) {
            letter = c;
            return true;
          }
        }
        return false;
      };
      // Pattern files are sorted, so a line mostly shares its first letters
      // with the line before: those follow the previous path, not the table.
      PathStep* step = path;
      char32_t letter;
      bool more = nextLetter(letter);
      while (more && step != pathEnd && step->letter == letter) {
        ++step;
        more = nextLetter(letter);
      }
      std::uint32_t node = step == path ? 0 : step[-1].node;
      if (more) {
        do {
          node = childOf(node, letter);
          if (step == path + path_.size()) {
            const std::size_t depth = step - path;
            path_.resize(std::max<std::size_t>(16, 2 * depth));
            path = path_.data();
            step = path + depth;
          }
          *step++ = {letter, node};
        } while (nextLetter(letter));
        pathEnd = step;
      }
      if (!afterScore) *score++ = 0;  // the boundary after the last character
      // Score lists are never empty, so an empty one means "not yet scored";
      // a node already scored leaves this line's scores to be overwritten.
      PatternNodes::Node& target = store_->nodes[node];
      if (target.scoreCount != 0) continue;
      const std::size_t count = score - lineScores;
      target.scoreBegin = checkedIndex(scoreCount);
      target.scoreCount = checkedIndex(count);
      scoreCount += count;
    }
    scoreCount_ = scoreCount;
  }

  Patterns build() {
    std::vector<PatternNodes::Node>& nodes = store_->nodes;
    if (nodes.size() == 1 && nodes[0].scoreCount == 0) return Patterns();
    store_->scores.keepDigits(scoreCount_);
    // A counting sort of the edges by parent, straight into the store. The
    // edge to node n comes from parentOf(n) by letterOf(n); ends[p] counts
    // down from the end of p's range to its start.
    const auto nodeCount = static_cast<std::uint32_t>(nodes.size());
    // In the hash table's memory, written already and at least twice as
    // large; no count exceeds the node count, which a Slot holds.
    std::vector<Slot> ends = std::move(slots_);
    ends.assign(nodeCount + 1, 0);
    for (std::uint32_t n = 1; n < nodeCount; ++n) ++ends[parentOf(n)];
    Slot end = 0;
    for (Slot& count : ends) count = end += count;
    std::vector<char32_t>& keys = store_->childKeys;
    std::vector<std::uint32_t>& targets = store_->childTargets;
    keys.resize(nodeCount - 1);
    targets.resize(nodeCount - 1);
    // Last node first, so that a node's edges come in the order their
    // children were made: for a sorted file, the order of their letters.
    for (std::uint32_t n = nodeCount - 1; n > 0; --n) {
      const std::uint32_t k = --ends[parentOf(n)];
      keys[k] = letterOf(n);
      targets[k] = n;
    }
    // Then each node's edges by letter, in the same pass: most nodes have
    // none or a few, sorted in place; a wide one goes through a list of pairs.
    std::vector<std::pair<char32_t, std::uint32_t>> wide;
    for (std::uint32_t p = 0; p < nodeCount; ++p) {
      const std::uint32_t begin = ends[p], count = ends[p + 1] - begin;
      nodes[p].childBegin = begin;
      nodes[p].childCount = count;
      if (count < 2) continue;
      char32_t* key = keys.data() + begin;
      std::uint32_t* target = targets.data() + begin;
      if (count <= kSortedInPlace) {
        for (std::uint32_t k = 1; k < count; ++k) {
          const char32_t movedKey = key[k];
          const std::uint32_t movedTarget = target[k];
          std::uint32_t at = k;
          for (; at > 0 && key[at - 1] > movedKey; --at) {
            key[at] = key[at - 1];
            target[at] = target[at - 1];
          }
          key[at] = movedKey;
          target[at] = movedTarget;
        }
        continue;
      }
      wide.clear();
      for (std::uint32_t k = 0; k < count; ++k) wide.emplace_back(key[k], target[k]);
      std::sort(wide.begin(), wide.end());
      for (std::uint32_t k = 0; k < count; ++k) std::tie(key[k], target[k]) = wide[k];
    }
    store_->seal();
    return PatternsAccess::make(std::move(store_));
  }

 private:
  static constexpr std::uint32_t kSortedInPlace = 16;

  // Until build() lays out the edges, a node's child fields hold the edge
  // that made it: the parent and the letter.
  std::uint32_t parentOf(std::uint32_t node) const { return store_->nodes[node].childBegin; }
  char32_t letterOf(std::uint32_t node) const { return store_->nodes[node].childCount; }

  // The slot where the search for (parent, c) starts: the hash scaled to
  // the table, which need not be a power of two.
  static std::size_t firstSlot(std::uint32_t parent, char32_t c, std::size_t slotCount) {
    const std::uint64_t hash = ((std::uint64_t{parent} << 32) | c) * 0x9E3779B97F4A7C15ULL;
    return static_cast<std::size_t>(highHalfOfProduct(hash ^ (hash >> 29), slotCount));
  }

  // The upper 64 bits of the 128-bit product a * b: one instruction where
  // the compiler has a 128-bit type, else from 32-bit halves (32-bit
  // targets, MSVC).
  static std::uint64_t highHalfOfProduct(std::uint64_t a, std::uint64_t b) {
#if defined(__SIZEOF_INT128__)
    __extension__ typedef unsigned __int128 Wide;
    return static_cast<std::uint64_t>((Wide{a} * b) >> 64);
#else
    constexpr std::uint64_t kLow = 0xFFFFFFFF;
    const std::uint64_t aLow = a & kLow, aHigh = a >> 32, bLow = b & kLow, bHigh = b >> 32;
    const std::uint64_t lowLow = aLow * bLow, lowHigh = aLow * bHigh, highLow = aHigh * bLow;
    // At most 3 (2^32 - 1): it cannot overflow.
    const std::uint64_t middle = (lowLow >> 32) + (lowHigh & kLow) + (highLow & kLow);
    return aHigh * bHigh + (lowHigh >> 32) + (highLow >> 32) + (middle >> 32);
#endif
  }

  // A slot holds just the node; the node holds the key it is found by.
  // Out of line: called only for letters off the previous path, it keeps
  // the registers of the loop over every character free.
  [[gnu::noinline]] std::uint32_t childOf(std::uint32_t parent, char32_t c) {
    Slot* const slots = slots_.data();
    const std::size_t slotCount = slots_.size();
    std::vector<PatternNodes::Node>& nodes = store_->nodes;
    std::size_t at = firstSlot(parent, c, slotCount);
    for (; slots[at] != 0; at = at + 1 == slotCount ? 0 : at + 1) {
      const PatternNodes::Node& node = nodes[slots[at]];
      if (node.childBegin == parent && node.childCount == c) return slots[at];
    }
    const std::uint32_t child = checkedIndex(nodes.size());
    nodes.push_back({.childBegin = parent, .childCount = c});
    slots[at] = static_cast<Slot>(child);
    if (2 * child > slotCount) [[unlikely]]
      grow();
    return child;
  }

  [[gnu::noinline]] void grow() {
    slots_.assign(slots_.size() * 2, 0);
    for (std::uint32_t node = 1; node < store_->nodes.size(); ++node) {
      std::size_t at = firstSlot(parentOf(node), letterOf(node), slots_.size());
      while (slots_[at] != 0) at = at + 1 == slots_.size() ? 0 : at + 1;
      slots_[at] = static_cast<Slot>(node);
    }
  }

  std::shared_ptr<PatternNodes> store_;
  std::size_t scoreCount_ = 0;  // kept, at the start of the room add was given
  std::vector<Slot> slots_;     // nodes, 0 for none; at most half full
  // During add, the letters of the last line that left the path before it,
  // each with the node it leads to.
  struct PathStep {
    char32_t letter;
    std::uint32_t node;
  };
  std::vector<PathStep> path_;
};

// Node numbers below this many fit a 16-bit slot; a text of fewer code
// units has fewer letters, so fewer nodes.
constexpr std::size_t kNarrowSlotText = 0xFFFF;

// The trie of `text`, its scores in a room of their own.
template <class Slot>
Patterns parseText(std::u32string_view text) {
  TrieBuilder<Slot> builder(text.size());
  builder.add(text, builder.scores().digitRoom(text.size() + 1));
  return builder.build();
}

// The trie of the UTF-8 `bytes`, its scores written over them.
template <class Slot>
Patterns parseBytes(std::string bytes) {
  const std::size_t size = bytes.size();
  bytes.push_back('\0');  // the spare entry
  TrieBuilder<Slot> builder(size);
  // Read where the pool now holds them: a short string's bytes move.
  char* const room = builder.scores().adoptDigitRoom(std::move(bytes));
  builder.add(std::string_view(room, size), room);
  return builder.build();
}

}  // namespace
}  // namespace internal

Patterns parsePatterns(std::u32string_view text) {
  // Slots as narrow as the text allows.
  return text.size() < internal::kNarrowSlotText ? internal::parseText<std::uint16_t>(text)
                                                 : internal::parseText<std::uint32_t>(text);
}

Patterns parsePatterns(std::string_view utf8Text) {
  return internal::parsePatternsUtf8(std::string(utf8Text));
}

namespace internal {

Patterns parsePatternsUtf8(std::string bytes) {
  return bytes.size() < kNarrowSlotText ? parseBytes<std::uint16_t>(std::move(bytes))
                                        : parseBytes<std::uint32_t>(std::move(bytes));
}

}  // namespace internal

}  // namespace liang
