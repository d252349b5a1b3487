// The two stages of a trie's index (see StagedIndex.hpp).

#include "core/StagedIndex.hpp"

#include <bit>
#include <new>
#include <stdexcept>

#include "core/PatternNodes.hpp"
#include "liang/Types.hpp"

namespace liang::internal {

StagedIndex::StagedIndex(const PatternNodes& trie) : trie_(trie) {
  if (trie.nodes.size() <= kEagerNodes) {
    buildFull();
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
  // Each count is seen by exactly one call (the counter is 64 bits wide and
  // never wraps), so only one call builds at each mark: the first, and
  // after a failure each power-of-two multiple of it.
  const std::uint64_t walked = wordsWalked_.fetch_add(1, std::memory_order_relaxed) + 1;
  if (walked % wordsBeforeFull_ == 0 && std::has_single_bit(walked / wordsBeforeFull_)) {
    try {
      buildFull();
    } catch (const std::bad_alloc&) {
      // Keep walking; a later mark tries again.
    } catch (const std::length_error&) {
    } catch (const Error&) {  // a trie beyond the index's 32-bit numbers
    }
  }
  return current();
}

void StagedIndex::buildFull() const {
  full_.get([this] { return PatternIndex(trie_, PatternIndex::Extent::kFull); });
}

}  // namespace liang::internal
