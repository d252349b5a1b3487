// The two stages of a trie's index (see StagedIndex.hpp).

#include "liang/internal/StagedIndex.hpp"

#include <new>
#include <stdexcept>

#include "liang/internal/PatternNodes.hpp"

namespace liang::internal {

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
    } catch (const std::length_error&) {
    }
  });
}

}  // namespace liang::internal
