// The short ways a word reaches the patterns give what the long ways give:
// a one-word insertHyphens what the scanner gives, an ASCII word in UTF-8
// what its code points give, and the letters of a script past Latin-1
// (read from the plan's direct table) what an independent model of the
// patterns gives.
#include <gtest/gtest.h>

#include <cstddef>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "core/Utf8.hpp"
#include "languages/Loader.hpp"
#include "liang/liang.hpp"
#include "reference_model.hpp"

namespace liang {
namespace {

std::vector<TextOptions> everyKindOfOptions() {
  std::vector<TextOptions> all(9);
  all[1].capitalized = false;
  all[2].allCaps = false;
  all[3].mixedCase = true;
  all[4].minWordLength = 9;
  all[5].markup = true;
  all[6].hyphen = "-";
  all[7].leftMin = 4;
  all[7].rightMin = 4;
  all[8].hyphen = "";
  return all;
}

// A text that is one word takes a path of its own; a space before it sends
// the same word through the scanner, which must agree.
TEST(ShortCalls, OneWordTextIsHyphenatedAsTheScannerDoes) {
  const std::vector<std::string> words = {"hyphenation",
                                          "Hyphenation",
                                          "HYPHENATION",
                                          "hyPhenation",
                                          "a",
                                          "ab",
                                          "table",
                                          "representation",
                                          "supercalifragilisticexpialidocious",
                                          std::string(64, 'a'),
                                          "electroencephalographically" + std::string(37, 'x'),
                                          std::string(65, 'b'),
                                          "project",
                                          "associate",
                                          "Zm",
                                          "www",
                                          "don't",
                                          "naïve",
                                          "co-op"};
  for (const Language x : {Language::English_US, Language::German_1996, Language::Russian}) {
    const Hyphenator& h = languageHyphenator(x);
    for (const TextOptions& options : everyKindOfOptions()) {
      for (const std::string& word : words) {
        const std::string alone = insertHyphens(h, word, options);
        const std::string scanned = insertHyphens(h, " " + word, options);
        EXPECT_EQ(" " + alone, scanned) << show(x) << " " << word;
      }
    }
  }
}

// withMinima's hyphenators share the letter tables of the one they come
// from, yet break by their own minima.
TEST(ShortCalls, HyphenatorsWithOtherMinimaKeepTheirOwnMinima) {
  const Hyphenator& h = english_US();
  EXPECT_EQ(insertHyphens(h, "hyphenation", "-"), "hy-phen-ation");
  const Hyphenator wide = withMinima(h, 5, 5);
  EXPECT_EQ(insertHyphens(wide, "hyphenation", "-"), "hyphen-ation");
  const Hyphenator narrow = withMinima(h, 1, 1);
  std::string expected;
  for (const std::u32string& piece : hyphenate(narrow, U"hyphenation")) {
    expected += (expected.empty() ? "" : "-") + internal::encodeUtf8(piece);
  }
  EXPECT_EQ(insertHyphens(narrow, "hyphenation", "-"), expected);
  EXPECT_EQ(insertHyphens(h, "hyphenation", "-"), "hy-phen-ation");
}

// An ASCII word in UTF-8 is read from its bytes: every length around the
// limits of the paths, words of the exception dictionary, control bytes.
TEST(Utf8Forms, AsciiWordsBreakAsTheirCodePoints) {
  std::vector<std::string> words = {
      "associate", "project", "present", "table", "hyphen\x7f", std::string("a\0b", 3), "x"};
  const std::string_view long_ = "characteristicallyrepresentationalinternationalization";
  for (std::size_t n = 0; n <= 70; ++n) {
    std::string word;
    while (word.size() < n) word += long_.substr(0, n - word.size());
    words.push_back(word);
  }
  for (const Language x : {Language::English_US, Language::French, Language::Dutch}) {
    const Hyphenator& h = languageHyphenator(x);
    for (const std::string& word : words) {
      const std::u32string chars(word.begin(), word.end());
      const std::vector<std::size_t> expected = hyphenationPoints(h, std::u32string_view(chars));
      EXPECT_EQ(hyphenationPoints(h, std::string_view(word)), expected) << word;
      std::size_t room[2];
      const std::size_t count = hyphenationPoints(h, std::string_view(word), room);
      ASSERT_EQ(count, expected.size()) << word;
      for (std::size_t k = 0; k < count && k < 2; ++k) EXPECT_EQ(room[k], expected[k]) << word;
    }
  }
}

// Words of scripts past Latin-1, in both cases, with letters of other
// blocks among them, against the model of the language's own files.
TEST(Scripts, LettersPastLatin1BreakAsTheModelSays) {
  for (const Language x : {Language::Russian, Language::Greek_Mono, Language::Hindi,
                           Language::Armenian, Language::Ukrainian}) {
    const std::string stem = "hyph-" + std::string(languageAffix(x));
    const std::u32string patterns = internal::embeddedFileText(stem + ".pat.txt.gz");
    const std::u32string exceptionText = internal::embeddedFileText(stem + ".hyp.txt.gz");
    std::set<std::u32string> exceptions;
    for (std::u32string line : reference::lines(exceptionText)) {
      std::erase(line, U'-');
      exceptions.insert(line);
    }
    const auto model = reference::parse(patterns);
    const Hyphenator& h = languageHyphenator(x);
    const CharFold& fold = hyphenatorChars(h);
    const std::vector<std::u32string> lines = reference::lines(patterns);
    std::size_t checked = 0;
    const std::size_t step = lines.size() > 1000 ? 7 : 1;
    for (std::size_t k = 0; k + 2 < lines.size(); k += step) {
      std::u32string word;
      for (std::size_t j = 0; j < 3; ++j) {
        for (const char32_t c : lines[k + j]) {
          if (!reference::isDigit(c) && c != U'.') word.push_back(c);
        }
      }
      if (k % 3 == 0 && !word.empty()) word[0] = U'\u0416';  // a Cyrillic capital among others
      if (k % 5 == 0) word.push_back(U'\u00E9');             // a Latin-1 letter
      std::u32string folded;
      for (const char32_t c : word) folded.push_back(fold(c));
      if (exceptions.contains(folded)) continue;
      const std::vector<std::u32string> expected = reference::cut(
          word, reference::lookup(folded, *model), hyphenatorLeftMin(h), hyphenatorRightMin(h));
      const std::vector<Word> got = hyphenate(h, word);
      ASSERT_EQ(got, expected) << show(x) << " " << internal::encodeUtf8(word);
      ++checked;
    }
    EXPECT_GT(checked, 20u) << show(x);
  }
}

}  // namespace
}  // namespace liang
