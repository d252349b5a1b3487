// What the library builds for itself -- a trie's flattened copy, its full
// index, a hyphenator's plan -- never keeps a failure: under an allocation
// that fails, hyphenating stays exact or throws to that caller alone, and
// the next attempt builds.
#include <gtest/gtest.h>
#include <liang/liang.hpp>
#include "core/BreakPlan.hpp"
#include "core/PatternNodes.hpp"

#include <cstddef>
#include <new>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "allocation_hooks.hpp"
#include "index_support.hpp"
#include "language_words.hpp"

namespace {

using allocation_hooks::FailLargeAllocations;
using liang::hyphenate;
using liang::Hyphenator;
using liang::prepare;
using liang::Word;
using testing_support::fullyIndexed;
using Pieces = std::vector<Word>;

// Larger than anything hyphenating a word of these tests allocates, smaller
// than the arrays of a full index or a flattened English trie.
constexpr std::size_t kLarge = 16384;

bool hasPlan(const Hyphenator& h) {
  return liang::internal::HyphenatorAccess::planSlot(h).get() != nullptr;
}

struct EnglishWords {
  std::vector<std::u32string> words;
  std::vector<Pieces> expected;  // from the shared English
};

// At least `count` words of eight letters or more, none short enough to be
// answered without a lookup.
EnglishWords englishWords(std::size_t count) {
  std::mt19937 random(59);
  EnglishWords out;
  while (out.words.size() < count) {
    for (std::u32string& word :
         test_words::wordsOf(*liang::languageForName("en-us"), count, random)) {
      if (word.size() < 8) continue;
      out.expected.push_back(hyphenate(liang::english_US(), word));
      out.words.push_back(std::move(word));
    }
  }
  return out;
}

// English loaded afresh with its deferred components built, its index not.
Hyphenator freshEnglish() {
  const Hyphenator h = liang::loadHyphenator(*liang::languageForName("en-us"));
  (void)liang::hyphenatorChars(h)(U'a');
  (void)liang::hyphenatorExceptions(h);
  EXPECT_FALSE(fullyIndexed(liang::hyphenatorPatterns(h)));
  return h;
}

// prepare throws the failure of the full index to its caller; the
// hyphenator keeps walking, exactly, and the next prepare builds.
TEST(BuildRetry, PrepareThrowsAFailedIndexAndTheNextOneBuildsIt) {
  const EnglishWords sample = englishWords(300);
  const Hyphenator h = freshEnglish();
  {
    const FailLargeAllocations failing(kLarge);
    EXPECT_THROW(prepare(h), std::bad_alloc);
    EXPECT_THROW(prepare(h), std::bad_alloc);
  }
  EXPECT_FALSE(fullyIndexed(liang::hyphenatorPatterns(h)));
  EXPECT_FALSE(hasPlan(h));
  for (std::size_t w = 0; w < sample.words.size(); ++w) {
    ASSERT_EQ(hyphenate(h, sample.words[w]), sample.expected[w]) << w;
  }
  prepare(h);
  EXPECT_TRUE(fullyIndexed(liang::hyphenatorPatterns(h)));
  EXPECT_TRUE(hasPlan(h));
}

// The call that reaches the count and fails to build goes on walking, as
// do the calls after it; the build is tried again at twice the count. (A
// word that the exception dictionary answers is not counted, hence the
// slack after that count.)
TEST(BuildRetry, AFailedIndexIsBuiltAgainAtTwiceTheCount) {
  const Hyphenator h = freshEnglish();
  const std::size_t mark =
      liang::internal::PatternsAccess::nodes(liang::hyphenatorPatterns(h))->nodes.size() / 4;
  const EnglishWords sample = englishWords(2 * mark + 50);
  std::size_t w = 0;
  {
    const FailLargeAllocations failing(kLarge);
    for (; w < mark + 10; ++w) ASSERT_EQ(hyphenate(h, sample.words[w]), sample.expected[w]) << w;
  }
  EXPECT_FALSE(fullyIndexed(liang::hyphenatorPatterns(h)));
  for (; w < 2 * mark - 1; ++w) ASSERT_EQ(hyphenate(h, sample.words[w]), sample.expected[w]) << w;
  EXPECT_FALSE(fullyIndexed(liang::hyphenatorPatterns(h)));
  for (; w < 2 * mark + 50; ++w) ASSERT_EQ(hyphenate(h, sample.words[w]), sample.expected[w]) << w;
  EXPECT_TRUE(fullyIndexed(liang::hyphenatorPatterns(h)));
}

// A trie made by insertPattern is flattened on its first lookup: a
// flattening that fails throws to that caller, and the next caller
// flattens it.
TEST(BuildRetry, AFailedFlatteningThrowsToItsCallerAndIsBuiltAgain) {
  const liang::Patterns grown =
      liang::insertPattern(U"zz1yq3", liang::hyphenatorPatterns(liang::english_US()));
  const Hyphenator h(liang::hyphenatorChars(liang::english_US()), grown,
                     liang::hyphenatorExceptions(liang::english_US()), 2, 3);
  const Pieces expected = hyphenate(liang::english_US(), U"hyphenation");
  {
    const FailLargeAllocations failing(kLarge);
    EXPECT_THROW(hyphenate(h, U"hyphenation"), std::bad_alloc);
    EXPECT_THROW(prepare(h), std::bad_alloc);
  }
  EXPECT_EQ(hyphenate(h, U"hyphenation"), expected);
  prepare(h);
  EXPECT_TRUE(fullyIndexed(grown));
  EXPECT_TRUE(hasPlan(h));
}

}  // namespace
