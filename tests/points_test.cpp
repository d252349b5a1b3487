// The span forms of hyphenationPoints: the same points as the vector forms,
// the snprintf convention when the room is short, and no allocation for a
// word of ordinary length.
#include <gtest/gtest.h>
#include <liang/liang.hpp>
#include "core/Utf8.hpp"

#include <array>
#include <cstddef>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "allocation_hooks.hpp"
#include "language_words.hpp"

namespace {

using liang::hyphenationPoints;
using liang::Hyphenator;
using liang::internal::encodeUtf8;

constexpr std::size_t kUntouched = 0xDEADBEEF;

// Words of language `x`, and some past 64 characters made by joining them.
std::vector<std::u32string> wordsWithLongOnes(liang::Language x, std::mt19937& random) {
  std::vector<std::u32string> words = test_words::wordsOf(x, 150, random);
  const std::size_t ordinary = words.size();
  for (int w = 0; w < 20 && ordinary > 0; ++w) {
    std::u32string word;
    while (word.size() <= 64 + random() % 100) word += words[random() % ordinary];
    words.push_back(word);
  }
  return words;
}

// The points into a span of exactly `room` entries, checked against
// `expected` (the vector form's): the full count, the first `room` points,
// nothing written past them.
template <class WordView>
void expectSpanAgrees(const Hyphenator& h, WordView word, const std::vector<std::size_t>& expected,
                      std::size_t room, const std::string& context) {
  std::vector<std::size_t> out(room + 1, kUntouched);
  const std::size_t count = hyphenationPoints(h, word, std::span<std::size_t>(out.data(), room));
  ASSERT_EQ(count, expected.size()) << context;
  for (std::size_t k = 0; k < room; ++k) {
    ASSERT_EQ(out[k], k < expected.size() ? expected[k] : kUntouched) << context << ", point " << k;
  }
  ASSERT_EQ(out[room], kUntouched) << context << ": wrote past the span";
}

// In every language, on words from its patterns and its exception list and
// on long words: the span forms agree with the vector forms, in code points
// and in UTF-8 bytes, with room for all, with none, and with one too few.
TEST(SpanPoints, AgreeWithTheVectorFormsInEveryLanguage) {
  std::mt19937 random(47);
  std::size_t withSeveral = 0, long_ = 0;
  for (const liang::Language x : liang::enumFrom(liang::lowestLanguage())) {
    const Hyphenator& h = liang::languageHyphenator(x);
    for (const std::u32string& word : wordsWithLongOnes(x, random)) {
      const std::string context = liang::show(x) + " " + encodeUtf8(word);
      const std::vector<std::size_t> inChars = hyphenationPoints(h, std::u32string_view(word));
      const std::string utf8 = encodeUtf8(word);
      const std::vector<std::size_t> inBytes = hyphenationPoints(h, std::string_view(utf8));
      ASSERT_EQ(inChars.size(), inBytes.size()) << context;
      withSeveral += inChars.size() >= 2;
      long_ += word.size() > 64;
      for (const std::size_t room : {inChars.size(), std::size_t{0}, inChars.size() + 3,
                                     inChars.empty() ? std::size_t{0} : inChars.size() - 1}) {
        expectSpanAgrees(h, std::u32string_view(word), inChars, room, context);
        expectSpanAgrees(h, std::string_view(utf8), inBytes, room, context);
      }
    }
  }
  EXPECT_GT(withSeveral, 5000u);
  EXPECT_GT(long_, 1000u);
}

// A word of ordinary length -- whether the plan answers it or it goes the
// long way, past the exception dictionary -- costs no allocation through
// the span forms, in either encoding, once the hyphenator is prepared.
TEST(SpanPoints, AllocateNothingForOrdinaryWords) {
  std::mt19937 random(53);
  for (const char* name : {"en-us", "de-1996", "hu", "ru", "el-monoton"}) {
    const liang::Language x = *liang::languageForName(name);
    const Hyphenator& h = liang::languageHyphenator(x);
    liang::prepare(h);
    std::vector<std::u32string> words;
    std::vector<std::string> utf8Words;
    for (const std::u32string& word : test_words::wordsOf(x, 300, random)) {
      const std::string utf8 = encodeUtf8(word);
      if (utf8.size() > 64) continue;
      words.push_back(word);
      utf8Words.push_back(utf8);
    }
    ASSERT_GT(words.size(), 200u) << name;
    std::array<std::size_t, 64> out;
    std::size_t points = 0;
    const std::uint64_t before = allocation_hooks::count();
    for (std::size_t w = 0; w < words.size(); ++w) {
      points += hyphenationPoints(h, std::u32string_view(words[w]), out);
      points += hyphenationPoints(h, std::string_view(utf8Words[w]), out);
    }
    EXPECT_EQ(allocation_hooks::count() - before, 0u) << name;
    EXPECT_GT(points, words.size() / 2) << name;  // the words did break
  }
}

}  // namespace
