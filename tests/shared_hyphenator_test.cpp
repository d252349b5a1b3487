// The 73 shared hyphenators: one instance per language for the whole
// process, and the words they hyphenate end to end.
//
// The first test must be the first reader of kurmanji() in the process, so
// that its threads meet an unbuilt hyphenator: keep it first, and leave
// Kurmanji to the accessor table test alone otherwise. (Under ctest every
// test runs in a process of its own anyway.)
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <latch>
#include <string>
#include <thread>
#include <vector>

#include "liang/Exception.hpp"
#include "liang/Hyphenator.hpp"
#include "liang/Language.hpp"

namespace {

using liang::Language;
using Pieces = std::vector<std::u32string>;

TEST(SharedHyphenators, ThreadsReadingAnUnbuiltOneGetOneInstance) {
  constexpr int kThreads = 16;
  std::latch start(kThreads);
  std::array<const liang::Hyphenator*, kThreads> byName{};
  std::array<const liang::Hyphenator*, kThreads> byLanguage{};
  std::array<Pieces, kThreads> results;
  std::vector<std::thread> threads;
  for (int i = 0; i < kThreads; ++i) {
    threads.emplace_back([&, i] {
      start.arrive_and_wait();
      // Half the threads come in through each door.
      if (i % 2 == 0) {
        byName[i] = &liang::kurmanji();
        byLanguage[i] = &liang::languageHyphenator(Language::Kurmanji);
      } else {
        byLanguage[i] = &liang::languageHyphenator(Language::Kurmanji);
        byName[i] = &liang::kurmanji();
      }
      results[i] = liang::hyphenate(*byName[i], U"zimanê");
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (int i = 0; i < kThreads; ++i) {
    EXPECT_EQ(byName[i], byName[0]);
    EXPECT_EQ(byLanguage[i], byName[0]);
    EXPECT_EQ(results[i], results[0]);
  }
  EXPECT_EQ(results[0], liang::hyphenate(liang::loadHyphenator(Language::Kurmanji), U"zimanê"));
}

TEST(SharedHyphenators, EachAccessorIsItsLanguagesInstance) {
  using Accessor = const liang::Hyphenator& (*)();
  // In the order of the enumeration, so the position is the ordinal.
  const std::vector<Accessor> accessors = {
      liang::afrikaans,
      liang::armenian,
      liang::assamese,
      liang::basque,
      liang::bengali,
      liang::bulgarian,
      liang::catalan,
      liang::chinese,
      liang::coptic,
      liang::croatian,
      liang::czech,
      liang::danish,
      liang::dutch,
      liang::english_US,
      liang::english_GB,
      liang::esperanto,
      liang::estonian,
      liang::ethiopic,
      liang::finnish,
      liang::french,
      liang::friulan,
      liang::galician,
      liang::georgian,
      liang::german_1901,
      liang::german_1996,
      liang::german_Swiss,
      liang::greek_Ancient,
      liang::greek_Mono,
      liang::greek_Poly,
      liang::gujarati,
      liang::hindi,
      liang::hungarian,
      liang::icelandic,
      liang::indonesian,
      liang::interlingua,
      liang::irish,
      liang::italian,
      liang::kannada,
      liang::kurmanji,
      liang::latin,
      liang::latin_Classic,
      liang::latvian,
      liang::lithuanian,
      liang::malayalam,
      liang::marathi,
      liang::mongolian,
      liang::norwegian_Bokmal,
      liang::norwegian_Nynorsk,
      liang::occitan,
      liang::oriya,
      liang::panjabi,
      liang::piedmontese,
      liang::polish,
      liang::portuguese,
      liang::romanian,
      liang::romansh,
      liang::russian,
      liang::sanskrit,
      liang::serbian_Cyrillic,
      liang::serbocroatian_Cyrillic,
      liang::serbocroatian_Latin,
      liang::slovak,
      liang::slovenian,
      liang::spanish,
      liang::swedish,
      liang::tamil,
      liang::telugu,
      liang::thai,
      liang::turkish,
      liang::turkmen,
      liang::ukrainian,
      liang::uppersorbian,
      liang::welsh,
  };
  ASSERT_EQ(accessors.size(), 73u);
  std::vector<const liang::Hyphenator*> seen;
  for (std::size_t ordinal = 0; ordinal < accessors.size(); ++ordinal) {
    const Language x = liang::toEnum(static_cast<std::int64_t>(ordinal));
    const liang::Hyphenator* shared = &liang::languageHyphenator(x);
    EXPECT_EQ(shared, &accessors[ordinal]()) << liang::show(x);
    EXPECT_EQ(shared, &liang::languageHyphenator(x)) << liang::show(x);
    seen.push_back(shared);
  }
  std::sort(seen.begin(), seen.end());
  EXPECT_EQ(std::adjacent_find(seen.begin(), seen.end()), seen.end());
}

TEST(SharedHyphenators, Minima) {
  EXPECT_EQ(liang::hyphenatorLeftMin(liang::sanskrit()), 1);
  EXPECT_EQ(liang::hyphenatorRightMin(liang::sanskrit()), 3);
  EXPECT_EQ(liang::hyphenatorLeftMin(liang::english_GB()), 2);
  EXPECT_EQ(liang::hyphenatorRightMin(liang::english_GB()), 3);
  EXPECT_EQ(liang::hyphenatorLeftMin(liang::german_1996()), 2);
  EXPECT_EQ(liang::hyphenatorRightMin(liang::german_1996()), 2);
}

TEST(SharedHyphenators, PrivateOnesAreSeparateButAgree) {
  const liang::Hyphenator mine = liang::loadHyphenator(Language::English_US);
  EXPECT_NE(&liang::hyphenatorPatterns(mine), &liang::hyphenatorPatterns(liang::english_US()));
  for (const char32_t* word : {U"hyphenation", U"computer", U"associate", U"Hyphenation"}) {
    EXPECT_EQ(liang::hyphenate(mine, word), liang::hyphenate(liang::english_US(), word));
  }
}

TEST(EndToEnd, EnglishUS) {
  const liang::Hyphenator& h = liang::english_US();
  EXPECT_EQ(liang::hyphenate(h, U"hyphenation"), (Pieces{U"hy", U"phen", U"ation"}));
  EXPECT_EQ(liang::hyphenate(h, U"Hyphenation"), (Pieces{U"Hy", U"phen", U"ation"}));
  EXPECT_EQ(liang::hyphenate(h, U"computer"), (Pieces{U"com", U"puter"}));
  // From the exception file, not the patterns.
  EXPECT_EQ(liang::hyphenate(h, U"associate"), (Pieces{U"as", U"so", U"ciate"}));
  EXPECT_EQ(liang::hyphenate(h, U"table"), (Pieces{U"ta", U"ble"}));
  EXPECT_EQ(liang::hyphenate(h, U"project"), (Pieces{U"project"}));
  EXPECT_EQ(liang::hyphenate(h, U"hyphen-ation"), (Pieces{U"hy", U"phen-a", U"tion"}));
  // Fewer than 2 + 3 characters never break.
  EXPECT_EQ(liang::hyphenate(h, U"ab"), (Pieces{U"ab"}));
  EXPECT_EQ(liang::hyphenate(h, U"abcd"), (Pieces{U"abcd"}));
}

TEST(EndToEnd, German1996CapitalsHyphenateLikeLowerCase) {
  const liang::Hyphenator& h = liang::german_1996();
  EXPECT_EQ(liang::hyphenate(h, U"Silbentrennung"), (Pieces{U"Sil", U"ben", U"tren", U"nung"}));
  EXPECT_EQ(liang::hyphenate(h, U"STRASSE"), (Pieces{U"STRAS", U"SE"}));
  EXPECT_EQ(liang::hyphenate(h, U"strasse"), (Pieces{U"stras", U"se"}));
}

TEST(EndToEnd, French) {
  EXPECT_EQ(liang::hyphenate(liang::french(), U"hyphénation"),
            (Pieces{U"hy", U"phé", U"na", U"tion"}));
}

TEST(EndToEnd, UppersorbianCapitalisedExceptionIsNeverReached) {
  // "War-sza-wa" is stored with its capital, but hyphenate looks up the
  // folded word, so only the patterns decide.
  const liang::Hyphenator& h = liang::uppersorbian();
  EXPECT_TRUE(liang::lookupException(U"Warszawa", liang::hyphenatorExceptions(h)).has_value());
  EXPECT_FALSE(liang::lookupException(U"warszawa", liang::hyphenatorExceptions(h)).has_value());
  EXPECT_EQ(liang::hyphenatorChars(h)(U'W'), U'w');
}

}  // namespace
