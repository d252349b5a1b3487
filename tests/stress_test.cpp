// Stress: many threads meeting unbuilt hyphenators, words of ten million
// characters, the whole code space through every language, and pattern and
// exception lines of degenerate shapes.
//
// ctest runs every test of this file in a process of its own, so each race
// below meets hyphenators that nothing has built yet. The suites whose names
// contain "Concurrency" are the ones the ThreadSanitizer build runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <latch>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "core/Utf8.hpp"
#include "languages/Loader.hpp"
#include "liang/liang.hpp"
#include "reference_model.hpp"

namespace liang {
namespace {

// Sanitized and unoptimised builds run the heaviest loops with a stride
// (still visiting every language), so that the whole file stays within
// seconds there too.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kLight = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
constexpr bool kLight = true;
#else
constexpr bool kLight = false;
#endif
#elif !defined(NDEBUG)
constexpr bool kLight = true;
#else
constexpr bool kLight = false;
#endif

constexpr int kThreads = 64;
constexpr std::size_t kLanguageCount = 73;
constexpr char32_t kLastCodePoint = 0x10FFFF;

using Accessor = const Hyphenator& (*)();
constexpr std::array<Accessor, kLanguageCount> kAccessors = {
    &afrikaans,
    &armenian,
    &assamese,
    &basque,
    &bengali,
    &bulgarian,
    &catalan,
    &chinese,
    &coptic,
    &croatian,
    &czech,
    &danish,
    &dutch,
    &english_US,
    &english_GB,
    &esperanto,
    &estonian,
    &ethiopic,
    &finnish,
    &french,
    &friulan,
    &galician,
    &georgian,
    &german_1901,
    &german_1996,
    &german_Swiss,
    &greek_Ancient,
    &greek_Mono,
    &greek_Poly,
    &gujarati,
    &hindi,
    &hungarian,
    &icelandic,
    &indonesian,
    &interlingua,
    &irish,
    &italian,
    &kannada,
    &kurmanji,
    &latin,
    &latin_Classic,
    &latvian,
    &lithuanian,
    &malayalam,
    &marathi,
    &mongolian,
    &norwegian_Bokmal,
    &norwegian_Nynorsk,
    &occitan,
    &oriya,
    &panjabi,
    &piedmontese,
    &polish,
    &portuguese,
    &romanian,
    &romansh,
    &russian,
    &sanskrit,
    &serbian_Cyrillic,
    &serbocroatian_Cyrillic,
    &serbocroatian_Latin,
    &slovak,
    &slovenian,
    &spanish,
    &swedish,
    &tamil,
    &telugu,
    &thai,
    &turkish,
    &turkmen,
    &ukrainian,
    &uppersorbian,
    &welsh,
};

Language languageOf(std::size_t ordinal) { return static_cast<Language>(ordinal); }

std::string fileStem(Language x) { return "hyph-" + std::string(languageAffix(x)); }

// Words of a language, read from its own files without touching any
// hyphenator: each joins the letters of a few neighbouring patterns, and
// every other letter is written as a variant from the character file, so
// that folding matters. The exception words come too.
std::vector<Word> sampleWords(Language x, std::size_t count) {
  const std::u32string patterns = internal::embeddedFileText(fileStem(x) + ".pat.txt.gz");
  const std::u32string chars = internal::embeddedFileText(fileStem(x) + ".chr.txt.gz");
  const std::u32string exceptions = internal::embeddedFileText(fileStem(x) + ".hyp.txt.gz");
  std::vector<std::pair<char32_t, char32_t>> variants;  // canonical form, one variant
  for (const auto& line : reference::lines(chars)) {
    if (line.size() >= 2) variants.emplace_back(line[0], line[1]);
  }
  const auto variant = [&](char32_t c) {
    for (const auto& [canonical, v] : variants) {
      if (canonical == c) return v;
    }
    return c;
  };
  const std::vector<std::u32string> lines = reference::lines(patterns);
  std::vector<Word> words;
  for (std::size_t k = 0; k < count && !lines.empty(); ++k) {
    Word word;
    for (std::size_t j = 0; j < 3; ++j) {
      for (char32_t c : lines[(k * lines.size() / count + j) % lines.size()]) {
        if (!reference::isDigit(c) && c != U'.') word.push_back(c);
      }
    }
    for (std::size_t i = 0; i < word.size(); i += 2) word[i] = variant(word[i]);
    words.push_back(word);
  }
  for (auto line : reference::lines(exceptions)) {
    std::erase(line, U'-');
    words.push_back(line);
  }
  return words;
}

// Threads that wait for one another at the start line, so that their first
// uses overlap as much as the scheduler allows.
template <class Body>
void race(Body body) {
  std::latch start(kThreads);
  std::vector<std::thread> threads;
  threads.reserve(kThreads);
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      start.arrive_and_wait();
      body(t);
    });
  }
  for (auto& thread : threads) thread.join();
}

