#include <gtest/gtest.h>
#include <liang/liang.hpp>
#include "core/ExceptionTable.hpp"
#include "languages/Loader.hpp"

#include <atomic>
#include <cstdint>
#include <limits>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <thread>
#include <type_traits>
#include <utility>
#include <vector>

#include "reference_model.hpp"

namespace {

using liang::Deferred;
using liang::emptyExceptions;
using liang::emptyPatterns;
using liang::Exceptions;
using liang::hyphenate;
using liang::Hyphenator;
using liang::parseExceptions;
using liang::parsePatterns;
using liang::Patterns;
using liang::Scores;
using liang::Word;
using Pieces = std::vector<Word>;

constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();

char32_t same(char32_t c) { return c; }
char32_t lower(char32_t c) { return c >= U'A' && c <= U'Z' ? c + 32 : c; }

Hyphenator make(const Patterns& patterns, const Exceptions& exceptions, std::int64_t left,
                std::int64_t right) {
  return Hyphenator(same, patterns, exceptions, left, right);
}

// Whether hyphenate cuts `word` into `expected`, and hyphenationPoints
// gives where those pieces start, with the identity fold given either way:
// as a function, which hyphenate calls on the characters of each word, and
// as a character table, the form of loaded hyphenators, whose folded
// letters are numbered once for the hyphenator. The table's first call
// finds the breaks the general way and numbers the letters; its later calls
// find them from those numbers alone, so it is asked twice.
testing::AssertionResult cutsAs(const Pieces& expected, const Patterns& patterns,
                                const Exceptions& exceptions, std::int64_t left, std::int64_t right,
                                const Word& word) {
  std::vector<std::size_t> starts;
  for (std::size_t i = 0, start = 0; i + 1 < expected.size(); ++i)
    starts.push_back(start += expected[i].size());
  const auto check = [&](const Hyphenator& h, const char* how) {
    if (hyphenate(h, word) != expected) return testing::AssertionFailure() << "hyphenate " << how;
    if (liang::hyphenationPoints(h, word) != starts) {
      return testing::AssertionFailure() << "hyphenationPoints " << how;
    }
    return testing::AssertionSuccess();
  };
  if (auto result = check(make(patterns, exceptions, left, right), "with a function fold");
      !result) {
    return result;
  }
  const Hyphenator table(liang::internal::parseChars(U""), patterns, exceptions, left, right);
  if (auto result = check(table, "with a table fold, first call"); !result) return result;
  return check(table, "with a table fold, second call");
}

// Gives "abcd" the raw score list 0, 1, 0, 3, 0.
const Patterns& abcdPatterns() {
  static const Patterns trie = parsePatterns(U"a1b\nc3d\nd0.\n");
  return trie;
}

TEST(Hyphenate, WorkedExampleOfTheMinima) {
  ASSERT_EQ(liang::lookupPattern(U"abcd", abcdPatterns()), (Scores{0, 1, 0, 3, 0}));
  EXPECT_EQ(hyphenate(make(abcdPatterns(), {}, 1, 1), U"abcd"), (Pieces{U"a", U"bc", U"d"}));
  EXPECT_EQ(hyphenate(make(abcdPatterns(), {}, 1, 2), U"abcd"), (Pieces{U"a", U"bcd"}));
  EXPECT_EQ(hyphenate(make(abcdPatterns(), {}, 2, 1), U"abcd"), (Pieces{U"abc", U"d"}));
  EXPECT_EQ(hyphenate(make(abcdPatterns(), {}, 3, 2), U"abcd"), (Pieces{U"abcd"}));
}

TEST(Hyphenate, EmptyWordIsOneEmptyPieceWithoutTouchingAnything) {
  const auto broken = std::make_shared<const Deferred<Patterns>>(
      std::function<Patterns()>([]() -> Patterns { throw liang::Error("never built"); }));
  const Hyphenator h([](char32_t) -> char32_t { throw std::logic_error("never folded"); }, broken,
                     std::make_shared<const Deferred<Exceptions>>(Exceptions()), kMin, kMin);
  EXPECT_EQ(hyphenate(h, U""), (Pieces{U""}));
  EXPECT_FALSE(broken->built());
}

TEST(Hyphenate, ShortWordComesBackWholeWithoutLookup) {
  const auto patterns = std::make_shared<const Deferred<Patterns>>(
      std::function<Patterns()>([] { return abcdPatterns(); }));
  const Hyphenator h([](char32_t) -> char32_t { throw std::logic_error("never folded"); }, patterns,
                     std::make_shared<const Deferred<Exceptions>>(Exceptions()), 2, 3);
  EXPECT_EQ(hyphenate(h, U"abcd"), (Pieces{U"abcd"}));
  EXPECT_FALSE(patterns->built());
  // Exactly L + R characters: the word goes on to the lookup.
  EXPECT_THROW(hyphenate(h, U"abcde"), std::logic_error);
}

TEST(Hyphenate, WordOfExactlyBothMinimaBreaksOnlyAfterTheLeftOne) {
  const Patterns everywhere = parsePatterns(U"1a\n1b\n1c\n1d\n1e\n");
  EXPECT_EQ(hyphenate(make(everywhere, {}, 2, 3), U"abcde"), (Pieces{U"ab", U"cde"}));
  EXPECT_EQ(hyphenate(make(everywhere, {}, 1, 1), U"abcde"),
            (Pieces{U"a", U"b", U"c", U"d", U"e"}));
}

TEST(Hyphenate, ExceptionsOverruleThePatterns) {
  const Patterns everywhere = parsePatterns(U"1a\n1b\n1c\n1d\n1e\n");
  const Exceptions d = parseExceptions(U"abc-de\nabcd\n");
  EXPECT_EQ(hyphenate(make(everywhere, d, 1, 1), U"abcde"), (Pieces{U"abc", U"de"}));
  EXPECT_EQ(hyphenate(make(everywhere, d, 1, 1), U"abcd"), (Pieces{U"abcd"}));
  EXPECT_EQ(hyphenate(make(everywhere, d, 1, 1), U"abce"), (Pieces{U"a", U"b", U"c", U"e"}));
}

TEST(Hyphenate, FoldingChangesOnlyTheLookups) {
  const Patterns patterns = parsePatterns(U"y1p\nn1a\n");
  const Exceptions d = parseExceptions(U"ta-ble\n");
  const Hyphenator h(lower, patterns, d, 1, 1);
  EXPECT_EQ(hyphenate(h, U"HYPNA"), (Pieces{U"HY", U"PN", U"A"}));
  EXPECT_EQ(hyphenate(h, U"TaBle"), (Pieces{U"Ta", U"Ble"}));
  EXPECT_EQ(liang::hyphenatorChars(h)(U'Q'), U'q');
}

TEST(Hyphenate, LeftMinimumZeroNeverBreaksBeforeTheFirstCharacter) {
  const Patterns before = parsePatterns(U"1a\n");
  EXPECT_EQ(hyphenate(make(before, {}, 0, 0), U"ab"), (Pieces{U"ab"}));
  EXPECT_EQ(hyphenate(make(before, {}, -5, 0), U"ba"), (Pieces{U"b", U"a"}));
}

TEST(Hyphenate, RightMinimumZeroAllowsATrailingEmptyPiece) {
  const Patterns atEnd = parsePatterns(U"a1.\n");
  EXPECT_EQ(hyphenate(make(atEnd, {}, 1, 0), U"ba"), (Pieces{U"ba", U""}));
  EXPECT_EQ(hyphenate(make(atEnd, {}, 1, 1), U"ba"), (Pieces{U"ba"}));
}

TEST(Hyphenate, ShortScoreListsLeaveTheRestInTheLastPiece) {
  // The dictionary's list covers only the first boundaries.
  const Exceptions d = parseExceptions(U"a-b\n");
  const Hyphenator h(same, parsePatterns(U"1c\n"), d, 0, 0);
  EXPECT_EQ(hyphenate(h, U"ab"), (Pieces{U"a", U"b"}));
  const Exceptions shortList = parseExceptions(U"-");  // the empty word: one score
  EXPECT_EQ(hyphenate(Hyphenator(same, Patterns(), shortList, -3, 0), U""), (Pieces{U""}));
}

TEST(Hyphenate, EmptyStoredScoresAreMalformedAtLeftMinimumZeroOrBelow) {
  // No operation stores an empty list; build one by hand.
  liang::internal::ExceptionTable::Entries entries;
  entries[U"ab"] = Scores{};
  const Exceptions d = liang::internal::ExceptionsAccess::make(
      std::make_shared<const liang::internal::ExceptionTable>(std::move(entries)));
  try {
    hyphenate(Hyphenator(lower, Patterns(), d, 0, 0), U"AB");
    FAIL() << "no failure";
  } catch (const liang::Error& e) {
    EXPECT_STREQ(e.what(), "Malformed hyphenation score for AB");
  }
  // Any left minimum up to 0 trims nothing in front, whatever the right one.
  using Minima = std::pair<std::int64_t, std::int64_t>;
  for (const auto& [left, right] :
       {Minima{kMin, kMin}, Minima{kMin, kMax}, Minima{-1, 2}, Minima{0, kMin}, Minima{0, 2}}) {
    EXPECT_THROW(hyphenate(Hyphenator(lower, Patterns(), d, left, right), U"AB"), liang::Error)
        << "L=" << left << " R=" << right;
  }
  // With a positive left minimum the trimmed list is never empty.
  EXPECT_EQ(hyphenate(Hyphenator(lower, Patterns(), d, 1, 0), U"AB"), (Pieces{U"AB"}));
  EXPECT_EQ(hyphenate(Hyphenator(lower, Patterns(), d, 1, kMin), U"AB"), (Pieces{U"AB"}));
  // Too short a word is answered before the list is looked at.
  EXPECT_EQ(hyphenate(Hyphenator(lower, Patterns(), d, 0, 3), U"AB"), (Pieces{U"AB"}));
}

// A move copies, so the hyphenator moved from keeps hyphenating, through
// every path: the general one, and the plan its table fold makes on first use.
TEST(Hyphenate, MovedFromHyphenatorStillHyphenates) {
  static_assert(std::is_nothrow_move_constructible_v<Hyphenator>);
  static_assert(std::is_nothrow_move_assignable_v<Hyphenator>);
  const Patterns patterns = parsePatterns(U"1b\n");
  for (Hyphenator source :
       {make(patterns, {}, 1, 1), liang::loadHyphenator(liang::Language::English_US)}) {
    const Pieces before = hyphenate(source, U"ababa");
    Hyphenator constructed(std::move(source));
    EXPECT_EQ(hyphenate(source, U"ababa"), before);  // NOLINT(bugprone-use-after-move)
    EXPECT_EQ(hyphenate(constructed, U"ababa"), before);
    Hyphenator assigned = make(patterns, {}, 2, 2);
    assigned = std::move(constructed);
    EXPECT_EQ(hyphenate(constructed, U"ababa"), before);  // NOLINT(bugprone-use-after-move)
    EXPECT_EQ(hyphenate(assigned, U"ababa"), before);
  }
  EXPECT_EQ(hyphenate(make(patterns, {}, 1, 1), U"ababa"), (Pieces{U"a", U"ba", U"ba"}));
}

// Minima at the ends of 64 bits, at the word's length n and at n + 1, and
// pairs whose sum leaves 64 bits, on a five-letter word that the patterns
// break at every boundary: the breaks are those p with max(L, 1) <= p and
// p < max(L, 0) + (n - L - R + 1), none when n < L + R. Worked out by hand.
TEST(Hyphenate, MinimaAtTheLimitsOf64BitsCutLikeTheLiteralAlgorithm) {
  const Patterns everywhere = parsePatterns(U"1a\n1b\n1c\n1d\n1e\n1.\n");
  const auto pieces = [](std::u32string_view hyphenated) {
    Pieces out{U""};
    for (const char32_t c : hyphenated) {
      if (c == U'-') {
        out.emplace_back();
      } else {
        out.back().push_back(c);
      }
    }
    return out;
  };
  struct Case {
    std::int64_t left, right;
    std::u32string_view hyphenated;
  };
  for (const Case& c : std::initializer_list<Case>{
           {kMin, kMin, U"a-b-c-d-e-"},
           {kMin, kMax, U"a-b-c-d-e-"},      // the sum is -1
           {kMin + 1, kMax, U"a-b-c-d-e-"},  // the sum is 0
           {2 - kMax, kMax, U"a-b-c-de"},    // the sum is 2: breaks below n + 1 - 2
           {-4, 8, U"a-bcde"},               // the sum is 4
           {-3, 6, U"a-b-cde"},
           {-1, 6, U"abcde"},  // the sum is n: no boundary left
           {kMax, kMin, U"abcde"},
           {kMax, kMax, U"abcde"},  // the sum leaves 64 bits: too short
           {kMax, 5 - kMax, U"abcde"},
           {kMax - 1, 2 - kMax, U"abcde"},
           {1, kMin, U"a-b-c-d-e-"},
           {0, 0, U"a-b-c-d-e-"},
           {0, 5, U"abcde"},
           {0, 6, U"abcde"},
           {2, 3, U"ab-cde"},
           {5, 0, U"abcde-"},
           {5, -1, U"abcde-"},
           {6, 0, U"abcde"},  // n + 1: too short
           {6, -1, U"abcde"},
           {6, kMin, U"abcde"},
           {4, kMin, U"abcd-e-"},
       }) {
    EXPECT_TRUE(cutsAs(pieces(c.hyphenated), everywhere, {}, c.left, c.right, U"abcde"))
        << "L=" << c.left << " R=" << c.right;
  }
}

TEST(Hyphenate, ExtremeMinimaNeitherOverflowNorAllocate) {
  const Patterns everywhere = parsePatterns(U"1a\n1b\n1c\n1d\n1e\n1.\n");
  const Pieces whole{U"abcde"};
  const Pieces all{U"a", U"b", U"c", U"d", U"e", U""};
  EXPECT_EQ(hyphenate(make(everywhere, {}, kMax, kMax), U"abcde"), whole);
  EXPECT_EQ(hyphenate(make(everywhere, {}, kMax, kMin), U"abcde"), whole);
  EXPECT_EQ(hyphenate(make(everywhere, {}, kMin, kMax), U"abcde"), all);
  EXPECT_EQ(hyphenate(make(everywhere, {}, kMin, kMin), U"abcde"), all);
  EXPECT_EQ(hyphenate(make(everywhere, {}, 4, kMin), U"abcde"), (Pieces{U"abcd", U"e", U""}));
  // A negative left minimum widens the range past the right minimum.
  EXPECT_EQ(hyphenate(make(everywhere, {}, kMin, 4), U"abcde"), all);
  EXPECT_EQ(hyphenate(make(everywhere, {}, kMax - 1, 2 - kMax), U"abcde"), whole);
}

TEST(Hyphenate, AgreesWithTheLiteralAlgorithm) {
  std::mt19937 random(7);
  for (int round = 0; round < 400; ++round) {
    // Half the rounds have a letter on every line, the shape hyphenate
    // serves from its automaton; the rest give the root scores of its own.
    const std::u32string text =
        reference::randomPatternText(random, random() % 10, /*letterless=*/round % 2 == 0);
    const Patterns patterns = parsePatterns(text);
    const auto model = reference::parse(text);
    const Exceptions d = parseExceptions(U"ab-c\na-b-a\n-c\nc--a\n");
    for (int w = 0; w < 20; ++w) {
      const std::u32string word = reference::randomWord(random, 8);
      const auto left = static_cast<std::int64_t>(random() % 9) - 3;
      const auto right = static_cast<std::int64_t>(random() % 9) - 3;
      const auto stored = liang::lookupException(word, d);
      const Scores raw = stored ? *stored : reference::lookup(word, *model);
      const Pieces expected = word.empty() ? Pieces{U""} : reference::cut(word, raw, left, right);
      ASSERT_TRUE(cutsAs(expected, patterns, d, left, right, word))
          << "pattern text of " << text.size() << " characters, L=" << left << " R=" << right;
    }
  }
}

// A character table folds each character once for the whole hyphenator,
// into the number of the letter it folds to, Latin-1 or not: the micro
// sign (Latin-1) folds to mu (Greek), capital and final sigma fold to a
// letter beyond Latin-1, a capital e with acute to one within it.
// The model's letters "abc" stand for letters[0..2], each written in any
// of the forms of forms[k] (letters[k] first), which a table fold (and the
// same fold as a function) takes back to it: every cut must be the model's
// on the folded word, the dictionary's included.
void expectFoldedFormsCutLikeTheModel(const char32_t (&letters)[3],
                                      const std::u32string (&forms)[3], unsigned seed) {
  std::u32string fold;
  for (const std::u32string& written : forms) {
    for (std::size_t k = 1; k < written.size(); ++k) fold += {written[0], written[k], U'\n'};
  }
  const auto folded = [&](char32_t c) -> char32_t {
    for (const std::u32string& written : forms) {
      if (written.find(c) != std::u32string::npos) return written[0];
    }
    return c;
  };
  const auto inFoldedLetters = [&](std::u32string text) {
    for (char32_t& c : text) {
      if (c >= U'a' && c <= U'c') c = letters[c - U'a'];
    }
    return text;
  };
  std::mt19937 random(seed);
  const Exceptions d = parseExceptions(inFoldedLetters(U"ab-c\na-b-a\nc-ca\n"));
  for (int round = 0; round < 200; ++round) {
    const std::u32string text =
        inFoldedLetters(reference::randomPatternText(random, random() % 10, /*letterless=*/false));
    const Patterns patterns = parsePatterns(text);
    const auto model = reference::parse(text);
    const Hyphenator table(liang::internal::parseChars(fold), patterns, d, 1, 2);
    const Hyphenator function(folded, patterns, d, 1, 2);
    for (int w = 0; w < 20; ++w) {
      std::u32string word = reference::randomWord(random, 9), key;
      for (char32_t& c : word) {
        if (c >= U'a' && c <= U'c') {
          const std::u32string& written = forms[c - U'a'];
          c = written[random() % written.size()];
        }
        key.push_back(folded(c));
      }
      const auto stored = liang::lookupException(key, d);
      const Pieces expected =
          word.empty()
              ? Pieces{U""}
              : reference::cut(word, stored ? *stored : reference::lookup(key, *model), 1, 2);
      ASSERT_EQ(hyphenate(table, word), expected) << "round " << round;
      ASSERT_EQ(hyphenate(function, word), expected) << "round " << round;
    }
  }
}

TEST(Hyphenate, TableFoldsCutLikeTheModelOnTheFoldedWord) {
  // e-acute, mu and sigma, with their capitals, the micro sign and final sigma.
  expectFoldedFormsCutLikeTheModel({U'\u00E9', U'\u03BC', U'\u03C3'},
                                   {U"\u00E9\u00C9", U"\u03BC\u00B5\u039C", U"\u03C3\u03A3\u03C2"},
                                   19);
}

// Letters in several blocks past Latin-1, as polytonic Greek's (Greek and
// Greek Extended), Sanskrit's or Ethiopic's are: a letter of Greek
// Extended, one of Cyrillic, one of Georgian's small letters, the last with
// a capital in another block (U+10A0) and a form past U+3000 (hiragana, for
// the fold's sake), so that each way a letter is numbered is taken: Latin-1
// (the edge), the script block, another block's page, a character past the
// pages.
TEST(Hyphenate, LettersOfSeveralBlocksCutLikeTheModel) {
  expectFoldedFormsCutLikeTheModel({U'\u1F00', U'\u0430', U'\u2D00'},
                                   {U"\u1F00\u1F08", U"\u0430\u0410", U"\u2D00\u10A0\u3042"}, 23);
  // With two letters in one block, that block is the script block.
  expectFoldedFormsCutLikeTheModel({U'\u1F00', U'\u1F10', U'\u0430'},
                                   {U"\u1F00\u1F08", U"\u1F10\u1F18", U"\u0430\u0410\u3042"}, 29);
}

// Large tries are served by the automaton without a resolved transition
// table; a wide alphabet makes a small trie large enough for that path.
TEST(Hyphenate, AgreesWithTheLiteralAlgorithmOnWideAlphabets) {
  std::u32string filler;
  for (char32_t c = 0x4E00; c < 0x4E00 + 900; ++c) {
    filler.push_back(c);
    filler += U"1\n";
  }
  std::mt19937 random(11);
  for (int round = 0; round < 100; ++round) {
    const std::u32string text =
        reference::randomPatternText(random, random() % 12, /*letterless=*/false) + filler;
    const Patterns patterns = parsePatterns(text);
    const auto model = reference::parse(text);
    for (int w = 0; w < 20; ++w) {
      std::u32string word = reference::randomWord(random, 8);
      if (random() % 4 == 0) word.push_back(static_cast<char32_t>(0x4E00 + random() % 900));
      const auto left = static_cast<std::int64_t>(random() % 5) - 1;
      const auto right = static_cast<std::int64_t>(random() % 5) - 1;
      const Pieces expected =
          word.empty() ? Pieces{U""}
                       : reference::cut(word, reference::lookup(word, *model), left, right);
      ASSERT_TRUE(cutsAs(expected, patterns, {}, left, right, word));
    }
  }
}

// Appends to `text` a line of `length` letters of "abc", each after a digit
// with chance 1 / `digitOdds`, and the letters to `letters`, from which words
// that match such lines are cut.
void appendLongPattern(std::mt19937& random, std::size_t length, unsigned digitOdds,
                       std::u32string& text, std::u32string& letters) {
  for (std::size_t k = 0; k < length; ++k) {
    const char32_t letter = U"abc"[random() % 3];
    letters.push_back(letter);
    if (random() % digitOdds == 0) text.push_back(static_cast<char32_t>(U'1' + random() % 9));
    text.push_back(letter);
  }
  text.push_back(U'\n');
}

// Tries of long patterns (up to 16 boundaries) with random digits, and
// words of `shortest` to `shortest + spread - 1` letters cut from the
// patterns' letters: every cut, at random small minima, must be the model's.
void expectLongWordsCutLikeTheModel(unsigned seed, int rounds, int wordsPerRound,
                                    std::size_t shortest, std::size_t spread) {
  std::mt19937 random(seed);
  for (int round = 0; round < rounds; ++round) {
    std::u32string text = reference::randomPatternText(random, random() % 8, false);
    std::u32string letters;
    for (int line = 0; line < 4; ++line) {
      text.push_back(static_cast<char32_t>(U'1' + random() % 9));
      appendLongPattern(random, 13 + random() % 3, 2, text, letters);
    }
    const Patterns patterns = parsePatterns(text);
    const auto model = reference::parse(text);
    for (int w = 0; w < wordsPerRound; ++w) {
      const std::size_t length = shortest + random() % spread;
      std::u32string word;
      while (word.size() < length) word += letters.substr(random() % letters.size(), 16);
      word.resize(length);
      const auto left = static_cast<std::int64_t>(random() % 4);
      const auto right = static_cast<std::int64_t>(1 + random() % 3);
      const Pieces expected = reference::cut(word, reference::lookup(word, *model), left, right);
      ASSERT_TRUE(cutsAs(expected, patterns, {}, left, right, word))
          << "length " << word.size() << " L=" << left << " R=" << right;
    }
  }
}

// Patterns whose scores span more boundaries than the automaton merges in
// one step (16) take its general path; those just within take the fast one.
// Words are cut from the patterns' own letters so that the long ones match.
TEST(Hyphenate, AgreesWithTheLiteralAlgorithmOnLongPatterns) {
  std::mt19937 random(13);
  for (int round = 0; round < 150; ++round) {
    std::u32string text = reference::randomPatternText(random, random() % 8, false);
    std::u32string letters;
    for (int line = 0; line < 3; ++line) {
      // 14..19 scores: either side of 16
      appendLongPattern(random, 13 + random() % 6, 3, text, letters);
    }
    const Patterns patterns = parsePatterns(text);
    const auto model = reference::parse(text);
    for (int w = 0; w < 20; ++w) {
      const std::size_t from = random() % letters.size();
      std::u32string word = letters.substr(from, 4 + random() % 24);
      if (random() % 2 == 0) word = reference::randomWord(random, 3) + word;
      const auto left = static_cast<std::int64_t>(random() % 4);
      const auto right = static_cast<std::int64_t>(random() % 4);
      const Pieces expected = reference::cut(word, reference::lookup(word, *model), left, right);
      ASSERT_TRUE(cutsAs(expected, patterns, {}, left, right, word))
          << "round " << round << " L=" << left << " R=" << right;
    }
  }
}

// Ordinary words are scored into the bits of one machine word, longer ones
// through memory: words either side of that length (46 letters) must cut
// alike. Long patterns, scored from their first boundary, are what make the
// last boundaries of a word depend on the most bits past it; the words are
// cut from their letters so that they match.
TEST(Hyphenate, AgreesWithTheLiteralAlgorithmEitherSideOfTheLongestMaskedWord) {
  expectLongWordsCutLikeTheModel(17, 60, 20, 40, 12);
}

// Words past 64 characters are scored through the window in memory rather
// than the bits of one machine word, in blocks of its width: lengths well
// past it, and past twice it, must cut like the model.
TEST(Hyphenate, WordsPastSixtyFourCharactersCutThroughTheScoreWindowLikeTheModel) {
  expectLongWordsCutLikeTheModel(23, 30, 10, 60, 100);
}

// A hyphenator with a character table answers ordinary words from a plan
// made on its first call; the plan must hand every word the dictionary may
// hold, in any case, back to the dictionary, and only those words.
TEST(Hyphenate, PlanLeavesEveryWordTheDictionaryMayHoldToTheDictionary) {
  const Patterns everywhere = parsePatterns(U"1a\n1b\n1c\n1d\n");
  const Exceptions d = parseExceptions(U"abcd\nab-cd-a\n");
  const Hyphenator h(liang::internal::parseChars(U"aA\nbB\ncC\ndD\n"), everywhere, d, 1, 1);
  for (int call = 0; call < 2; ++call) {  // the first call makes the plan, the second uses it
    EXPECT_EQ(hyphenate(h, U"abcd"), (Pieces{U"abcd"}));
    EXPECT_EQ(hyphenate(h, U"ABCD"), (Pieces{U"ABCD"}));
    EXPECT_EQ(hyphenate(h, U"AbcD"), (Pieces{U"AbcD"}));
    EXPECT_EQ(hyphenate(h, U"Abcda"), (Pieces{U"Ab", U"cd", U"a"}));
    // The dictionary's length and end letters, but not its word: the patterns.
    EXPECT_EQ(hyphenate(h, U"aBbD"), (Pieces{U"a", U"B", U"b", U"D"}));
    EXPECT_EQ(hyphenate(h, U"abcdb"), (Pieces{U"a", U"b", U"c", U"d", U"b"}));
  }
}

// A trie may hold one subtree under several letters; each path through it
// must score as if it had a copy of its own.
Patterns sharedUnder(const Patterns& shared) {
  return Patterns({}, {{U'a', Patterns({0, 2}, {{U'b', shared}})},
                       {U'b', shared},
                       {U'x', Patterns({}, {{U'a', shared}})}});
}
Patterns leafy() { return Patterns({0, 0, 1}, {{U'c', Patterns({1, 0, 0, 3}, {})}}); }

// `levels` levels, each scoring its boundary by its distance from the top
// and leading by both letters to the level below: one node per level when
// `share`, else a copy per path.
Patterns ladder(int levels, bool share, int level = 0) {
  const Scores scores{0, level % 3};
  if (level + 1 == levels) return Patterns(scores, {});
  const Patterns below = ladder(levels, share, level + 1);
  return Patterns(scores,
                  {{U'a', below}, {U'b', share ? below : ladder(levels, false, level + 1)}});
}

TEST(Hyphenate, SharedSubtreesScoreLikeSeparateCopies) {
  const Patterns shared = leafy();
  const Patterns dag = sharedUnder(shared);
  const Patterns tree = sharedUnder(leafy());
  ASSERT_EQ(dag, tree);
  std::mt19937 random(17);
  for (int w = 0; w < 2000; ++w) {
    std::u32string word;
    for (auto k = random() % 9; k > 0; --k) word.push_back(U"abcx"[random() % 4]);
    const auto left = static_cast<std::int64_t>(random() % 3);
    const auto right = static_cast<std::int64_t>(random() % 3);
    ASSERT_EQ(hyphenate(make(dag, {}, left, right), word),
              hyphenate(make(tree, {}, left, right), word))
        << "word of " << word.size();
    ASSERT_EQ(liang::lookupPattern(word, dag), liang::lookupPattern(word, tree));
  }
  // 2^40 paths through 40 nodes are scored without numbering every path.
  // A word of five letters reaches five levels down at most, where a tree
  // of copies of the top levels is the same trie.
  const Patterns deep = ladder(40, true);
  const Patterns copies = ladder(6, false);
  for (int w = 0; w < 300; ++w) {
    std::u32string word;
    for (auto k = 1 + random() % 5; k > 0; --k) word.push_back(U"ab"[random() % 2]);
    ASSERT_EQ(hyphenate(make(deep, {}, 1, 1), word), hyphenate(make(copies, {}, 1, 1), word));
  }
}

TEST(Hyphenate, PiecesAlwaysConcatenateToTheWord) {
  const Patterns patterns = parsePatterns(U"1a\n1b\n.c1\n");
  std::u32string odd{0xD800, U'a', 0x110000, U'b', 0xFFFFFFFF, U'a', 0};
  for (std::int64_t left : {kMin, std::int64_t{-1}, std::int64_t{0}, std::int64_t{1}, kMax}) {
    for (std::int64_t right : {kMin, std::int64_t{0}, std::int64_t{2}, kMax}) {
      Word joined;
      const Pieces pieces = hyphenate(make(patterns, {}, left, right), odd);
      ASSERT_FALSE(pieces.empty());
      for (const Word& piece : pieces) joined += piece;
      EXPECT_EQ(joined, odd);
    }
  }
}

TEST(Components, CopiesShareThem) {
  const Hyphenator h(same, abcdPatterns(), parseExceptions(U"ta-ble"), 1, 2);
  const Hyphenator copy = h;  // NOLINT(performance-unnecessary-copy-initialization)
  EXPECT_EQ(&liang::hyphenatorPatterns(copy), &liang::hyphenatorPatterns(h));
  EXPECT_EQ(&liang::hyphenatorExceptions(copy), &liang::hyphenatorExceptions(h));
  EXPECT_EQ(liang::hyphenatorLeftMin(copy), 1);
  EXPECT_EQ(liang::hyphenatorRightMin(copy), 2);
  EXPECT_EQ(liang::hyphenatorPatterns(h), abcdPatterns());
}

TEST(Components, FailedBuildFailsAgainWithTheSameMessage) {
  int builds = 0;
  const auto patterns =
      std::make_shared<const Deferred<Patterns>>(std::function<Patterns()>([&builds]() -> Patterns {
        ++builds;
        throw liang::Error("Could not find hyph-xx.pat.txt.gz");
      }));
  const Hyphenator h(same, patterns, std::make_shared<const Deferred<Exceptions>>(Exceptions()), 1,
                     1);
  for (int attempt = 0; attempt < 3; ++attempt) {
    try {
      hyphenate(h, U"abc");
      FAIL() << "no failure";
    } catch (const liang::Error& e) {
      EXPECT_STREQ(e.what(), "Could not find hyph-xx.pat.txt.gz");
    }
  }
  EXPECT_EQ(builds, 1);
  // The rest of the record stays usable.
  EXPECT_EQ(liang::hyphenatorLeftMin(h), 1);
  EXPECT_EQ(liang::hyphenatorExceptions(h), emptyExceptions());
  EXPECT_EQ(hyphenate(h, U"a"), (Pieces{U"a"}));
}

TEST(Components, DeferredIsBuiltOnceUnderContention) {
  std::atomic<int> builds{0};
  const auto patterns = std::make_shared<const Deferred<Patterns>>(std::function<Patterns()>([&] {
    builds.fetch_add(1);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return abcdPatterns();
  }));
  const Hyphenator h(same, patterns, std::make_shared<const Deferred<Exceptions>>(Exceptions()), 1,
                     1);
  std::vector<std::thread> threads;
  std::atomic<int> correct{0};
  for (int t = 0; t < 8; ++t) {
    threads.emplace_back([&] {
      if (hyphenate(h, U"abcd") == Pieces{U"a", U"bc", U"d"}) correct.fetch_add(1);
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(builds.load(), 1);
  EXPECT_EQ(correct.load(), 8);
}

TEST(Components, ManyThreadsHyphenateWithOneTrieBuiltOnFirstLookup) {
  // A trie made by merge is flattened on its first lookup; racing threads
  // must all see one finished copy.
  const Patterns merged = merge(parsePatterns(U"a1b\n"), parsePatterns(U"c3d\nd0.\n"));
  const Hyphenator h(same, merged, Exceptions(), 1, 1);
  std::vector<std::thread> threads;
  std::atomic<int> correct{0};
  for (int t = 0; t < 8; ++t) {
    threads.emplace_back([&] {
      for (int k = 0; k < 200; ++k) {
        if (hyphenate(h, U"abcd") == Pieces{U"a", U"bc", U"d"}) correct.fetch_add(1);
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(correct.load(), 1600);
}

}  // namespace
