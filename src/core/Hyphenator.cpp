// hyphenate: the minima, the exception dictionary and the patterns, in that
// order of precedence, decide the boundaries where a word breaks.

#include "liang/Hyphenator.hpp"

#include <algorithm>
#include <bit>
#include <cstdint>

#include "core/BreakPlan.hpp"
#include "core/Breaks.hpp"
#include "core/CodePointMap.hpp"
#include "core/ExceptionTable.hpp"
#include "core/PatternNodes.hpp"
#include "core/Scratch.hpp"
#include "core/Utf8.hpp"

namespace liang {

namespace internal {

struct CharFoldAccess {
  // The fold's table, built now if need be; null for any other fold.
  static const CodePointMap* table(const CharFold& fold) {
    return fold.table_ != nullptr ? &fold.table_->get() : nullptr;
  }

  // Whether the fold is a caller's function rather than a table or the identity.
  static bool isFunction(const CharFold& fold) noexcept { return fold.function_ != nullptr; }

  // Folds `word` into `out` (word.size() characters), looking the table up
  // once for the whole word rather than once per character.
  static void foldWord(const CharFold& fold, std::u32string_view word, char32_t* out) {
    if (fold.table_ != nullptr) {
      const CodePointMap& table = fold.table_->get();
      std::transform(word.begin(), word.end(), out, [&](char32_t c) { return table(c); });
    } else if (fold.function_ != nullptr) {
      const auto& function = *fold.function_;
      std::transform(word.begin(), word.end(), out, [&](char32_t c) { return function(c); });
    } else {
      std::copy(word.begin(), word.end(), out);
    }
  }
};

namespace {

// The boundaries p that a score list may break at: begin <= p < end.
//
// The trimmed list of the algorithm -- max(L, 0) zeros, then up to
// d = n - L - R + 1 raw entries from index max(L, 0) on -- is never built:
// its entry p is raw entry p for max(L, 0) <= p < max(L, 0) + d and 0
// below, and only entries 1..n can decide a break.
struct BreakRange {
  std::size_t begin = 0, end = 0;
};

// Minima up to this are handled in plain word arithmetic.
constexpr std::int64_t kOrdinaryMinimum = (std::int64_t{1} << 32) - 1;

BreakRange breakRange(std::size_t n, std::int64_t left, std::int64_t right, std::size_t rawLength) {
  if (left >= 0 && right >= 0 && left <= kOrdinaryMinimum && right <= kOrdinaryMinimum) {
    // The case of every real hyphenator, in plain word arithmetic; the
    // caller has checked n >= L + R, so n + 1 - R > L.
    const auto l = static_cast<std::size_t>(left), r = static_cast<std::size_t>(right);
    return {std::max<std::size_t>(l, 1), std::min(n + 1 - r, rawLength)};
  }
  // Any other 64-bit minima, exactly, without a wider type. The trimmed list
  // ends at max(L, 0) + d = n + 1 - (R + min(L, 0)). That sum has operands of
  // opposite signs (or a zero) when R > 0, so it cannot overflow; when R <= 0
  // it is <= 0 and the end is past n anyway. Since n >= L + R and n >= R
  // when L >= 0, a positive sum is at most n.
  std::size_t end = std::min(rawLength, n + 1);
  if (right > 0) {
    const std::int64_t cut = right + std::min<std::int64_t>(left, 0);
    if (cut > 0) end = std::min(end, n + 1 - static_cast<std::size_t>(cut));
  }
  // A left minimum past n leaves no boundary to break at (end <= n + 1).
  if (left > 0 && static_cast<std::uint64_t>(left) > n) return {};
  const std::size_t begin = std::max<std::size_t>(left > 0 ? static_cast<std::size_t>(left) : 0, 1);
  if (begin >= end) return {};
  return {begin, end};
}

// Whether n < L + R, exactly, for any two 64-bit minima.
bool tooShortToBreak(std::size_t n, std::int64_t left, std::int64_t right) {
  if (left >= 0 && right >= 0) {
    // Two values below 2^63 add up to less than 2^64.
    return n < static_cast<std::uint64_t>(left) + static_cast<std::uint64_t>(right);
  }
  if (left < 0 && right < 0) return false;  // a negative sum
  const std::int64_t sum = left + right;    // opposite signs: no overflow
  return sum > 0 && n < static_cast<std::uint64_t>(sum);
}

// Writes the positions of the set bits of `mask`, lowest first; returns their number.
std::size_t writeBits(std::uint64_t mask, std::size_t* out) noexcept {
  std::size_t count = 0;
  for (; mask != 0; mask &= mask - 1)
    out[count++] = static_cast<std::size_t>(std::countr_zero(mask));
  return count;
}

// Whether the minima are those of any real hyphenator: 0 <= L, 1 <= R,
// both at most kOrdinaryMinimum.
bool hasOrdinaryMinima(const Hyphenator& h) noexcept {
  const std::int64_t left = hyphenatorLeftMin(h), right = hyphenatorRightMin(h);
  return left >= 0 && right >= 1 && left <= kOrdinaryMinimum && right <= kOrdinaryMinimum;
}

// The plan of `h`, made now unless its fold is a caller's function. For a
// hyphenator whose `index`, the one that hyphenates the word, has a score
// window, and whose minima are ordinary (0 <= L, 1 <= R, both at most
// kOrdinaryMinimum); `table` is the fold's table, null for the identity.
// Throws std::bad_alloc when there is no memory for the plan's letter table.
const BreakPlan* planOf(const Hyphenator& h, const PatternIndex& index,
                        const ExceptionTable* exceptions, const CodePointMap* table) {
  const BreakPlanSlot& slot = HyphenatorAccess::planSlot(h);
  if (CharFoldAccess::isFunction(hyphenatorChars(h))) return nullptr;
  if (const BreakPlan* plan = slot.get()) return plan;
  return slot.make([&](BreakPlan& plan) {
    plan.index = &index;
    plan.exceptions = exceptions;
    plan.fold = table;
    const auto l = static_cast<std::size_t>(hyphenatorLeftMin(h));
    const auto r = static_cast<std::size_t>(hyphenatorRightMin(h));
    plan.shortest = l + r;
    plan.firstBreak = std::max<std::size_t>(l, 1);
    plan.rightMin = r;
    plan.directLetters = index.foldedDirectLetters(table);
  });
}

// collectBreaks for every word the plan does not answer alone.
std::size_t collectBreaksInFull(const Hyphenator& h, std::u32string_view word,
                                std::size_t* breaks) {
  const std::size_t n = word.size();
  if (n == 0) return 0;
  const std::int64_t left = hyphenatorLeftMin(h), right = hyphenatorRightMin(h);
  if (tooShortToBreak(n, left, right)) return 0;  // no fold, no lookup at all

  // A table fold is applied where each character is used: to the first and
  // last for the dictionary's filter, inside the automaton's step for the
  // patterns; the whole folded word is only made where something reads it.
  // Any other fold runs over the word once, up front.
  const CharFold& chars = hyphenatorChars(h);
  const CodePointMap* table = CharFoldAccess::table(chars);
  ScratchBuffer<char32_t, 64> folded(n);
  std::u32string_view foldedWord;
  const auto foldedWhole = [&]() {
    if (foldedWord.empty()) {
      CharFoldAccess::foldWord(chars, word, folded.data());
      foldedWord = {folded.data(), n};
    }
    return foldedWord;
  };
  if (table == nullptr) foldedWhole();

  std::size_t count = 0;
  const auto breaksWithin = [&](std::size_t rawLength, auto rawScore) {
    if (left <= 0 && rawLength == 0) {
      throw Error("Malformed hyphenation score for " + encodeUtf8(word));
    }
    const BreakRange range = breakRange(n, left, right, rawLength);
    for (std::size_t p = range.begin; p < range.end; ++p) {
      if (rawScore(p) % 2 != 0) breaks[count++] = p;
    }
  };

  const ExceptionTable* exceptions = ExceptionsAccess::table(hyphenatorExceptions(h));
  if (exceptions != nullptr) {
    const bool candidate = table == nullptr ||
                           exceptions->mayContain(n, (*table)(word.front()), (*table)(word.back()));
    if (const Scores* stored = candidate ? exceptions->find(foldedWhole()) : nullptr) {
      breaksWithin(stored->size(), [&](std::size_t p) { return (*stored)[p]; });
      return count;
    }
  }
  const PatternNodes* nodes = PatternsAccess::nodes(hyphenatorPatterns(h));
  if (nodes == nullptr) return 0;  // the empty trie scores every boundary 0
  const PatternIndex& index = nodes->lookupForm().index().forWord();
  // Raw entry p is boundary p + 1 of the padded word, whose first and last
  // entries are not part of it.
  if (index.hasScoreWindow() && hasOrdinaryMinima(h)) {
    // Every real hyphenator: breaks at 1 <= max(L, 1) <= p < n + 1 - R <= n,
    // where the combined list always reaches, so its length is not needed.
    // A table fold or the identity has a plan by now, whose letters fold;
    // a function fold has folded the word already.
    const BreakPlan* plan = planOf(h, index, exceptions, table);
    const std::u32string_view letters = plan != nullptr ? word : foldedWord;
    const PatternIndex::LetterMap letterMap =
        plan != nullptr ? plan->letters() : index.identityLetters();
    const std::size_t begin = std::max<std::size_t>(static_cast<std::size_t>(left), 1);
    const std::size_t end = n + 1 - static_cast<std::size_t>(right);
    if (n <= PatternIndex::longestMaskedWord()) {
      // Only the breaks are visited, not every boundary.
      return writeBits(BreakPlan::maskedBreaks(index, letters, letterMap, begin,
                                               static_cast<std::size_t>(right)),
                       breaks);
    }
    ScratchBuffer<std::uint8_t, 128> buffer(PatternIndex::windowCapacityFor(n));
    const std::uint8_t* boundaries = index.scoreByWindow(letters, buffer.data(), letterMap);
    for (std::size_t p = begin; p < end; ++p) {
      breaks[count] = p;  // kept only where the score is odd: no branch on it
      count += boundaries[p + 1] & 1u;
    }
    return count;
  }
  // Any other trie or minima: the exact walk.
  foldedWhole();
  ScratchBuffer<std::int64_t, 128> boundaries(index.capacityFor(n));
  const std::size_t length = index.score(foldedWord, boundaries.data(), false);
  breaksWithin(length - 2, [&](std::size_t p) { return boundaries.data()[p + 1]; });
  return count;
}

}  // namespace

std::size_t collectBreaks(const Hyphenator& h, std::u32string_view word, std::size_t* breaks) {
  std::uint64_t mask;
  if (planBreaks(h, word, mask)) return writeBits(mask, breaks);
  return collectBreaksInFull(h, word, breaks);
}

}  // namespace internal

Hyphenator::Hyphenator(CharFold chars, std::shared_ptr<const Deferred<Patterns>> patterns,
                       std::shared_ptr<const Deferred<Exceptions>> exceptions, std::int64_t leftMin,
                       std::int64_t rightMin)
    : chars_(std::move(chars)),
      patterns_(std::move(patterns)),
      exceptions_(std::move(exceptions)),
      leftMin_(leftMin),
      rightMin_(rightMin),
      plan_(std::make_shared<const internal::BreakPlanSlot>()) {}

Hyphenator withMinima(const Hyphenator& h, std::int64_t leftMin, std::int64_t rightMin) {
  Hyphenator result(h.chars_, h.patterns_, h.exceptions_, leftMin, rightMin);
  // Same fold, same trie: what derives from them alone is shared.
  result.plan_ = std::make_shared<const internal::BreakPlanSlot>(h.plan_->derived());
  return result;
}

char32_t CharFold::operator()(char32_t c) const {
  if (table_ != nullptr) return table_->get()(c);
  if (function_ != nullptr) return (*function_)(c);
  return c;
}

void prepare(const Hyphenator& h) {
  using internal::CharFoldAccess;
  const internal::CodePointMap* table = CharFoldAccess::table(hyphenatorChars(h));
  const internal::ExceptionTable* exceptions =
      internal::ExceptionsAccess::table(hyphenatorExceptions(h));
  const internal::PatternNodes* nodes = internal::PatternsAccess::nodes(hyphenatorPatterns(h));
  if (nodes == nullptr) return;  // the empty trie: nothing is ever built for it
  const internal::StagedIndex& staged = nodes->lookupForm().index();
  staged.buildFull();
  // The plan, for the hyphenators that hyphenate by one (see collectBreaksInFull).
  const internal::PatternIndex& index = staged.current();
  if (index.hasScoreWindow() && internal::hasOrdinaryMinima(h)) {
    internal::planOf(h, index, exceptions, table);
  }
}

std::vector<Word> hyphenate(const Hyphenator& h, std::u32string_view word) {
  internal::ScratchBuffer<std::size_t, 64> breaks(word.size());
  const std::size_t count = internal::collectBreaks(h, word, breaks.data());
  std::vector<Word> pieces;
  pieces.reserve(count + 1);
  std::size_t pieceStart = 0;
  for (std::size_t k = 0; k < count; ++k) {
    pieces.emplace_back(word.substr(pieceStart, breaks.data()[k] - pieceStart));
    pieceStart = breaks.data()[k];
  }
  pieces.emplace_back(word.substr(pieceStart));
  return pieces;
}

}  // namespace liang