TEST(StressConcurrency, SixtyFourThreadsRaceOnTheFirstUseOfEverySharedHyphenator) {
  // The single-threaded answers, from private hyphenators.
  std::vector<std::vector<Word>> words(kLanguageCount);
  std::vector<std::vector<std::vector<Word>>> expected(kLanguageCount);
  for (std::size_t ordinal = 0; ordinal < kLanguageCount; ++ordinal) {
    words[ordinal] = sampleWords(languageOf(ordinal), 24);
    const Hyphenator h = loadHyphenator(languageOf(ordinal));
    for (const Word& word : words[ordinal]) expected[ordinal].push_back(hyphenate(h, word));
  }

  std::vector<std::array<const Hyphenator*, kLanguageCount>> seen(kThreads);
  std::atomic<int> mismatches{0};
  race([&](int t) {
    // Each thread walks the languages from a different place, half of them
    // through languageHyphenator, half through the named accessors.
    for (std::size_t k = 0; k < kLanguageCount; ++k) {
      const std::size_t ordinal = (static_cast<std::size_t>(t) * 11 + k) % kLanguageCount;
      const Hyphenator& h =
          t % 2 == 0 ? languageHyphenator(languageOf(ordinal)) : kAccessors[ordinal]();
      seen[t][ordinal] = &h;
      for (std::size_t w = 0; w < words[ordinal].size(); ++w) {
        if (hyphenate(h, words[ordinal][w]) != expected[ordinal][w]) ++mismatches;
      }
    }
  });
  EXPECT_EQ(mismatches.load(), 0);
  for (std::size_t ordinal = 0; ordinal < kLanguageCount; ++ordinal) {
    const Hyphenator* shared = &languageHyphenator(languageOf(ordinal));
    EXPECT_EQ(shared, &kAccessors[ordinal]()) << show(languageOf(ordinal));
    for (int t = 0; t < kThreads; ++t) {
      EXPECT_EQ(seen[t][ordinal], shared) << show(languageOf(ordinal)) << " thread " << t;
    }
  }
}

TEST(StressConcurrency, SixtyFourThreadsRaceOnThePrivateComponentsOfOneHyphenator) {
  for (const Language x : {Language::English_US, Language::German_1996, Language::Armenian}) {
    const std::vector<Word> words = sampleWords(x, 200);
    std::vector<std::vector<Word>> expected;
    const Hyphenator singleThreaded = loadHyphenator(x);
    for (const Word& word : words) expected.push_back(hyphenate(singleThreaded, word));

    const Hyphenator h = loadHyphenator(x);
    std::vector<const Patterns*> patterns(kThreads);
    std::vector<const Exceptions*> exceptions(kThreads);
    std::atomic<int> mismatches{0};
    race([&](int t) {
      // Four doors to the unbuilt components: the folding function, the
      // trie, the dictionary, or hyphenate, which needs all three.
      switch (t % 4) {
        case 0:
          if (hyphenatorChars(h)(U'A') == 0) ++mismatches;
          break;
        case 1:
          patterns[t] = &hyphenatorPatterns(h);
          break;
        case 2:
          exceptions[t] = &hyphenatorExceptions(h);
          break;
        default:
          break;
      }
      // Copies share the components, so a copy taken now races as well.
      const Hyphenator copy = h;
      for (std::size_t w = 0; w < words.size(); ++w) {
        if (hyphenate(t % 3 == 0 ? copy : h, words[w]) != expected[w]) ++mismatches;
      }
      if (patterns[t] == nullptr) patterns[t] = &hyphenatorPatterns(h);
      if (exceptions[t] == nullptr) exceptions[t] = &hyphenatorExceptions(h);
    });
    EXPECT_EQ(mismatches.load(), 0) << show(x);
    for (int t = 0; t < kThreads; ++t) {
      EXPECT_EQ(patterns[t], patterns[0]);
      EXPECT_EQ(exceptions[t], exceptions[0]);
    }
    EXPECT_EQ(*patterns[0], hyphenatorPatterns(singleThreaded));
    EXPECT_EQ(*exceptions[0], hyphenatorExceptions(singleThreaded));
  }
}

