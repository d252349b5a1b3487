// The pattern trie and Liang's scoring walk.
//
// Liang's method, as this file implements it. A pattern such as "a1b" or
// ".ach4" is a run of letters with single digits between them; a digit is a
// score for the boundary at its place, and an unwritten boundary scores 0.
// The letters of all patterns are kept in a trie whose node for a letter
// path holds that pattern's score list. To score a word, pad it as
// "." + word + "." (so that patterns beginning or ending with "." can only
// match at the edges), walk the trie from every start position as far as
// the letters lead, and at every node passed take the larger of each
// boundary's current score and the node's score for it. The odd boundaries
// of the result are where the word may break (the hyphenator applies its
// minima and exceptions on top).
//
// Representation. A trie is a PatternNodes store (see
// internal/PatternNodes.hpp): nodes, child edges and scores in flat arrays,
// children sorted by code point, the root's children reachable through a
// paged table so that the widest node costs two loads. Tries are immutable
// values, and the operations that derive one trie from another share
// structure instead of copying it:
//  - parsePatterns builds a mutable trie in place (no intermediate trie is
//    ever visible) and freezes it into one self-contained store;
//  - insertPattern copies only the path of the new pattern; every edge that
//    leaves that path points into the old store, which the new one keeps
//    alive through its foreign table;
//  - merge creates nodes only where both tries have the same letter path,
//    and points at the untouched subtrees of either side;
//  - the node constructor makes a one-node store over its children.
// A store with foreign edges is flattened into a self-contained copy the
// first time it is looked up (once, under Deferred), so lookups always walk
// contiguous memory with no indirection.
//
// Nothing here recurses on the shape of the input: traversals keep explicit
// stacks, and the destructor releases chains of stores iteratively, so a
// pattern of a million letters or a million nested inserts is safe.

#include "liang/Pattern.hpp"

#include <algorithm>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <tuple>
#include <unordered_map>
#include <utility>

#include "liang/internal/PatternLetters.hpp"
#include "liang/internal/PatternNodes.hpp"
#include "liang/internal/Render.hpp"
#include "liang/internal/Scratch.hpp"
#include "liang/internal/Utf8.hpp"

namespace liang {
namespace internal {
namespace {

bool isDigit(char32_t c) { return c >= U'0' && c <= U'9'; }

// More nodes, scores or edges than 31-bit numbers count: a failure of the
// library like any other, not the standard library's length_error.
[[noreturn]] void throwTrieTooLarge() {
  throw Error("Pattern trie too large: more than 2^31 nodes, scores or edges");
}

inline std::uint32_t checkedIndex(std::size_t size) {
  if (size >= PatternNodes::kForeign) [[unlikely]]
    throwTrieTooLarge();
  return static_cast<std::uint32_t>(size);
}

// combine of the lookup walk: the larger entry where both lists have one,
// the rest of the longer list unchanged.
void combineInto(std::vector<std::int64_t>& into, const ScoreView& from) {
  const std::size_t common = std::min(into.size(), from.size());
  for (std::size_t k = 0; k < common; ++k) into[k] = std::max(into[k], from[k]);
  for (std::size_t k = common; k < from.size(); ++k) into.push_back(from[k]);
}

// A node anywhere: a store (null for the empty trie) and an index in it.
struct NodeRef {
  const PatternNodes* store = nullptr;
  std::uint32_t index = 0;

  friend bool operator==(const NodeRef&, const NodeRef&) = default;

  bool empty() const { return store == nullptr; }
  const PatternNodes::Node& node() const { return store->nodes[index]; }
  ScoreView scores() const {
    if (empty()) return {};
    const auto& n = node();
    return store->scores.view(n.scoreBegin, n.scoreCount);
  }
  std::uint32_t childCount() const { return empty() ? 0 : node().childCount; }
  char32_t childKey(std::uint32_t k) const { return store->childKeys[node().childBegin + k]; }
  bool isForeignChild(std::uint32_t k) const {
    return (store->childTargets[node().childBegin + k] & PatternNodes::kForeign) != 0;
  }
  NodeRef child(std::uint32_t k) const {
    const std::uint32_t target = store->childTargets[node().childBegin + k];
    if ((target & PatternNodes::kForeign) == 0) return {store, target};
    const auto& foreign = store->foreignNodes[target & ~PatternNodes::kForeign];
    return {store->foreignStores[foreign.store].get(), foreign.node};
  }
};

struct NodeRefHash {
  std::size_t operator()(const NodeRef& r) const noexcept {
    return std::hash<const void*>()(r.store) ^
           static_cast<std::size_t>(std::size_t{r.index} * 0x9E3779B97F4A7C15ULL);
  }
};

NodeRef rootOf(const Patterns& p) { return {PatternsAccess::nodes(p), 0}; }

// Appends nodes to a new store. Child edges of one node are written in one
// go (they must be contiguous); a foreign edge keeps its store alive.
class StoreWriter {
 public:
  StoreWriter() : store_(std::make_shared<PatternNodes>()) {}

