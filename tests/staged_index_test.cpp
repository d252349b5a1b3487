// A large trie is hyphenated by walking its store until it has been used
// enough to earn its full index; both stages must give the same pieces.
#include <gtest/gtest.h>
#include <liang/liang.hpp>
#include "core/PatternNodes.hpp"
#include "languages/Loader.hpp"

#include <cstdint>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "index_support.hpp"
#include "reference_model.hpp"

namespace {

using liang::hyphenate;
using liang::Hyphenator;
using liang::parsePatterns;
using liang::Patterns;
using liang::Word;
using liang::internal::buildFullIndex;

using testing_support::fullyIndexed;

using Pieces = std::vector<Word>;

char32_t same(char32_t c) { return c; }

constexpr char32_t kLetters[] = U"abcdefgh.";

// Some 2,500 lines over eight letters and the edge mark: a trie of several
// thousand nodes, past the size that is indexed in full at once.
// `rootScores` adds a line without letters, which the automaton leaves to
// the general path.
std::u32string largePatternText(std::mt19937& random, bool rootScores) {
  std::u32string text = rootScores ? U"3\n" : U"";
  for (int line = 0; line < 2500; ++line) {
    const std::size_t length = 2 + random() % 7;
    for (std::size_t k = 0; k < length; ++k) {
      if (random() % 3 == 0) text.push_back(static_cast<char32_t>(U'1' + random() % 9));
      text.push_back(kLetters[random() % 9]);
    }
    text.push_back(U'\n');
  }
  return text;
}

std::u32string randomWord(std::mt19937& random) {
  std::u32string word;
  for (std::size_t k = 1 + random() % 14; k > 0; --k) word.push_back(kLetters[random() % 9]);
  return word;
}

std::size_t nodeCount(const Patterns& trie) {
  return liang::internal::PatternsAccess::nodes(trie)->nodes.size();
}

TEST(StagedIndex, SmallTriesAreIndexedInFullAtOnce) {
  EXPECT_TRUE(fullyIndexed(parsePatterns(U"a1b\nc3d\n")));
  EXPECT_TRUE(fullyIndexed(liang::emptyPatterns()));
}

TEST(StagedIndex, LargeTriesScoreLikeTheModelInBothStages) {
  std::mt19937 random(23);
  for (int round = 0; round < 4; ++round) {
    const std::u32string text = largePatternText(random, round % 2 == 1);
    const Patterns patterns = parsePatterns(text);
    ASSERT_GT(nodeCount(patterns), liang::internal::StagedIndex::kEagerNodes);
    const auto model = reference::parse(text);
    std::vector<std::u32string> words;
    std::vector<std::int64_t> lefts, rights;
    for (int w = 0; w < 300; ++w) {
      words.push_back(randomWord(random));
      lefts.push_back(static_cast<std::int64_t>(random() % 4));
      rights.push_back(static_cast<std::int64_t>(random() % 4));
    }
    const auto check = [&](const char* stage) {
      for (std::size_t w = 0; w < words.size(); ++w) {
        const Hyphenator h(same, patterns, {}, lefts[w], rights[w]);
        ASSERT_EQ(
            hyphenate(h, words[w]),
            reference::cut(words[w], reference::lookup(words[w], *model), lefts[w], rights[w]))
            << stage << ", round " << round << ", word " << w;
        ASSERT_EQ(liang::lookupPattern(words[w], patterns), reference::lookup(words[w], *model));
      }
    };
    check("walking");
    ASSERT_FALSE(fullyIndexed(patterns)) << "300 words are too few to earn the full index";
    buildFullIndex(patterns);
    ASSERT_TRUE(fullyIndexed(patterns));
    check("fully indexed");
  }
}

TEST(StagedIndex, UseEarnsTheFullIndexOnceAndCopiesShareIt) {
  std::mt19937 random(29);
  const Patterns patterns = parsePatterns(largePatternText(random, false));
  const Hyphenator h(same, patterns, {}, 1, 1);
  const Hyphenator copy(same, patterns, {}, 2, 2);
  hyphenate(h, U"abcdefgh");
  EXPECT_FALSE(fullyIndexed(patterns));
  // Words too short to break never reach the trie, so they do not count.
  for (int w = 0; w < 100000; ++w) hyphenate(h, U"a");
  EXPECT_FALSE(fullyIndexed(patterns));
  // Every word that reaches the trie counts, through any hyphenator of it;
  // the full index comes well before there have been as many as nodes.
  std::size_t words = 1;
  while (!fullyIndexed(patterns) && words < nodeCount(patterns)) {
    hyphenate(words % 2 == 0 ? h : copy, randomWord(random) + U"ab");
    ++words;
  }
  EXPECT_TRUE(fullyIndexed(patterns)) << "after " << words << " words";
}

// The full index of a trie small enough resolves its moves into one table
// whose rows are numbered in 16 bits: 65,536 rows of nodes with children at
// most. Every binary string of 16 letters makes 65,535 (the root's and those
// of 15 levels). A pattern one letter longer gives the string "b" x 16
// children, and the last row; one more letter again, a row past the limit.
// On either side, the full index must cut like the store's own walk, on
// words through the last rows.
TEST(StagedIndex, FullIndexCutsLikeTheStoreEitherSideOfTheMostRowsItNumbers) {
  const auto binary = [](std::uint32_t bits, int length) {
    std::u32string letters;
    for (int k = length - 1; k >= 0; --k) letters.push_back(bits >> k & 1 ? U'b' : U'a');
    return letters;
  };
  std::u32string text;
  for (std::uint32_t bits = 0; bits < (1u << 16); ++bits) {
    const std::u32string letters = binary(bits, 16);
    text += letters.substr(0, 5) + (bits % 3 == 0 ? U"3" : U"") + letters.substr(5) + U"\n";
  }
  const std::u32string last = binary(0xFFFF, 16);
  std::mt19937 random(37);
  const std::u32string oneRowMore = last + U"a5\n", twoRowsMore = oneRowMore + last + U"b2b7\n";
  for (const std::u32string& longer : {oneRowMore, twoRowsMore}) {
    const Patterns patterns = parsePatterns(text + longer);
    buildFullIndex(patterns);
    ASSERT_TRUE(fullyIndexed(patterns));
    const Hyphenator h(liang::internal::parseChars(U""), patterns, {}, 1, 1);
    std::vector<std::u32string> words = {U"ab" + last + U"ab", last + U"bb", last + U"bbb"};
    for (int w = 0; w < 200; ++w)
      words.push_back(
          binary(static_cast<std::uint32_t>(random()), static_cast<int>(12 + random() % 10)));
    for (const std::u32string& word : words) {
      const Pieces expected = reference::cut(word, liang::lookupPattern(word, patterns), 1, 1);
      for (int call = 0; call < 2; ++call) {
        ASSERT_EQ(hyphenate(h, word), expected)
            << (longer == oneRowMore ? "65,536" : "65,537") << " rows, call " << call;
      }
    }
  }
}

// Threads hyphenate one trie while it passes from walking to its full
// index, which one of them builds as the others go on walking. The fold is
// a character table, as in loaded hyphenators: once the full index is
// there, the threads also race to number its folded letters.
TEST(StagedIndexConcurrency, ThreadsAcrossTheFullIndexAgreeWithTheModel) {
  std::mt19937 random(31);
  const std::u32string text = largePatternText(random, false);
  const Patterns patterns = parsePatterns(text);
  const auto model = reference::parse(text);
  const Hyphenator h(liang::internal::parseChars(U""), patterns, {}, 1, 1);
  // Together the threads hyphenate as many words as the trie has nodes,
  // past the point where the full index is built.
  constexpr int kThreads = 4;
  const std::size_t perThread = nodeCount(patterns) / kThreads;
  std::vector<std::u32string> words;
  std::vector<Pieces> expected;
  for (std::size_t w = 0; w < perThread; ++w) {
    words.push_back(randomWord(random) + U"ab");
    expected.push_back(reference::cut(words.back(), reference::lookup(words.back(), *model), 1, 1));
  }
  std::vector<std::size_t> wrong(kThreads, 0);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (std::size_t w = 0; w < words.size(); ++w) {
        const std::size_t k = (w + t * 97) % words.size();
        wrong[t] += hyphenate(h, words[k]) != expected[k];
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_TRUE(fullyIndexed(patterns));
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(wrong[t], 0u) << "thread " << t;
}

// Every shipped trie large enough to start walking hyphenates the same in
// both stages, on words made of fragments of its own patterns.
TEST(StagedIndex, LargeShippedTriesHyphenateAlikeInBothStages) {
  std::mt19937 random(37);
  std::size_t staged = 0;
  for (const liang::Language x : liang::enumFrom(liang::lowestLanguage())) {
    const Hyphenator h = liang::loadHyphenator(x);
    const Patterns& patterns = liang::hyphenatorPatterns(h);
    if (fullyIndexed(patterns)) continue;
    ++staged;
    const std::u32string text = liang::internal::embeddedFileText(
        "hyph-" + std::string(liang::languageAffix(x)) + ".pat.txt.gz");
    std::vector<std::u32string> fragments;
    std::u32string fragment;
    for (char32_t c : text) {
      if (c == U'\n') {
        if (!fragment.empty()) fragments.push_back(fragment);
        fragment.clear();
      } else if (!reference::isDigit(c) && c != U'.') {
        fragment.push_back(c);
      }
    }
    std::vector<std::u32string> words;
    std::vector<Pieces> walked;
    for (int w = 0; w < 400; ++w) {
      std::u32string word;
      for (auto k = 1 + random() % 3; k > 0; --k) word += fragments[random() % fragments.size()];
      words.push_back(word);
      walked.push_back(hyphenate(h, word));
    }
    ASSERT_FALSE(fullyIndexed(patterns)) << liang::show(x);
    buildFullIndex(patterns);
    for (std::size_t w = 0; w < words.size(); ++w) {
      ASSERT_EQ(hyphenate(h, words[w]), walked[w]) << liang::show(x) << ", word " << w;
    }
  }
  EXPECT_GT(staged, 10u);
}

}  // namespace
