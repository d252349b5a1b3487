// Pattern text -> trie -> lookupPattern and hyphenate, against the literal
// model of tests/reference_model.hpp.
//
// Input: a fold byte, the left and right minimum (see Input::minimum), then
// the pattern text, a NUL, and words to look up, one per line. Every line's
// letters are looked up as well, with and without edge marks, so that most
// lookups meet patterns.
//
// Invariants: parsing is deterministic; inserting the lines bottom to top
// gives the parsed trie, and so does assembling it node by node; every
// lookup agrees with the model on every trie; hyphenate gives the model's
// pieces for any pair of minima, its pieces concatenate to the word and
// respect non-negative minima; hyphenationPoints and the UTF-8 hyphenate
// agree with it; so does a hyphenator whose fold is a character table (the
// form of loaded hyphenators, which numbers its folded letters once), on its
// first call for a word and after it.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "FuzzSupport.hpp"
#include "core/CodePointMap.hpp"
#include "core/Utf8.hpp"
#include "reference_model.hpp"

namespace {

using liang::Patterns;
using liang::Scores;
using liang::Word;

constexpr std::size_t kMaxTextBytes = 4096;
constexpr std::size_t kMaxWordLength = 64;
constexpr std::size_t kMaxWords = 96;

bool allScalar(std::u32string_view word) {
  for (char32_t c : word) {
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxTextBytes + 1024) return 0;
  fuzz::Input input(data, size);
  const fuzz::FoldFunction fold = fuzz::chooseFold(input.byte());
  const std::int64_t leftMin = input.minimum();
  const std::int64_t rightMin = input.minimum();
  const std::u32string text = fuzz::codePoints(input.field());
  const std::vector<std::u32string> extraWords = reference::lines(fuzz::codePoints(input.rest()));

  const Patterns trie = liang::parsePatterns(text);
  const Patterns again = liang::parsePatterns(text);
  FUZZ_CHECK(trie == again);
  FUZZ_CHECK(liang::show(trie) == liang::show(again));

  const std::vector<std::u32string> lines = reference::lines(text);
  Patterns inserted = liang::emptyPatterns();
  for (auto it = lines.rbegin(); it != lines.rend(); ++it) {
    inserted = liang::insertPattern(*it, inserted);
  }
  FUZZ_CHECK(inserted == trie);

  const auto model = reference::parse(text);
  const Patterns assembled = reference::assemble(*model);
  FUZZ_CHECK(assembled == trie);
  FUZZ_CHECK(liang::show(assembled) == liang::show(trie));

  std::vector<std::u32string> words = extraWords;
  for (const auto& line : lines) {
    std::u32string letters = reference::lettersOf(line);
    words.push_back(letters);
    while (!letters.empty() && letters.front() == U'.') letters.erase(0, 1);
    while (!letters.empty() && letters.back() == U'.') letters.pop_back();
    words.push_back(letters);
  }
  if (words.size() > kMaxWords) words.resize(kMaxWords);

  const liang::Hyphenator h(fold, trie, liang::emptyExceptions(), leftMin, rightMin);
  // The same fold as a table, over every character the words hold.
  liang::internal::CodePointMap table(liang::internal::CodePointMap::Unset::kItself);
  for (std::u32string& word : words) {
    if (word.size() > kMaxWordLength) word.resize(kMaxWordLength);
    for (const char32_t c : word) table.set(c, fold(c));
  }
  const liang::Hyphenator byTable(
      liang::CharFold(
          std::make_shared<const liang::Deferred<liang::internal::CodePointMap>>(std::move(table))),
      trie, liang::emptyExceptions(), leftMin, rightMin);
  for (const std::u32string& word : words) {
    const Scores scores = liang::lookupPattern(word, trie);
    FUZZ_CHECK(scores == reference::lookup(word, *model));
    FUZZ_CHECK(scores.size() >= word.size());
    FUZZ_CHECK(liang::lookupPattern(word, inserted) == scores);
    FUZZ_CHECK(liang::lookupPattern(word, assembled) == scores);

    const Scores raw = reference::lookup(fuzz::foldWord(word, fold), *model);
    const std::vector<Word> expected = reference::cut(word, raw, leftMin, rightMin);
    const bool wellFormed = !expected.empty();  // else hyphenate must fail
    std::vector<Word> pieces;
    try {
      pieces = liang::hyphenate(h, word);
    } catch (const liang::Error&) {
      FUZZ_CHECK(!wellFormed);
      continue;
    }
    FUZZ_CHECK(wellFormed);
    FUZZ_CHECK(pieces == expected);
    fuzz::checkPieces(word, pieces, leftMin, rightMin);
    FUZZ_CHECK(liang::hyphenationPoints(h, word) == fuzz::pieceStarts(pieces));
    FUZZ_CHECK(liang::hyphenate(byTable, word) == pieces);
    FUZZ_CHECK(liang::hyphenationPoints(byTable, word) == fuzz::pieceStarts(pieces));

    if (allScalar(word)) {
      const std::vector<std::string> utf8Pieces =
          liang::hyphenate(h, liang::internal::encodeUtf8(word));
      FUZZ_CHECK(utf8Pieces.size() == pieces.size());
      for (std::size_t k = 0; k < pieces.size(); ++k) {
        FUZZ_CHECK(utf8Pieces[k] == liang::internal::encodeUtf8(pieces[k]));
      }
    }
  }
  return 0;
}
