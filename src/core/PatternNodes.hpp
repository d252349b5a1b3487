// The storage of pattern tries, shared by the trie operations, the parser
// and the hyphenator.
//
// A trie lives in a PatternNodes store: flat arrays of nodes, child edges
// and scores, node 0 being the root. A store is immutable once published.
// A child edge points either at a node of the same store or, through the
// foreign table, at a node of another store that this one keeps alive; that
// is how insertPattern and merge share the subtrees they leave untouched.
// See Pattern.cpp and PatternParser.cpp for the algorithms.
#ifndef LIANG_CORE_PATTERNNODES_HPP_
#define LIANG_CORE_PATTERNNODES_HPP_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/StagedIndex.hpp"
#include "liang/Pattern.hpp"
#include "liang/internal/BuildOnce.hpp"

namespace liang::internal {

// Built by appending, an array may hold up to twice what it needs, and a
// trie lives as long as its users. Capacity that was reserved but never
// written costs no memory, though, while a copy costs a fresh write of the
// whole array: only an array with much more room than content is copied.
template <class Array>
void shrinkIfRoomy(Array& array) {
  if (array.capacity() - array.size() > array.size()) array.shrink_to_fit();
}

// Frees an array's memory. `array = {}` would not: it assigns an empty
// list, which keeps the capacity.
template <class Array>
void releaseStorage(Array& array) noexcept {
  Array().swap(array);
}

// One score list of a ScorePool, read as 64-bit values.
class ScoreView {
 public:
  ScoreView() noexcept = default;
  ScoreView(const std::int8_t* narrow, const std::int64_t* wide, std::uint32_t count) noexcept
      : narrow_(narrow), wide_(wide), count_(count) {}

  std::size_t size() const noexcept { return count_; }
  std::int64_t operator[](std::size_t k) const noexcept {
    return narrow_ != nullptr ? narrow_[k] : wide_[k];
  }
  Scores toScores() const {
    Scores out(count_);
    for (std::uint32_t k = 0; k < count_; ++k) out[k] = (*this)[k];
    return out;
  }
  friend bool operator==(const ScoreView& x, const ScoreView& y) noexcept {
    if (x.count_ != y.count_) return false;
    for (std::uint32_t k = 0; k < x.count_; ++k) {
      if (x[k] != y[k]) return false;
    }
    return true;
  }

 private:
  const std::int8_t* narrow_ = nullptr;  // one of the two, or neither when empty
  const std::int64_t* wide_ = nullptr;
  std::uint32_t count_ = 0;
};

// The score lists of a store, one after another. Parsed patterns score with
// single digits, so the pool holds bytes until some score does not fit one,
// and 64-bit values from then on: the tries of the shipped files take an
// eighth of the memory their scores would. The bytes are kept in a string,
// the form in which a pattern file arrives, so that a parse can write the
// scores over the file's own text (see adoptDigitRoom).
class ScorePool {
 public:
  std::size_t size() const noexcept { return wide_ ? wideScores_.size() : narrowScores_.size(); }
  void push_back(std::int64_t value) {
    if (!wide_ && value >= INT8_MIN && value <= INT8_MAX) {
      narrowScores_.push_back(static_cast<char>(static_cast<std::int8_t>(value)));
    } else {
      pushWide(value);
    }
  }
  // For a parse, which scores in single digits and knows how many at most:
  // room for `capacity` of them at the returned address, of which
  // keepDigits then keeps the first `count`. The pool must be empty.
  char* digitRoom(std::size_t capacity) {
    narrowScores_.resize(capacity);
    return narrowScores_.data();
  }
  // The same in `room`, whose bytes the parse may still be reading: the
  // pool holds them from now on, at the returned address.
  char* adoptDigitRoom(std::string&& room) noexcept {
    narrowScores_ = std::move(room);
    return narrowScores_.data();
  }
  void keepDigits(std::size_t count) { narrowScores_.resize(count); }
  template <class List>
  void append(const List& scores) {
    for (std::size_t k = 0; k < scores.size(); ++k) push_back(scores[k]);
  }
  ScoreView view(std::uint32_t begin, std::uint32_t count) const noexcept {
    if (count == 0) return {};
    return wide_ ? ScoreView(nullptr, wideScores_.data() + begin, count)
                 : ScoreView(reinterpret_cast<const std::int8_t*>(narrowScores_.data()) + begin,
                             nullptr, count);
  }
  // Whether every score is at most `limit` (at least 127).
  bool allAtMost(std::int64_t limit) const noexcept {
    if (!wide_) return true;
    for (std::int64_t value : wideScores_) {
      if (value > limit) return false;
    }
    return true;
  }
  // See the free function of that name.
  void shrinkIfRoomy() {
    internal::shrinkIfRoomy(narrowScores_);
    internal::shrinkIfRoomy(wideScores_);
  }