  PatternNodes& store() { return *store_; }

  std::uint32_t addNode() {
    const std::uint32_t index = checkedIndex(store_->nodes.size());
    store_->nodes.emplace_back();
    return index;
  }

  // From a list of another store or a Scores value.
  template <class List>
  void setScores(std::uint32_t node, const List& scores) {
    auto& n = store_->nodes[node];
    n.scoreBegin = checkedIndex(store_->scores.size());
    n.scoreCount = checkedIndex(scores.size());
    store_->scores.append(scores);
  }

  void beginChildren(std::uint32_t node) {
    store_->nodes[node].childBegin = checkedIndex(store_->childKeys.size());
    current_ = node;
  }
  void addLocalChild(char32_t key, std::uint32_t child) {
    store_->childKeys.push_back(key);
    store_->childTargets.push_back(child);
    store_->nodes[current_].childCount++;
  }
  // An edge to `target` in another store; an empty target becomes a fresh leaf.
  void addForeignChild(char32_t key, NodeRef target) {
    if (target.empty()) {
      const std::uint32_t leaf = addNode();
      addLocalChild(key, leaf);
      return;
    }
    auto [slot, inserted] =
        storeSlots_.try_emplace(target.store, static_cast<std::uint32_t>(storeSlots_.size()));
    if (inserted) store_->foreignStores.push_back(target.store->shared_from_this());
    const std::uint32_t foreign = checkedIndex(store_->foreignNodes.size());
    store_->foreignNodes.push_back({slot->second, target.index});
    addLocalChild(key, foreign | PatternNodes::kForeign);
  }

  Patterns finish() {
    store_->seal();
    return PatternsAccess::make(std::move(store_));
  }

