// Folding of the shipped languages: every character file read by its rule,
// and words in capitals hyphenated like the same words in lower case.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "core/CodePointMap.hpp"
#include "languages/Loader.hpp"
#include "liang/Hyphenator.hpp"
#include "liang/Language.hpp"
#include "reference_model.hpp"

namespace {

using liang::Language;

std::u32string charFileOf(Language x) {
  return liang::internal::embeddedFileText("hyph-" + std::string(liang::languageAffix(x)) +
                                           ".chr.txt.gz");
}

// Each line is a letter and its capital form; only a form of one code point
// can be folded character by character.
TEST(ShippedFolding, EveryLanguageFoldsExactlyTheCapitalFormsOfOneCodePoint) {
  std::size_t formsOfSeveral = 0;
  for (const Language x : liang::enumFrom(liang::lowestLanguage())) {
    std::map<char32_t, char32_t> expected;
    for (const std::u32string& line : reference::lines(charFileOf(x))) {
      if (line.size() == 2) expected[line[1]] = line[0];
      if (line.size() > 2) ++formsOfSeveral;
    }
    const std::u32string text = charFileOf(x);
    const liang::internal::CodePointMap table = liang::internal::parseCharMap(text);
    const liang::CharFold& fold = liang::hyphenatorChars(liang::languageHyphenator(x));
    for (const auto& [from, to] : expected) {
      EXPECT_EQ(fold(from), to) << liang::show(x) << " U+" << std::hex << std::uint32_t{from};
    }
    // Every other code point of the file, and its neighbours, folds to itself.
    for (const char32_t c : text) {
      for (const char32_t probe : {char32_t(c - 1), c, char32_t(c + 1)}) {
        const auto entry = expected.find(probe);
        EXPECT_EQ(table(probe), entry == expected.end() ? probe : entry->second)
            << liang::show(x) << " U+" << std::hex << std::uint32_t{probe};
      }
    }
  }
  EXPECT_EQ(formsOfSeveral, 115u);
}

// The capital form of each letter whose form is one code point that folds
// back to the letter (final sigma's capital folds to sigma, so it has none).
std::map<char32_t, char32_t> capitalsOf(Language x, const liang::CharFold& fold) {
  std::map<char32_t, char32_t> capitals;
  for (const std::u32string& line : reference::lines(charFileOf(x))) {
    if (line.size() == 2 && fold(line[1]) == line[0]) capitals[line[0]] = line[1];
  }
  return capitals;
}

// Words of the language: the letter runs of its patterns, which are real
// stems, prefixes and suffixes, each joined to the runs after it until it has
// at least eight letters, so that several patterns and breaks meet in it.
std::set<std::u32string> sampleWordsOf(Language x) {
  std::vector<std::u32string> runs;
  const std::u32string patterns = liang::internal::embeddedFileText(
      "hyph-" + std::string(liang::languageAffix(x)) + ".pat.txt.gz");
  for (const std::u32string& line : reference::lines(patterns)) {
    std::u32string letters;
    for (const char32_t c : line) {
      if ((c < U'0' || c > U'9') && c != U'.') letters.push_back(c);
    }
    runs.push_back(letters);
  }
  std::set<std::u32string> words;
  for (std::size_t first = 0; first < runs.size(); ++first) {
    std::u32string word;
    for (std::size_t next = first; next < runs.size() && word.size() < 8; ++next) {
      word += runs[next];
    }
    words.insert(word);
  }
  return words;
}

std::vector<std::size_t> breaksOf(const liang::Hyphenator& h, std::u32string_view word) {
  std::vector<std::size_t> breaks;
  std::size_t at = 0;
  for (const liang::Word& piece : liang::hyphenate(h, word)) breaks.push_back(at += piece.size());
  return breaks;
}

TEST(ShippedFolding, CapitalisedAndAllCapsWordsBreakLikeLowerCase) {
  for (const Language x :
       {Language::German_1901, Language::German_1996, Language::German_Swiss, Language::Greek_Mono,
        Language::Greek_Poly, Language::Greek_Ancient, Language::Armenian, Language::Sanskrit}) {
    const liang::Hyphenator& h = liang::languageHyphenator(x);
    const std::map<char32_t, char32_t> capitals = capitalsOf(x, liang::hyphenatorChars(h));
    std::size_t compared = 0;
    for (const std::u32string& word : sampleWordsOf(x)) {
      std::u32string allCaps;
      for (const char32_t c : word) {
        const auto capital = capitals.find(c);
        if (capital == capitals.end()) break;
        allCaps.push_back(capital->second);
      }
      if (allCaps.size() != word.size()) continue;
      std::u32string capitalised = word;  // not substr + substr: GCC 12 warns falsely on it
      if (!capitalised.empty()) capitalised.front() = allCaps.front();
      const std::vector<std::size_t> lower = breaksOf(h, word);
      ASSERT_EQ(breaksOf(h, capitalised), lower) << liang::show(x) << " word " << compared;
      ASSERT_EQ(breaksOf(h, allCaps), lower) << liang::show(x) << " word " << compared;
      ++compared;
    }
    EXPECT_GT(compared, 100u) << liang::show(x);
  }
}

TEST(ShippedFolding, RealWordsInCapitals) {
  using Pieces = std::vector<liang::Word>;
  const liang::Hyphenator& german = liang::german_1996();
  EXPECT_EQ(liang::hyphenate(german, U"BESCHREIBUNG"), (Pieces{U"BE", U"SCHREI", U"BUNG"}));
  EXPECT_EQ(liang::hyphenate(german, U"HALTESTELLE"), (Pieces{U"HAL", U"TE", U"STEL", U"LE"}));
  EXPECT_EQ(liang::hyphenate(german, U"GRÖSSE"), (Pieces{U"GRÖS", U"SE"}));
  EXPECT_EQ(liang::hyphenate(german, U"Sabotage"), (Pieces{U"Sa", U"bo", U"ta", U"ge"}));
  const liang::Hyphenator& greek = liang::greek_Mono();
  EXPECT_EQ(liang::hyphenate(greek, U"ευαγγελιον"), (Pieces{U"ευαγ", U"γε", U"λιον"}));
  EXPECT_EQ(liang::hyphenate(greek, U"ΕΥΑΓΓΕΛΙΟΝ"), (Pieces{U"ΕΥΑΓ", U"ΓΕ", U"ΛΙΟΝ"}));
}

}  // namespace
