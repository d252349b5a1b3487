// What the tests read of a trie's staged index.
#ifndef LIANG_TESTS_INDEX_SUPPORT_HPP_
#define LIANG_TESTS_INDEX_SUPPORT_HPP_

#include "core/PatternNodes.hpp"
#include "core/StagedIndex.hpp"
#include "liang/Pattern.hpp"

#include <cstddef>

namespace testing_support {

// Whether hyphenate finds the trie indexed in full (the empty trie needs no index).
inline bool fullyIndexed(const liang::Patterns& trie) {
  const liang::internal::PatternNodes* nodes = liang::internal::PatternsAccess::nodes(trie);
  return nodes == nullptr || nodes->lookupForm().index().fullyBuilt();
}

// The rows of the trie's full index that its table of moves leaves out.
inline std::size_t deepRowCount(const liang::Patterns& trie) {
  const liang::internal::PatternNodes* nodes = liang::internal::PatternsAccess::nodes(trie);
  return nodes == nullptr ? 0 : nodes->lookupForm().index().current().deepRowCount();
}

}  // namespace testing_support

#endif  // LIANG_TESTS_INDEX_SUPPORT_HPP_