 private:
  void pushWide(std::int64_t value) {
    if (!wide_) {
      wideScores_.reserve(narrowScores_.size() + 1);
      for (const char score : narrowScores_) wideScores_.push_back(static_cast<std::int8_t>(score));
      releaseStorage(narrowScores_);
      wide_ = true;
    }
    wideScores_.push_back(value);
  }
  bool wide_ = false;
  std::string narrowScores_;  // signed bytes, whatever the signedness of char
  std::vector<std::int64_t> wideScores_;
};

class PatternNodes : public std::enable_shared_from_this<PatternNodes> {
 public:
  struct Node {
    std::uint32_t childBegin = 0;  // into childKeys / childTargets
    std::uint32_t childCount = 0;
    std::uint32_t scoreBegin = 0;  // into scores
    std::uint32_t scoreCount = 0;
  };
  struct ForeignNode {
    std::uint32_t store;  // into foreignStores
    std::uint32_t node;
  };
  // A child target with this bit set indexes foreignNodes instead of nodes.
  static constexpr std::uint32_t kForeign = std::uint32_t{1} << 31;

  PatternNodes() = default;
  ~PatternNodes();
  PatternNodes(const PatternNodes&) = delete;
  PatternNodes& operator=(const PatternNodes&) = delete;

  std::vector<Node> nodes;
  std::vector<char32_t> childKeys;  // sorted ascending within each node
  std::vector<std::uint32_t> childTargets;
  ScorePool scores;
  std::vector<std::shared_ptr<const PatternNodes>> foreignStores;
  std::vector<ForeignNode> foreignNodes;

  // The self-contained form that lookups walk: this store itself when it has
  // no foreign edges, otherwise a flattened copy built on first use. The
  // copy's build can fail for want of memory: the exception goes to the
  // caller that met it, and the next caller builds again.
  const PatternNodes& lookupForm() const {
    return flattened_ == nullptr ? *this : *flattened_->copy.get(flattened_->build);
  }

  // Lookup form only: the index that lookups use, walking or full.
  const StagedIndex& index() const noexcept { return *index_; }

  // Makes this store publishable: a store without foreign edges gets the
  // index that lookups use, one with foreign edges the recipe of its
  // flattened copy. Called once, before the store is shared.
  void seal();

 private:
  // Held in place rather than behind a pointer: hyphenate reaches it first
  // thing, and every load saved there starts the word sooner.
  std::optional<const StagedIndex> index_;
  struct Flattened {
    explicit Flattened(std::function<std::shared_ptr<const PatternNodes>()> recipe)
        : build(std::move(recipe)) {}
    std::function<std::shared_ptr<const PatternNodes>()> build;
    BuildOnce<std::shared_ptr<const PatternNodes>, OnFailure::kRetry> copy;
  };
  std::unique_ptr<const Flattened> flattened_;  // null without foreign edges
};

// Throws liang::Error: a store would outgrow its 32-bit indexes. Out
// of line, so that the checks below cost their callers no code.
[[noreturn]] void throwTrieTooLarge();

// `size` as an index into a store's arrays, checked to stay clear of the
// foreign bit.
inline std::uint32_t checkedIndex(std::size_t size) {
  if (size >= PatternNodes::kForeign) [[unlikely]]
    throwTrieTooLarge();
  return static_cast<std::uint32_t>(size);
}

struct PatternsAccess {
  static const PatternNodes* nodes(const Patterns& p) noexcept { return p.nodes_.get(); }
  static const std::shared_ptr<const PatternNodes>& nodesOf(const Patterns& p) noexcept {
    return p.nodes_;
  }
  static Patterns make(std::shared_ptr<const PatternNodes> nodes) noexcept {
    return Patterns(std::move(nodes));
  }
};

// parsePatterns(decodeUtf8(bytes)), decoding each character as the parse
// reads it rather than the whole text up front, and writing the trie's
// scores over the bytes already read: a pattern file's text becomes its
// trie's score pool, with no second buffer.
Patterns parsePatternsUtf8(std::string bytes);

// Indexes the trie in full now, as enough hyphenate calls would (see
// StagedIndex); for benchmarks and tests that want that stage at once.
void buildFullIndex(const Patterns& trie);

}  // namespace liang::internal

#endif  // LIANG_CORE_PATTERNNODES_HPP_
