// The Language enumeration: ordinals, names, stepping, ranges and affixes.
#include <gtest/gtest.h>

#include <algorithm>
#include <compare>
#include <cstdint>
#include <iterator>
#include <limits>
#include <optional>
#include <ostream>
#include <ranges>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "liang/Language.hpp"
#include "liang/Types.hpp"

#include "test_support.hpp"

namespace liang {
// Failures then name the member rather than its ordinal.
void PrintTo(Language x, std::ostream* out) { *out << show(x); }
}  // namespace liang

namespace {

using liang::Language;

// Every member in declaration order, written out here so that the tests
// check the enumeration against an independent list.
const std::vector<std::string> kNames = {
    "Afrikaans",
    "Armenian",
    "Assamese",
    "Basque",
    "Bengali",
    "Bulgarian",
    "Catalan",
    "Chinese",
    "Coptic",
    "Croatian",
    "Czech",
    "Danish",
    "Dutch",
    "English_US",
    "English_GB",
    "Esperanto",
    "Estonian",
    "Ethiopic",
    "Finnish",
    "French",
    "Friulan",
    "Galician",
    "Georgian",
    "German_1901",
    "German_1996",
    "German_Swiss",
    "Greek_Ancient",
    "Greek_Mono",
    "Greek_Poly",
    "Gujarati",
    "Hindi",
    "Hungarian",
    "Icelandic",
    "Indonesian",
    "Interlingua",
    "Irish",
    "Italian",
    "Kannada",
    "Kurmanji",
    "Latin",
    "Latin_Classic",
    "Latvian",
    "Lithuanian",
    "Malayalam",
    "Marathi",
    "Mongolian",
    "Norwegian_Bokmal",
    "Norwegian_Nynorsk",
    "Occitan",
    "Oriya",
    "Panjabi",
    "Piedmontese",
    "Polish",
    "Portuguese",
    "Romanian",
    "Romansh",
    "Russian",
    "Sanskrit",
    "Serbian_Cyrillic",
    "Serbocroatian_Cyrillic",
    "Serbocroatian_Latin",
    "Slovak",
    "Slovenian",
    "Spanish",
    "Swedish",
    "Tamil",
    "Telugu",
    "Thai",
    "Turkish",
    "Turkmen",
    "Ukrainian",
    "Uppersorbian",
    "Welsh",
};

std::vector<Language> allLanguages() {
  std::vector<Language> all;
  for (std::int64_t n = 0; n <= 72; ++n) all.push_back(static_cast<Language>(n));
  return all;
}

using testing_support::errorOf;

TEST(LanguageOrdinals, DeclarationOrder) {
  EXPECT_EQ(liang::fromEnum(Language::Afrikaans), 0);
  EXPECT_EQ(liang::fromEnum(Language::English_US), 13);
  EXPECT_EQ(liang::fromEnum(Language::English_GB), 14);
  EXPECT_EQ(liang::fromEnum(Language::Welsh), 72);
  ASSERT_EQ(kNames.size(), 73u);
  for (std::int64_t n = 0; n <= 72; ++n) {
    EXPECT_EQ(liang::show(liang::toEnum(n)), kNames[static_cast<std::size_t>(n)]) << n;
  }
}

TEST(LanguageOrdinals, ToEnumInvertsFromEnum) {
  for (Language x : allLanguages()) EXPECT_EQ(liang::toEnum(liang::fromEnum(x)), x);
}

TEST(LanguageOrdinals, ToEnumOutsideTheRangeFails) {
  EXPECT_THROW(liang::toEnum(-1), liang::Error);
  EXPECT_EQ(errorOf([] { liang::toEnum(73); }),
            "toEnum{Language}: tag (73) is outside of enumeration's range (0,72)");
  EXPECT_EQ(errorOf([] { liang::toEnum(-1); }),
            "toEnum{Language}: tag (-1) is outside of enumeration's range (0,72)");
  EXPECT_EQ(errorOf([] { liang::toEnum(std::numeric_limits<std::int64_t>::min()); }),
            "toEnum{Language}: tag (-9223372036854775808) is outside of enumeration's range "
            "(0,72)");
  EXPECT_EQ(errorOf([] { liang::toEnum(std::numeric_limits<std::int64_t>::max()); }),
            "toEnum{Language}: tag (9223372036854775807) is outside of enumeration's range "
            "(0,72)");
}

TEST(LanguageOrdinals, LowestAndHighestAreConstants) {
  static_assert(liang::lowestLanguage() == Language::Afrikaans);
  static_assert(liang::highestLanguage() == Language::Welsh);
  static_assert(liang::fromEnum(Language::Welsh) == 72);
}

TEST(LanguageStepping, SuccAndPredFollowOrdinals) {
  EXPECT_EQ(liang::succ(Language::English_US), Language::English_GB);
  EXPECT_EQ(liang::pred(Language::English_GB), Language::English_US);
  EXPECT_EQ(liang::succ(Language::Afrikaans), Language::Armenian);
  EXPECT_EQ(liang::pred(Language::Welsh), Language::Uppersorbian);
  for (Language x : allLanguages()) {
    if (x != Language::Welsh) {
      EXPECT_EQ(liang::pred(liang::succ(x)), x);
    }
  }
}

TEST(LanguageStepping, StepsPastTheEndsFail) {
  EXPECT_EQ(errorOf([] { liang::succ(Language::Welsh); }),
            "succ{Language}: tried to take `succ' of last tag in enumeration");
  EXPECT_EQ(errorOf([] { liang::pred(Language::Afrikaans); }),
            "pred{Language}: tried to take `pred' of first tag in enumeration");
}

TEST(LanguageComparison, OrdinalsNotNamesDecide) {
  EXPECT_EQ(liang::compare(Language::English_US, Language::English_GB), std::strong_ordering::less);
  EXPECT_EQ(liang::compare(Language::English_GB, Language::English_US),
            std::strong_ordering::greater);
  EXPECT_EQ(liang::compare(Language::Thai, Language::Thai), std::strong_ordering::equal);
  EXPECT_LT(Language::English_US, Language::English_GB);
  EXPECT_GT(liang::show(Language::English_US), liang::show(Language::English_GB));
  EXPECT_EQ(std::max(Language::English_US, Language::English_GB), Language::English_GB);
  EXPECT_EQ(std::min(Language::English_US, Language::English_GB), Language::English_US);
  for (Language x : allLanguages()) {
    for (Language y : allLanguages()) {
      EXPECT_EQ(liang::compare(x, y), liang::fromEnum(x) <=> liang::fromEnum(y));
    }
  }
}

TEST(LanguageShow, NamesAreIdentifiers) {
  EXPECT_EQ(liang::show(Language::Norwegian_Bokmal), "Norwegian_Bokmal");
  EXPECT_EQ(liang::showsPrec(11, Language::Norwegian_Bokmal, ""), "Norwegian_Bokmal");
  EXPECT_EQ(liang::showsPrec(0, Language::Welsh, " rest"), "Welsh rest");
}

TEST(LanguageShow, ShowList) {
  EXPECT_EQ(liang::showList({Language::English_US, Language::German_1901}, ""),
            "[English_US,German_1901]");
  EXPECT_EQ(liang::showList({}, ""), "[]");
  EXPECT_EQ(liang::showList({}, "x"), "[]x");
  EXPECT_EQ(liang::showList({Language::Thai}, ", next"), "[Thai], next");
}

// The progression that the ranges must produce, computed step by step;
// nullopt for an endless one.
std::optional<std::vector<Language>> expectedProgression(std::int64_t a, std::int64_t b,
                                                         std::int64_t c) {
  const std::int64_t step = b - a;
  if (step == 0) {
    if (c >= a) return std::nullopt;
    return std::vector<Language>{};
  }
  std::vector<Language> terms;
  for (std::int64_t t = a; step > 0 ? t <= c : t >= c; t += step) {
    terms.push_back(static_cast<Language>(t));
  }
  return terms;
}

std::vector<Language> collect(const liang::LanguageRange& range) {
  return std::vector<Language>(range.begin(), range.end());
}

std::vector<std::int64_t> ordinals(const liang::LanguageRange& range) {
  std::vector<std::int64_t> result;
  for (Language x : range) result.push_back(liang::fromEnum(x));
  return result;
}

TEST(LanguageRanges, AreLazyStandardRanges) {
  using Range = liang::LanguageRange;
  static_assert(std::ranges::input_range<Range>);
  static_assert(std::ranges::forward_range<Range>);
  static_assert(std::ranges::common_range<Range>);
  static_assert(std::ranges::view<Range>);
  static_assert(std::ranges::borrowed_range<Range>);
  static_assert(std::is_same_v<std::ranges::range_value_t<Range>, Language>);
  static_assert(std::input_iterator<Range::iterator>);

  const auto found = std::ranges::find(liang::enumFrom(Language::Afrikaans), Language::Thai);
  EXPECT_EQ(*found, Language::Thai);
  EXPECT_EQ(std::ranges::distance(liang::enumFrom(Language::Afrikaans)), 73);
  const auto counted =
      std::ranges::count_if(liang::enumFromThen(Language::Afrikaans, Language::Assamese),
                            [](Language x) { return x >= Language::Welsh; });
  EXPECT_EQ(counted, 1);
}

TEST(LanguageRanges, EnumFrom) {
  const std::vector<Language> all = collect(liang::enumFrom(Language::Afrikaans));
  EXPECT_EQ(all, allLanguages());
  EXPECT_EQ(collect(liang::enumFrom(Language::Welsh)), std::vector<Language>{Language::Welsh});
  EXPECT_EQ(ordinals(liang::enumFrom(Language::Uppersorbian)), (std::vector<std::int64_t>{71, 72}));
  EXPECT_FALSE(liang::enumFrom(Language::Welsh).empty());
}

TEST(LanguageRanges, EnumFromTo) {
  EXPECT_TRUE(liang::enumFromTo(Language::Welsh, Language::Afrikaans).empty());
  EXPECT_TRUE(collect(liang::enumFromTo(Language::English_GB, Language::English_US)).empty());
  EXPECT_EQ(collect(liang::enumFromTo(Language::Thai, Language::Thai)),
            std::vector<Language>{Language::Thai});
  EXPECT_EQ(collect(liang::enumFromTo(Language::Welsh, Language::Welsh)),
            std::vector<Language>{Language::Welsh});
  EXPECT_EQ(collect(liang::enumFromTo(Language::Dutch, Language::Esperanto)),
            (std::vector<Language>{Language::Dutch, Language::English_US, Language::English_GB,
                                   Language::Esperanto}));
}

TEST(LanguageRanges, EnumFromThen) {
  std::vector<std::int64_t> evens;
  for (std::int64_t n = 0; n <= 72; n += 2) evens.push_back(n);
  EXPECT_EQ(ordinals(liang::enumFromThen(Language::Afrikaans, Language::Assamese)), evens);
  EXPECT_EQ(evens.size(), 37u);

  std::vector<Language> downwards = allLanguages();
  std::reverse(downwards.begin(), downwards.end());
  EXPECT_EQ(collect(liang::enumFromThen(Language::Welsh, Language::Uppersorbian)), downwards);
  EXPECT_EQ(collect(liang::enumFromThen(Language::Armenian, Language::Afrikaans)),
            (std::vector<Language>{Language::Armenian, Language::Afrikaans}));
  // The second member is always in bounds; the third would not be.
  EXPECT_EQ(collect(liang::enumFromThen(Language::Tamil, Language::Afrikaans)),
            (std::vector<Language>{Language::Tamil, Language::Afrikaans}));
  EXPECT_EQ(collect(liang::enumFromThen(Language::Armenian, Language::Welsh)),
            (std::vector<Language>{Language::Armenian, Language::Welsh}));
}

TEST(LanguageRanges, EnumFromThenTo) {
  EXPECT_EQ(
      collect(liang::enumFromThenTo(Language::Afrikaans, Language::Assamese, Language::Basque)),
      (std::vector<Language>{Language::Afrikaans, Language::Assamese}));
  EXPECT_EQ(
      collect(liang::enumFromThenTo(Language::Afrikaans, Language::Basque, Language::Armenian)),
      std::vector<Language>{Language::Afrikaans});
  EXPECT_EQ(
      collect(liang::enumFromThenTo(Language::Basque, Language::Afrikaans, Language::Assamese)),
      std::vector<Language>{Language::Basque});
  EXPECT_TRUE(collect(liang::enumFromThenTo(Language::Basque, Language::Afrikaans, Language::Welsh))
                  .empty());
  EXPECT_TRUE(
      collect(liang::enumFromThenTo(Language::Thai, Language::Thai, Language::Tamil)).empty());
}

TEST(LanguageRanges, ZeroStepIsEndlessAndReadableInPart) {
  const auto five = [](const liang::LanguageRange& range) {
    std::vector<Language> taken;
#if defined(__clang__) && __clang_major__ < 15 && defined(__GLIBCXX__)
    // Clang 14 cannot compile libstdc++'s range adaptors at all (not even
    // over std::views::iota); the algorithms work.
    std::ranges::copy_n(range.begin(), 5, std::back_inserter(taken));
#else
    for (Language x : range | std::views::take(5)) taken.push_back(x);
#endif
    return taken;
  };
  const std::vector<Language> fiveThai(5, Language::Thai);
  EXPECT_TRUE(liang::enumFromThen(Language::Thai, Language::Thai).endless());
  EXPECT_EQ(five(liang::enumFromThen(Language::Thai, Language::Thai)), fiveThai);
  EXPECT_EQ(five(liang::enumFromThenTo(Language::Thai, Language::Thai, Language::Thai)), fiveThai);
  EXPECT_EQ(five(liang::enumFromThenTo(Language::Thai, Language::Thai, Language::Welsh)), fiveThai);
  EXPECT_EQ(five(liang::enumFromThen(Language::Welsh, Language::Welsh)),
            std::vector<Language>(5, Language::Welsh));
  EXPECT_EQ(five(liang::enumFromThen(Language::Afrikaans, Language::Afrikaans)),
            std::vector<Language>(5, Language::Afrikaans));

  // Reading far into an endless range stays on the member.
  auto it = liang::enumFromThen(Language::Hindi, Language::Hindi).begin();
  std::ranges::advance(it, 1000000);
  EXPECT_EQ(*it, Language::Hindi);
  EXPECT_NE(it, liang::enumFromThen(Language::Hindi, Language::Hindi).end());
}

// Every (x, y, z) against the step-by-step progression: the count of terms
// is computed, not walked, so off-by-one errors at the bounds show here.
TEST(LanguageRanges, AgreeWithTheProgressionForEveryTriple) {
  for (std::int64_t a = 0; a <= 72; ++a) {
    for (std::int64_t b = 0; b <= 72; ++b) {
      const Language x = static_cast<Language>(a);
      const Language y = static_cast<Language>(b);
      const auto fromThen = expectedProgression(a, b, a <= b ? 72 : 0);
      const liang::LanguageRange actualFromThen = liang::enumFromThen(x, y);
      ASSERT_EQ(actualFromThen.endless(), !fromThen.has_value()) << a << " " << b;
      if (fromThen) {
        ASSERT_EQ(collect(actualFromThen), *fromThen) << a << " " << b;
      }
      ASSERT_EQ(collect(liang::enumFromTo(x, y)), *expectedProgression(a, a + 1, b));
      for (std::int64_t c = 0; c <= 72; ++c) {
        const auto expected = expectedProgression(a, b, c);
        const liang::LanguageRange actual = liang::enumFromThenTo(x, y, static_cast<Language>(c));
        ASSERT_EQ(actual.endless(), !expected.has_value()) << a << " " << b << " " << c;
        if (expected) {
          ASSERT_EQ(collect(actual), *expected) << a << " " << b << " " << c;
        } else {
          const std::vector<Language> taken(actual.begin(), std::next(actual.begin(), 3));
          ASSERT_EQ(taken, std::vector<Language>(3, x));
        }
      }
    }
  }
}

TEST(LanguageAffixes, Examples) {
  EXPECT_EQ(liang::languageAffix(Language::English_US), "en-us");
  EXPECT_EQ(liang::languageAffix(Language::English_GB), "en-gb");
  EXPECT_EQ(liang::languageAffix(Language::Afrikaans), "af");
  EXPECT_EQ(liang::languageAffix(Language::Welsh), "cy");
  EXPECT_EQ(liang::languageAffix(Language::Latin), "la");
  EXPECT_EQ(liang::languageAffix(Language::Latin_Classic), "la-x-classic");
  EXPECT_EQ(liang::languageAffix(Language::German_1901), "de-1901");
  EXPECT_EQ(liang::languageAffix(Language::German_1996), "de-1996");
  EXPECT_EQ(liang::languageAffix(Language::German_Swiss), "de-ch-1901");
}

TEST(LanguageAffixes, CodesThatDoNotFollowTheName) {
  EXPECT_EQ(liang::languageAffix(Language::Croatian), "hr");
  EXPECT_EQ(liang::languageAffix(Language::Basque), "eu");
  EXPECT_EQ(liang::languageAffix(Language::Georgian), "ka");
  EXPECT_EQ(liang::languageAffix(Language::Irish), "ga");
  EXPECT_EQ(liang::languageAffix(Language::Spanish), "es");
  EXPECT_EQ(liang::languageAffix(Language::Swedish), "sv");
  EXPECT_EQ(liang::languageAffix(Language::Kurmanji), "kmr");
  EXPECT_EQ(liang::languageAffix(Language::Uppersorbian), "hsb");
  EXPECT_EQ(liang::languageAffix(Language::Ethiopic), "mul-ethi");
  EXPECT_EQ(liang::languageAffix(Language::Chinese), "zh-latn-pinyin");
  EXPECT_EQ(liang::languageAffix(Language::Mongolian), "mn-cyrl");
  EXPECT_EQ(liang::languageAffix(Language::Greek_Ancient), "grc");
}

TEST(LanguageAffixes, AllDistinctWellFormedAndShared) {
  std::set<std::string_view> seen;
  std::size_t twoLetter = 0;
  for (Language x : allLanguages()) {
    const std::string_view affix = liang::languageAffix(x);
    EXPECT_TRUE(seen.insert(affix).second) << affix;
    EXPECT_GE(affix.size(), 2u);
    EXPECT_LE(affix.size(), 14u);
    EXPECT_TRUE(std::all_of(affix.begin(), affix.end(), [](char c) {
      return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
    })) << affix;
    if (affix.size() == 2) ++twoLetter;
    // One stored constant, not a text made per call.
    EXPECT_EQ(liang::languageAffix(x).data(), affix.data());
  }
  EXPECT_EQ(seen.size(), 73u);
  EXPECT_EQ(twoLetter, 53u);
}

}  // namespace