TEST(StressConcurrency, ThreadsShareTheFirstLookupOfDerivedTries) {
  // insertPattern and merge make tries that share structure with their
  // inputs; the contiguous form a lookup walks is built on the first lookup.
  const std::u32string english = internal::embeddedFileText("hyph-en-us.pat.txt.gz");
  const std::vector<std::u32string> lines = reference::lines(english);
  Patterns base = parsePatterns(english.substr(0, english.size() / 2));
  Patterns inserted = base;
  for (std::size_t k = lines.size() / 2; k < lines.size(); k += 7) {
    inserted = insertPattern(lines[k], inserted);
  }
  const Patterns merged = merge(inserted, parsePatterns(U"a1b\nzz9z\n"));
  // Equal tries built again, and looked up on this thread only.
  Patterns insertedAgain = base;
  for (std::size_t k = lines.size() / 2; k < lines.size(); k += 7) {
    insertedAgain = insertPattern(lines[k], insertedAgain);
  }
  const Patterns mergedAgain = merge(insertedAgain, parsePatterns(U"a1b\nzz9z\n"));
  const std::vector<Word> words = sampleWords(Language::English_US, 300);
  std::vector<Scores> expectedInserted, expectedMerged;
  for (const Word& word : words) {
    expectedInserted.push_back(lookupPattern(word, insertedAgain));
    expectedMerged.push_back(lookupPattern(word, mergedAgain));
  }
  std::atomic<int> mismatches{0};
  race([&](int t) {
    for (std::size_t w = 0; w < words.size(); ++w) {
      const std::size_t k = (w + static_cast<std::size_t>(t) * 5) % words.size();
      if (lookupPattern(words[k], inserted) != expectedInserted[k]) ++mismatches;
      if (lookupPattern(words[k], merged) != expectedMerged[k]) ++mismatches;
    }
  });
  EXPECT_EQ(mismatches.load(), 0);
  EXPECT_EQ(merged, mergedAgain);
}

// Breaks must be increasing and, for non-negative minima, within
// max(L, 1) .. n - R.
void expectBreaksWithinMinima(const Hyphenator& h, std::u32string_view word,
                              const std::vector<std::size_t>& points) {
  const auto left = static_cast<std::size_t>(std::max<std::int64_t>(hyphenatorLeftMin(h), 1));
  const auto right = static_cast<std::size_t>(hyphenatorRightMin(h));
  for (std::size_t k = 0; k < points.size(); ++k) {
    ASSERT_GE(points[k], left);
    ASSERT_LE(points[k] + right, word.size());
    if (k != 0) {
      ASSERT_GT(points[k], points[k - 1]);
    }
  }
}

TEST(StressLongWords, TenMillionCharactersOfEnglish) {
  const std::u32string unit = U"hyphenation";
  constexpr std::size_t kLength = 10'000'000;
  std::u32string word;
  word.reserve(kLength + unit.size());
  while (word.size() < kLength) word += unit;
  const Hyphenator& h = english_US();
  const std::vector<std::size_t> points = hyphenationPoints(h, word);
  expectBreaksWithinMinima(h, word, points);
  // Patterns are at most 16 letters long, so away from the ends the breaks
  // repeat with the word: every break has another one unit further on.
  ASSERT_FALSE(points.empty());
  std::size_t interior = 0;
  for (const std::size_t p : points) {
    if (p < 64 || p + unit.size() + 64 > word.size()) continue;
    ++interior;
    ASSERT_TRUE(std::binary_search(points.begin(), points.end(), p + unit.size())) << p;
  }
  EXPECT_GT(interior, word.size() / unit.size());  // hy-phen-ation: several per unit

  const std::vector<Word> pieces = hyphenate(h, word);
  ASSERT_EQ(pieces.size(), points.size() + 1);
  std::size_t total = 0;
  for (const Word& piece : pieces) {
    ASSERT_EQ(std::u32string_view(word).substr(total, piece.size()), piece);
    total += piece.size();
  }
  EXPECT_EQ(total, word.size());

  // The same word in UTF-8, as running text and (in fast builds) as a word.
  // In running text no word is this long: it is copied as it is, in one
  // pass, while the same letters cut into words of the unit's length all break.
  const std::string utf8 = internal::encodeUtf8(word);
  EXPECT_EQ(insertHyphens(h, utf8, "-"), utf8);
  std::string words;
  for (std::size_t at = 0; at + unit.size() <= word.size(); at += unit.size()) {
    words += internal::encodeUtf8(std::u32string_view(word).substr(at, unit.size()));
    words += ' ';
  }
  const std::string spaced = insertHyphens(h, words, "-");
  EXPECT_EQ(spaced.size() - words.size(),
            (words.size() / (unit.size() + 1)) * hyphenationPoints(h, unit).size());
  if (!kLight) {
    EXPECT_EQ(hyphenationPoints(h, utf8), points);  // ASCII: bytes are characters
    EXPECT_EQ(insertHyphens(h, utf8, ""), utf8);
  }
}

