// The index that lookups of a sealed store use: walking at first, in full
// once the trie has earned it.
#ifndef LIANG_CORE_STAGEDINDEX_HPP_
#define LIANG_CORE_STAGEDINDEX_HPP_

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "core/PatternIndex.hpp"
#include "liang/internal/BuildOnce.hpp"

namespace liang::internal {

// The index of a sealed store, in two stages. The full index takes twice
// as long to build as the trie took to parse (about a millisecond for
// English), which a program that hyphenates a few words never earns back.
// So a large trie starts with an alphabet-only index, whose lookups walk
// the store as TeX does, and gets the full one once it has hyphenated about
// as many words as the build would have cost in walking: a program pays at
// most about twice the cheaper of the two, whatever its number of words. A
// small trie is indexed in full at once.
//
// The build runs inside the hyphenate call that reaches the count, on that
// call's thread, unless prepare (see liang/Hyphenator.hpp) has run it
// ahead; other threads keep walking meanwhile, and then find the full index
// by one acquire load. Only the walking stage counts words.
//
// A build can fail only for want of memory (std::bad_alloc, or
// std::length_error from a container) or of 32-bit numbers (liang::Error,
// for a trie of billions of nodes). A build
// inside a hyphenate call swallows its failure -- lookups keep walking,
// which is exact -- and is tried again when the count reaches twice the
// mark, then four times, and so on: a lasting failure costs a logarithmic
// number of attempts. buildFull() lets the failure out to its caller and
// leaves the next caller to try again.
class StagedIndex {
 public:
  explicit StagedIndex(const PatternNodes& trie);
  StagedIndex(const StagedIndex&) = delete;
  StagedIndex& operator=(const StagedIndex&) = delete;

  // The full index once built, the walking one until then. Counts nothing,
  // builds nothing: for letters and exact lookups, which gain nothing from
  // the full index.
  const PatternIndex& current() const noexcept {
    const PatternIndex* full = full_.ready();
    return full != nullptr ? *full : *walking_;
  }

  // The index to hyphenate one word with: current(), having counted the
  // word while that is the walking index.
  const PatternIndex& forWord() const {
    const PatternIndex* full = full_.ready();
    return full != nullptr ? *full : countWalkedWord();
  }

  // Builds the full index now unless it is built already; throws the
  // build's failure, after which the index still walks and a later call
  // tries again.
  void buildFull() const;

  // Whether the full index serves lookups.
  bool fullyBuilt() const noexcept { return full_.ready() != nullptr; }

  // Tries up to this many nodes are indexed in full at once.
  static constexpr std::size_t kEagerNodes = 4096;

 private:
  const PatternIndex& countWalkedWord() const;

  const PatternNodes& trie_;
  // Both indexes are held in place, not behind pointers, so no load of a
  // pointer stands between a lookup and the index it uses.
  std::optional<const PatternIndex> walking_;  // empty when indexed in full at once
  std::uint64_t wordsBeforeFull_ = 0;
  mutable std::atomic<std::uint64_t> wordsWalked_{0};
  BuildOnce<PatternIndex, OnFailure::kRetry> full_;
};

}  // namespace liang::internal

#endif  // LIANG_CORE_STAGEDINDEX_HPP_
