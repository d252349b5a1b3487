#include <gtest/gtest.h>
#include <liang/liang.hpp>

#include <optional>
#include <string>
#include <vector>

namespace {

using liang::addException;
using liang::emptyExceptions;
using liang::Exceptions;
using liang::lookupException;
using liang::parseExceptions;
using liang::scoreException;
using liang::Scores;
using liang::show;
using liang::zipMin;

TEST(ScoreException, MarksTheBoundaryAfterEachHyphen) {
  EXPECT_EQ(scoreException(U"as-so-ciate"), (Scores{0, 0, 1, 0, 1, 0, 0, 0, 0, 0}));
  EXPECT_EQ(scoreException(U"hard-ware"), (Scores{0, 0, 0, 0, 1, 0, 0, 0, 0}));
  EXPECT_EQ(scoreException(U"sandaal"), (Scores{0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(scoreException(U"-ab"), (Scores{1, 0, 0}));
  EXPECT_EQ(scoreException(U"ab-"), (Scores{0, 0, 1}));
  // The second "-" is consumed as the letter after the first.
  EXPECT_EQ(scoreException(U"a--b"), (Scores{0, 1, 0, 0}));
  EXPECT_EQ(scoreException(U""), (Scores{0}));
  EXPECT_EQ(scoreException(U"-"), (Scores{1}));
}

TEST(LookupException, FindsExactlyTheWordWithoutItsMarks) {
  const Exceptions d = parseExceptions(U"as-so-ciate\n");
  EXPECT_EQ(lookupException(U"associate", d), (Scores{0, 0, 1, 0, 1, 0, 0, 0, 0, 0}));
  EXPECT_EQ(lookupException(U"as-so-ciate", d), std::nullopt);
  EXPECT_EQ(lookupException(U"Associate", d), std::nullopt);
  EXPECT_EQ(lookupException(U"", d), std::nullopt);
  EXPECT_EQ(lookupException(U"associate", emptyExceptions()), std::nullopt);
}

TEST(ParseExceptions, EveryLineIsAnEntryTakenWhole) {
  EXPECT_EQ(parseExceptions(U""), emptyExceptions());
  const Exceptions blank = parseExceptions(U"\n");
  EXPECT_NE(blank, emptyExceptions());
  EXPECT_EQ(lookupException(U"", blank), (Scores{0}));
  EXPECT_EQ(parseExceptions(U"ta-ble\nas-so-ciate"), parseExceptions(U"ta-ble\nas-so-ciate\n"));
  const Exceptions three = parseExceptions(U"a\n\nb\n");
  EXPECT_EQ(lookupException(U"a", three), (Scores{0, 0}));
  EXPECT_EQ(lookupException(U"", three), (Scores{0}));
  EXPECT_EQ(lookupException(U"b", three), (Scores{0, 0}));
  // A carriage return is a letter of the word.
  EXPECT_EQ(lookupException(U"table\r", parseExceptions(U"ta-ble\r\n")),
            (Scores{0, 0, 1, 0, 0, 0, 0}));
  // Spaces and other dashes are letters; only U+002D marks a break.
  EXPECT_EQ(lookupException(U"a b\u2010c\u00ADd", parseExceptions(U"a b\u2010c\u00ADd")),
            (Scores{0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(ParseExceptions, RepeatedWordsKeepOnlyTheBreaksAllAgreeOn) {
  EXPECT_EQ(lookupException(U"", parseExceptions(U"-\n\n")), (Scores{0}));
  EXPECT_EQ(lookupException(U"ab", parseExceptions(U"a-b\na--b\n")), (Scores{0, 1, 0}));
  const Scores six(6, 0);
  EXPECT_EQ(lookupException(U"table", parseExceptions(U"ta-ble\ntab-le\n")), six);
  EXPECT_EQ(lookupException(U"table", parseExceptions(U"tab-le\nta-ble\n")), six);
  EXPECT_EQ(parseExceptions(U"ta-ble\ntab-le\n"), parseExceptions(U"tab-le\nta-ble\n"));
}

TEST(AddException, LeavesItsInputUnchanged) {
  const Exceptions before = parseExceptions(U"ta-ble\n");
  const Exceptions after = addException(U"tab-le", before);
  EXPECT_EQ(lookupException(U"table", before), (Scores{0, 0, 1, 0, 0, 0}));
  EXPECT_EQ(lookupException(U"table", after), (Scores(6, 0)));
  EXPECT_EQ(addException(U"as-so-ciate", emptyExceptions()), parseExceptions(U"as-so-ciate"));
  // The capital stays in the key.
  const Exceptions warsaw = addException(U"War-sza-wa", emptyExceptions());
  EXPECT_EQ(lookupException(U"Warszawa", warsaw), (Scores{0, 0, 0, 1, 0, 0, 1, 0, 0}));
  EXPECT_EQ(lookupException(U"warszawa", warsaw), std::nullopt);
}

TEST(ZipMin, IsAsLongAsTheShorterList) {
  EXPECT_EQ(zipMin({0, 1, 1}, {1, 1}), (Scores{0, 1}));
  EXPECT_EQ(zipMin({}, {1, 1}), Scores{});
  EXPECT_EQ(zipMin({5, -3}, {2, 7, 9}), (Scores{2, -3}));
}

TEST(Merge, KeepsEveryWordAndCombinesSharedOnes) {
  const Exceptions a = parseExceptions(U"ta-ble\nas-so-ciate\n");
  const Exceptions b = parseExceptions(U"tab-le\nproj-ect\n");
  const Exceptions merged = merge(a, b);
  EXPECT_EQ(lookupException(U"table", merged), (Scores(6, 0)));
  EXPECT_EQ(lookupException(U"associate", merged), lookupException(U"associate", a));
  EXPECT_EQ(lookupException(U"project", merged), lookupException(U"project", b));
  EXPECT_EQ(merged, merge(b, a));
  EXPECT_EQ(merge(a, a), a);
  EXPECT_EQ(merge(a, emptyExceptions()), a);
  EXPECT_EQ(merge(emptyExceptions(), a), a);
  EXPECT_EQ(merge(merge(a, b), parseExceptions(U"x-y")),
            merge(a, merge(b, parseExceptions(U"x-y"))));
}

TEST(Merge, FamilyOfSequencesAndCounts) {
  const Exceptions a = parseExceptions(U"ta-ble\n"), b = parseExceptions(U"tab-le\n");
  EXPECT_EQ(liang::mergeAll(std::vector<Exceptions>{}), emptyExceptions());
  EXPECT_EQ(liang::mergeAll(std::vector<Exceptions>{a, b}), merge(a, b));
  EXPECT_EQ(liang::mergeAll(a, {}), a);
  EXPECT_EQ(liang::mergeAll(a, {b}), merge(a, b));
  EXPECT_EQ(liang::mergeTimes(3, a), a);
  EXPECT_THROW(liang::mergeTimes(0, a), liang::Error);
  EXPECT_THROW(liang::mergeTimes(-1, a), liang::Error);
}

TEST(Show, ListsEveryEntryAndWrapsArguments) {
  EXPECT_EQ(show(emptyExceptions()), "Exceptions (fromList [])");
  const Exceptions d = parseExceptions(U"ta-ble\nas-so-ciate\n");
  EXPECT_EQ(
      show(d),
      "Exceptions (fromList [(\"associate\",[0,0,1,0,1,0,0,0,0,0]),(\"table\",[0,0,1,0,0,0])])");
  const std::string wrapped = show(d, 11);
  EXPECT_EQ(wrapped.front(), '(');
  EXPECT_EQ(wrapped.back(), ')');
  EXPECT_EQ(wrapped.substr(1, 11), "Exceptions ");
  EXPECT_EQ(show(d, 10), show(d));
  EXPECT_EQ(show(std::vector<Exceptions>{emptyExceptions(), emptyExceptions()}),
            "[Exceptions (fromList []),Exceptions (fromList [])]");
  // Quotes, controls and non-characters are escaped; the rest stays UTF-8.
  std::u32string odd = U"\"\\\r\u00E9";
  odd.push_back(char32_t{0xD800});
  EXPECT_EQ(show(addException(odd, emptyExceptions())),
            "Exceptions (fromList [(\"\\\"\\\\\\x{d}\u00E9\\x{d800}\",[0,0,0,0,0,0])])");
}

TEST(Characters, NonScalarValuesAreOrdinaryLetters) {
  std::u32string entry{0xDFFF, U'-', 0x110000, 0xFFFFFFFF};
  const Exceptions d = parseExceptions(entry);
  EXPECT_EQ(lookupException(std::u32string{0xDFFF, 0x110000, 0xFFFFFFFF}, d), (Scores{0, 1, 0, 0}));
}

}  // namespace