 private:
  std::shared_ptr<PatternNodes> store_;
  std::uint32_t current_ = 0;
  std::unordered_map<const PatternNodes*, std::uint32_t> storeSlots_;
};

// Copies the trie below `root` into one self-contained store. Within one
// store the local edges form a tree, so only a node reached through a
// foreign edge can be reached twice; those are copied once and shared.
std::shared_ptr<const PatternNodes> flatten(NodeRef root) {
  StoreWriter writer;
  std::unordered_map<NodeRef, std::uint32_t, NodeRefHash> copiedForeign;
  std::vector<std::pair<NodeRef, std::uint32_t>> pending;
  pending.emplace_back(root, writer.addNode());
  while (!pending.empty()) {
    auto [from, to] = pending.back();
    pending.pop_back();
    writer.setScores(to, from.scores());
    writer.beginChildren(to);
    for (std::uint32_t k = 0; k < from.childCount(); ++k) {
      const NodeRef child = from.child(k);
      std::uint32_t copy;
      if (from.isForeignChild(k)) {
        auto [it, inserted] = copiedForeign.try_emplace(child, 0);
        if (inserted) {
          it->second = writer.addNode();
          pending.emplace_back(child, it->second);
        }
        copy = it->second;
      } else {
        copy = writer.addNode();
        pending.emplace_back(child, copy);
      }
      writer.addLocalChild(from.childKey(k), copy);
    }
  }
  return PatternsAccess::nodesOf(writer.finish());
}

// Pattern scoring: a digit scores the boundary at its place and consumes
// the character after it unexamined (the letter after the boundary); a
// letter scores its own boundary 0. Hence "a12b" scores 0, 1, 0, 0.
// Writes the score list of `line` to `out`, which holds line.size() + 1
// entries (the most a line can have), and returns its length.
std::size_t scoreLineInto(std::u32string_view line, std::int64_t* out) {
  std::size_t count = 0;
  std::size_t i = 0;
  while (true) {
    if (i == line.size()) {
      out[count++] = 0;
      return count;
    }
    if (isDigit(line[i])) {
      out[count++] = line[i] - U'0';
      if (i + 1 == line.size()) return count;
      i += 2;
    } else {
      out[count++] = 0;
      i += 1;
    }
  }
}

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
  // scored (by the rule of scoreLineInto) and, if a letter, stepped to in
  // the trie as it is read, so no line is split off, decoded or scanned
  // twice. The scores go to `scores`, room in the pool for text.size() + 1
  // of them: a line's score list has at most an entry per character and one
  // more, which its line feed pays for (the last line's, if it has none, is
  // the spare entry). So the entries written never outrun the code units
  // read, and `scores` may be the text itself, each entry overwriting a
  // code unit already read.
  template <class Char>
  void add(std::basic_string_view<Char> text, std::int8_t* const scores) {
    const Char* at = text.data();
    const Char* const end = at + text.size();
    // Held in locals: every score is written through a byte pointer, which
    // could alias any member, so members would be read again after each.
    std::size_t scoreCount = 0;  // kept so far, at the start of scores
    PathStep* path = path_.data();
    PathStep* pathEnd = path;  // the previous path: the steps before pathEnd
    while (at != end) {
      std::int8_t* const lineScores = scores + scoreCount;
      std::int8_t* score = lineScores;  // the next of this line's scores
      // Whether the character before was a scored digit, whose score
      // consumes this character unexamined.
      bool afterScore = false;
      // Scores the characters up to the next letter of the line and takes
      // it; false at the end of the line.
      const auto nextLetter = [&](char32_t& letter) {
        while (at != end) {
          const char32_t c = takeChar(at, end);
          if (c == U'\n') return false;
          const bool digit = isDigit(c);
          if (afterScore) {
            afterScore = false;
          } else {
            *score++ = digit ? static_cast<std::int8_t>(c - U'0') : 0;
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

  // The upper 64 bits of the 128-bit product a * b, from 32-bit halves:
  // no wider type exists on every target.
  static std::uint64_t highHalfOfProduct(std::uint64_t a, std::uint64_t b) {
    constexpr std::uint64_t kLow = 0xFFFFFFFF;
    const std::uint64_t aLow = a & kLow, aHigh = a >> 32, bLow = b & kLow, bHigh = b >> 32;
    const std::uint64_t lowLow = aLow * bLow, lowHigh = aLow * bHigh, highLow = aHigh * bLow;
    // At most 3 (2^32 - 1): it cannot overflow.
    const std::uint64_t middle = (lowLow >> 32) + (lowHigh & kLow) + (highLow & kLow);
    return aHigh * bHigh + (lowHigh >> 32) + (highLow >> 32) + (middle >> 32);
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
  std::int8_t* const room = builder.scores().adoptDigitRoom(std::move(bytes));
  builder.add(std::string_view(reinterpret_cast<const char*>(room), size), room);
  return builder.build();
}

}  // namespace

PatternNodes::~PatternNodes() {
  // A store may hold the last reference to another store, which may hold
  // the last reference to another... Releasing them from this destructor
  // would recurse once per link, so the outermost destructor on this thread
  // releases them one at a time and inner ones only hand theirs over.
  thread_local std::vector<std::shared_ptr<const PatternNodes>>* releasing = nullptr;
  if (releasing != nullptr) {
    for (auto& store : foreignStores) releasing->push_back(std::move(store));
    return;
  }
  std::vector<std::shared_ptr<const PatternNodes>> queue = std::move(foreignStores);
  releasing = &queue;
  while (!queue.empty()) {
    std::shared_ptr<const PatternNodes> store = std::move(queue.back());
    queue.pop_back();
    store.reset();
  }
  releasing = nullptr;
}

void PatternNodes::seal() {
  shrinkIfRoomy(nodes);
  shrinkIfRoomy(childKeys);
  shrinkIfRoomy(childTargets);
  scores.shrinkIfRoomy();
  if (foreignNodes.empty()) {
    index_.emplace(*this);
  } else {
    flattened_ = std::make_unique<const Deferred<std::shared_ptr<const PatternNodes>>>(
        std::function<std::shared_ptr<const PatternNodes>()>([this] {
          return flatten(NodeRef{this, 0});
        }));
  }
}

void buildFullIndex(const Patterns& trie) {
  if (const PatternNodes* nodes = PatternsAccess::nodes(trie)) {
    nodes->lookupForm().index().buildFull();
  }
}

bool fullyIndexed(const Patterns& trie) {
  const PatternNodes* nodes = PatternsAccess::nodes(trie);
  return nodes == nullptr || nodes->lookupForm().index().fullyBuilt();
}

bool isPatternLetter(const Patterns& trie, char32_t c) {
  const PatternNodes* nodes = PatternsAccess::nodes(trie);
  return nodes != nullptr && nodes->lookupForm().index().current().hasLetter(c);
}

}  // namespace internal

using internal::NodeRef;
using internal::PatternNodes;
using internal::PatternsAccess;

Patterns::Patterns(Scores scores, std::map<char32_t, Patterns> children) {
  internal::StoreWriter writer;
  const std::uint32_t root = writer.addNode();
  writer.setScores(root, scores);
  writer.beginChildren(root);
  // std::map iterates in ascending key order, the order edges are kept in.
  for (const auto& [key, child] : children) writer.addForeignChild(key, internal::rootOf(child));
  *this = writer.finish();
}

bool operator==(const Patterns& a, const Patterns& b) {
  std::vector<std::pair<NodeRef, NodeRef>> pending{{internal::rootOf(a), internal::rootOf(b)}};
  while (!pending.empty()) {
    auto [x, y] = pending.back();
    pending.pop_back();
    if (x == y) continue;  // one subtree, shared
    if (!(x.scores() == y.scores())) return false;
    if (x.childCount() != y.childCount()) return false;
    for (std::uint32_t k = 0; k < x.childCount(); ++k) {
      if (x.childKey(k) != y.childKey(k)) return false;
      pending.emplace_back(x.child(k), y.child(k));
    }
  }
  return true;
}

Patterns emptyPatterns() noexcept { return Patterns(); }

Scores scorePattern(std::u32string_view line) {
  Scores scores(line.size() + 1);
  scores.resize(internal::scoreLineInto(line, scores.data()));
  return scores;
}

Patterns insertPattern(std::u32string_view line, const Patterns& trie) {
  // Path copy: one new node per letter, the rest of the old trie shared.
  std::u32string letters;
  for (char32_t c : line) {
    if (!internal::isDigit(c)) letters.push_back(c);
  }
  const Scores scores = scorePattern(line);

  internal::StoreWriter writer;
  NodeRef old = internal::rootOf(trie);  // the old node on the path, if any
  std::uint32_t node = writer.addNode();
  for (std::size_t depth = 0;; ++depth) {
    if (depth == letters.size()) {
      writer.setScores(node, scores);
      writer.beginChildren(node);
      for (std::uint32_t k = 0; k < old.childCount(); ++k)
        writer.addForeignChild(old.childKey(k), old.child(k));
      break;
    }
    writer.setScores(node, old.scores());
    const char32_t letter = letters[depth];
    const std::uint32_t next = writer.addNode();
    NodeRef oldNext;
    writer.beginChildren(node);
    bool placed = false;
    for (std::uint32_t k = 0; k < old.childCount(); ++k) {
      const char32_t key = old.childKey(k);
      if (!placed && key >= letter) {
        writer.addLocalChild(letter, next);
        placed = true;
        if (key == letter) {
          oldNext = old.child(k);
          continue;
        }
      }
      writer.addForeignChild(key, old.child(k));
    }
    if (!placed) writer.addLocalChild(letter, next);
    old = oldNext;
    node = next;
  }
  return writer.finish();
}

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

Scores lookupPattern(std::u32string_view word, const Patterns& trie) {
  const PatternNodes* nodes = PatternsAccess::nodes(trie);
  if (nodes == nullptr) return Scores(word.size(), 0);  // no pattern: every boundary 0
  const internal::PatternIndex& index = nodes->lookupForm().index().current();
  internal::ScratchBuffer<std::int64_t, 256> boundaries(index.capacityFor(word.size()));
  const std::size_t length = index.score(word, boundaries.data(), true);
  if (length == 0 || length == 1) {
    // The combined list always has an entry per padded position; these
    // guards document the shape the rest relies on.
    throw Error(std::string(length == 0 ? "lookupPattern.scores0: Impossible ("
                                        : "lookupPattern.scores1: Impossible (") +
                internal::encodeUtf8(word) + ")");
  }
  return Scores(boundaries.data() + 1, boundaries.data() + length - 1);
}

Patterns merge(const Patterns& a, const Patterns& b) {
  const NodeRef rootA = internal::rootOf(a), rootB = internal::rootOf(b);
  if (rootA.empty()) return b;
  if (rootB.empty() || rootA == rootB) return a;
  // New nodes only where both tries have the letter path; a subtree on one
  // side only (or the same subtree on both) is shared.
  internal::StoreWriter writer;
  struct Pending {
    NodeRef a, b;
    std::uint32_t node;
  };
  std::vector<Pending> pending{{rootA, rootB, writer.addNode()}};
  Scores scores;
  while (!pending.empty()) {
    const Pending p = pending.back();
    pending.pop_back();
    scores = p.a.scores().toScores();
    internal::combineInto(scores, p.b.scores());
    writer.setScores(p.node, scores);
    writer.beginChildren(p.node);
    std::uint32_t i = 0, j = 0;
    while (i < p.a.childCount() || j < p.b.childCount()) {
      const bool takeA =
          j == p.b.childCount() || (i < p.a.childCount() && p.a.childKey(i) < p.b.childKey(j));
      const bool takeB =
          i == p.a.childCount() || (j < p.b.childCount() && p.b.childKey(j) < p.a.childKey(i));
      if (takeA) {
        writer.addForeignChild(p.a.childKey(i), p.a.child(i));
        ++i;
      } else if (takeB) {
        writer.addForeignChild(p.b.childKey(j), p.b.child(j));
        ++j;
      } else {
        const NodeRef childA = p.a.child(i), childB = p.b.child(j);
        if (childA == childB) {
          writer.addForeignChild(p.a.childKey(i), childA);
        } else {
          const std::uint32_t child = writer.addNode();
          writer.addLocalChild(p.a.childKey(i), child);
          pending.push_back({childA, childB, child});
        }
        ++i;
        ++j;
      }
    }
  }
  return writer.finish();
}

Patterns mergeAll(const std::vector<Patterns>& tries) {
  Patterns result;
  for (auto it = tries.rbegin(); it != tries.rend(); ++it) result = merge(*it, result);
  return result;
}

Patterns mergeTimes(std::int64_t n, const Patterns& trie) {
  if (n <= 0) throw Error("mergeTimes: the count must be positive, not " + std::to_string(n));
  return trie;  // merge is idempotent
}

std::string show(const Patterns& trie, int precedence) {
  // Depth first with an explicit stack: each frame is a node whose
  // "(fromList [" is written and whose children are being rendered.
  std::string out;
  if (precedence > 10) out.push_back('(');
  struct Frame {
    NodeRef node;
    std::uint32_t nextChild;
  };
  std::vector<Frame> stack;
  const auto open = [&](NodeRef node) {
    out += "Patterns ";
    internal::appendScoreList(out, node.scores());
    out += " (fromList [";
    stack.push_back({node, 0});
  };
  open(internal::rootOf(trie));
  while (!stack.empty()) {
    Frame& frame = stack.back();
    if (frame.nextChild == frame.node.childCount()) {
      out += "])";
      stack.pop_back();
      if (!stack.empty()) out.push_back(')');  // closes the "(key," pair
      continue;
    }
    const std::uint32_t k = frame.nextChild++;
    if (k != 0) out.push_back(',');
    out.push_back('(');
    internal::appendInteger(out, static_cast<std::int64_t>(frame.node.childKey(k)));
    out.push_back(',');
    open(frame.node.child(k));
  }
  if (precedence > 10) out.push_back(')');
  return out;
}

std::string show(const std::vector<Patterns>& tries) {
  return internal::renderList(tries, [](const Patterns& trie) { return show(trie, 0); });
}

}  // namespace liang
