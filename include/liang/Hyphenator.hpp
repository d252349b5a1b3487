// liang: the Hyphenator record and hyphenate.
//
// A Hyphenator bundles what hyphenating one language needs: a function that
// folds each character into the form the patterns are written in, a pattern
// trie, an exception dictionary, and the least number of characters before
// the first break and after the last. hyphenate cuts a word into the pieces
// between which a hyphen may go; three layers decide, each overruling the
// next: the minima, the exception dictionary, the patterns.
//
// Guarantees:
//  - A Hyphenator is immutable; copying is O(1) and copies share components.
//    Moving copies, so a hyphenator moved from still hyphenates.
//  - Any number of threads may hyphenate with one Hyphenator at once. A
//    component supplied as a Deferred value is built exactly once, by the
//    first call that needs it; later calls take no lock. A failed build
//    fails again, with the same exception, on every later use.
//  - On top of the components the library builds, lazily, what makes
//    hyphenating fast: a trie's flattened copy (for a trie made by
//    insertPattern or merge), its full lookup index (after a large trie has
//    hyphenated a few thousand words, in the call that reaches the count:
//    about 1 ms for English, 9 ms for Hungarian) and a plan that gathers
//    the components for ordinary words. These can fail only for want of
//    memory; such a failure is never kept: a flattening that fails throws to
//    its caller and is built again by the next, and an index that fails
//    leaves lookups walking the trie (exact, only slower) and is tried again
//    later. prepare() builds all of it ahead of time.
//  - hyphenate is a pure function of its arguments. A word shorter than
//    leftMin + rightMin is answered without folding or any lookup.
#ifndef LIANG_HYPHENATOR_HPP_
#define LIANG_HYPHENATOR_HPP_

#include <concepts>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "liang/Deferred.hpp"
#include "liang/Exception.hpp"
#include "liang/Pattern.hpp"
#include "liang/Types.hpp"
#include "liang/export.h"

namespace liang {

namespace internal {
class BreakPlanSlot;
class CodePointMap;
struct CharFoldAccess;
struct HyphenatorAccess;
}  // namespace internal

LIANG_PUBLIC_BEGIN

// A folding function char32_t(char32_t), the type every such callable
// converts to. Either a caller's callable or a character table built on its
// first use (the form that loaded hyphenators use). Copies share the callable.
class CharFold {
 public:
  // The identity.
  CharFold() noexcept = default;

  // Any callable char32_t(char32_t): a lambda, a function pointer, ...
  template <class F>
  requires(!std::same_as<std::remove_cvref_t<F>, CharFold> &&
           std::is_invocable_r_v<char32_t, const std::remove_cvref_t<F>&, char32_t>)
      CharFold(F&& fold)  // NOLINT(google-explicit-constructor): lambdas convert implicitly
      : function_(
            std::make_shared<const std::function<char32_t(char32_t)>>(std::forward<F>(fold))) {}

  // A table built on first use.
  explicit CharFold(std::shared_ptr<const Deferred<internal::CodePointMap>> table) noexcept
      : table_(std::move(table)) {}

  // Folds one character.
  char32_t operator()(char32_t c) const;

 private:
  friend struct internal::CharFoldAccess;
  std::shared_ptr<const std::function<char32_t(char32_t)>> function_;  // null: identity or table
  std::shared_ptr<const Deferred<internal::CodePointMap>> table_;      // null: function
};

class Hyphenator {
 public:
  // From its five fields, in order. No field is checked: negative minima, an
  // empty trie and an empty dictionary are all accepted.
  template <class Fold>
  Hyphenator(Fold chars, Patterns patterns, Exceptions exceptions, std::int64_t leftMin,
             std::int64_t rightMin)
      : Hyphenator(CharFold(std::move(chars)),
                   std::make_shared<const Deferred<Patterns>>(std::move(patterns)),
                   std::make_shared<const Deferred<Exceptions>>(std::move(exceptions)), leftMin,
                   rightMin) {}

