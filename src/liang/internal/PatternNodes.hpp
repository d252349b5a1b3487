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
#include "liang/internal/PatternIndex.hpp"

namespace liang::internal {

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
  const PatternNodes& lookupForm() const {
    return flattened_ == nullptr ? *this : *flattened_->get();
  }

  // Lookup form only: the index that lookups walk.
  const PatternIndex& index() const noexcept { return *index_; }

  // Makes this store publishable: a store without foreign edges gets the
  // index that lookups use, one with foreign edges the recipe of its
  // flattened copy. Called once, before the store is shared.
  void seal();

 private:
  std::unique_ptr<const PatternIndex> index_;
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

// parsePatterns(decodeUtf8(bytes)), decoding a line at a time rather than
// the whole text up front.
Patterns parsePatternsUtf8(std::string_view bytes);

}  // namespace liang::internal

#endif  // LIANG_INTERNAL_PATTERNNODES_HPP_
