// Exception text -> dictionary -> lookups and hyphenate, against a map
// built by the entry rules as written.
//
// Input: a fold byte, the left and right minimum, then the exception text,
// a NUL, a pattern text for the trie beneath the dictionary, a NUL, and
// further words to look up, one per line.
//
// Invariants: parsing is deterministic and equals adding the lines one by
// one in the opposite order; every entry scores as the walk over its text
// says; every word of the model is found with the zipMin of all its
// entries, every other word (a word with "-" among them) is not; hyphenate
// takes an entry's scores over the trie's and cuts as the model does.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "FuzzSupport.hpp"
#include "reference_model.hpp"

namespace {

using liang::Exceptions;
using liang::Scores;
using liang::Word;

constexpr std::size_t kMaxInputBytes = 6144;
constexpr std::size_t kMaxWordLength = 64;
constexpr std::size_t kMaxWords = 128;

Scores modelZipMin(const Scores& a, const Scores& b) {
  Scores result;
  for (std::size_t k = 0; k < std::min(a.size(), b.size()); ++k) {
    result.push_back(std::min(a[k], b[k]));
  }
  return result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxInputBytes) return 0;
  fuzz::Input input(data, size);
  const fuzz::FoldFunction fold = fuzz::chooseFold(input.byte());
  const std::int64_t leftMin = input.minimum();
  const std::int64_t rightMin = input.minimum();
  const std::u32string text = fuzz::codePoints(input.field());
  const std::u32string patternText = fuzz::codePoints(input.field());
  const std::vector<std::u32string> extraWords = reference::lines(fuzz::codePoints(input.rest()));

  const std::vector<std::u32string> lines = reference::lines(text);
  std::map<std::u32string, Scores> model;
  for (const auto& line : lines) {
    const Scores scores = reference::scoreEntry(line);
    FUZZ_CHECK(liang::scoreException(line) == scores);
    FUZZ_CHECK(!scores.empty());
    auto [it, fresh] = model.emplace(fuzz::withoutBreakMarks(line), scores);
    if (!fresh) {
      FUZZ_CHECK(liang::zipMin(it->second, scores) == modelZipMin(it->second, scores));
      FUZZ_CHECK(liang::zipMin(scores, it->second) == modelZipMin(it->second, scores));
      it->second = modelZipMin(it->second, scores);
    }
  }

  const Exceptions d = liang::parseExceptions(text);
  const Exceptions again = liang::parseExceptions(text);
  FUZZ_CHECK(d == again);
  const std::string shown = liang::show(d);
  FUZZ_CHECK(shown == liang::show(again));
  FUZZ_CHECK(shown.rfind("Exceptions ", 0) == 0);
  FUZZ_CHECK(liang::show(d, 11) == "(" + shown + ")");
  FUZZ_CHECK((d == liang::emptyExceptions()) == model.empty());

  Exceptions added = liang::emptyExceptions();
  for (const auto& line : lines) added = liang::addException(line, added);  // top to bottom
  FUZZ_CHECK(added == d);

  for (const auto& [key, scores] : model) {
    const std::optional<Scores> found = liang::lookupException(key, d);
    FUZZ_CHECK(found.has_value() && *found == scores);
  }
  for (const auto& line : lines) {
    if (line.find(U'-') != std::u32string::npos) {
      FUZZ_CHECK(!liang::lookupException(line, d).has_value());
    }
  }

  std::vector<std::u32string> words = extraWords;
  for (const auto& [key, scores] : model) words.push_back(key);
  words.insert(words.end(), lines.begin(), lines.end());
  if (words.size() > kMaxWords) words.resize(kMaxWords);

  const liang::Patterns trie = liang::parsePatterns(patternText);
  const auto trieModel = reference::parse(patternText);
  const liang::Hyphenator h(fold, trie, d, leftMin, rightMin);
  for (std::u32string& word : words) {
    if (word.size() > kMaxWordLength) word.resize(kMaxWordLength);
    const auto entry = model.find(word);
    const std::optional<Scores> found = liang::lookupException(word, d);
    FUZZ_CHECK(found.has_value() == (entry != model.end()));
    if (found) FUZZ_CHECK(*found == entry->second);

    const std::u32string folded = fuzz::foldWord(word, fold);
    const auto foldedEntry = model.find(folded);
    const Scores raw =
        foldedEntry != model.end() ? foldedEntry->second : reference::lookup(folded, *trieModel);
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
  }
  return 0;
}