  // From components that may be built on first use: the trie and the
  // dictionary are built when a hyphenate call (or an accessor) first needs them.
  Hyphenator(CharFold chars, std::shared_ptr<const Deferred<Patterns>> patterns,
             std::shared_ptr<const Deferred<Exceptions>> exceptions, std::int64_t leftMin,
             std::int64_t rightMin);

  // A move is a copy: copying costs O(1), and a hyphenator moved from stays
  // whole and usable, as every other immutable value does.
  Hyphenator(const Hyphenator&) noexcept = default;
  Hyphenator& operator=(const Hyphenator&) noexcept = default;

 private:
  friend struct internal::HyphenatorAccess;
  friend Hyphenator withMinima(const Hyphenator& h, std::int64_t leftMin, std::int64_t rightMin);
  friend const CharFold& hyphenatorChars(const Hyphenator& h) noexcept;
  friend const Patterns& hyphenatorPatterns(const Hyphenator& h);
  friend const Exceptions& hyphenatorExceptions(const Hyphenator& h);
  friend std::int64_t hyphenatorLeftMin(const Hyphenator& h) noexcept;
  friend std::int64_t hyphenatorRightMin(const Hyphenator& h) noexcept;

  CharFold chars_;
  std::shared_ptr<const Deferred<Patterns>> patterns_;
  std::shared_ptr<const Deferred<Exceptions>> exceptions_;
  std::int64_t leftMin_;
  std::int64_t rightMin_;
  // What an ordinary word needs of the components, gathered once they are
  // built (see internal/BreakPlan.hpp); shared by copies.
  std::shared_ptr<const internal::BreakPlanSlot> plan_;
};

// The folding function: hyphenatorChars(h)(c) folds c.
inline const CharFold& hyphenatorChars(const Hyphenator& h) noexcept { return h.chars_; }
// The pattern trie, built now if it is deferred and not built yet.
inline const Patterns& hyphenatorPatterns(const Hyphenator& h) { return h.patterns_->get(); }
// The exception dictionary, built now if it is deferred and not built yet.
inline const Exceptions& hyphenatorExceptions(const Hyphenator& h) { return h.exceptions_->get(); }
inline std::int64_t hyphenatorLeftMin(const Hyphenator& h) noexcept { return h.leftMin_; }
inline std::int64_t hyphenatorRightMin(const Hyphenator& h) noexcept { return h.rightMin_; }

// The same hyphenator with other minima: it shares the fold, the trie and
// the dictionary of `h` (built or not), so it costs O(1) and builds nothing.
Hyphenator withMinima(const Hyphenator& h, std::int64_t leftMin, std::int64_t rightMin);

// The pieces of `word` between which a hyphen may go; they concatenate to
// `word`. An empty word gives one empty piece. Throws Error "Malformed
// hyphenation score for <word>" when the chosen score list is empty, and
// passes on the failures of the folding function and of deferred components.
std::vector<Word> hyphenate(const Hyphenator& h, std::u32string_view word);

// Builds now everything `h` builds on first use -- the fold's table, the
// trie and its flattened copy, the dictionary, the full index, the plan --
// so that no later hyphenate call builds anything or waits on a build.
//
// For a program whose latency matters from the first word on: a layout
// engine or a server calls it at start-up, or from a background thread,
// before its first page or request. A program that hyphenates a few words
// need not: left alone, each part is built when a call first needs it,
// which costs less in all. Safe to race with threads hyphenating with `h`
// (or a copy); idempotent, and one load per part once done. Passes on the
// failure of a deferred component, as hyphenate would, and the failure of
// building the rest (std::bad_alloc), after which `h` still hyphenates
// exactly and a later prepare tries again.
void prepare(const Hyphenator& h);

LIANG_PUBLIC_END
}  // namespace liang

#endif  // LIANG_HYPHENATOR_HPP_
