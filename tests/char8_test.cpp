// C++20 UTF-8 text (char8_t): the overloads give what the char versions give
// on the same bytes, and each kind of string literal finds exactly one.
// Results are compared as char bytes: Debian's GoogleTest is built before
// C++20 and lacks the printer of char8_t strings.
#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "liang/liang.hpp"

namespace liang {
namespace {

using H = const Hyphenator&;

// Overloads resolve by character type, without ambiguity.
static_assert(std::is_same_v<decltype(hyphenate(std::declval<H>(), u8"Stra\u00DFe")),
                             std::vector<std::u8string>>);
static_assert(std::is_same_v<decltype(hyphenate(std::declval<H>(), std::u8string())),
                             std::vector<std::u8string>>);
static_assert(
    std::is_same_v<decltype(hyphenate(std::declval<H>(), "abc")), std::vector<std::string>>);
static_assert(std::is_same_v<decltype(hyphenate(std::declval<H>(), std::string())),
                             std::vector<std::string>>);
static_assert(std::is_same_v<decltype(hyphenate(std::declval<H>(), U"abc")), std::vector<Word>>);
static_assert(std::is_same_v<decltype(hyphenationPoints(std::declval<H>(), u8"abc")),
                             std::vector<std::size_t>>);
static_assert(std::is_same_v<decltype(hyphenationPoints(std::declval<H>(), u8"abc",
                                                        std::span<std::size_t>())),
                             std::size_t>);
static_assert(
    std::is_same_v<decltype(insertHyphens(std::declval<H>(), u8"\u2026")), std::u8string>);
static_assert(
    std::is_same_v<decltype(insertHyphens(std::declval<H>(), u8"abc", u8"-")), std::u8string>);
static_assert(std::is_same_v<decltype(insertHyphens(std::declval<H>(), u8"abc", TextOptions{})),
                             std::u8string>);
static_assert(std::is_same_v<decltype(insertHyphens(std::declval<H>(), "abc")), std::string>);
static_assert(
    std::is_same_v<decltype(insertHyphens(std::declval<H>(), std::string(), "-")), std::string>);

std::string bytesOf(std::u8string_view text) { return std::string(text.begin(), text.end()); }

// Words and texts in several scripts, as char8_t and as char.
const std::array<std::u8string_view, 6> kWords = {
    u8"hyphenation",
    u8"Stra\u00DFe",
    u8"Donaudampfschifffahrt",
    u8"\u00E9l\u00E9gance",
    u8"\u043F\u0435\u0440\u0435\u043D\u043E\u0441\u0438\u043C\u043E\u0441\u0442\u044C",
    u8""};

TEST(Char8Text, WordsGiveTheBreaksOfTheCharVersion) {
  for (const Language x :
       {Language::English_US, Language::German_1996, Language::French, Language::Russian}) {
    const Hyphenator& h = languageHyphenator(x);
    for (const std::u8string_view word : kWords) {
      const std::vector<std::string> expected = hyphenate(h, bytesOf(word));
      const std::vector<std::u8string> pieces = hyphenate(h, word);
      ASSERT_EQ(pieces.size(), expected.size()) << bytesOf(word);
      for (std::size_t i = 0; i < pieces.size(); ++i) EXPECT_EQ(bytesOf(pieces[i]), expected[i]);

      const std::vector<std::size_t> points = hyphenationPoints(h, bytesOf(word));
      EXPECT_EQ(hyphenationPoints(h, word), points);
      std::array<std::size_t, 16> storage{};
      const std::size_t count = hyphenationPoints(h, word, std::span<std::size_t>(storage));
      ASSERT_EQ(count, points.size());
      EXPECT_TRUE(std::equal(points.begin(), points.end(), storage.begin()));
    }
  }
  EXPECT_TRUE(hyphenate(english_US(), u8"hyphenation") ==
              (std::vector<std::u8string>{u8"hy", u8"phen", u8"ation"}));
  EXPECT_TRUE(hyphenate(german_1996(), std::u8string(u8"Schifffahrt")) ==
              (std::vector<std::u8string>{u8"Schiff", u8"fahrt"}));
}

TEST(Char8Text, RunningTextAndStreamGiveTheCharResult) {
  const std::u8string_view text =
      u8"Die Donaudampfschifffahrt, une \u00E9l\u00E9gance anticonstitutionnelle.\n";
  for (const Language x : {Language::German_1996, Language::French}) {
    const Hyphenator& h = languageHyphenator(x);
    EXPECT_EQ(bytesOf(insertHyphens(h, text)), insertHyphens(h, bytesOf(text)));
    EXPECT_EQ(bytesOf(insertHyphens(h, text, u8"\u2010")),
              insertHyphens(h, bytesOf(text), "\u2010"));
    TextOptions options;
    options.hyphen = std::string("=");
    options.minWordLength = 8;
    const std::string expected = insertHyphens(h, bytesOf(text), options);
    EXPECT_EQ(bytesOf(insertHyphens(h, text, options)), expected);

    // Chunks of three bytes split words and multi-byte characters alike.
    TextStream stream(h, options);
    std::u8string out;
    for (std::size_t at = 0; at < text.size(); at += 3) stream.feed(text.substr(at, 3), out);
    stream.finish(out);
    EXPECT_EQ(bytesOf(out), expected);
  }
  EXPECT_EQ(bytesOf(insertHyphens(english_US(), u8"hyphenation, computer", u8"-")),
            "hy-phen-ation, com-puter");
}

}  // namespace
}  // namespace liang
