// hyphenate: the minima, the exception dictionary and the patterns, in that
// order of precedence, decide the boundaries where a word breaks.

#include "liang/Hyphenator.hpp"

#include <algorithm>

#include "liang/internal/Breaks.hpp"
#include "liang/internal/CodePointMap.hpp"
#include "liang/internal/ExceptionTable.hpp"
#include "liang/internal/PatternNodes.hpp"
#include "liang/internal/Scratch.hpp"
#include "liang/internal/Utf8.hpp"

namespace liang {

namespace internal {

struct CharFoldAccess {
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

// Calls emit(p) for each boundary p (1..n, ascending) where `word` breaks.
//
// The trimmed score list of the algorithm -- max(L, 0) zeros, then up to
// d = n - L - R + 1 raw entries from index max(L, 0) on -- is never built:
// entry p of it is raw entry p for max(L, 0) <= p < max(L, 0) + d and 0
// below, and only entries 1..n can decide a break. The bounds are computed
// in 128 bits, so any 64-bit minima give the exact answer without overflow.
template <class Emit>
void forEachBreak(const Hyphenator& h, std::u32string_view word, Emit&& emit) {
  __extension__ typedef __int128 Wide;  // wide enough for any sum of two 64-bit minima
  const std::size_t n = word.size();
  if (n == 0) return;
  const Wide left = hyphenatorLeftMin(h), right = hyphenatorRightMin(h);
  if (static_cast<Wide>(n) < left + right) return;  // too short to break: no lookup at all

  ScratchBuffer<char32_t, 64> folded(n);
  CharFoldAccess::foldWord(hyphenatorChars(h), word, folded.data());
  const std::u32string_view foldedWord(folded.data(), n);

  const Wide first = std::max<Wide>(left, 0);
  const Wide count = static_cast<Wide>(n) - left - right + 1;
  const auto breaksWithin = [&](Wide rawLength, auto rawScore) {
    if (first == 0 && rawLength == 0) {
      throw Error("Malformed hyphenation score for " + encodeUtf8(word));
    }
    const Wide end = std::min({first + count, rawLength, static_cast<Wide>(n) + 1});
    const Wide begin = std::max<Wide>(first, 1);
    if (begin >= end) return;
    // Both bounds now lie within 1 .. n + 1.
    for (auto p = static_cast<std::size_t>(begin); p < static_cast<std::size_t>(end); ++p) {
      if (rawScore(p) % 2 != 0) emit(p);
    }
  };

  if (const Scores* stored = findException(hyphenatorExceptions(h), foldedWord)) {
    breaksWithin(static_cast<Wide>(stored->size()), [&](std::size_t p) { return (*stored)[p]; });
    return;
  }
  const PatternNodes* nodes = PatternsAccess::nodes(hyphenatorPatterns(h));
  if (nodes == nullptr) return;  // the empty trie scores every boundary 0
  const PatternIndex& index = nodes->lookupForm().index();
  ScratchBuffer<std::int64_t, 128> boundaries(index.capacityFor(n));
  const std::size_t length = index.score(foldedWord, boundaries.data(), false);
  // Raw entry p is boundary p + 1 of the padded word; the padded list's
  // first and last entries are not part of it.
  breaksWithin(static_cast<Wide>(length) - 2,
               [&](std::size_t p) { return boundaries.data()[p + 1]; });
}

}  // namespace

void findBreaks(const Hyphenator& h, std::u32string_view word, std::vector<std::size_t>& breaks) {
  forEachBreak(h, word, [&](std::size_t p) { breaks.push_back(p); });
}

}  // namespace internal

char32_t CharFold::operator()(char32_t c) const {
  if (table_ != nullptr) return table_->get()(c);
  if (function_ != nullptr) return (*function_)(c);
  return c;
}

std::vector<Word> hyphenate(const Hyphenator& h, std::u32string_view word) {
  std::vector<Word> pieces;
  std::size_t pieceStart = 0;
  internal::forEachBreak(h, word, [&](std::size_t p) {
    pieces.emplace_back(word.substr(pieceStart, p - pieceStart));
    pieceStart = p;
  });
  pieces.emplace_back(word.substr(pieceStart));
  return pieces;
}

}  // namespace liang
