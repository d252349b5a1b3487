// What finding the breaks of an ordinary word needs of a hyphenator,
// gathered in one place once all of its components are built.
//
// Reaching a component from a Hyphenator takes a chain of dependent loads
// (the shared pointer, the deferred value, the trie's store, its staged
// index), and each is paid again by every word before its first letter can
// be looked up; so is folding a letter and then numbering it, two loads per
// character. The plan keeps, for one hyphenator, the finished index, the
// dictionary, the fold, the minima in the form the break range needs, and
// the letter numbers of the folded characters below U+3000 (Latin-1 and
// the block of 256 that holds most of the language's other letters, its
// script, each in one load; any other block of letters through its page):
// a word then reaches everything from the plan, and a letter costs one or
// two loads.
#ifndef LIANG_CORE_BREAKPLAN_HPP_
#define LIANG_CORE_BREAKPLAN_HPP_

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

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
  // The letter code of fold(c) for every c below PatternIndex::kPagedLimit,
  // laid out for a LetterMap (see PatternIndex::LetterMap).
  std::vector<std::uint32_t> directLetters;

  PatternIndex::LetterMap letters() const noexcept { return {directLetters.data(), fold}; }

  // Sets bit p of `mask` for each boundary p where `word` breaks, and
  // returns true; false when the word needs more than the plan: it is
  // longer than PatternIndex::longestMaskedWord(), or the dictionary may hold it.
  // (A bool and an out-parameter, not an optional: GCC returns an optional
  // through memory, in two stores that the caller's one load cannot take.)
  // Inline, with planBreaks below: a word the plan answers then costs the
  // caller one call, the automaton's walk.
  bool breaks(std::u32string_view word, std::uint64_t& mask) const noexcept {
    return breaksOf(word, mask);
  }
  // The same for a word of ASCII bytes (each below 0x80), read as code points.
  bool breaks(std::string_view asciiWord, std::uint64_t& mask) const noexcept {
    return breaksOf(asciiWord, mask);
  }

  // The breaks of a word of at most PatternIndex::longestMaskedWord()
  // characters, from the parities of its boundaries: bit p set for a break
  // at firstBreak <= p < n + 1 - rightMin. Bit p of the parities shifted
  // down by one is raw entry p, boundary p + 1 of the padded word.
  template <class Word>
  static std::uint64_t maskedBreaks(const PatternIndex& index, Word word,
                                    PatternIndex::LetterMap letters, std::size_t firstBreak,
                                    std::size_t rightMin) {
    const std::uint64_t odd = index.oddBoundaries(word, letters) >> 1;
    return odd &
           ((std::uint64_t{1} << (word.size() + 1 - rightMin)) - (std::uint64_t{1} << firstBreak));
  }

 private:
  template <class Word>
  bool breaksOf(Word word, std::uint64_t& mask) const noexcept {
    const std::size_t n = word.size();
    if (n < shortest) {  // shortest >= 1, so this takes the empty word too
      mask = 0;
      return true;
    }
    if (n > PatternIndex::longestMaskedWord()) return false;
    if (exceptions != nullptr) {
      const auto folded = [this](auto unit) {
        const auto c =
            static_cast<char32_t>(static_cast<std::make_unsigned_t<decltype(unit)>>(unit));
        return fold != nullptr ? (*fold)(c) : c;
      };
      if (exceptions->mayContain(n, folded(word.front()), folded(word.back()))) return false;
    }
    mask = maskedBreaks(*index, word, letters(), firstBreak, rightMin);
    return true;
  }
};

// Tables that a higher layer derives from a hyphenator's fold and trie
// alone, whatever its minima: the text layer's answer to what each Latin-1
// character is to a word, one table per kind of text (plain, markup; see
// text/WordRules.hpp). Made once each, on first use, by whichever thread
// needs it first, and shared by the hyphenator's copies and by those that
// withMinima makes from it: a call that hyphenates a short text then pays
// for none of it.
class DerivedTables {
 public:
  static constexpr std::size_t kKinds = 2;
  using Table = std::array<std::uint8_t, 384>;

  // Table `kind` (< kKinds), made now by `build` (a callable returning a
  // Table) unless it is made already. Throws what `build` throws, and the
  // next call builds again.
  template <class Build>
  const Table& get(std::size_t kind, Build&& build) const {
    return tables_[kind].get(std::forward<Build>(build));
  }

 private:
  BuildOnce<Table, OnFailure::kRetry> tables_[kKinds];
};

// A hyphenator's plan, shared by its copies: made at most once, by the
// first call that finds the hyphenator fits one and has all it needs (a
// hyphenate call, or prepare); until then, and for a hyphenator that never
// fits, get() is null. Filling a plan fails only for want of memory (its
// letter table), and the slot then retries like everything else the
// library builds for itself.
class BreakPlanSlot {
 public:
  BreakPlanSlot() : derived_(std::make_shared<const DerivedTables>()) {}
  // A slot for a hyphenator with the fold and trie of the one whose tables
  // these are (withMinima): the plan is its own, the tables shared.
  explicit BreakPlanSlot(std::shared_ptr<const DerivedTables> derived) noexcept
      : derived_(std::move(derived)) {}

  // The plan once made, else null: one acquire load.
  const BreakPlan* get() const noexcept { return plan_.ready(); }

  // Makes the plan unless it is made already, and returns it. `fill`
  // writes its fields; what it throws (std::bad_alloc) goes to this caller,
  // and the next call fills again.
  template <class Fill>
  const BreakPlan* make(Fill fill) const {
    return &plan_.get([&]() {
      BreakPlan plan;
      fill(plan);
      return plan;
    });
  }

  // The tables that do not depend on the minima.
  const std::shared_ptr<const DerivedTables>& derived() const noexcept { return derived_; }

 private:
  BuildOnce<BreakPlan, OnFailure::kRetry> plan_;
  std::shared_ptr<const DerivedTables> derived_;
};

struct HyphenatorAccess {
  // Every hyphenator has one: a hyphenator is copied, even when it is moved from.
  static const BreakPlanSlot& planSlot(const Hyphenator& h) noexcept { return *h.plan_; }
  static const DerivedTables& derivedTables(const Hyphenator& h) noexcept {
    return *h.plan_->derived();
  }
};

// The boundaries where `word` breaks as the set bits of `mask` (bit p: a
// break at p), when the hyphenator's plan answers the word alone; false,
// and `mask` unset, when only collectBreaks (Breaks.hpp) can.
inline bool planBreaks(const Hyphenator& h, std::u32string_view word,
                       std::uint64_t& mask) noexcept {
  const BreakPlan* plan = HyphenatorAccess::planSlot(h).get();
  return plan != nullptr && plan->breaks(word, mask);
}

// The same for a word of ASCII bytes (each below 0x80), read as code points.
inline bool planBreaks(const Hyphenator& h, std::string_view asciiWord,
                       std::uint64_t& mask) noexcept {
  const BreakPlan* plan = HyphenatorAccess::planSlot(h).get();
  return plan != nullptr && plan->breaks(asciiWord, mask);
}

}  // namespace liang::internal

#endif  // LIANG_CORE_BREAKPLAN_HPP_
