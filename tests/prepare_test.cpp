// prepare builds ahead of time all that hyphenating would build on first
// use, so that no later call builds anything; it may race with calls that
// hyphenate, and passes on a deferred component's failure.
#include <gtest/gtest.h>
#include <liang/liang.hpp>
#include "core/BreakPlan.hpp"
#include "core/PatternNodes.hpp"

#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "index_support.hpp"
#include "language_words.hpp"

namespace {

using liang::Deferred;
using liang::Exceptions;
using liang::hyphenate;
using liang::Hyphenator;
using liang::Patterns;
using liang::prepare;
using liang::Word;
using testing_support::fullyIndexed;
using Pieces = std::vector<Word>;

bool hasPlan(const Hyphenator& h) {
  return liang::internal::HyphenatorAccess::planSlot(h).get() != nullptr;
}

// Every shipped language, loaded afresh: after prepare its trie is indexed
// in full and its plan is made, before any word; a second prepare changes
// nothing; and the words come out as from the shared hyphenator, which
// built everything lazily.
TEST(Prepare, LeavesNothingToBuildInEveryLanguage) {
  std::mt19937 random(41);
  for (const liang::Language x : liang::enumFrom(liang::lowestLanguage())) {
    const Hyphenator h = liang::loadHyphenator(x);
    prepare(h);
    ASSERT_TRUE(fullyIndexed(liang::hyphenatorPatterns(h))) << liang::show(x);
    ASSERT_TRUE(hasPlan(h)) << liang::show(x);
    const liang::internal::BreakPlan* plan = liang::internal::HyphenatorAccess::planSlot(h).get();
    prepare(h);
    EXPECT_EQ(liang::internal::HyphenatorAccess::planSlot(h).get(), plan) << liang::show(x);
    const Hyphenator& shared = liang::languageHyphenator(x);
    for (const std::u32string& word : test_words::wordsOf(x, 200, random)) {
      ASSERT_EQ(hyphenate(h, word), hyphenate(shared, word)) << liang::show(x);
    }
  }
}

// A trie made by insertPattern shares the parsed trie's nodes through
// foreign edges; prepare flattens it and indexes the flat copy.
TEST(Prepare, FlattensATrieWithForeignEdges) {
  const Patterns base = liang::hyphenatorPatterns(liang::english_US());
  const Patterns grown = liang::insertPattern(U"zz1yq3", base);
  const Hyphenator h(liang::hyphenatorChars(liang::english_US()), grown,
                     liang::hyphenatorExceptions(liang::english_US()), 2, 3);
  prepare(h);
  EXPECT_TRUE(fullyIndexed(grown));
  EXPECT_TRUE(hasPlan(h));
  EXPECT_EQ(hyphenate(h, U"hyphenation"), hyphenate(liang::english_US(), U"hyphenation"));
}

// A hyphenator that never gets a plan -- a caller's folding function, or
// minima no real language has -- still gets its index, and prepare does
// not fail for lack of a plan. The empty trie has nothing to build.
TEST(Prepare, BuildsWhatAppliesToHyphenatorsWithoutAPlan) {
  const Patterns& english = liang::hyphenatorPatterns(liang::english_US());
  const Hyphenator folding([](char32_t c) { return c; }, english, {}, 2, 3);
  prepare(folding);
  EXPECT_FALSE(hasPlan(folding));
  const Hyphenator noRightMinimum(liang::CharFold(), english, {}, 2, 0);
  prepare(noRightMinimum);
  EXPECT_FALSE(hasPlan(noRightMinimum));
  const Hyphenator empty(liang::CharFold(), liang::emptyPatterns(), {}, 1, 1);
  prepare(empty);
  EXPECT_EQ(hyphenate(empty, U"abc"), (Pieces{U"abc"}));
}

// A deferred component that fails keeps its failure, though its recipe
// would succeed a second time: prepare throws it, the same each time, as
// hyphenate does, and the recipe runs once.
TEST(Prepare, PassesOnAFailedDeferredComponentEveryTime) {
  int runs = 0;
  auto patterns = std::make_shared<const Deferred<Patterns>>(std::function<Patterns()>([&] {
    if (runs++ == 0) throw liang::Error("no trie here");
    return Patterns();
  }));
  auto exceptions = std::make_shared<const Deferred<Exceptions>>(Exceptions{});
  const Hyphenator h(liang::CharFold(), patterns, exceptions, 1, 1);
  for (int attempt = 0; attempt < 3; ++attempt) {
    try {
      prepare(h);
      FAIL() << "prepare returned";
    } catch (const liang::Error& e) {
      EXPECT_STREQ(e.what(), "no trie here");
    }
  }
  EXPECT_THROW(hyphenate(h, U"abcdef"), liang::Error);
  EXPECT_EQ(runs, 1);
}

// One thread prepares a freshly loaded English while others hyphenate with
// it: the index and the plan appear under the hyphenating threads, whose
// words must come out right throughout.
TEST(PrepareConcurrency, ThreadsHyphenateWhilePrepareBuilds) {
  std::mt19937 random(43);
  const liang::Language english = *liang::languageForName("en-us");
  const std::vector<std::u32string> words = test_words::wordsOf(english, 1500, random);
  std::vector<Pieces> expected;
  for (const std::u32string& word : words) {
    expected.push_back(hyphenate(liang::english_US(), word));
  }
  const Hyphenator h = liang::loadHyphenator(english);
  constexpr int kThreads = 3;
  std::atomic<int> started{0};
  std::vector<std::size_t> wrong(kThreads, 0);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      started.fetch_add(1);
      for (std::size_t w = 0; w < words.size(); ++w) {
        const std::size_t k = (w + static_cast<std::size_t>(t) * 389) % words.size();
        wrong[static_cast<std::size_t>(t)] += hyphenate(h, words[k]) != expected[k];
      }
    });
  }
  while (started.load() < kThreads) std::this_thread::yield();
  prepare(h);
  EXPECT_TRUE(fullyIndexed(liang::hyphenatorPatterns(h)));
  EXPECT_TRUE(hasPlan(h));
  for (std::thread& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(wrong[static_cast<std::size_t>(t)], 0u);
}

// Two copies of one hyphenator prepared at once, from two threads, make one
// plan between them.
TEST(PrepareConcurrency, ThreadsPreparingCopiesShareOnePlan) {
  const Hyphenator h = liang::loadHyphenator(*liang::languageForName("de-1996"));
  const Hyphenator copy = h;
  std::thread other([&] { prepare(copy); });
  prepare(h);
  other.join();
  EXPECT_EQ(liang::internal::HyphenatorAccess::planSlot(h).get(),
            liang::internal::HyphenatorAccess::planSlot(copy).get());
  EXPECT_NE(liang::internal::HyphenatorAccess::planSlot(h).get(), nullptr);
}

}  // namespace