TEST(StressLongWords, TenMillionCharactersThroughTheDeepestTrieWalk) {
  // Every start position walks the whole 16-letter chain, the depth of the
  // longest shipped pattern: the worst case of the bound "word length times
  // longest pattern". The word is also one long dictionary miss, hashed whole.
  const Patterns trie = parsePatterns(U"a1a1a1a1a1a1a1a1a1a1a1a1a1a1a1a\n");
  const std::size_t length = kLight ? 1'000'000 : 10'000'000;
  const std::u32string word(length, U'a');
  const Hyphenator h([](char32_t c) { return c; }, trie, parseExceptions(U"a-a\n"), 2, 2);
  const std::vector<std::size_t> points = hyphenationPoints(h, word);
  ASSERT_EQ(points.size(), length - 3);  // every boundary from 2 to n - 2
  EXPECT_EQ(points.front(), 2u);
  EXPECT_EQ(points.back(), length - 2);
  const Scores scores = lookupPattern(word, trie);
  EXPECT_EQ(scores.size(), length);
}

TEST(StressLongWords, TenMillionCharacterEntriesAndLines) {
  // A pattern line of a million letters (a quarter of that in slow builds),
  // an exception entry and words of ten million: parsed, looked up, merged,
  // compared and destroyed without recursion. The pattern is an "a" and
  // then only "b"s, so the one start position that matches it walks all of
  // it, and every other one stops at once.
  const std::size_t kLength = kLight ? 250'000 : 1'000'000, kHalf = kLength / 2;
  // Built in place: GCC 12 warns falsely (-Wrestrict) on "literal + string".
  std::u32string line(kLength + 1, U'b');
  line[0] = U'a';
  line[kHalf + 1] = U'1';
  const Patterns trie = parsePatterns(line + U"\n");
  EXPECT_EQ(merge(trie, trie), trie);
  EXPECT_EQ(insertPattern(line, emptyPatterns()), trie);
  std::u32string letters(kLength, U'b');
  letters[0] = U'a';
  const Scores scores = lookupPattern(letters, trie);
  ASSERT_EQ(scores.size(), letters.size());
  EXPECT_EQ(scores[kHalf + 1], 1);
  EXPECT_EQ(std::count(scores.begin(), scores.end(), 0), static_cast<std::ptrdiff_t>(kLength - 1));
  // One letter short, the pattern never matches.
  const Scores shorter = lookupPattern(std::u32string_view(letters).substr(0, kLength - 1), trie);
  EXPECT_EQ(std::count(shorter.begin(), shorter.end(), 0),
            static_cast<std::ptrdiff_t>(kLength - 1));

  // The root has no child for "b": a word of ten million of them stops at
  // once at every start position.
  const std::size_t bs = kLight ? 2'000'000 : 10'000'000;
  EXPECT_EQ(lookupPattern(std::u32string(bs, U'b'), trie), Scores(bs, 0));

  constexpr std::size_t kEntryLength = 10'000'000;
  std::u32string entry(kEntryLength, U'c');
  entry[3] = U'-';
  const Exceptions d = parseExceptions(entry);
  const auto found = lookupException(std::u32string(kEntryLength - 1, U'c'), d);
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(found->size(), kEntryLength);
  EXPECT_EQ((*found)[3], 1);
  EXPECT_EQ(merge(d, d), d);
}

