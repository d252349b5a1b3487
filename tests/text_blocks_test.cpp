// The fast paths of running text: letters classified sixteen bytes at a time
// (vector and scalar forms against each other and a byte-at-a-time model),
// words read at every offset from a block and a buffer's end, and the cache
// of short words' breaks (bounded, and never changing a result).
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "liang/liang.hpp"
#include "text/BreakCache.hpp"
#include "text/LetterBlocks.hpp"
#include "text/WordRules.hpp"

namespace liang {
namespace {

using internal::BreakCache;
using internal::kBlock;
using internal::LetterBlock;

bool modelUpper(unsigned b) { return b >= 'A' && b <= 'Z'; }
bool modelLetter(unsigned b) { return modelUpper(b) || (b >= 'a' && b <= 'z'); }

LetterBlock modelBlock(const unsigned char* p) {
  LetterBlock block{0, 0};
  for (std::size_t i = 0; i < kBlock; ++i) {
    block.letters |= static_cast<std::uint32_t>(modelLetter(p[i])) << i;
    block.upper |= static_cast<std::uint32_t>(modelUpper(p[i])) << i;
  }
  return block;
}

void expectBlock(const unsigned char* p, const std::string& where) {
  const LetterBlock model = modelBlock(p);
  const LetterBlock scalar = internal::classifyBlockScalar(p);
  const LetterBlock best = internal::classifyBlock(p);
  EXPECT_EQ(scalar.letters, model.letters) << where;
  EXPECT_EQ(scalar.upper, model.upper) << where;
  EXPECT_EQ(best.letters, model.letters) << where;
  EXPECT_EQ(best.upper, model.upper) << where;
}

// Every byte value at every position of a block, amid letters of either
// case, amid non-letters and amid bytes of multi-byte UTF-8.
TEST(LetterBlocks, EveryByteAtEveryPositionAsTheModelSays) {
  const unsigned char fillers[] = {'a', 'Z', ' ', 0x00, 0x80, 0xC3, 0xFF, '@', '[', '`', '{'};
  for (const unsigned char filler : fillers) {
    for (std::size_t at = 0; at < kBlock; ++at) {
      for (unsigned b = 0; b < 256; ++b) {
        unsigned char block[kBlock];
        std::fill(block, block + kBlock, filler);
        block[at] = static_cast<unsigned char>(b);
        expectBlock(block, "byte " + std::to_string(b) + " at " + std::to_string(at) + " amid " +
                               std::to_string(filler));
      }
    }
  }
  std::mt19937 random(42);
  for (int k = 0; k < 20000; ++k) {
    unsigned char block[kBlock];
    for (unsigned char& b : block) b = static_cast<unsigned char>(random());
    expectBlock(block, "random block " + std::to_string(k));
  }
}

// The end of a run of letters, a byte at a time.
std::size_t modelLettersEnd(const std::vector<unsigned char>& bytes, std::size_t begin,
                            std::size_t limit, bool& upper, bool& lower) {
  upper = lower = false;
  std::size_t at = begin + 1;
  for (; at < limit && modelLetter(bytes[at]); ++at) {
    upper = upper || modelUpper(bytes[at]);
    lower = lower || !modelUpper(bytes[at]);
  }
  return at;
}

// A word at every offset from a 16-byte block (and so across one or two
// block edges), of every length to 40, ended by every kind of byte -- a
// space, punctuation, a digit, '<', bytes of a multi-byte character split
// across the block edge -- or by the end of a buffer of exactly its size,
// and cut short by limits.
TEST(LetterBlocks, RunsOfLettersEndWhereAByteAtATimeReadingEndsThem) {
  const std::vector<std::string> ends = {"",
                                         " ",
                                         ",",
                                         ".",
                                         "-",
                                         "0",
                                         "<",
                                         "&",
                                         "@",
                                         "[",
                                         "`",
                                         "{",
                                         "\xC3\xA9",
                                         "\xE2\x80\x94",
                                         "\xF0\x9F\x98\x80",
                                         "\xC3",
                                         "\x80"};
  const std::string letters = "AZazHyphenationOfWORDSacrossBlocksAndBuffersZz";
  for (std::size_t offset = 0; offset < 2 * kBlock; ++offset) {
    for (std::size_t length = 1; length <= letters.size(); ++length) {
      for (const std::string& end : ends) {
        std::string text(offset, ' ');
        text += letters.substr(letters.size() - length);
        text += end;
        // Exactly the text's size: reading past it is a fault under
        // AddressSanitizer.
        const std::vector<unsigned char> bytes(text.begin(), text.end());
        const auto buffer = std::make_unique<unsigned char[]>(bytes.size());
        std::copy(bytes.begin(), bytes.end(), buffer.get());
        for (const std::size_t cut : {bytes.size(), offset + length, offset + 1 + length / 2}) {
          const std::size_t limit = std::min(cut, bytes.size());
          bool upper, lower, modelUpperSeen, modelLowerSeen;
          const std::size_t got =
              internal::asciiLettersEnd(buffer.get(), offset, limit, bytes.size(), upper, lower);
          const std::size_t want =
              modelLettersEnd(bytes, offset, limit, modelUpperSeen, modelLowerSeen);
          const std::string where = "offset " + std::to_string(offset) + " length " +
                                    std::to_string(length) + " end '" + end + "' limit " +
                                    std::to_string(limit);
          EXPECT_EQ(got, want) << where;
          EXPECT_EQ(upper, modelUpperSeen) << where;
          EXPECT_EQ(lower, modelLowerSeen) << where;
        }
      }
    }
  }
}

// Running text hyphenates a token alike wherever it lies: after any number
// of spaces (every offset from a block edge), at the very end of the text,
// and followed by every kind of byte, multi-byte characters split across
// block edges among them. The tokens are words with marks and characters
// that send them down every path: the whole-token path, the plain one and
// the general one (references, markup, non-ASCII letters, URLs, technical
// tokens).
TEST(RunningTextBlocks, ATokenBreaksAlikeAtEveryOffset) {
  const Hyphenator& h = english_US();
  const std::vector<std::string> tokens = {"hyphenation",
                                           "Hyphenation,",
                                           "HYPHENATION.",
                                           "representation)",
                                           "\"characterization\"",
                                           "associate;",
                                           "iPhones!",
                                           "(vocabulary",
                                           "project's",
                                           "table-top",
                                           "www.example.",
                                           "a@b.example",
                                           "x86_64",
                                           "sources.list",
                                           "caf\xC3\xA9s",
                                           "bien\xE2\x80\x94hyphenation",
                                           "incomprehensibilities\xC2\xA0next",
                                           "hyphenation&amp;",
                                           "hyphenation<b>representation</b>",
                                           "demonstration\xE2\x80\xA6",
                                           "representation's",
                                           "it's.",
                                           "o'clock",
                                           "hyphenation'",
                                           "'tis"};
  for (const bool markup : {false, true}) {
    TextOptions options;
    options.markup = markup;
    options.hyphen = "-";
    for (const std::string& token : tokens) {
      for (const std::string after : {"", " ", "\n", " tail", "\xC3\xA9"}) {
        const std::string alone = insertHyphens(h, token + after, options);
        for (std::size_t offset = 1; offset < 2 * kBlock + 2; ++offset) {
          const std::string spaces(offset, ' ');
          EXPECT_EQ(insertHyphens(h, spaces + token + after, options), spaces + alone)
              << "'" << token << after << "' after " << offset << " spaces, markup " << markup;
        }
      }
    }
  }
}

// A text of many words, most of them repeated and more different ones than
// the cache holds: what the scanner puts out is every word hyphenated as the
// word function hyphenates it, whether its breaks came from the cache or
// not, and whether it is read whole, in pieces, or on a path that never
// looks in the cache.
std::vector<std::string> generatedWords(std::size_t count) {
  static constexpr std::string_view kSyllables[] = {
      "hy",  "phen", "a",   "tion", "rep", "re",   "sen", "ta",  "char", "ac",  "ter", "i",  "za",
      "com", "pre",  "hen", "si",   "bil", "ties", "vo",  "cab", "u",    "lar", "y",   "as", "so"};
  std::mt19937 random(7);
  std::vector<std::string> words;
  for (std::size_t k = 0; k < count; ++k) {
    std::string word;
    const std::size_t syllables = 1 + random() % 7;
    for (std::size_t s = 0; s < syllables; ++s)
      word += kSyllables[random() % std::size(kSyllables)];
    switch (random() % 8) {
      case 0:
        word[0] = static_cast<char>(word[0] - 32);  // capitalized
        break;
      case 1:
        for (char& c : word) c = static_cast<char>(c - 32);  // all capitals
        break;
      default:
        break;
    }
    words.push_back(word);
  }
  return words;
}

std::string expectedOf(const Hyphenator& h, const std::string& word) {
  std::string out;
  std::size_t copied = 0;
  for (const std::size_t p : hyphenationPoints(h, std::string_view(word))) {
    out += word.substr(copied, p - copied) + "-";
    copied = p;
  }
  return out + word.substr(copied);
}

TEST(BreakCache, RunningTextBreaksEveryWordAsTheWordFunctionDoes) {
  const Hyphenator& h = english_US();
  const std::vector<std::string> vocabulary = generatedWords(3 * BreakCache::kEntries);
  std::mt19937 random(11);
  std::string text, expected;
  static constexpr std::string_view kSeparators[] = {" ", ", ", ". ", "\n", "; ", "! "};
  static constexpr std::string_view kEndings[] = {"", "", "", "'s", "'"};
  for (std::size_t k = 0; k < 60000; ++k) {
    // Words of a small set most of the time, as prose repeats them.
    const std::string& word =
        vocabulary[random() % 4 == 0 ? random() % vocabulary.size() : random() % 300];
    const std::string_view separator = kSeparators[random() % std::size(kSeparators)];
    const std::string_view ending = kEndings[random() % std::size(kEndings)];
    text += word;
    text += ending;
    text += separator;
    expected += expectedOf(h, word);
    expected += ending;
    expected += separator;
  }
  TextOptions options;
  options.hyphen = "-";
  EXPECT_EQ(insertHyphens(h, text, options), expected);
  // In pieces of a prime size, which cut words anywhere.
  TextStream stream(h, options);
  std::string streamed;
  for (std::size_t at = 0; at < text.size(); at += 997) {
    stream.feed(std::string_view(text).substr(at, 997), streamed);
  }
  stream.finish(streamed);
  EXPECT_EQ(streamed, expected);
}

// The cache answers what was found without it, for words of every length
// around its longest and past it, and evicted words are found again; it is
// made only once a text has shown enough words, and its size is fixed.
TEST(BreakCache, AnswersAsFindingTheBreaksAfreshWould) {
  const Hyphenator& h = english_US();
  TextOptions options;
  internal::WordRules cached(h, options), uncached(h, options);
  uncached.useBreakCache(false);
  EXPECT_FALSE(cached.hasBreakCache());
  const std::vector<std::string> vocabulary = generatedWords(2 * BreakCache::kEntries);
  std::mt19937 random(5);
  for (std::size_t k = 0; k < 50000; ++k) {
    const std::string& word =
        vocabulary[random() % 2 == 0 ? random() % 64 : random() % vocabulary.size()];
    if (word.size() > 64) continue;
    const auto* bytes = reinterpret_cast<const unsigned char*>(word.data());
    // The first letter's case, and the or of the others', as the scanner
    // gives them.
    const std::uint8_t firstCase = cached.plainLetters()[bytes[0]];
    std::uint8_t laterCase = 0;
    for (std::size_t i = 1; i < word.size(); ++i) laterCase |= cached.plainLetters()[bytes[i]];
    std::size_t found[64], again[64];
    // The word read where a block fits after it, and where the text ends
    // with it.
    const std::size_t room = k % 2 == 0 ? word.size() : word.size() + BreakCache::kLongestWord;
    std::string padded = word + std::string(BreakCache::kLongestWord, 'q');
    const auto* where =
        room == word.size() ? bytes : reinterpret_cast<const unsigned char*>(padded.data());
    const std::size_t n =
        cached.findPlainWordBreaks(where, word.size(), room, firstCase, laterCase, found);
    const std::size_t m =
        uncached.findPlainWordBreaks(bytes, word.size(), word.size(), firstCase, laterCase, again);
    ASSERT_EQ(std::vector<std::size_t>(found, found + n),
              std::vector<std::size_t>(again, again + m))
        << word;
  }
  EXPECT_TRUE(cached.hasBreakCache());
  EXPECT_FALSE(uncached.hasBreakCache());
  EXPECT_LE(BreakCache::kBytes, std::size_t{128} * 1024);
}

// A short text does not pay for a cache: it is made only after
// kWordsBeforeCache words that it could hold.
TEST(BreakCache, MadeOnlyAfterEnoughWords) {
  TextOptions options;
  internal::WordRules rules(english_US(), options);
  const std::string_view word = "hyphenation";
  const auto* bytes = reinterpret_cast<const unsigned char*>(word.data());
  std::size_t found[64];
  for (std::size_t k = 0; k + 1 < internal::WordRules::kWordsBeforeCache; ++k) {
    rules.findPlainWordBreaks(bytes, word.size(), word.size(), rules.plainLetters()['h'],
                              rules.plainLetters()['y'], found);
  }
  EXPECT_FALSE(rules.hasBreakCache());
  EXPECT_EQ(rules.findPlainWordBreaks(bytes, word.size(), word.size(), rules.plainLetters()['h'],
                                      rules.plainLetters()['y'], found),
            2u);
  EXPECT_TRUE(rules.hasBreakCache());
  EXPECT_EQ(found[0], 2u);
  EXPECT_EQ(found[1], 6u);
}

// Where a text does not repeat its words, the cache is left aside for a
// while, and the breaks are what they are with it.
TEST(BreakCache, LeftAsideWhereWordsDoNotRepeat) {
  TextOptions options;
  internal::WordRules cached(english_US(), options), uncached(english_US(), options);
  uncached.useBreakCache(false);
  for (std::size_t k = 0; k < 3 * internal::WordRules::kCacheRound; ++k) {
    // Every word a different one: "hyphen" and k in letters.
    std::string word = "hyphen";
    for (std::size_t rest = k; rest != 0; rest /= 26) word += static_cast<char>('a' + rest % 26);
    const auto* bytes = reinterpret_cast<const unsigned char*>(word.data());
    std::uint8_t laterCase = 0;
    for (std::size_t i = 1; i < word.size(); ++i) laterCase |= cached.plainLetters()[bytes[i]];
    std::size_t found[64], again[64];
    const std::size_t n = cached.findPlainWordBreaks(bytes, word.size(), word.size(),
                                                     cached.plainLetters()['h'], laterCase, found);
    const std::size_t m = uncached.findPlainWordBreaks(
        bytes, word.size(), word.size(), cached.plainLetters()['h'], laterCase, again);
    ASSERT_EQ(std::vector<std::size_t>(found, found + n),
              std::vector<std::size_t>(again, again + m))
        << word;
  }
  EXPECT_TRUE(cached.hasBreakCache());
  EXPECT_TRUE(cached.breakCachePaused());
}

// Keys tell every two words apart, a word and its prefixes above all, read
// with or without room for a whole block after them.
TEST(BreakCache, KeysTellWordsApart) {
  const std::string letters = "abcdefghijklmnopq";
  std::vector<BreakCache::Key> keys;
  for (std::size_t n = 1; n <= BreakCache::kLongestWord; ++n) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(letters.data());
    const BreakCache::Key roomy = BreakCache::keyOf(bytes, n, letters.size());
    const BreakCache::Key tight = BreakCache::keyOf(bytes, n, n);
    EXPECT_EQ(roomy.first, tight.first) << n;
    EXPECT_EQ(roomy.second, tight.second) << n;
    for (const BreakCache::Key& other : keys) {
      EXPECT_FALSE(other.first == roomy.first && other.second == roomy.second) << n;
    }
    keys.push_back(roomy);
  }
  BreakCache cache;
  std::uint32_t breaks = 0;
  EXPECT_FALSE(cache.find(keys[4], breaks));
  cache.store(keys[4], 0b100100);
  ASSERT_TRUE(cache.find(keys[4], breaks));
  EXPECT_EQ(breaks, 0b100100u);
  EXPECT_FALSE(cache.find(keys[5], breaks));
}

}  // namespace
}  // namespace liang
