// UTF-8 words, hyphenation points and running text.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "core/Utf8.hpp"
#include "liang/liang.hpp"
#include "test_support.hpp"

namespace liang {
namespace {

using testing_support::join;
using testing_support::withoutAll;

using internal::decodeUtf8;
using internal::encodeUtf8;

// A hyphenator whose every break is visible: "a1b" breaks between a and b,
// "b1." after a final b; minima 1 and 0 so that the latter shows.
const Hyphenator& abHyphenator() {
  static const Hyphenator h([](char32_t c) { return c == U'A' ? U'a' : c; },
                            parsePatterns(U"a1b\nb1.\n"), emptyExceptions(), 1, 0);
  return h;
}

// Byte strings with every kind of ill-formed UTF-8 among ordinary text.
std::vector<std::string> awkwardWords() {
  std::vector<std::string> words = {
      "",
      "hyphenation",
      "Hyphenation",
      "\xC3",  // a lead byte alone
      "hyph\x80"
      "enation",         // a stray continuation byte
      "hyphen\xE2\x80",  // a truncated three-byte sequence
      "\xC0\xAF"
      "table",  // an overlong "/"
      "\xED\xA0\x80"
      "ab",                // an encoded surrogate
      "\xF4\x90\x80\x80",  // above U+10FFFF
      "\xFF\xFE"
      "computer",
      "caf\xE9",  // Latin-1, not UTF-8
      "\xE2\x82\xAC"
      "uro",  // a well-formed euro sign
  };
  std::mt19937 random(20240601);
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<int> length(0, 40);
  const std::string_view letters = "abcdefghijklmnopqrstuvwxyz";
  for (int i = 0; i < 500; ++i) {
    std::string word;
    for (int n = length(random); n > 0; --n) {
      const int b = byte(random);
      // Mostly letters, so that breaks happen, with raw bytes between them.
      word.push_back(b < 200 ? letters[b % letters.size()] : static_cast<char>(b));
    }
    words.push_back(word);
  }
  return words;
}

// Overload resolution: a narrow string is UTF-8, a char32_t string code points.
static_assert(std::is_same_v<decltype(hyphenate(std::declval<const Hyphenator&>(), "abc")),
                             std::vector<std::string>>);
static_assert(
    std::is_same_v<decltype(hyphenate(std::declval<const Hyphenator&>(), std::string("abc"))),
                   std::vector<std::string>>);
static_assert(
    std::is_same_v<decltype(hyphenate(std::declval<const Hyphenator&>(), std::declval<char*>())),
                   std::vector<std::string>>);
static_assert(std::is_same_v<decltype(hyphenate(std::declval<const Hyphenator&>(), U"abc")),
                             std::vector<Word>>);
static_assert(std::is_same_v<decltype(hyphenate(std::declval<const Hyphenator&>(), Word(U"abc"))),
                             std::vector<Word>>);
static_assert(std::is_same_v<decltype(hyphenationPoints(std::declval<const Hyphenator&>(), "abc")),
                             std::vector<std::size_t>>);
static_assert(std::is_same_v<decltype(hyphenationPoints(std::declval<const Hyphenator&>(), U"abc")),
                             std::vector<std::size_t>>);
static_assert(std::is_same_v<decltype(hyphenationPoints(std::declval<const Hyphenator&>(), "abc",
                                                        std::span<std::size_t>())),
                             std::size_t>);
static_assert(std::is_same_v<decltype(hyphenationPoints(std::declval<const Hyphenator&>(), U"abc",
                                                        std::span<std::size_t>())),
                             std::size_t>);

TEST(Utf8Hyphenate, CutsLikeTheCodePointVersion) {
  EXPECT_EQ(hyphenate(english_US(), "hyphenation"),
            (std::vector<std::string>{"hy", "phen", "ation"}));
  EXPECT_EQ(hyphenate(english_US(), std::string("table")), (std::vector<std::string>{"ta", "ble"}));
  const std::vector<std::pair<const Hyphenator*, std::string>> samples = {
      {&english_US(), "Hyphenation"},
      {&german_1996(), "Donaudampfschifffahrtsgesellschaftskapitän"},
      {&french(), "anticonstitutionnellement"},
      {&french(), "élégamment"},
      {&russian(), "переносимость"},
      {&greek_Mono(), "υπολογιστής"},
      {&hindi(), "हिन्दीभाषा"},
  };
  for (const auto& [h, word] : samples) {
    std::vector<std::string> expected;
    for (const Word& piece : hyphenate(*h, decodeUtf8(word))) expected.push_back(encodeUtf8(piece));
    EXPECT_EQ(hyphenate(*h, word), expected) << word;
    EXPECT_GT(expected.size(), 1u) << word;
  }
}

TEST(Utf8Hyphenate, EmptyWordIsOneEmptyPiece) {
  EXPECT_EQ(hyphenate(english_US(), ""), std::vector<std::string>{""});
  EXPECT_EQ(hyphenate(abHyphenator(), std::string_view()), std::vector<std::string>{""});
}

TEST(Utf8Hyphenate, PiecesConcatenateToIllFormedInputByteForByte) {
  for (const Hyphenator* h : {&english_US(), &french(), &abHyphenator()}) {
    for (const std::string& word : awkwardWords()) {
      const std::vector<std::string> pieces = hyphenate(*h, word);
      ASSERT_FALSE(pieces.empty());
      EXPECT_EQ(join(pieces, ""), word);
    }
  }
}

TEST(Utf8Hyphenate, IllFormedByteIsOneLatin1Character) {
  // 0xE9 alone is é; French hyphenates the Latin-1 word as it does the UTF-8 one.
  const std::vector<std::string> utf8 = hyphenate(french(), "\xC3\xA9l\xC3\xA9gamment");
  const std::vector<std::string> latin1 = hyphenate(french(), "\xE9l\xE9gamment");
  ASSERT_EQ(latin1.size(), utf8.size());
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    EXPECT_EQ(decodeUtf8(latin1[i]), decodeUtf8(utf8[i])) << i;
  }
  // An ill-formed byte is one character between its neighbours: it keeps "a"
  // and "b" apart, so only the later, adjacent "ab" breaks (and "b." at the end).
  EXPECT_EQ(hyphenate(abHyphenator(),
                      "a\x80"
                      "bab"),
            (std::vector<std::string>{"a\x80"
                                      "ba",
                                      "b", ""}));
}

TEST(Utf8Hyphenate, TrailingEmptyPieceSurvives) {
  // Right minimum 0 and an odd score after the final b.
  EXPECT_EQ(hyphenate(abHyphenator(), "Ab"), (std::vector<std::string>{"A", "b", ""}));
  EXPECT_EQ(hyphenate(abHyphenator(), U"Ab"), (std::vector<Word>{U"A", U"b", U""}));
}

TEST(Utf8Hyphenate, FailuresPassThrough) {
  const Hyphenator failing([](char32_t) -> char32_t { throw std::runtime_error("fold failed"); },
                           emptyPatterns(), emptyExceptions(), 1, 1);
  EXPECT_THROW(hyphenate(failing, "word"), std::runtime_error);
  EXPECT_THROW(hyphenationPoints(failing, "word"), std::runtime_error);
  EXPECT_THROW(insertHyphens(failing, "a word"), std::runtime_error);
  // A word too short to break is answered without folding.
  EXPECT_EQ(hyphenate(failing, "a"), std::vector<std::string>{"a"});
}

TEST(Utf8Hyphenate, LongWordsLeaveTheStackBuffer) {
  std::string word;
  for (int i = 0; i < 200; ++i) word += "ab\xC3\xA9";
  const std::vector<std::string> pieces = hyphenate(abHyphenator(), word);
  EXPECT_EQ(join(pieces, ""), word);
  EXPECT_EQ(pieces.size(), 201u);  // one break inside each of the 200 "ab" pairs
}

TEST(HyphenationPoints, CodePointOffsetsArePieceStarts) {
  EXPECT_EQ(hyphenationPoints(english_US(), U"hyphenation"), (std::vector<std::size_t>{2, 6}));
  EXPECT_EQ(hyphenationPoints(english_US(), U""), std::vector<std::size_t>{});
  EXPECT_EQ(hyphenationPoints(english_US(), U"cat"), std::vector<std::size_t>{});
  EXPECT_EQ(hyphenationPoints(abHyphenator(), U"Ab"), (std::vector<std::size_t>{1, 2}));
  for (const std::u32string_view word : {U"Donaudampfschifffahrtsgesellschaftskapitän",
                                         U"anticonstitutionnellement", U"ab", U"abab"}) {
    for (const Hyphenator* h : {&german_1996(), &french(), &abHyphenator()}) {
      std::vector<std::size_t> starts;
      std::size_t offset = 0;
      const std::vector<Word> pieces = hyphenate(*h, word);
      for (std::size_t i = 0; i + 1 < pieces.size(); ++i)
        starts.push_back(offset += pieces[i].size());
      EXPECT_EQ(hyphenationPoints(*h, word), starts);
    }
  }
}

TEST(HyphenationPoints, ByteOffsetsArePieceStarts) {
  EXPECT_EQ(hyphenationPoints(english_US(), "hyphenation"), (std::vector<std::size_t>{2, 6}));
  for (const Hyphenator* h : {&english_US(), &french(), &abHyphenator()}) {
    for (const std::string& word : awkwardWords()) {
      std::vector<std::size_t> starts;
      std::size_t offset = 0;
      const std::vector<std::string> pieces = hyphenate(*h, word);
      for (std::size_t i = 0; i + 1 < pieces.size(); ++i)
        starts.push_back(offset += pieces[i].size());
      EXPECT_EQ(hyphenationPoints(*h, word), starts);
    }
  }
}

TEST(HyphenationPoints, ByteAndCodePointOffsetsAgree) {
  // The k-th byte offset starts the same character as the k-th code point offset.
  for (const Hyphenator* h : {&english_US(), &french(), &russian(), &abHyphenator()}) {
    std::vector<std::string> words = awkwardWords();
    words.insert(words.end(), {"élégamment", "переносимость", "\xE9l\xE9gamment"});
    for (const std::string& word : words) {
      const std::vector<std::size_t> bytes = hyphenationPoints(*h, word);
      const std::vector<std::size_t> codePoints = hyphenationPoints(*h, decodeUtf8(word));
      ASSERT_EQ(bytes.size(), codePoints.size()) << word;
      for (std::size_t i = 0; i < bytes.size(); ++i) {
        EXPECT_EQ(decodeUtf8(std::string_view(word).substr(0, bytes[i])).size(), codePoints[i]);
      }
    }
  }
}

// The form that writes into the caller's storage gives the vector's points,
// and their number whatever the room: none, too little, exactly enough.
TEST(HyphenationPoints, IntoCallersStorageAgreesWithTheVector) {
  std::vector<std::string> words = awkwardWords();
  words.insert(words.end(), {"Donaudampfschifffahrtsgesellschaftskapitän", "élégamment",
                             "anticonstitutionnellement", std::string(300, 'a') + "b"});
  for (const Hyphenator* h : {&english_US(), &german_1996(), &french(), &abHyphenator()}) {
    for (const std::string& word : words) {
      for (const bool utf8 : {true, false}) {
        const std::u32string decoded = decodeUtf8(word);
        const std::vector<std::size_t> expected =
            utf8 ? hyphenationPoints(*h, word) : hyphenationPoints(*h, decoded);
        const auto into = [&](std::span<std::size_t> out) {
          return utf8 ? hyphenationPoints(*h, std::string_view(word), out)
                      : hyphenationPoints(*h, std::u32string_view(decoded), out);
        };
        EXPECT_EQ(into({}), expected.size());
        for (std::size_t room = 0; room <= expected.size() + 1; ++room) {
          std::vector<std::size_t> out(room + 1, 999);
          ASSERT_EQ(into(std::span(out).first(room)), expected.size()) << word;
          const std::size_t written = std::min(room, expected.size());
          EXPECT_TRUE(std::equal(expected.begin(), expected.begin() + written, out.begin()));
          EXPECT_EQ(out[room], 999u) << "wrote past the room given";
        }
      }
    }
  }
}

TEST(InsertHyphens, MultiLanguageSample) {
  EXPECT_EQ(insertHyphens(english_US(), "Hyphenation of computer programs.", "-"),
            "Hy-phen-ation of com-puter pro-grams.");
  EXPECT_EQ(insertHyphens(german_1996(), "Die Donaudampfschifffahrt.", "-"),
            "Die Do-nau-dampf-schiff-fahrt.");
  EXPECT_EQ(insertHyphens(french(), "Une élégance anticonstitutionnelle", "-"),
            "Une élé-gance an-ti-cons-ti-tu-tion-nelle");
  EXPECT_EQ(insertHyphens(russian(), "Гипотетическая переносимость", "-"),
            "Ги-по-те-ти-че-ская пе-ре-но-си-мость");
}

TEST(InsertHyphens, EveryWordIsHyphenatedAsAlone) {
  // Words of all four languages side by side: each hyphenator hyphenates its
  // own script's words exactly as hyphenate does and leaves the rest alone.
  const std::string sample =
      "Hyphenation\tand Silbentrennung, l'élégance (\"переносимость\"), 42 examples!\n";
  for (const Hyphenator* h : {&english_US(), &german_1996(), &french(), &russian()}) {
    const std::string out = insertHyphens(*h, sample, "=");
    EXPECT_EQ(withoutAll(out, "="), sample);
    for (const std::string_view word : {"Hyphenation", "Silbentrennung", "examples"}) {
      if (hyphenationPoints(*h, word).empty()) continue;
      EXPECT_NE(out.find(join(hyphenate(*h, word), "=")), std::string::npos) << out;
    }
  }
  EXPECT_NE(insertHyphens(russian(), sample, "=").find("пе=ре=но=си=мость"), std::string::npos);
  // Cyrillic letters are not English letters.
  EXPECT_EQ(insertHyphens(english_US(), "переносимость", "="), "переносимость");
}

TEST(InsertHyphens, EmptyAndWordlessText) {
  EXPECT_EQ(insertHyphens(english_US(), ""), "");
  EXPECT_EQ(insertHyphens(english_US(), "   \n\n\t"), "   \n\n\t");
  EXPECT_EQ(insertHyphens(
                Hyphenator([](char32_t c) { return c; }, emptyPatterns(), emptyExceptions(), 1, 1),
                "no letters in an empty trie"),
            "no letters in an empty trie");
}

TEST(InsertHyphens, IllFormedBytesPassThroughUnchanged) {
  for (const std::string& word : awkwardWords()) {
    const std::string text = "x " + word + "\n" + word + " hyphenation " + word;
    for (const Hyphenator* h : {&english_US(), &french(), &abHyphenator()}) {
      EXPECT_EQ(withoutAll(insertHyphens(*h, text, "\x01"), "\x01"), text);
    }
  }
  // Between words an ill-formed byte is copied; inside one it is a character.
  EXPECT_EQ(insertHyphens(english_US(), "\xFFhyphenation\xFF", "-"), "\xFFhy-phen-ation\xFF");
  EXPECT_EQ(insertHyphens(french(), "\xE9l\xE9gance", "-"), "\xE9l\xE9-gance");
}

TEST(InsertHyphens, TrailingBreakAddsHyphenAfterWord) {
  EXPECT_EQ(insertHyphens(abHyphenator(), "ab, Ab.", "-"), "a-b-, A-b-.");
}

TEST(Utf8, IncompleteTailWaitsForTheRestOfItsSequence) {
  using internal::incompleteUtf8Tail;
  EXPECT_EQ(incompleteUtf8Tail(""), 0u);
  EXPECT_EQ(incompleteUtf8Tail("abc"), 0u);
  EXPECT_EQ(incompleteUtf8Tail("a\xC3"), 1u);
  EXPECT_EQ(incompleteUtf8Tail("a\xC3\xA9"), 0u);
  EXPECT_EQ(incompleteUtf8Tail("\xE2\x82"), 2u);
  EXPECT_EQ(incompleteUtf8Tail("\xE2\x82\xAC"), 0u);
  EXPECT_EQ(incompleteUtf8Tail("\xF0\x9F\x98"), 3u);
  EXPECT_EQ(incompleteUtf8Tail("\xF0\x9F\x98\x80"), 0u);
  // Prefixes that can never become well-formed are settled now.
  EXPECT_EQ(incompleteUtf8Tail("\xE0\x80"), 0u);  // overlong
  EXPECT_EQ(incompleteUtf8Tail("\xED\xA0"), 0u);  // surrogate
  EXPECT_EQ(incompleteUtf8Tail("\xF4\x90"), 0u);  // above U+10FFFF
  EXPECT_EQ(incompleteUtf8Tail("\xC0"), 0u);
  EXPECT_EQ(incompleteUtf8Tail("\x80\x80\x80"), 0u);
}

}  // namespace
}  // namespace liang
