// The full index of a trie too large for its table of moves to hold every
// row: the shallowest rows are in the table, the deeper ones keep their own
// moves. Hyphenation through it must cut exactly as the walk of the store
// (lookupPattern) scores, whichever rows a word passes through.
#include <gtest/gtest.h>
#include <liang/liang.hpp>
#include "core/PatternNodes.hpp"
#include "languages/Loader.hpp"

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "index_support.hpp"
#include "reference_model.hpp"

namespace {

using liang::Hyphenator;
using liang::Patterns;
using Pieces = std::vector<liang::Word>;

// Hyphenates every word through the full index, at minima 1 and 1 and with
// no fold, and compares with the cut of the store walk's scores.
void expectCutsLikeTheStoreWalk(const Patterns& patterns, const std::vector<std::u32string>& words,
                                const std::string& name) {
  liang::internal::buildFullIndex(patterns);
  ASSERT_TRUE(testing_support::fullyIndexed(patterns)) << name;
  const Hyphenator h(liang::internal::parseChars(U""), patterns, {}, 1, 1);
  for (const std::u32string& word : words) {
    const Pieces expected = reference::cut(word, liang::lookupPattern(word, patterns), 1, 1);
    ASSERT_EQ(liang::hyphenate(h, word), expected) << name << ", a word of " << word.size();
  }
}

// The largest shipped tries (whose tables held only their shallow rows
// under a smaller bound), on words joined from the letter runs of their own pattern
// lines -- which lead deep into the trie at almost every letter -- of
// ordinary length and past the length whose breaks fit one mask, some with
// a character that is no letter of the patterns inside.
TEST(LargeTrie, ShippedTriesPastTheTableCutLikeTheStoreWalk) {
  std::mt19937 random(11);
  for (const liang::Language x : {liang::Language::Hungarian, liang::Language::Norwegian_Bokmal,
                                  liang::Language::Greek_Ancient, liang::Language::Afrikaans}) {
    const std::u32string text = liang::internal::embeddedFileText(
        "hyph-" + std::string(liang::languageAffix(x)) + ".pat.txt.gz");
    std::vector<std::u32string> runs;
    std::u32string run;
    for (const char32_t c : text) {
      if (c == U'\n') {
        if (!run.empty()) runs.push_back(run);
        run.clear();
      } else if (!reference::isDigit(c) && c != U'.') {
        run.push_back(c);
      }
    }
    std::vector<std::u32string> words;
    for (int w = 0; w < 3000; ++w) {
      std::u32string word;
      const std::size_t length = w % 10 == 0 ? 50 + random() % 40 : 2 + random() % 20;
      while (word.size() < length) word += runs[random() % runs.size()];
      if (w % 7 == 0) word.insert(random() % word.size(), 1, U'-');
      words.push_back(word);
    }
    expectCutsLikeTheStoreWalk(liang::parsePatterns(text), words, liang::show(x));
  }
}

// Many letters make the table hold few rows: two binary words in three of
// up to 11 letters are lines, with scores here and there, so a run of a's
// or b's goes down a chain of deep rows whose failure rows are deep as
// well, and have children the rows above them lack; thousands more letters,
// each on a line of its own, leave the table room for some 300 rows, those
// of the first eight letters or so, whatever the table's bound.
TEST(LargeTrie, DeepFailureChainsCutLikeTheStoreWalk) {
  std::mt19937 random(29);
  std::u32string text;
  for (std::uint32_t length = 1; length <= 11; ++length) {
    for (std::uint32_t bits = 0; bits < (1u << length); ++bits) {
      if (random() % 3 == 0) continue;
      for (std::uint32_t k = 0; k < length; ++k) {
        if (random() % 4 == 0) text.push_back(static_cast<char32_t>(U'1' + random() % 5));
        text.push_back(bits >> k & 1 ? U'b' : U'a');
      }
      text.push_back(U'\n');
    }
  }
  constexpr char32_t kFirstLetter = 0x4E00;  // CJK ideographs: letters, all of them
  constexpr auto kMoreLetters =
      static_cast<char32_t>(liang::internal::PatternIndex::resolvedMovesBound() / 320);
  for (char32_t letter = kFirstLetter; letter < kFirstLetter + kMoreLetters; ++letter) {
    text += std::u32string(U"1") + letter + U"\n";
  }
  std::vector<std::u32string> words;
  for (int w = 0; w < 3000; ++w) {
    std::u32string word;
    const std::size_t length = w % 10 == 0 ? 50 + random() % 40 : 2 + random() % 30;
    // Long runs of one letter, broken now and then.
    for (char32_t c = U'a'; word.size() < length;) {
      if (random() % 5 == 0) c = c == U'a' ? U'b' : U'a';
      word.push_back(
          random() % 50 == 0 ? static_cast<char32_t>(kFirstLetter + random() % kMoreLetters) : c);
    }
    words.push_back(word);
  }
  const Patterns patterns = liang::parsePatterns(text);
  expectCutsLikeTheStoreWalk(patterns, words, "binary");
  EXPECT_GT(testing_support::deepRowCount(patterns), 1000u);
}

}  // namespace
