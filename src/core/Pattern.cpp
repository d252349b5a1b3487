// The pattern trie: its operations, its storage's lifetime and its lookup.
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
// children sorted by code point. Tries are immutable values, and the operations that derive one
// trie from another share structure instead of copying it:
//  - parsePatterns builds a mutable trie in place (no intermediate trie is
//    ever visible) and freezes it into one self-contained store (see
//    PatternParser.cpp);
//  - insertPattern copies only the path of the new pattern; every edge that
//    leaves that path points into the old store, which the new one keeps
//    alive through its foreign table;
//  - merge creates nodes only where both tries have the same letter path,
//    and points at the untouched subtrees of either side;
//  - the node constructor makes a one-node store over its children.
// A store with foreign edges is flattened into a self-contained copy the
// first time it is looked up (once; a copy that fails for want of memory is
// tried again by the next lookup), so lookups always walk contiguous memory
// with no indirection.
//
// Nothing here recurses on the shape of the input: traversals keep explicit
// stacks, and the destructor releases chains of stores iteratively, so a
// pattern of a million letters or a million nested inserts is safe.

#include "liang/Pattern.hpp"

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/PatternLetters.hpp"
#include "core/PatternNodes.hpp"
#include "core/Render.hpp"
#include "core/ScoreMarks.hpp"
#include "core/Scratch.hpp"
#include "core/Utf8.hpp"

namespace liang {
namespace internal {

// More nodes, scores or edges than 31-bit numbers count: a failure of the
// library like any other, not the standard library's length_error.
void throwTrieTooLarge() {
  throw Error("Pattern trie too large: more than 2^31 nodes, scores or edges");
}

namespace {

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
    flattened_ = std::make_unique<const Flattened>([this] { return flatten(NodeRef{this, 0}); });
  }
}

void buildFullIndex(const Patterns& trie) {
  if (const PatternNodes* nodes = PatternsAccess::nodes(trie)) {
    nodes->lookupForm().index().buildFull();
  }
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
  return internal::scoreMarks(line, [](char32_t c) -> std::optional<std::int64_t> {
    if (!internal::isPatternDigit(c)) return std::nullopt;
    return c - U'0';
  });
}

Patterns insertPattern(std::u32string_view line, const Patterns& trie) {
  // Path copy: one new node per letter, the rest of the old trie shared.
  std::u32string letters;
  for (char32_t c : line) {
    if (!internal::isPatternDigit(c)) letters.push_back(c);
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