TEST(StressCodeSpace, EveryCodePointThroughEveryLanguage) {
  // Everything a char32_t can be: all of 0 .. U+10FFFF (surrogates
  // included) and values above it up to the top of the type.
  std::vector<char32_t> beyond;
  for (char32_t c = kLastCodePoint + 1; c < kLastCodePoint + 4097; ++c) beyond.push_back(c);
  for (char32_t c : {0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFEu, 0xFFFFFFFFu}) beyond.push_back(c);

  // One by one: the folding function for every code point in every
  // language (the identity except for the variants of the character
  // file), and every code point alone as a word, which never breaks. A
  // word just long enough to be looked up -- the code point repeated
  // L + R times -- goes the whole way through fold, dictionary and trie
  // for every 8th code point, each language starting at another offset, so
  // that together they take every code point. Slow builds take every 29th
  // and every 211th code point, again from a different offset per language.
  const char32_t foldStride = kLight ? 29 : 1;
  const char32_t lookupStride = kLight ? 211 : 8;
  for (std::size_t ordinal = 0; ordinal < kLanguageCount; ++ordinal) {
    const Language x = languageOf(ordinal);
    const Hyphenator& h = languageHyphenator(x);
    const std::u32string charText = internal::embeddedFileText(fileStem(x) + ".chr.txt.gz");
    std::vector<bool> inCharFile(kLastCodePoint + 1);
    for (char32_t c : charText) inCharFile[c] = true;
    const CharFold& fold = hyphenatorChars(h);
    const auto minimal = static_cast<std::size_t>(hyphenatorLeftMin(h) + hyphenatorRightMin(h));
    std::size_t unexpected = 0;
    for (auto c = static_cast<char32_t>(ordinal % foldStride); c <= kLastCodePoint;
         c += foldStride) {
      if (!inCharFile[c] && fold(c) != c) ++unexpected;
      if (!hyphenationPoints(h, std::u32string_view(&c, 1)).empty()) ++unexpected;
    }
    for (auto c = static_cast<char32_t>(ordinal % lookupStride); c <= kLastCodePoint;
         c += lookupStride) {
      const std::u32string word(minimal, c);
      for (const std::size_t p : hyphenationPoints(h, word)) {
        if (p != static_cast<std::size_t>(hyphenatorLeftMin(h))) ++unexpected;
      }
    }
    for (char32_t c : beyond) {
      if (fold(c) != c) ++unexpected;
      const std::u32string word(minimal, c);
      for (const std::size_t p : hyphenationPoints(h, word)) {
        if (p != static_cast<std::size_t>(hyphenatorLeftMin(h))) ++unexpected;
      }
    }
    EXPECT_EQ(unexpected, 0u) << show(x);
  }

  // In runs: words of 64 consecutive code points, covering the whole code
  // space and the values beyond it, through every language; as UTF-8 too
  // (where the surrogates become U+FFFD) and as running text.
  constexpr char32_t kRun = 64;
  std::vector<std::u32string> runs;
  std::vector<std::string> utf8Runs;
  for (char32_t first = 0; first <= kLastCodePoint; first += kRun) {
    std::u32string& run = runs.emplace_back();
    for (char32_t c = first; c < first + kRun && c <= kLastCodePoint; ++c) run.push_back(c);
    utf8Runs.push_back(internal::encodeUtf8(run));
  }
  runs.emplace_back(beyond.begin(), beyond.end());
  const std::size_t runStride = kLight ? 61 : 1;
  for (std::size_t ordinal = 0; ordinal < kLanguageCount; ++ordinal) {
    const Language x = languageOf(ordinal);
    const Hyphenator& h = languageHyphenator(x);
    for (std::size_t k = ordinal % runStride; k < runs.size(); k += runStride) {
      expectBreaksWithinMinima(h, runs[k], hyphenationPoints(h, runs[k]));
      if (k >= utf8Runs.size()) continue;
      const std::vector<std::string> pieces = hyphenate(h, utf8Runs[k]);
      std::string joined;
      for (const auto& piece : pieces) joined += piece;
      ASSERT_EQ(joined, utf8Runs[k]) << show(x) << " run " << k;
    }
    // A text of a sixteenth of the runs, each language another sixteenth,
    // separated by blanks. It holds no byte 0xFF, so the hyphen "\xFF"
    // marks exactly the inserted breaks; taking them out gives it back.
    std::string text;
    for (std::size_t k = ordinal % 16; k < utf8Runs.size(); k += 16) {
      text += utf8Runs[k];
      text.push_back(' ');
    }
    std::string marked = insertHyphens(h, text, "\xFF");
    std::erase(marked, '\xFF');
    EXPECT_EQ(marked, text) << show(x);
  }
}

