// The storage of pattern tries, shared by Pattern.cpp and the hyphenator.
//
// A trie lives in a PatternNodes store: flat arrays of nodes, child edges
// and scores, node 0 being the root. A store is immutable once published.
// A child edge points either at a node of the same store or, through the
// foreign table, at a node of another store that this one keeps alive; that
// is how insertPattern and merge share the subtrees they leave untouched.
// See Pattern.cpp for the algorithms.
#ifndef LIANG_INTERNAL_PATTERNNODES_HPP_
#define LIANG_INTERNAL_PATTERNNODES_HPP_

#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "liang/Deferred.hpp"
#include "liang/Pattern.hpp"

namespace liang::internal {

// A table from code point to a 32-bit value, 0 where nothing was set: a
// 256-entry page per populated block of code points, so a probe is two loads.
// Values above U+10FFFF live in a sorted side table.
class PagedTable {
 public:
  void set(char32_t key, std::uint32_t value);
  std::uint32_t operator()(char32_t key) const noexcept {
    const std::uint32_t block = key >> 8;
    if (block < pageOfBlock_.size()) {
      const std::uint32_t page = pageOfBlock_[block];
      return page == 0 ? 0 : values_[(page - 1) * std::size_t{256} + (key & 0xFF)];
    }
    return beyond_.empty() ? 0 : lookupBeyond(key);
  }

 private:
  std::uint32_t lookupBeyond(char32_t key) const noexcept;

  std::vector<std::uint32_t> pageOfBlock_;                  // 0: no page; else 1 + page number
  std::vector<std::uint32_t> values_;                       // 256 values per page
  std::vector<std::pair<char32_t, std::uint32_t>> beyond_;  // keys above U+10FFFF, sorted
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
  std::vector<std::int64_t> scores;
  std::vector<std::shared_ptr<const PatternNodes>> foreignStores;
  std::vector<ForeignNode> foreignNodes;

  // The self-contained form that lookups walk: this store itself when it has
  // no foreign edges, otherwise a flattened copy built on first use.
  const PatternNodes& lookupForm() const;

  // Lookup form only: the root's child for a code point, 0 when there is
  // none (the root is never a child).
  std::uint32_t rootChild(char32_t c) const noexcept { return index_->rootChildren(c); }
  // Lookup form only: whether `c` labels some edge of the trie.
  bool hasLetter(char32_t c) const noexcept { return index_->letters(c) != 0; }
  // Lookup form only: the longest score list of any node.
  std::size_t longestScores() const noexcept { return index_->longestScores; }

  // Makes this store publishable: a store without foreign edges gets the
  // index that lookups use, one with foreign edges the recipe of its
  // flattened copy. Called once, before the store is shared.
  void seal();

 private:
  struct LookupIndex {
    PagedTable rootChildren;
    PagedTable letters;
    std::size_t longestScores = 0;
  };
  std::unique_ptr<const LookupIndex> index_;
  std::unique_ptr<const Deferred<std::shared_ptr<const PatternNodes>>> flattened_;
};

struct PatternsAccess {
  static const PatternNodes* nodes(const Patterns& p) noexcept { return p.nodes_.get(); }
  static const std::shared_ptr<const PatternNodes>& nodesOf(const Patterns& p) noexcept {
    return p.nodes_;
  }
  static Patterns make(std::shared_ptr<const PatternNodes> nodes) noexcept {
    return Patterns(std::move(nodes));
  }
};

// Scores of every boundary of the padded word "." + word + ".": fills
// boundaryScores[0, length) and returns length, the size of the combined
// match list before its two edge entries are dropped. boundaryScores must
// hold word.size() + 2 + longest score list entries (see boundaryCapacity).
std::size_t scoreBoundaries(const PatternNodes& lookupForm, std::u32string_view word,
                            std::int64_t* boundaryScores);

inline std::size_t boundaryCapacity(const PatternNodes& lookupForm, std::size_t wordLength) {
  return wordLength + 2 + lookupForm.longestScores();
}

}  // namespace liang::internal

#endif  // LIANG_INTERNAL_PATTERNNODES_HPP_
