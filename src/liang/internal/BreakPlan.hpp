// What finding the breaks of an ordinary word needs of a hyphenator,
// gathered in one place once all of its components are built.
//
// Reaching a component from a Hyphenator takes a chain of dependent loads
// (the shared pointer, the deferred value, the trie's store, its staged
// index), and each is paid again by every word before its first letter can
// be looked up; so is folding a letter and then numbering it, two loads per
// character. The plan keeps, for one hyphenator, the finished index, the
// dictionary, the fold, the minima in the form the break range needs, and
// the letter numbers of the folded Latin-1 characters: a word then reaches
// everything from one load, and a Latin-1 letter costs one load.
#ifndef LIANG_INTERNAL_BREAKPLAN_HPP_
#define LIANG_INTERNAL_BREAKPLAN_HPP_

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string_view>

#include "liang/Hyphenator.hpp"
#include "liang/internal/PatternIndex.hpp"

namespace liang::internal {

class CodePointMap;
class ExceptionTable;

// Made for a hyphenator whose fold is a table or the identity, whose trie
// is indexed in full with a score window, and whose minima are those of any
// real language (0 <= leftMin and 1 <= rightMin, both below 2^32). It refers
// to the hyphenator's components, which live as long as the plan's slot.
struct BreakPlan {
  const PatternIndex* index = nullptr;
  const ExceptionTable* exceptions = nullptr;  // null when the dictionary is empty
  const CodePointMap* fold = nullptr;          // null for the identity
  std::size_t shortest = 0;                    // leftMin + rightMin: no shorter word breaks
  std::size_t firstBreak = 0;                  // max(leftMin, 1)
  std::size_t rightMin = 0;
  std::uint32_t latin1Letters[256] = {};  // the letter number of fold(c), c < 256

  PatternIndex::LetterMap letters() const noexcept { return {latin1Letters, fold}; }

  // Sets bit p of `mask` for each boundary p where `word` breaks, and
  // returns true; false when the word needs more than the plan: it is
  // longer than PatternIndex::longestMaskedWord(), or the dictionary may hold it.
  // (A bool and an out-parameter, not an optional: GCC returns an optional
  // through memory, in two stores that the caller's one load cannot take.)
  bool breaks(std::u32string_view word, std::uint64_t& mask) const noexcept;
};

// A hyphenator's plan, shared by its copies: made at most once, by the
// first call that finds the hyphenator fits one and has all it needs; until
// then, and for a hyphenator that never fits, get() is null.
class BreakPlanSlot {
 public:
  // The plan once made, else null: one acquire load.
  const BreakPlan* get() const noexcept { return ready_.load(std::memory_order_acquire); }

  // Makes the plan unless it is made already, and returns it. `fill`
  // writes its fields and must not throw.
  template <class Fill>
  const BreakPlan* make(Fill fill) const noexcept {
    std::call_once(once_, [&]() noexcept {
      fill(plan_);
      ready_.store(&plan_, std::memory_order_release);
    });
    return &plan_;
  }

 private:
  mutable std::once_flag once_;
  mutable std::atomic<const BreakPlan*> ready_{nullptr};
  mutable BreakPlan plan_;  // written inside once_, before ready_ is set
};

struct HyphenatorAccess {
  // Never null: a hyphenator is copied, even when it is moved from.
  static const BreakPlanSlot* planSlot(const Hyphenator& h) noexcept { return h.plan_.get(); }
};

}  // namespace liang::internal

#endif  // LIANG_INTERNAL_BREAKPLAN_HPP_
