#include <gtest/gtest.h>
#include <liang/liang.hpp>

#include <cstdint>
#include <limits>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "reference_model.hpp"

namespace {

using liang::emptyPatterns;
using liang::insertPattern;
using liang::lookupPattern;
using liang::merge;
using liang::parsePatterns;
using liang::Patterns;
using liang::scorePattern;
using liang::Scores;
using liang::show;

TEST(ScorePattern, DigitsScoreTheirBoundaryAndConsumeTheNextCharacter) {
  EXPECT_EQ(scorePattern(U"a1b"), (Scores{0, 1, 0}));
  EXPECT_EQ(scorePattern(U"1a"), (Scores{1, 0}));
  EXPECT_EQ(scorePattern(U"a1"), (Scores{0, 1}));
  EXPECT_EQ(scorePattern(U"a"), (Scores{0, 0}));
  EXPECT_EQ(scorePattern(U""), (Scores{0}));
  EXPECT_EQ(scorePattern(U".ach4"), (Scores{0, 0, 0, 0, 4}));
  // The second of two digits is skipped as if it were the next letter.
  EXPECT_EQ(scorePattern(U"a12b"), (Scores{0, 1, 0, 0}));
  EXPECT_EQ(scorePattern(U"12"), (Scores{1, 0}));
}

TEST(LookupPattern, WorkedExampleOfThreePatterns) {
  const Patterns trie = parsePatterns(U"a1b\n.c2\nb3.\n");
  EXPECT_EQ(lookupPattern(U"cab", trie), (Scores{0, 2, 1, 3}));
}

TEST(LookupPattern, EmptyTrieGivesOneZeroPerCharacter) {
  EXPECT_EQ(parsePatterns(U""), emptyPatterns());
  EXPECT_EQ(lookupPattern(U"word", emptyPatterns()), (Scores{0, 0, 0, 0}));
  EXPECT_EQ(lookupPattern(U"", emptyPatterns()), Scores{});
}

TEST(LookupPattern, RootScoresFromAnEmptyLineAddTheFinalBoundary) {
  const Patterns trie = parsePatterns(U"\n");
  EXPECT_EQ(trie, Patterns(Scores{0}, {}));
  EXPECT_EQ(lookupPattern(U"abc", trie), (Scores{0, 0, 0, 0}));
  EXPECT_EQ(lookupPattern(U"", trie), (Scores{0}));
  // A root score list joins every start position.
  EXPECT_EQ(lookupPattern(U"ab", parsePatterns(U"3\n")), (Scores{3, 3, 3}));
  EXPECT_EQ(lookupPattern(U"ab", Patterns(Scores{-4, 5}, {})), (Scores{5, 5, 5, 5}));
}

TEST(LookupPattern, EdgeMarksMatchOnlyAtTheEdgesOfTheWord) {
  const Patterns start = parsePatterns(U".a1b\n");
  EXPECT_EQ(lookupPattern(U"ab", start), (Scores{0, 1}));
  EXPECT_EQ(lookupPattern(U"cab", start), (Scores{0, 0, 0}));
  const Patterns end = parsePatterns(U"b1.\n");
  EXPECT_EQ(lookupPattern(U"ab", end), (Scores{0, 0, 1}));
  EXPECT_EQ(lookupPattern(U"ba", end), (Scores{0, 0}));
  // A "." inside the word is an ordinary letter, so edge patterns match there.
  EXPECT_EQ(lookupPattern(U"a.cd", parsePatterns(U".c1\n")), (Scores{0, 0, 0, 1}));
}

TEST(ParsePatterns, UpperLineDecidesBetweenEqualLetters) {
  EXPECT_EQ(parsePatterns(U"a1b\na3b\n"), parsePatterns(U"a1b\n"));
  EXPECT_EQ(lookupPattern(U"ab", parsePatterns(U"a3b\na1b\n")), (Scores{0, 3}));
}

TEST(ParsePatterns, LineRule) {
  EXPECT_EQ(parsePatterns(U"a1b\nc2d"), parsePatterns(U"a1b\nc2d\n"));
  // A carriage return is a letter: the pattern "ab\r" matches no plain word.
  const Patterns crlf = parsePatterns(U"a1b\r\n");
  EXPECT_EQ(lookupPattern(U"ab", crlf), (Scores{0, 0}));
  EXPECT_EQ(lookupPattern(U"ab\r", crlf), (Scores{0, 1, 0}));
  // Two line feeds hold an empty line, which sets the root's scores.
  EXPECT_EQ(lookupPattern(U"x", parsePatterns(U"a1b\n\nc1d\n")), (Scores{0, 0}));
}

// A text too short to make 65,536 nodes is parsed with 16-bit node numbers.
// A line of letters alone makes a node per code unit: paths either side of
// that width must come out as inserting the line builds them.
TEST(ParsePatterns, PathsEitherSideOfTheWidthOfNodeNumbers) {
  for (std::size_t length = 65'530; length <= 65'540; ++length) {
    const std::u32string line(length, U'a');
    ASSERT_EQ(parsePatterns(line), insertPattern(line, emptyPatterns())) << length;
  }
}

TEST(ParsePatterns, DoubleDigitsAreStoredUnderTheirLetters) {
  EXPECT_EQ(show(parsePatterns(U"a12b")),
            "Patterns [] (fromList [(97,Patterns [] (fromList [(98,Patterns [0,1,0,0] (fromList "
            "[]))]))])");
}

TEST(Show, RendersNodesAndWrapsArguments) {
  const std::string single =
      "Patterns [] (fromList [(97,Patterns [] (fromList [(98,Patterns [0,1,0] (fromList []))]))])";
  EXPECT_EQ(show(parsePatterns(U"a1b")), single);
  EXPECT_EQ(show(parsePatterns(U"a1b"), 11), "(" + single + ")");
  EXPECT_EQ(show(parsePatterns(U"a1b"), 10), single);
  EXPECT_EQ(show(emptyPatterns()), "Patterns [] (fromList [])");
  EXPECT_EQ(show(std::vector<Patterns>{emptyPatterns(), parsePatterns(U"a1b")}),
            "[Patterns [] (fromList [])," + single + "]");
  EXPECT_EQ(show(std::vector<Patterns>{}), "[]");
  EXPECT_EQ(show(Patterns(Scores{-3, 9}, {{U'\U0001F600', Patterns()}})),
            "Patterns [-3,9] (fromList [(128512,Patterns [] (fromList []))])");
}

TEST(NodeConstructor, BuildsTheSameTrieAsText) {
  const Patterns built(Scores{},
                       {{U'a', Patterns(Scores{}, {{U'b', Patterns(Scores{0, 1, 0}, {})}})}});
  EXPECT_EQ(built, parsePatterns(U"a1b\n"));
  EXPECT_EQ(lookupPattern(U"cab", built), (Scores{0, 0, 1}));
  EXPECT_NE(built, parsePatterns(U"a2b\n"));
  EXPECT_NE(built, parsePatterns(U"a1c\n"));
  EXPECT_NE(built, parsePatterns(U"a1b\nb1\n"));
}

TEST(InsertPattern, LeavesItsInputUnchanged) {
  const Patterns before = parsePatterns(U"a1b\nc2d\n");
  const std::string rendered = show(before);
  const Patterns after = insertPattern(U"a3b", before);
  EXPECT_EQ(show(before), rendered);
  EXPECT_EQ(lookupPattern(U"ab", before), (Scores{0, 1}));
  EXPECT_EQ(lookupPattern(U"ab", after), (Scores{0, 3}));
  EXPECT_EQ(lookupPattern(U"cd", after), (Scores{0, 2}));
  // Replacing keeps the children of the node.
  const Patterns prefix = insertPattern(U"4a", after);
  EXPECT_EQ(lookupPattern(U"ab", prefix), (Scores{4, 3}));
  EXPECT_EQ(insertPattern(U"a1b", insertPattern(U"c2d", emptyPatterns())), before);
}

TEST(Merge, CombinesEqualPathsByTheLargerScore) {
  const Patterns one = parsePatterns(U"a1b\n"), three = parsePatterns(U"a3b\nb1c\n");
  const Patterns merged = merge(one, three);
  EXPECT_EQ(lookupPattern(U"abc", merged), (Scores{0, 3, 1}));
  EXPECT_EQ(merged, merge(three, one));
  // Unlike parsing the texts joined, where the upper line decides.
  EXPECT_NE(merged, parsePatterns(U"a1b\na3b\nb1c\n"));
  EXPECT_EQ(show(merge(Patterns(Scores{1, 2, 3}, {}), Patterns(Scores{5}, {}))),
            "Patterns [5,2,3] (fromList [])");
}

TEST(Merge, IsIdempotentWithEmptyAsIdentity) {
  const Patterns trie = parsePatterns(U"a1b\n.c2\nb3.\nab4c\n");
  EXPECT_EQ(merge(trie, trie), trie);
  EXPECT_EQ(show(merge(trie, emptyPatterns())), show(trie));
  EXPECT_EQ(show(merge(emptyPatterns(), trie)), show(trie));
  EXPECT_EQ(liang::mergeAll(std::vector<Patterns>{}), emptyPatterns());
  EXPECT_EQ(liang::mergeAll(std::vector<Patterns>{trie}), trie);
  EXPECT_EQ(liang::mergeTimes(3, trie), trie);
  EXPECT_EQ(liang::mergeTimes(1, trie), trie);
}

TEST(Merge, CountBelowOneFails) {
  const Patterns trie = parsePatterns(U"a1b\n");
  EXPECT_THROW(liang::mergeTimes(0, trie), liang::Error);
  EXPECT_THROW(liang::mergeTimes(INT64_MIN, trie), liang::Error);
  try {
    liang::mergeTimes(-2, trie);
  } catch (const liang::Error& e) {
    EXPECT_STREQ(e.what(), "mergeTimes: the count must be positive, not -2");
  }
}

TEST(Unsnoc, SplitsOffTheLastElement) {
  EXPECT_EQ(liang::unsnoc(std::vector<int>{}), std::nullopt);
  auto one = liang::unsnoc(std::vector<int>{7});
  ASSERT_TRUE(one);
  EXPECT_TRUE(one->first.empty());
  EXPECT_EQ(one->second, 7);
  auto three = liang::unsnoc(std::vector<std::string>{"a", "b", "c"});
  ASSERT_TRUE(three);
  EXPECT_EQ(three->first, (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(three->second, "c");
}

TEST(Characters, NonScalarValuesAreOrdinaryLetters) {
  std::u32string line = U"x1";
  line.insert(line.begin(), char32_t{0xD800});
  line.push_back(char32_t{0x110000});
  line.push_back(char32_t{0xFFFFFFFF});
  const Patterns trie = parsePatterns(line);
  std::u32string word{0xD800, U'x', 0x110000, 0xFFFFFFFF};
  EXPECT_EQ(lookupPattern(word, trie), (Scores{0, 0, 1, 0}));
  EXPECT_EQ(lookupPattern(word, insertPattern(line, emptyPatterns())), (Scores{0, 0, 1, 0}));
  EXPECT_NE(show(trie).find("4294967295"), std::string::npos);
}

// Every way of building a trie must agree with the literal model.
TEST(Randomised, AgreesWithTheModelForEveryWayOfBuilding) {
  std::mt19937 random(20161217);
  for (int round = 0; round < 300; ++round) {
    const std::u32string text = reference::randomPatternText(random, random() % 12);
    const auto model = reference::parse(text);
    const Patterns parsed = parsePatterns(text);
    Patterns inserted;
    auto all = reference::lines(text);
    for (auto it = all.rbegin(); it != all.rend(); ++it) inserted = insertPattern(*it, inserted);
    EXPECT_EQ(parsed, inserted);
    // Splitting the text and merging gives a superset with max-combined
    // scores; merging a trie with a part of itself changes nothing when
    // no two lines share letters, so compare against itself instead.
    const Patterns half = parsePatterns(reference::randomPatternText(random, 3));
    const Patterns merged = merge(parsed, half);
    EXPECT_EQ(merged, merge(half, parsed));
    EXPECT_EQ(merge(merged, half), merged);
    for (int w = 0; w < 10; ++w) {
      const std::u32string word = reference::randomWord(random, 7);
      ASSERT_EQ(lookupPattern(word, parsed), reference::lookup(word, *model)) << show(parsed);
      ASSERT_EQ(lookupPattern(word, inserted), reference::lookup(word, *model));
    }
  }
}

// Parsed files score in single digits, which a trie stores in bytes; any
// other 64-bit score, in any place among them, must come back unchanged.
TEST(Randomised, ScoresBeyondAByteAgreeWithTheModel) {
  const std::int64_t values[] = {0,
                                 1,
                                 2,
                                 7,
                                 127,
                                 128,
                                 255,
                                 256,
                                 300,
                                 -1,
                                 -128,
                                 -129,
                                 std::numeric_limits<std::int64_t>::max(),
                                 std::numeric_limits<std::int64_t>::min()};
  std::mt19937 random(8);
  for (int round = 0; round < 200; ++round) {
    reference::Node root;
    for (int line = random() % 8; line > 0; --line) {
      reference::Node* node = &root;
      for (int k = 1 + random() % 4; k > 0; --k) {
        auto& child = node->children[U"abc"[random() % 3]];
        if (!child) child = std::make_unique<reference::Node>();
        node = child.get();
      }
      node->scores.clear();
      for (auto k = random() % 6; k > 0; --k) node->scores.push_back(values[random() % 14]);
    }
    const Patterns trie = reference::assemble(root);
    const Patterns parsed = parsePatterns(U"a1b\n2bc\n.c3\n");
    const Patterns merged = merge(parsed, trie);  // bytes first, then wider scores
    EXPECT_EQ(merged, merge(trie, parsed));
    EXPECT_EQ(show(reference::assemble(root)), show(trie));
    for (int w = 0; w < 20; ++w) {
      const std::u32string word = reference::randomWord(random, 7);
      ASSERT_EQ(lookupPattern(word, trie), reference::lookup(word, root)) << show(trie);
      if (word.empty()) continue;
      for (const Patterns* p : {&trie, &merged}) {
        // Scores of any size decide by their parity alone.
        const liang::Hyphenator h([](char32_t c) { return c; }, *p, liang::Exceptions(), 1, 1);
        EXPECT_EQ(liang::hyphenate(h, word), reference::cut(word, lookupPattern(word, *p), 1, 1))
            << show(*p);
      }
    }
  }
}

// A trie as deep as its input is long must not recurse on its depth.
TEST(Depth, MillionLetterPatternSurvivesEveryOperation) {
  std::u32string line(1'000'000, U'a');
  line.push_back(U'1');
  const Patterns deep = parsePatterns(line);
  // Looking up a word is linear in its length times the depth it reaches,
  // so short words stay cheap however deep the trie.
  EXPECT_EQ(lookupPattern(U"aaaa", deep), (Scores{0, 0, 0, 0}));
  const Patterns other = insertPattern(std::u32string(999'999, U'a') + U"3", deep);
  EXPECT_EQ(lookupPattern(U"aaaa", other), (Scores{0, 0, 0, 0}));
  const Patterns merged = merge(deep, other);
  EXPECT_EQ(merged, merge(other, deep));
  EXPECT_NE(merged, deep);
  EXPECT_EQ(merge(merged, deep), merged);
  EXPECT_EQ(lookupPattern(U"aa", merged), (Scores{0, 0}));
  const std::string rendered = show(deep);
  EXPECT_GT(rendered.size(), 30'000'000u);
  EXPECT_EQ(rendered.substr(0, 23), "Patterns [] (fromList [");
  EXPECT_EQ(rendered.substr(rendered.size() - 2), "])");
}

TEST(Depth, DeeplyNestedStoresAreBuiltComparedAndReleased) {
  // Each level is a store of its own holding the one below: far deeper
  // than a recursive release or comparison could go on a thread's stack.
  constexpr int kDepth = 200'000;
  Patterns chain(Scores{1}, {});
  for (int k = 0; k < kDepth; ++k) chain = Patterns(Scores{}, {{U'z', chain}});
  Patterns again(Scores{1}, {});
  for (int k = 0; k < kDepth; ++k) again = Patterns(Scores{}, {{U'z', again}});
  EXPECT_EQ(chain, again);
  EXPECT_EQ(lookupPattern(U"zz", chain), (Scores{0, 0}));
  const Patterns merged = merge(chain, again);
  EXPECT_EQ(merged, chain);
  chain = Patterns();  // releases every level, one after another
  again = Patterns();
  EXPECT_EQ(show(merged).substr(0, 9), "Patterns ");
}

}  // namespace
