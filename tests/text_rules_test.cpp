// The rules of running text as people write it, one table each, in plain
// text and in markup: hard hyphens in the languages whose patterns spell
// with them, technical tokens as man pages and manuals hold them, and
// letters the language's table lacks (German U+1E9E).
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "liang/liang.hpp"
#include "test_support.hpp"

namespace liang {
namespace {

using testing_support::join;

// `text` hyphenated with '-' as plain text, and inside an element in markup,
// which must agree.
std::string dashed(const Hyphenator& h, std::string_view text, TextOptions options = {}) {
  options.hyphen = "-";
  options.markup = false;
  const std::string plain = insertHyphens(h, text, options);
  options.markup = true;
  const std::string marked = insertHyphens(h, "<p>" + std::string(text) + "</p>", options);
  EXPECT_EQ(marked, "<p>" + plain + "</p>") << "markup disagrees on " << text;
  return plain;
}

// What the word function makes of each part between hard hyphens, the
// hyphens kept: how a compound must come out.
std::string partsAlone(const Hyphenator& h, std::string_view compound) {
  std::string out, part;
  const auto flush = [&] {
    if (!part.empty()) out += join(hyphenate(h, part), "-");
    part.clear();
  };
  for (std::size_t at = 0; at < compound.size();) {
    std::size_t length = 1;
    if (compound.substr(at, 3) == "\u2010" || compound.substr(at, 3) == "\u2011") length = 3;
    if (length == 3 || compound[at] == '-') {
      flush();
      out += compound.substr(at, length);
    } else {
      part += compound[at];
    }
    at += length;
  }
  flush();
  return out;
}

TEST(HardHyphens, EachPartBreaksAsItWouldAlone) {
  const struct {
    const Hyphenator* h;
    std::vector<std::string_view> compounds;
  } samples[] = {
      {&portuguese(), {"palavra-passe", "guarda-chuva", "apt-cache", "guarda-roupa", "bem-vindo"}},
      {&russian(), {"кто-нибудь", "из-за", "северо-западный", "по-русски"}},
      {&ukrainian(), {"будь-який", "північно-західний", "по-українськи"}},
      {&afrikaans(), {"Suid-Afrikaanse", "nie-amptelike", "e-posadres"}},
      {&turkmen(), {"jemgyýetçilik-syýasy", "gürrüň-gepleşik"}},
      {&german_1996(), {"Hals-Nasen-Ohren-Arzt", "Silbentrennungs-Algorithmus"}},
      {&english_US(), {"well-known", "state-of-the-art", "hyphenation-based"}},
  };
  for (const auto& [h, compounds] : samples) {
    for (const std::string_view compound : compounds) {
      const std::string expected = partsAlone(*h, compound);
      EXPECT_EQ(dashed(*h, compound), expected);
      const std::string quoted = std::string("(").append(compound).append("),");
      EXPECT_EQ(dashed(*h, quoted), std::string("(").append(expected).append("),"));
      // The other hard hyphens, U+2010 and U+2011.
      for (const std::string_view hyphen : {"\u2010", "\u2011"}) {
        std::string other(compound);
        for (std::size_t at = other.find('-'); at != std::string::npos; at = other.find('-', at)) {
          other.replace(at, 1, hyphen);
        }
        EXPECT_EQ(dashed(*h, other), partsAlone(*h, other));
      }
    }
  }
  // The lines of the report, exactly.
  EXPECT_EQ(dashed(portuguese(), "palavra-passe guarda-chuva apt-cache"),
            "pa-la-vra-passe guarda-chuva apt-ca-che");
  EXPECT_EQ(dashed(russian(), "кто-нибудь из-за"), "кто-ни-будь из-за");
}

// The patterns' own '-' still works for the word functions, which break
// exactly the characters they are given.
TEST(HardHyphens, WordFunctionsKeepThePatternsHyphen) {
  const std::vector<std::string> pieces = hyphenate(portuguese(), "palavra-passe");
  EXPECT_EQ(join(pieces, "|"), "pa|la|vra|-|passe");
}

// A hyphenator without a right minimum may break after a word's last
// letter (here by exceptions that say so); not when a hard hyphen follows,
// which already is a break.
TEST(HardHyphens, NoBreakRightBeforeOne) {
  const Hyphenator h([](char32_t c) { return c; }, parsePatterns(U""),
                     parseExceptions(U"ab-\näb-\n"), 0, 0);
  ASSERT_EQ(join(hyphenate(h, "ab"), "|"), "ab|");
  EXPECT_EQ(dashed(h, "ab ab-ab ab\u2010ab ab\u2011ab ab"),
            "ab- ab-ab- ab\u2010ab- ab\u2011ab- ab-");
  // The general path: a word beyond ASCII, and one of decomposed letters.
  EXPECT_EQ(dashed(h, "äb-äb äb\u2011äb"), "äb-äb- äb\u2011äb-");
  EXPECT_EQ(dashed(h, "a\u0308b-a\u0308b"), "a\u0308b-a\u0308b-");
  TextOptions softHyphens;
  softHyphens.hyphen = "\u00AD";
  EXPECT_EQ(insertHyphens(h, "ab-ab", softHyphens), "ab-ab\u00AD");
}

// Tokens from man pages, READMEs and manuals: left whole by default, broken
// as words with TextOptions::technical.
TEST(TechnicalTokens, AreLeftWholeUnlessAsked) {
  const std::vector<std::string_view> technical = {
      // options
      "-A,",
      "--almost-all",
      "-maxdepth",
      "--color=auto",
      "--sort=WORD",
      "-r)",
      // paths and file names
      "/usr/share/doc",
      "/etc/apt/sources.list.d/",
      "C:\\Windows\\System32",
      "~/.config/liang",
      "sources.list",
      "README.md.",
      "dpkg-query(1)",
      "systemd.service(5)",
      // domains
      "deb.debian.org",
      "packages.debian.org,",
      "foo.bar",
      // identifiers
      "$HOME",
      "${PATH}",
      "LS_COLORS",
      "snake_case",
      "std::vector",
      "hyphenate()",
      "[Requirements](#requirements)",
      "#include",
      "key=value",
      "{placeholder}",
      // versions, hex, digits with letters
      "Uint8Array",
      "python3",
      "x86_64",
      "v1.2.3",
      "deadbeefcafebabe42",
      "4th-generation",
      "MP3-Spieler",
      "2nd",
  };
  for (const Hyphenator* h : {&english_US(), &german_1996(), &portuguese(), &russian()}) {
    for (const std::string_view token : technical) EXPECT_EQ(dashed(*h, token), token);
  }
  TextOptions hyphenated;
  hyphenated.technical = true;
  const std::string line =
      "-A, --almost-all  /usr/share/doc  sources.list  $HOME  systemd.service(5)  Uint8Array  "
      "snake_case";
  EXPECT_EQ(dashed(english_US(), line), line);
  EXPECT_EQ(dashed(german_1996(), line), line);
  EXPECT_EQ(dashed(english_US(), line, hyphenated),
            "-A, --al-most-all  /usr/share/doc  sources.list  $HOME  sys-temd.ser-vice(5)  "
            "Uint8Ar-ray  snake_case");
  EXPECT_EQ(dashed(german_1996(), "/usr/share/doc $HOME", hyphenated), "/usr/sha-re/doc $HO-ME");
}

// Prose keeps its breaks: compounds, apostrophes, all caps, abbreviations
// of single letters, ordinary punctuation, and tokens that merely hold a
// character the rule looks for in the wrong place.
TEST(TechnicalTokens, ProseKeepsItsBreaks) {
  const struct {
    const Hyphenator* h;
    std::string_view text;
  } prose[] = {
      {&german_1996(), "Hals-Nasen-Ohren-Arzt"},
      {&german_1996(), "z.B. Silbentrennung"},
      {&english_US(), "O'Reilly's hyphenation"},
      {&english_US(), "U.S.A. HYPHENATION"},
      {&english_US(), "(representation), \"hyphenation\": associate; computer! table?"},
      {&english_US(), "hyphenation... /hyphenation hyphenation/ -- hyphenation"},
      {&english_US(), "hyphenation. representation"},
      {&french(), "aujourd’hui l’élégance"},
      {&portuguese(), "DESCRIÇÃO informação"},
      {&russian(), "ПЕРЕНОСИМОСТЬ переносимость"},
      {&ukrainian(), "об’єм пам’яті"},
  };
  for (const auto& [h, text] : prose) {
    std::string expected, word;
    const auto flush = [&] {
      if (!word.empty()) expected += join(hyphenate(*h, word), "-");
      word.clear();
    };
    // The words: every byte but ASCII punctuation and spaces, apostrophes
    // aside, which the French patterns spell with.
    for (const char c : text) {
      const bool wordByte =
          static_cast<unsigned char>(c) >= 0x80 || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
      if (wordByte) {
        word += c;
      } else {
        flush();
        expected += c;
      }
    }
    flush();
    if (h == &french() || h == &ukrainian()) {  // their patterns spell with ’
      // Words with an apostrophe: one word each, as the word function sees it.
      expected.clear();
      for (std::size_t at = 0; at <= text.size();) {
        const std::size_t space = std::min(text.find(' ', at), text.size());
        if (at != 0) expected += ' ';
        expected += join(hyphenate(*h, text.substr(at, space - at)), "-");
        at = space + 1;
      }
    }
    EXPECT_EQ(dashed(*h, text), expected) << text;
  }
}

TEST(TechnicalTokens, InMarkupTagsCutTokens) {
  TextOptions options;
  options.markup = true;
  options.hyphen = "-";
  // A token interrupted by a tag is two tokens; a reference counts as the
  // character it names.
  EXPECT_EQ(insertHyphens(english_US(), "<p>hyphenation<b>.hyphenation</b></p>", options),
            "<p>hy-phen-ation<b>.hy-phen-ation</b></p>");
  EXPECT_EQ(insertHyphens(english_US(), "<p>hyphenation&#46;representation</p>", options),
            "<p>hyphenation&#46;representation</p>");
  EXPECT_EQ(insertHyphens(english_US(), "<p>&#45;&#45;hyphenation &#36;HOME</p>", options),
            "<p>&#45;&#45;hyphenation &#36;HOME</p>");
  EXPECT_EQ(insertHyphens(portuguese(), "<p>palavra&#45;passe</p>", options),
            "<p>pa-la-vra&#45;passe</p>");
}

TEST(LettersTheTableLacks, MatchAsTheirLowercase) {
  EXPECT_EQ(dashed(german_1996(), "GROẞE STRAẞENBAHN GRÖSSE"), "GRO-ẞE STRA-ẞEN-BAHN GRÖS-SE");
  std::string lowered = dashed(german_1996(), "STRAẞE");
  lowered.replace(lowered.find("ẞ"), std::string_view("ẞ").size(), "ß");
  EXPECT_EQ(lowered, join(hyphenate(german_1996(), "STRAßE"), "-"));
  EXPECT_EQ(dashed(german_Swiss(), "STRAẞENBAHN"), "STRA-ẞEN-BAHN");
  // The word functions break exactly what they are given.
  EXPECT_EQ(join(hyphenate(german_1996(), "GROẞE"), "-"), "GROẞE");
  // Decomposed, and beside marks.
  EXPECT_EQ(dashed(german_1996(), "STRAẞENBAHNÜBERGANG"), "STRA-ẞEN-BAHN-ÜBER-GANG");
  EXPECT_EQ(dashed(german_1996(), "STRAẞENBAHNU\u0308BERGANG"), "STRA-ẞEN-BAHN-U\u0308BER-GANG");
}

}  // namespace
}  // namespace liang