TEST(StressDegenerateLines, PatternLinesOfOnlyDigitsOrOnlyEdgeMarks) {
  const std::vector<std::u32string> words = {U"", U"a", U"ab", U".", U"..", U"a.b", U"hyphenation"};
  const std::u32string manyDigits(100'000, U'7');
  const std::vector<std::u32string> texts = {U"0\n",
                                             U"1\n",
                                             U"0123456789\n",
                                             U"99\n9\n",
                                             manyDigits + U"\n",
                                             U"a" + manyDigits + U"b\n",
                                             U".\n",
                                             U"..\n...\n",
                                             std::u32string(10'000, U'.') + U"\n",
                                             U".1.\n.\n1.1\n",
                                             U"\n\n\n"};
  for (const auto& text : texts) {
    const Patterns trie = parsePatterns(text);
    const auto model = reference::parse(text);
    for (const auto& word : words) {
      EXPECT_EQ(lookupPattern(word, trie), reference::lookup(word, *model))
          << internal::encodeUtf8(text.substr(0, 20)) << " / " << internal::encodeUtf8(word);
      for (const std::int64_t left : {0, 1, 2}) {
        const Hyphenator h([](char32_t c) { return c; }, trie, emptyExceptions(), left, 1);
        const std::vector<Word> pieces = hyphenate(h, word);
        Word joined;
        for (const auto& piece : pieces) joined += piece;
        EXPECT_EQ(joined, word);
        EXPECT_EQ(pieces, reference::cut(word, reference::lookup(word, *model), left, 1));
      }
    }
  }
  // A line of 100,000 digits scores every other one: 50,000 entries at
  // the root, combined at every start position of every word.
  Scores everyOther(50'000, 7);
  everyOther.push_back(0);  // the last digit is followed by a skipped one
  EXPECT_EQ(scorePattern(manyDigits), everyOther);
  // The root's list starts at the boundary after the closing edge mark, so
  // the result runs its 50,001 entries past the 11 boundaries before it.
  EXPECT_EQ(lookupPattern(U"hyphenation", parsePatterns(manyDigits)).size(), 11u + 50'001u);
}

TEST(StressDegenerateLines, ExceptionLinesOfOnlyHyphens) {
  // k hyphens give the empty word ceil(k / 2) ones, and a closing 0 when k
  // is even; lines for one word combine by zipMin, the shortest deciding.
  EXPECT_EQ(scoreException(U"-"), (Scores{1}));
  EXPECT_EQ(scoreException(U"--"), (Scores{1, 0}));
  EXPECT_EQ(scoreException(U"---"), (Scores{1, 1}));
  EXPECT_EQ(scoreException(U"----"), (Scores{1, 1, 0}));
  const std::u32string many(100'000, U'-');
  Scores manyScores(50'000, 1);
  manyScores.push_back(0);
  EXPECT_EQ(scoreException(many), manyScores);
  EXPECT_EQ(lookupException(U"", parseExceptions(many)), manyScores);
  EXPECT_EQ(lookupException(U"", parseExceptions(U"---\n----\n" + many)), (Scores{1, 1}));
  EXPECT_EQ(lookupException(U"", parseExceptions(U"--\n-\n")), (Scores{1}));
  EXPECT_EQ(lookupException(U"", parseExceptions(U"-\n\n---\n")), (Scores{0}));
  EXPECT_EQ(parseExceptions(U"-\n--\n---\n"), parseExceptions(U"---\n--\n-\n"));
  // The empty word is never looked up: it is one empty piece, whatever the
  // dictionary says about it.
  const Hyphenator h([](char32_t c) { return c; }, emptyPatterns(), parseExceptions(many), -5, -5);
  EXPECT_EQ(hyphenate(h, U""), std::vector<Word>{Word()});
  EXPECT_EQ(hyphenate(h, U"-"), (std::vector<Word>{U"-"}));
}

TEST(StressLongWords, DeepTrieAgainstALongWordOfItsLetters) {
  // A 100,000-letter pattern and a word of 5,000 of its letters: each start
  // position walks to the end of the word, the quadratic worst case that the
  // bound admits when the longest pattern is as long as the word.
  const std::size_t depth = 100'000, length = kLight ? 2'000 : 5'000;
  std::u32string line(depth, U'q');
  line.insert(line.begin() + 1, U'3');
  const Patterns trie = parsePatterns(line);
  const Scores scores = lookupPattern(std::u32string(length, U'q'), trie);
  EXPECT_EQ(scores, Scores(length, 0));  // the pattern never fits
  std::u32string fits(length, U'q');
  const Patterns shortTrie = parsePatterns(U"q3" + std::u32string(length - 1, U'q'));
  EXPECT_EQ(lookupPattern(fits, shortTrie)[1], 3);
}

}  // namespace
}  // namespace liang
