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
#ifndef LIANG_CORE_BREAKPLAN_HPP_
#define LIANG_CORE_BREAKPLAN_HPP_

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/CodePointMap.hpp"
#include "core/ExceptionTable.hpp"
#include "core/PatternIndex.hpp"
#include "liang/Hyphenator.hpp"
#include "liang/internal/BuildOnce.hpp"

namespace liang::internal {

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
  // Inline, with planBreaks below: a word the plan answers then costs the
  // caller one call, the automaton's walk.
  bool breaks(std::u32string_view word, std::uint64_t& mask) const noexcept {
    const std::size_t n = word.size();
    if (n < shortest) {  // shortest >= 1, so this takes the empty word too
      mask = 0;
      return true;
    }
    if (n > PatternIndex::longestMaskedWord()) return false;
    if (exceptions != nullptr) {
      const auto folded = [this](char32_t c) { return fold != nullptr ? (*fold)(c) : c; };
      if (exceptions->mayContain(n, folded(word.front()), folded(word.back()))) return false;
    }
    mask = maskedBreaks(*index, word, letters(), firstBreak, rightMin);
    return true;
  }

  // The breaks of a word of at most PatternIndex::longestMaskedWord()
  // characters, from the parities of its boundaries: bit p set for a break
  // at firstBreak <= p < n + 1 - rightMin. Bit p of the parities shifted
  // down by one is raw entry p, boundary p + 1 of the padded word.
  static std::uint64_t maskedBreaks(const PatternIndex& index, std::u32string_view word,
                                    PatternIndex::LetterMap letters, std::size_t firstBreak,
                                    std::size_t rightMin) {
    const std::uint64_t odd = index.oddBoundaries(word, letters) >> 1;
    return odd &
           ((std::uint64_t{1} << (word.size() + 1 - rightMin)) - (std::uint64_t{1} << firstBreak));
  }
};

// A hyphenator's plan, shared by its copies: made at most once, by the
// first call that finds the hyphenator fits one and has all it needs (a
// hyphenate call, or prepare); until then, and for a hyphenator that never
// fits, get() is null. Filling a plan cannot fail, but the slot retries
// like everything else the library builds for itself.
class BreakPlanSlot {
 public:
  // The plan once made, else null: one acquire load.
  const BreakPlan* get() const noexcept { return plan_.ready(); }

  // Makes the plan unless it is made already, and returns it. `fill`
  // writes its fields and must not throw.
  template <class Fill>
  const BreakPlan* make(Fill fill) const noexcept {
    return &plan_.get([&]() noexcept {
      BreakPlan plan;
      fill(plan);
      return plan;
    });
  }

 private:
  BuildOnce<BreakPlan, OnFailure::kRetry> plan_;
};

struct HyphenatorAccess {
  // Every hyphenator has one: a hyphenator is copied, even when it is moved from.
  static const BreakPlanSlot& planSlot(const Hyphenator& h) noexcept { return *h.plan_; }
};

// The boundaries where `word` breaks as the set bits of `mask` (bit p: a
// break at p), when the hyphenator's plan answers the word alone; false,
// and `mask` unset, when only collectBreaks (Breaks.hpp) can.
inline bool planBreaks(const Hyphenator& h, std::u32string_view word,
                       std::uint64_t& mask) noexcept {
  const BreakPlan* plan = HyphenatorAccess::planSlot(h).get();
  return plan != nullptr && plan->breaks(word, mask);
}

}  // namespace liang::internal

#endif  // LIANG_CORE_BREAKPLAN_HPP_
