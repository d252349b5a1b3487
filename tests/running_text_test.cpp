// Running text: what a word is, what is never hyphenated, the options, and
// the stream that hyphenates text in pieces.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "liang/liang.hpp"
#include "test_support.hpp"

namespace liang {
namespace {

using testing_support::errorOf;
using testing_support::join;
using testing_support::withoutAll;

std::string dashed(const Hyphenator& h, std::string_view text, TextOptions options = {}) {
  options.hyphen.assign(1, '-');
  return insertHyphens(h, text, options);
}

TEST(RunningText, ReportedDamageIsMended) {
  EXPECT_EQ(dashed(english_US(), "see https://example.com/documentation"),
            "see https://example.com/documentation");
  EXPECT_EQ(dashed(german_1996(), "Informations\u00ADverarbeitung"),
            "Informations\u00ADverarbeitung");
  EXPECT_EQ(dashed(french(), "cafe\u0301s caf\u00E9s"), "ca-fe\u0301s ca-f\u00E9s");
  EXPECT_EQ(dashed(italian(), "universit\u00E0 citt\u00E0 attivit\u00E0"),
            "uni-ver-si-t\u00E0 cit-t\u00E0 at-ti-vi-t\u00E0");
  EXPECT_EQ(dashed(english_US(), "well-known"), "well-known");
  EXPECT_EQ(dashed(english_US(), "(computer)"), "(com-puter)");
  const std::string once = insertHyphens(english_US(), "prohibit hyphenation");
  EXPECT_EQ(insertHyphens(english_US(), once), once);
  EXPECT_EQ(dashed(english_US(), once), once);
}

// A word of running text breaks where the word function breaks it, whatever
// letters it holds: letters the patterns lack (Italian à) no longer cut it
// in two, and letters of the patterns that are no letters of Unicode (the
// French apostrophe) belong to it.
TEST(RunningText, WordsBreakLikeTheWordFunction) {
  const struct {
    const Hyphenator* h;
    std::vector<std::string_view> words;
  } samples[] = {
      {&italian(), {"università", "dell’università", "perché", "Università"}},
      {&french(), {"l’élégance", "aujourd’hui", "anticonstitutionnellement", "Noël"}},
      {&spanish(), {"corazón", "pingüino", "acción"}},
      {&german_1996(), {"Silbentrennung", "Größenverhältnisse", "STRASSE"}},
      {&russian(), {"переносимость"}},
      {&hindi(), {"हिन्दीभाषा"}},
      {&english_US(), {"hyphenation", "Hyphenation", "HYPHENATION"}},
  };
  for (const auto& [h, words] : samples) {
    for (const std::string_view word : words) {
      const std::string expected = join(hyphenate(*h, word), "-");
      EXPECT_EQ(dashed(*h, word), expected);
      EXPECT_EQ(dashed(*h, "«" + std::string(word) + "», 2"), "«" + expected + "», 2");
    }
  }
  // Digits, spaces, punctuation and the edge mark "." still separate words,
  // in tokens that are technical ones and so are left whole unless asked.
  TextOptions technical;
  technical.technical = true;
  EXPECT_EQ(dashed(english_US(), "hyphenation2hyphenation hyphenation.hyphenation", technical),
            "hy-phen-ation2hy-phen-ation hy-phen-ation.hy-phen-ation");
  EXPECT_EQ(dashed(english_US(), "hyphenation2hyphenation hyphenation.hyphenation"),
            "hyphenation2hyphenation hyphenation.hyphenation");
  EXPECT_EQ(dashed(english_US(), "1234567890 ,.;:!?()[]{}<>/\\|@#$%^&*_+=~"),
            "1234567890 ,.;:!?()[]{}<>/\\|@#$%^&*_+=~");
}

// Plain ASCII tokens take a faster path than the rest; a character beyond
// ASCII at the end of each token sends the same words down the general one.
TEST(RunningText, AsciiTokensBreakAsOnTheGeneralPath) {
  const std::string text =
      "Hyphenation of computer programs, the McDonald's CAPITALS and iPhones; vocabulary, "
      "associate (table) project. Words: characterization, representation, "
      "incomprehensibilities.";
  for (const bool markup : {false, true}) {
    TextOptions options;
    options.markup = markup;
    options.hyphen = std::string("-");
    std::string marked;
    for (const char c : text) {
      if (c == ' ') marked += "\u2026";
      marked += c;
    }
    std::string general = insertHyphens(english_US(), marked, options);
    for (std::size_t at; (at = general.find("\u2026")) != std::string::npos;) {
      general.erase(at, std::string_view("\u2026").size());
    }
    EXPECT_EQ(insertHyphens(english_US(), text, options), general);
    EXPECT_NE(general.find("in-com-pre-hen-si-bil-i-ties"), std::string::npos) << general;
  }
}

// Patterns of the caller's may hold any character, a space included; a
// space still ends a word, so that words and tokens are cut alike.
// A short text alone -- a word, or words joined by apostrophes -- breaks as
// the same text does among others, with every option that bears on it.
TEST(RunningText, AShortTextBreaksAsItDoesInsideALongerOne) {
  const std::string longest(60, 'a');
  const std::vector<std::string> texts = {"hyphenation's",
                                          "Hyphenation's",
                                          "HYPHENATION'S",
                                          "McDonald's",
                                          "o'clock",
                                          "'hyphenation",
                                          "hyphenation'",
                                          "rock'n'roll",
                                          "'",
                                          "''",
                                          "computer''s",
                                          "computation's'",
                                          longest + "'s'a",
                                          longest + "'s'ab",
                                          "l'homme",
                                          "aujourd'hui",
                                          "dell'universita",
                                          "hyphenation"};
  std::vector<TextOptions> choices(8);
  choices[1].capitalized = false;
  choices[2].allCaps = false;
  choices[3].mixedCase = true;
  choices[4].minWordLength = 12;
  choices[5].markup = true;
  choices[6].hyphen = "'";
  choices[7].hyphen = "=";
  for (const Hyphenator* h : {&english_US(), &french(), &italian()}) {
    for (const TextOptions& options : choices) {
      for (const std::string& text : texts) {
        const std::string inside = insertHyphens(*h, "( " + text + " )", options);
        ASSERT_GE(inside.size(), 4u);
        EXPECT_EQ(insertHyphens(*h, text, options), inside.substr(2, inside.size() - 4))
            << text << " hyphen " << options.hyphen;
      }
    }
    for (const std::string& text : texts) {
      TextOptions options;
      options.hyphen = "=";
      EXPECT_EQ(insertHyphens(*h, text, "="), insertHyphens(*h, text, options)) << text;
    }
  }
  EXPECT_EQ(dashed(english_US(), "hyphenation's"), "hy-phen-ation's");
  EXPECT_EQ(dashed(english_US(), "computation's'hyphenation"), "com-pu-ta-tion's'hy-phen-ation");
}

TEST(RunningText, ASpaceEndsAWordEvenWhenThePatternsSpellWithIt) {
  const Hyphenator spaced([](char32_t c) { return c; }, parsePatterns(U"b1 \na1b\n"),
                          emptyExceptions(), 1, 1);
  EXPECT_EQ(dashed(spaced, "ab ab"), "a-b a-b");
  const std::string once = insertHyphens(spaced, "ab ba aab");
  EXPECT_EQ(insertHyphens(spaced, once), once);
}

TEST(RunningText, SoftHyphensAreTheAuthorsBreaks) {
  // The word keeps exactly the author's breaks; its neighbours are hyphenated.
  EXPECT_EQ(dashed(english_US(), "hy\u00ADphenation hyphenation \u00ADhyphenation"),
            "hy\u00ADphenation hy-phen-ation \u00ADhyphenation");
  EXPECT_EQ(dashed(english_US(), "hyphenation\u00AD"), "hyphenation\u00AD");
  // So hyphenating twice changes nothing, in any language.
  for (const Hyphenator* h : {&english_US(), &german_1996(), &french(), &russian()}) {
    const std::string text =
        "Hyphenation and Silbentrennung, l’élégance (переносимость), computer.";
    const std::string once = insertHyphens(*h, text);
    EXPECT_EQ(insertHyphens(*h, once), once);
  }
}

TEST(RunningText, UrlsAndAddressesAreCopiedUnchanged) {
  for (const std::string_view token :
       {"https://example.com/documentation?page=computer#hyphenation",
        "ftp://documentation.example.org/", "www.documentation.org", "WWW.DOCUMENTATION.ORG",
        "(www.documentation.org),", "“www.documentation.org”", "documentation@example.com",
        "<documentation@example.com>.", "mailto:hyphenation@example.org"}) {
    const std::string text = "computer " + std::string(token) + " computer";
    EXPECT_EQ(dashed(english_US(), text), "com-puter " + std::string(token) + " com-puter");
  }
  // Not addresses: no '.' after the '@', or "www" without its point.
  EXPECT_EQ(dashed(english_US(), "@hyphenation hyphenation@ wwwhyphenation"),
            "@hy-phen-ation hy-phen-ation@ wwwhy-phen-ation");
  // Only the first 4,096 bytes of a token are looked at.
  const std::string longToken = std::string(4096, '.') + "hyphenation://";
  EXPECT_EQ(dashed(english_US(), longToken), std::string(4096, '.') + "hy-phen-ation://");
}

TEST(RunningText, DecomposedLettersBreakLikeComposedOnes) {
  // e + U+0301 is matched as é; the output keeps the input's own bytes, and
  // no break falls between a letter and its mark.
  EXPECT_EQ(dashed(french(), "e\u0301le\u0301gance"), "e\u0301le\u0301-gance");
  EXPECT_EQ(dashed(greek_Mono(), "με\u0301ρα μέρα"), "με\u0301-ρα μέ-ρα");
  EXPECT_EQ(dashed(spanish(), "corazo\u0301n pingu\u0308ino"), "co-ra-zo\u0301n pin-gu\u0308ino");
  // Marks in either order compose alike: U+0320 sorts before U+0301, and
  // e with U+0301 is é whatever stands between them.
  EXPECT_EQ(dashed(french(), "cafe\u0301\u0320s"), "ca-fe\u0301\u0320s");
  EXPECT_EQ(dashed(french(), "cafe\u0320\u0301s"), "ca-fe\u0320\u0301s");
  // Marks that are letters of the patterns (the vowel signs of Indic scripts)
  // are letters of the word, as in the word function.
  EXPECT_EQ(dashed(hindi(), "हिन्दीभाषा"), join(hyphenate(hindi(), "हिन्दीभाषा"), "-"));
}

TEST(RunningText, IllFormedBytesPassThrough) {
  // Between words an ill-formed byte is copied; inside one it is a character.
  EXPECT_EQ(dashed(english_US(), "\xFFhyphenation\xFF"), "\xFFhy-phen-ation\xFF");
  EXPECT_EQ(dashed(french(), "\xE9l\xE9gance"), "\xE9l\xE9-gance");
  const std::string awkward =
      "hyph\x80"
      "enation \xE2\x82 \xF4\x90\x80\x80 computer\xC3";
  EXPECT_EQ(withoutAll(dashed(english_US(), awkward), "-"), awkward);
}

TEST(RunningText, OverlongWordIsCopied) {
  std::string word;
  while (word.size() <= 4096) word += "hyphenation";
  EXPECT_EQ(dashed(english_US(), word + " hyphenation"), word + " hy-phen-ation");
}

TEST(TextOptions, MinimaAndWordLength) {
  TextOptions options;
  options.leftMin = 4;
  EXPECT_EQ(dashed(english_US(), "hyphenation", options), "hyphen-ation");
  options.leftMin = 1;
  options.rightMin = 1;
  EXPECT_EQ(dashed(english_US(), "hyphenation", options),
            join(hyphenate(withMinima(english_US(), 1, 1), "hyphenation"), "-"));
  // Minima apply to the languages that lang attributes switch to as well.
  options.markup = true;
  options.leftMin = 4;
  options.rightMin = 0;
  EXPECT_EQ(dashed(english_US(), "<p lang=\"en\">hyphenation</p>", options),
            "<p lang=\"en\">hyphen-ation</p>");

  TextOptions shortest;
  shortest.minWordLength = 9;
  EXPECT_EQ(dashed(english_US(), "computer hyphenation", shortest), "computer hy-phen-ation");
  // Counted in letters as matched: a decomposed é is one.
  shortest.minWordLength = 5;
  EXPECT_EQ(dashed(french(), "cafe\u0301s", shortest), "ca-fe\u0301s");
  shortest.minWordLength = 6;
  EXPECT_EQ(dashed(french(), "cafe\u0301s", shortest), "cafe\u0301s");

  TextOptions negative;
  negative.rightMin = -1;
  EXPECT_EQ(errorOf([&] { insertHyphens(english_US(), "x", negative); }),
            "TextOptions::rightMin must be at least 1, or 0 for the hyphenator's own, not -1");
}

TEST(TextOptions, Capitals) {
  const std::string text = "hyphenation Hyphenation HYPHENATION camelCaseHyphenation iPhone";
  EXPECT_EQ(dashed(english_US(), text),
            "hy-phen-ation Hy-phen-ation HY-PHEN-ATION camelCaseHyphenation iPhone");
  TextOptions options;
  options.capitalized = false;
  EXPECT_EQ(dashed(english_US(), text, options),
            "hy-phen-ation Hyphenation HY-PHEN-ATION camelCaseHyphenation iPhone");
  options = {};
  options.allCaps = false;
  EXPECT_EQ(dashed(english_US(), text, options),
            "hy-phen-ation Hy-phen-ation HYPHENATION camelCaseHyphenation iPhone");
  options = {};
  options.mixedCase = true;
  EXPECT_EQ(dashed(english_US(), "camelCaseHyphenation", options),
            join(hyphenate(english_US(), "camelCaseHyphenation"), "-"));
  // Case beyond ASCII.
  options = {};
  options.allCaps = false;
  EXPECT_EQ(dashed(russian(), "ПЕРЕНОСИМОСТЬ переносимость", options),
            "ПЕРЕНОСИМОСТЬ пе-ре-но-си-мость");
}

TEST(TextOptions, HyphenText) {
  EXPECT_EQ(insertHyphens(english_US(), "hyphenation"), "hy\u00ADphen\u00ADation");
  EXPECT_EQ(insertHyphens(english_US(), "hyphenation", ""), "hyphenation");
  EXPECT_EQ(insertHyphens(english_US(), "hyphenation", "<wbr>"), "hy<wbr>phen<wbr>ation");
}

// Text that exercises every place where the stream holds back: words, URLs,
// multi-byte characters, references, markup openers and terminators.
const std::string& streamSample() {
  static const std::string sample =
      "<!DOCTYPE html><html lang=\"en\"><!-- hyphenation --><p class=\"hyphenation\">Hyphenation "
      "of <b>computer</b> programs, caf\u00E9 cafe\u0301s &#233;l&#xE9;gance hy&shy;phenation "
      "see https://example.com/documentation or documentation@example.com.</p>"
      "<p lang=\"de\">Silbentrennung</p><pre>hyphenation</pre><script>if (a<b) "
      "hyphenation();</script><![CDATA[hyphenation]]><?pi hyphenation?> caf\xE9 "
      "\xE2\x82\xAC \xE2\x82 hyphenation";
  return sample;
}

TEST(TextStream, AnySplitGivesTheWholeTextsOutput) {
  for (const bool markup : {false, true}) {
    TextOptions options;
    options.markup = markup;
    options.hyphen = std::string("\x01");
    const std::string& text = streamSample();
    const std::string whole = insertHyphens(english_US(), text, options);
    EXPECT_EQ(withoutAll(whole, "\x01"), text);
    // Plain text leaves the technical token class="hyphenation">Hyphenation whole.
    EXPECT_GE(std::count(whole.begin(), whole.end(), '\x01'), markup ? 8 : 9);
    for (std::size_t cut = 0; cut <= text.size(); ++cut) {
      TextStream stream(english_US(), options);
      std::string out;
      stream.feed(std::string_view(text).substr(0, cut), out);
      stream.feed(std::string_view(text).substr(cut), out);
      stream.finish(out);
      ASSERT_EQ(out, whole) << "markup " << markup << ", cut at " << cut;
    }
    TextStream bytewise(english_US(), options);
    std::string out;
    for (const char c : text) bytewise.feed(std::string_view(&c, 1), out);
    bytewise.finish(out);
    EXPECT_EQ(out, whole);
  }
}

// "\xED\xA0" begins an encoded surrogate, which no byte can make a
// character: the stream reads its bytes at once (U+00ED, then U+00A0, which
// ends the word). "\xED\x9F" may still become U+D7FF, so it waits.
TEST(TextStream, EncodedSurrogateIsNotHeldBackLikeAnIncompleteCharacter) {
  const TextOptions options{.hyphen = "-"};
  TextStream surrogate(english_US(), options);
  std::string out;
  surrogate.feed("computer \xED\xA0", out);
  EXPECT_EQ(out, "com-puter \xED\xA0");
  TextStream incomplete(english_US(), options);
  out.clear();
  incomplete.feed("computer \xED\x9F", out);
  EXPECT_EQ(out, "com-puter ");
  incomplete.feed("\xBF", out);
  incomplete.finish(out);
  EXPECT_EQ(out, "com-puter \xED\x9F\xBF");
}

TEST(TextStream, HoldsBackOnlyWhatTheNextPieceMayChange) {
  TextStream stream(english_US(), TextOptions{.hyphen = "-"});
  std::string out;
  stream.feed("one hyphen", out);
  EXPECT_EQ(out, "one ");  // "hyphen" may go on
  stream.feed("ation computer, \xE2\x82", out);
  EXPECT_EQ(out, "one hy-phen-ation com-puter, ");  // the euro sign may be whole yet
  stream.finish(out);
  EXPECT_EQ(out, "one hy-phen-ation com-puter, \xE2\x82");
  // After finish the stream takes a new text.
  out.clear();
  stream.feed("computer", out);
  stream.finish(out);
  EXPECT_EQ(out, "com-puter");
  // Moved, it goes on where it was.
  TextStream moved = std::move(stream);
  out.clear();
  moved.feed("computer", out);
  moved.finish(out);
  EXPECT_EQ(out, "com-puter");
}

// A stream moved from, mid-text, starts a fresh text with the hyphenator and
// options it had; the text under way goes on in the stream moved to.
TEST(TextStream, AStreamMovedFromIsAFreshStreamWithTheSameSetup) {
  TextOptions options;
  options.hyphen = "=";
  options.minWordLength = 8;
  const std::string text = "Silbentrennung im Haus und Silbentrennungsregeln";
  const std::string whole = insertHyphens(german_1996(), text, options);
  ASSERT_NE(whole, text);
  const std::string_view first = std::string_view(text).substr(0, 20);

  TextStream stream(german_1996(), options);
  std::string out;
  stream.feed(first, out);
  TextStream moved(std::move(stream));
  moved.feed(std::string_view(text).substr(first.size()), out);
  moved.finish(out);
  EXPECT_EQ(out, whole);

  std::string again;
  stream.feed(text, again);  // NOLINT(bugprone-use-after-move): usable by design
  stream.finish(again);
  EXPECT_EQ(again, whole);

  // The same by assignment, over a stream of another language and options.
  std::string carried;
  stream.feed(first, carried);
  TextStream assigned(english_US());
  assigned = std::move(stream);
  assigned.feed(std::string_view(text).substr(first.size()), carried);
  assigned.finish(carried);
  EXPECT_EQ(carried, whole);
  std::string fresh;
  stream.feed(text, fresh);  // NOLINT(bugprone-use-after-move)
  stream.finish(fresh);
  EXPECT_EQ(fresh, whole);
}

// Words of ASCII letters fed a byte at a time, the longest around the
// longest token the scanner looks at: the stream takes such letters without
// a scan, yet after each byte it has settled exactly what one feed of the
// text so far settles, and it ends with the one-call output. (Checked after
// the bytes where a settled output may change: a word's first and last
// ones, those around the longest token, and every other byte.)
TEST(TextStream, LettersFedAByteAtATimeSettleAsOneFeedWould) {
  std::string text;
  for (const std::size_t length : {1, 7, 64, 65, 4095, 4096, 4097, 5000}) {
    for (std::size_t i = 0; i < length; ++i) text += static_cast<char>('a' + (i * 7 + length) % 26);
    const std::string_view end = length % 2 == 0 ? " " : "-x1 ";
    text.append(end.begin(), end.end());
  }
  text.append(std::string_view("computer"));
  for (const bool markup : {false, true}) {
    TextOptions options;
    options.markup = markup;
    options.hyphen = "-";
    TextStream stream(english_US(), options);
    std::string out;
    std::size_t letters = 0;  // the letters before text[i] in its word
    for (std::size_t i = 0; i < text.size(); ++i) {
      stream.feed(std::string_view(&text[i], 1), out);
      const bool letter = text[i] >= 'a' && text[i] <= 'z';
      letters = letter ? letters + 1 : 0;
      if (letters <= 2 || (letters >= 4090 && letters <= 4100) ||
          (i + 1 < text.size() && !(text[i + 1] >= 'a' && text[i + 1] <= 'z'))) {
        TextStream oneFeed(english_US(), options);
        std::string expected;
        oneFeed.feed(std::string_view(text).substr(0, i + 1), expected);
        ASSERT_EQ(out, expected) << "markup " << markup << ", after byte " << i;
      }
    }
    stream.finish(out);
    EXPECT_EQ(out, insertHyphens(english_US(), text, options));
  }
}

TEST(TextStream, AFailureLeavesTheOutputAsItWasAndStartsAfresh) {
  // A folding function of the caller's that fails on 'x'.
  const Hyphenator failing(
      [](char32_t c) -> char32_t {
        if (c == U'x') throw std::runtime_error("no x");
        return c;
      },
      parsePatterns(U"a1b\n"), emptyExceptions(), 1, 1);
  TextStream stream(failing, TextOptions{.hyphen = "-"});
  std::string out = "kept ";
  stream.feed("abab ab", out);
  EXPECT_EQ(out, "kept a-ba-b ");
  EXPECT_THROW(stream.feed("ab xab ", out), std::runtime_error);
  EXPECT_EQ(out, "kept a-ba-b ");
  stream.feed("abab", out);
  stream.finish(out);
  EXPECT_EQ(out, "kept a-ba-b a-ba-b");
  // So does insertHyphens, and only for a text that holds the character.
  EXPECT_THROW(insertHyphens(failing, "ab x"), std::runtime_error);
  EXPECT_EQ(insertHyphens(failing, "abab", "-"), "a-ba-b");
}

}  // namespace
}  // namespace liang
