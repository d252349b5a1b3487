// The embedded data set and the loader: the file table, inflating and
// decoding, the character file format, the minima, and the deferred
// components of a loaded hyphenator (including a file table that lacks or
// damages a file).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <latch>
#include <random>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "core/CodePointMap.hpp"
#include "core/PatternImage.hpp"
#include "core/PatternNodes.hpp"
#include "core/Utf8.hpp"
#include "languages/EmbeddedFiles.hpp"
#include "languages/Loader.hpp"
#include "liang/Exception.hpp"
#include "liang/Hyphenator.hpp"
#include "liang/Language.hpp"
#include "liang/Pattern.hpp"
#include "liang/Types.hpp"

#include "source_data.hpp"
#include "test_support.hpp"

namespace {

using liang::Language;
using liang::internal::EmbeddedFile;

std::vector<Language> allLanguages() {
  const liang::LanguageRange all = liang::enumFrom(liang::lowestLanguage());
  return std::vector<Language>(all.begin(), all.end());
}

using testing_support::errorOf;

std::vector<std::u32string> pieces(const liang::Hyphenator& h, std::u32string_view word) {
  return liang::hyphenate(h, word);
}

// A gzip file of `text` in stored (uncompressed) deflate blocks, so that
// tests can embed exact bytes, ill-formed UTF-8 included.
std::string gzipStored(std::string_view text) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char byte : text) {
    crc ^= byte;
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  crc = ~crc;
  const auto appendLittleEndian = [](std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
  };
  std::string out("\x1F\x8B\x08\x00\x00\x00\x00\x00\x00\x03", 10);
  std::string_view rest = text;
  do {
    const std::string_view block = rest.substr(0, 0xFFFF);  // a stored block's largest
    rest.remove_prefix(block.size());
    out.push_back(rest.empty() ? '\x01' : '\x00');  // final or not, stored
    const auto length = static_cast<std::uint32_t>(block.size());
    appendLittleEndian(out, length, 2);
    appendLittleEndian(out, ~length & 0xFFFF, 2);
    out += block;
  } while (!rest.empty());
  appendLittleEndian(out, crc, 4);
  appendLittleEndian(out, static_cast<std::uint32_t>(text.size()), 4);
  return out;
}

// A file table for tests: named contents, kept sorted as the loader expects.
class TestFiles {
 public:
  TestFiles& add(std::string name, std::string bytes) {
    storage_.push_back({std::move(name), std::move(bytes)});
    return *this;
  }
  // The embedded table without the files whose names are listed.
  TestFiles& addEmbeddedExcept(const std::set<std::string_view>& left) {
    for (const EmbeddedFile& file : liang::internal::embeddedFiles()) {
      if (!left.contains(file.name)) add(std::string(file.name), std::string(file.bytes));
    }
    return *this;
  }
  std::span<const EmbeddedFile> table() {
    std::sort(storage_.begin(), storage_.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    entries_.clear();
    for (const auto& [name, bytes] : storage_) entries_.push_back({name, bytes});
    return entries_;
  }

 private:
  std::vector<std::pair<std::string, std::string>> storage_;
  std::vector<EmbeddedFile> entries_;
};

const EmbeddedFile* findEmbedded(std::string_view name) {
  for (const EmbeddedFile& file : liang::internal::embeddedFiles()) {
    if (file.name == name) return &file;
  }
  return nullptr;
}

// The 19 languages whose exception file has content.
const std::set<Language> kLanguagesWithExceptions = {
    Language::Afrikaans,
    Language::Catalan,
    Language::Czech,
    Language::English_GB,
    Language::English_US,
    Language::Irish,
    Language::Uppersorbian,
    Language::Interlingua,
    Language::Indonesian,
    Language::Norwegian_Bokmal,
    Language::Dutch,
    Language::Norwegian_Nynorsk,
    Language::Polish,
    Language::Portuguese,
    Language::Russian,
    Language::Serbocroatian_Cyrillic,
    Language::Serbocroatian_Latin,
    Language::Slovak,
    Language::Serbian_Cyrillic,
};

TEST(EmbeddedTable, HoldsFourFilesPerAffixInNameOrder) {
  const auto files = liang::internal::embeddedFiles();
  ASSERT_EQ(files.size(), 292u);
  for (std::size_t i = 1; i < files.size(); ++i) {
    EXPECT_LT(files[i - 1].name, files[i].name) << files[i].name;
  }
  std::set<std::string> expected;
  for (Language x : allLanguages()) {
    for (const char* kind : {"chr", "hyp", "lic", "pat"}) {
      expected.insert("hyph-" + std::string(liang::languageAffix(x)) + "." + kind + ".txt.gz");
    }
  }
  std::set<std::string> actual;
  for (const EmbeddedFile& file : files) actual.insert(std::string(file.name));
  EXPECT_EQ(actual, expected);

  EXPECT_EQ(files[0].name, "hyph-af.chr.txt.gz");
  EXPECT_EQ(files[1].name, "hyph-af.hyp.txt.gz");
  EXPECT_EQ(files[2].name, "hyph-af.lic.txt.gz");
  EXPECT_EQ(files[3].name, "hyph-af.pat.txt.gz");
  EXPECT_EQ(files.back().name, "hyph-zh-latn-pinyin.pat.txt.gz");
  const auto position = [&](std::string_view name) {
    return std::find_if(files.begin(), files.end(),
                        [&](const EmbeddedFile& file) { return file.name == name; }) -
           files.begin();
  };
  EXPECT_LT(position("hyph-la-x-classic.chr.txt.gz"), position("hyph-la.chr.txt.gz"));
  EXPECT_LT(position("hyph-de-1996.chr.txt.gz"), position("hyph-de-ch-1901.chr.txt.gz"));
  EXPECT_LT(position("hyph-en-gb.chr.txt.gz"), position("hyph-en-us.chr.txt.gz"));
  EXPECT_NE(findEmbedded("hyph-la.lic.txt.gz"), nullptr);
}

TEST(EmbeddedTable, EveryFileIsGzipAndInflatesOrIsAPatternImage) {
  std::size_t text = 0;
  std::size_t emptyExceptionFiles = 0;
  std::size_t images = 0;
  for (const EmbeddedFile& file : liang::internal::embeddedFiles()) {
    ASSERT_GE(file.bytes.size(), 2u);
    if (liang::internal::isPatternImage(file.bytes)) {
      EXPECT_TRUE(file.name.ends_with(".pat.txt.gz")) << file.name;
      ++images;
      continue;
    }
    EXPECT_EQ(static_cast<unsigned char>(file.bytes[0]), 0x1F) << file.name;
    EXPECT_EQ(static_cast<unsigned char>(file.bytes[1]), 0x8B) << file.name;
    const std::string content = liang::internal::inflateGzip(file.bytes);
    if (file.name.ends_with(".pat.txt.gz")) {
      EXPECT_TRUE(liang::internal::isPatternImage(content)) << file.name;
      ++images;
      continue;
    }
    text += content.size();
    if (content.empty()) {
      EXPECT_TRUE(file.name.ends_with(".hyp.txt.gz")) << file.name;
      ++emptyExceptionFiles;
    } else {
      EXPECT_EQ(content.back(), '\n') << file.name;
    }
  }
  EXPECT_EQ(images, 73u);  // every shipped pattern file fits the image
  EXPECT_EQ(emptyExceptionFiles, 54u);
  EXPECT_EQ(text, 144417u);  // the character, exception and licence files
}

TEST(EmbeddedTable, ReferenceSizesIdentifyTheRevision) {
  // (Compressed sizes are left out: they depend on the compressor, not on
  // the revision.)
  struct Reference {
    std::string_view name;
    std::size_t textBytes, lines;
  };
  for (const Reference& reference : std::initializer_list<Reference>{
           {"hyph-en-us.pat.txt.gz", 31489, 4938},
           {"hyph-en-us.hyp.txt.gz", 169, 14},
           {"hyph-en-us.chr.txt.gz", 78, 26},
           {"hyph-de-1996.pat.txt.gz", 101489, 15207},
           {"hyph-hu.pat.txt.gz", 528090, 62851},
           {"hyph-pa.pat.txt.gz", 308, 60},
           {"hyph-af.hyp.txt.gz", 2714, 185},
           {"hyph-sa.chr.txt.gz", 3241, 483},
       }) {
    // A pattern file is embedded as its trie (pattern_image_test checks
    // that trie against the text): its text is read from the data set.
    const std::string text =
        reference.name.ends_with(".pat.txt.gz")
            ? testing_support::sourceDataBytes(reference.name)
            : liang::internal::inflateGzip(findEmbedded(reference.name)->bytes);
    EXPECT_EQ(text.size(), reference.textBytes) << reference.name;
    EXPECT_EQ(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')), reference.lines)
        << reference.name;
  }
}

TEST(EmbeddedFileText, FindsOnlyTheExactName) {
  EXPECT_EQ(liang::internal::embeddedFileText("hyph-en-us.chr.txt.gz").substr(0, 3), U"aA\n");
  EXPECT_EQ(errorOf([] { liang::internal::embeddedFileText("hyph-en-us.chr.txt"); }),
            "Could not find hyph-en-us.chr.txt");
  EXPECT_EQ(errorOf([] { liang::internal::embeddedFileText("HYPH-EN-US.chr.txt.gz"); }),
            "Could not find HYPH-EN-US.chr.txt.gz");
  EXPECT_EQ(errorOf([] { liang::internal::embeddedFileText("hyph-la"); }),
            "Could not find hyph-la");
  EXPECT_EQ(errorOf([] { liang::internal::embeddedFileText(""); }), "Could not find ");
  EXPECT_EQ(errorOf([] { liang::internal::embeddedFileText("zzz"); }), "Could not find zzz");
  // Latin and Latin_Classic share a prefix but not a file.
  EXPECT_NE(liang::internal::embeddedFileText("hyph-la.pat.txt.gz"),
            liang::internal::embeddedFileText("hyph-la-x-classic.pat.txt.gz"));
}

TEST(EmbeddedFileText, DecodesLenientUtf8) {
  TestFiles files;
  files
      .add("a",
           gzipStored("\xE9t\xC3\xA9\xED\x9F\xBF\xED\xA0\x80\xF4\x90\x80\x80\xC0\xAF\xEF\xBB\xBF"))
      .add("b", gzipStored(""))
      .add("c", gzipStored("\xF0\x9F\x98\x80\xE2\x82"));
  const auto table = files.table();
  // A lone 0xE9 is U+00E9; surrogates, values past U+10FFFF and overlong
  // forms fall apart into their bytes; a byte-order mark stays.
  EXPECT_EQ(liang::internal::embeddedFileText("a", table),
            std::u32string(U"\u00E9t\u00E9\uD7FF") + U"\u00ED\u00A0\u0080\u00F4\u0090\u0080\u0080" +
                U"\u00C0\u00AF\uFEFF");
  EXPECT_EQ(liang::internal::embeddedFileText("b", table), U"");
  EXPECT_EQ(liang::internal::embeddedFileText("c", table), U"\U0001F600\u00E2\u0082");
}

TEST(InflateGzip, DamagedStreamsFailWithZlibsMessage) {
  const std::string good(findEmbedded("hyph-en-us.pat.txt.gz")->bytes);
  std::string badMagic = good;
  badMagic[1] = 'x';
  EXPECT_EQ(errorOf([&] { liang::internal::inflateGzip(badMagic); }), "incorrect header check");
  std::string badMethod = good;
  badMethod[2] = 7;
  EXPECT_EQ(errorOf([&] { liang::internal::inflateGzip(badMethod); }),
            "unknown compression method");
  std::string badCrc = good;
  badCrc[badCrc.size() - 8] ^= 1;
  EXPECT_EQ(errorOf([&] { liang::internal::inflateGzip(badCrc); }), "incorrect data check");
  std::string badLength = good;
  badLength[badLength.size() - 4] ^= 1;
  EXPECT_EQ(errorOf([&] { liang::internal::inflateGzip(badLength); }), "incorrect length check");
  // Truncated anywhere, or empty: zlib cannot finish the stream.
  for (std::size_t size : {std::size_t{0}, std::size_t{5}, good.size() / 2, good.size() - 1}) {
    EXPECT_THROW(liang::internal::inflateGzip(std::string_view(good).substr(0, size)), liang::Error)
        << size;
  }
}

TEST(InflateGzip, LengthInTheTrailerIsOnlyAHint) {
  // The trailer's length sizes the first buffer. Stated too small or far too
  // large, inflating still runs to the end of the data (growing, or within a
  // capped buffer) and then fails the length check, as zlib demands.
  const std::string text(200000, 'a');
  std::string stored = gzipStored(text);
  EXPECT_EQ(liang::internal::inflateGzip(stored), text);
  const auto setRecordedLength = [&](std::uint32_t length) {
    for (std::size_t i = 0; i < 4; ++i) {
      stored[stored.size() - 4 + i] = static_cast<char>((length >> (8 * i)) & 0xFF);
    }
  };
  setRecordedLength(10);
  EXPECT_EQ(errorOf([&] { liang::internal::inflateGzip(stored); }), "incorrect length check");
  setRecordedLength(0xFFFFFFFFu);
  EXPECT_EQ(errorOf([&] { liang::internal::inflateGzip(stored); }), "incorrect length check");
}

TEST(CharacterFile, ACapitalFormOfOneCodePointFoldsToItsLetter) {
  const liang::internal::CodePointMap map = liang::internal::parseCharMap(U"aA\nsS\nxQ\nyQ\n");
  EXPECT_EQ(map(U'A'), U'a');
  EXPECT_EQ(map(U'S'), U's');
  EXPECT_EQ(map(U'Q'), U'y');  // the later line wins
  EXPECT_EQ(map(U's'), U's');  // the letter of its line
  EXPECT_EQ(map(U'x'), U'x');
  EXPECT_EQ(map(U'B'), U'B');  // on no line
}

TEST(CharacterFile, ACapitalFormOfSeveralCodePointsAddsNothing) {
  // German "ßSS", a Greek capital with a combining accent, Armenian "ևԵՒ":
  // before or after the line that folds a code point of theirs, they leave
  // it alone, and they fold none of their own code points.
  for (const std::u32string_view text :
       {std::u32string_view(U"sS\nßSS\n"), std::u32string_view(U"ßSS\nsS\n")}) {
    const liang::internal::CodePointMap map = liang::internal::parseCharMap(text);
    EXPECT_EQ(map(U'S'), U's');
    EXPECT_EQ(map(U'ß'), U'ß');
  }
  const liang::internal::CodePointMap greek =
      liang::internal::parseCharMap(U"\u03B0\u03AB\u0301\n\u03C5\u03A5\n");
  EXPECT_EQ(greek(U'\u0301'), U'\u0301');
  EXPECT_EQ(greek(U'\u03AB'), U'\u03AB');
  EXPECT_EQ(greek(U'\u03A5'), U'\u03C5');
  const liang::internal::CodePointMap armenian =
      liang::internal::parseCharMap(U"\u0587\u0535\u0552\n");
  for (const char32_t c : {U'\u0587', U'\u0535', U'\u0552'}) EXPECT_EQ(armenian(c), c);
}

TEST(CharacterFile, LineRuleEdges) {
  const liang::CharFold identity = liang::internal::parseChars(U"");
  EXPECT_EQ(identity(U'A'), U'A');
  // The last line counts without its line feed.
  EXPECT_EQ(liang::internal::parseChars(U"bB\naA")(U'A'), U'a');
  // Nothing is trimmed: a carriage return makes "A\r" the capital form, of
  // two code points, which adds nothing.
  const liang::CharFold crlf = liang::internal::parseChars(U"aA\r\nbB\n");
  EXPECT_EQ(crlf(U'A'), U'A');
  EXPECT_EQ(crlf(U'\r'), U'\r');
  EXPECT_EQ(crlf(U'B'), U'b');
  // Single code points and empty lines add nothing; a space is a capital form.
  const liang::internal::CodePointMap map = liang::internal::parseCharMap(U"x\n\n\ny \nz w\n");
  EXPECT_EQ(map(U' '), U'y');
  EXPECT_EQ(map(U'z'), U'z');
  EXPECT_EQ(map(U'\n'), U'\n');
  EXPECT_EQ(map(U'w'), U'w');
  EXPECT_EQ(map(U'x'), U'x');
}

TEST(Folding, GermanCapitalSFoldsToS) {
  for (Language x : {Language::German_1901, Language::German_1996, Language::German_Swiss}) {
    const liang::Hyphenator h = liang::loadHyphenator(x);
    const liang::CharFold& fold = liang::hyphenatorChars(h);
    EXPECT_EQ(fold(U'S'), U's') << liang::show(x);
    EXPECT_EQ(fold(U's'), U's');
    EXPECT_EQ(fold(U'ß'), U'ß');
    EXPECT_EQ(fold(U'\u1E9E'), U'\u1E9E');
  }
}

TEST(Folding, OtherScripts) {
  const liang::Hyphenator turkish = liang::loadHyphenator(Language::Turkish);
  EXPECT_EQ(liang::hyphenatorChars(turkish)(U'I'), U'ı');
  EXPECT_EQ(liang::hyphenatorChars(turkish)(U'İ'), U'İ');

  const liang::Hyphenator armenian = liang::loadHyphenator(Language::Armenian);
  EXPECT_EQ(liang::hyphenatorChars(armenian)(U'\u0535'), U'\u0565');
  EXPECT_EQ(liang::hyphenatorChars(armenian)(U'\u0552'), U'\u0552');  // no line of its own
  EXPECT_EQ(liang::hyphenatorChars(armenian)(U'\u0587'), U'\u0587');

  for (Language x : {Language::Greek_Mono, Language::Greek_Poly, Language::Greek_Ancient}) {
    const liang::CharFold& greek = liang::hyphenatorChars(liang::languageHyphenator(x));
    EXPECT_EQ(greek(U'\u0399'), U'\u03B9') << liang::show(x);
    EXPECT_EQ(greek(U'\u03A5'), U'\u03C5') << liang::show(x);
    EXPECT_EQ(greek(U'\u03AA'), U'\u03CA') << liang::show(x);
    EXPECT_EQ(greek(U'\u03AB'), U'\u03CB') << liang::show(x);
    EXPECT_EQ(greek(U'\u03A3'), U'\u03C3') << liang::show(x);
    EXPECT_EQ(greek(U'\u03C2'), U'\u03C2') << liang::show(x);
    for (char32_t mark : {U'\u0301', U'\u0308', U'\u0313', U'\u0342'}) {
      EXPECT_EQ(greek(mark), mark) << liang::show(x);
    }
  }

  const liang::Hyphenator sanskrit = liang::loadHyphenator(Language::Sanskrit);
  EXPECT_EQ(liang::hyphenatorChars(sanskrit)(U'H'), U'h');
  EXPECT_EQ(liang::hyphenatorChars(sanskrit)(U'\u0331'), U'\u0331');
}

TEST(Folding, EnglishLowersAsciiLettersOnly) {
  const liang::Hyphenator h = liang::loadHyphenator(Language::English_US);
  const liang::CharFold& fold = liang::hyphenatorChars(h);
  for (char32_t c = U'A'; c <= U'Z'; ++c) EXPECT_EQ(fold(c), c - U'A' + U'a');
  for (char32_t c = U'a'; c <= U'z'; ++c) EXPECT_EQ(fold(c), c);
  for (char32_t c : std::u32string_view(U"-'\u2019 0123456789.\u00E9\U0010FFFF")) {
    EXPECT_EQ(fold(c), c);
  }
  EXPECT_EQ(fold(char32_t{0x110000}), char32_t{0x110000});  // not a scalar value, still a character
}

TEST(Minima, TableByGroup) {
  const std::vector<Language> oneOne = {
      Language::Assamese, Language::Bengali,       Language::Chinese,    Language::Coptic,
      Language::Ethiopic, Language::Greek_Ancient, Language::Greek_Mono, Language::Greek_Poly,
      Language::Gujarati, Language::Hindi,         Language::Kannada,    Language::Malayalam,
      Language::Marathi,  Language::Oriya,         Language::Panjabi,    Language::Tamil,
      Language::Telugu};
  const std::vector<Language> oneTwo = {Language::Afrikaans, Language::Armenian,
                                        Language::Georgian};
  const std::vector<Language> twoThree = {
      Language::Czech,  Language::English_US, Language::English_GB, Language::Estonian,
      Language::French, Language::Irish,      Language::Portuguese, Language::Slovak,
      Language::Thai,   Language::Welsh};
  std::size_t twoTwo = 0;
  for (Language x : allLanguages()) {
    const liang::Hyphenator h = liang::loadHyphenator(x);
    const auto has = [x](const std::vector<Language>& group) {
      return std::find(group.begin(), group.end(), x) != group.end();
    };
    std::pair<std::int64_t, std::int64_t> expected = {2, 2};
    if (has(oneOne)) expected = {1, 1};
    if (has(oneTwo)) expected = {1, 2};
    if (x == Language::Sanskrit) expected = {1, 3};
    if (has(twoThree)) expected = {2, 3};
    if (expected == std::pair<std::int64_t, std::int64_t>{2, 2}) ++twoTwo;
    EXPECT_EQ(liang::hyphenatorLeftMin(h), expected.first) << liang::show(x);
    EXPECT_EQ(liang::hyphenatorRightMin(h), expected.second) << liang::show(x);
  }
  EXPECT_EQ(twoTwo, 42u);
}

TEST(Loader, EveryLanguageBuildsAllThreeComponents) {
  for (Language x : allLanguages()) {
    SCOPED_TRACE(liang::show(x));
    const liang::Hyphenator h = liang::loadHyphenator(x);
    EXPECT_NO_THROW(liang::hyphenatorChars(h)(U'A'));
    EXPECT_NE(liang::hyphenatorPatterns(h), liang::emptyPatterns());
    EXPECT_EQ(liang::hyphenatorExceptions(h) == liang::emptyExceptions(),
              !kLanguagesWithExceptions.contains(x));
    EXPECT_NO_THROW(liang::hyphenate(h, U"abcdefghijklmnop"));
  }
}

TEST(Loader, MatchesTheParsersOnTheDecodedFiles) {
  const liang::Hyphenator h = liang::loadHyphenator(Language::Catalan);
  EXPECT_EQ(liang::hyphenatorPatterns(h),
            liang::parsePatterns(liang::internal::embeddedFileText("hyph-ca.pat.txt.gz")));
  EXPECT_EQ(liang::hyphenatorExceptions(h),
            liang::parseExceptions(liang::internal::embeddedFileText("hyph-ca.hyp.txt.gz")));
}

// The loader decodes pattern files as it parses them; that must be the
// parse of the whole decoded text, ill-formed bytes and line ends included.
TEST(Loader, ParsingTheBytesParsesLikeTheDecodedText) {
  using liang::internal::decodeUtf8;
  using liang::internal::parsePatternsUtf8;
  for (const std::string_view bytes : {std::string_view("a1b\n\xC3\n\xA9\n2\xE2\x82\n\xAC"
                                                        "3\n"),
                                       std::string_view("\xF0\x9F\x98\x80"
                                                        "1x\r\n\xED\xA0\x80"
                                                        "2\n\xC0\xAF"
                                                        "3y"),
                                       std::string_view("\n\n.4\n1\n"),
                                       std::string_view("\xE9"
                                                        "1\xE9"
                                                        "2")}) {
    EXPECT_EQ(parsePatternsUtf8(std::string(bytes)), liang::parsePatterns(decodeUtf8(bytes)))
        << testing::PrintToString(std::string(bytes));
  }
  // Pieces of sequences, whole and cut short, among letters, digits and line
  // feeds, in any order: a decoder that ran past a line feed or the end of
  // the text, or lost its place after an ill-formed byte, parses otherwise.
  const std::string_view pieces[] = {"a",        "b",
                                     "1",        "2",
                                     ".",        "\n",
                                     "\xC3\xA9", "\xC3",
                                     "\xA9",     "\xE2\x82\xAC",
                                     "\xE2\x82", "\xF0\x9F\x98\x80",
                                     "\xF0\x9F", "\xED\xA0\x80",
                                     "\xFF"};
  std::mt19937 random(1901);
  for (int round = 0; round < 2000; ++round) {
    std::string bytes;
    for (std::size_t k = random() % 24; k > 0; --k) bytes += pieces[random() % std::size(pieces)];
    ASSERT_EQ(parsePatternsUtf8(bytes), liang::parsePatterns(decodeUtf8(bytes)))
        << testing::PrintToString(bytes);
  }
  for (const Language x : allLanguages()) {
    const std::string name = "hyph-" + std::string(liang::languageAffix(x)) + ".pat.txt.gz";
    const std::string bytes = testing_support::sourceDataBytes(name);
    ASSERT_EQ(parsePatternsUtf8(bytes), liang::parsePatterns(decodeUtf8(bytes))) << name;
  }
}

TEST(Loader, TwoLoadsAreIndependentAndAgree) {
  const liang::Hyphenator first = liang::loadHyphenator(Language::English_US);
  const liang::Hyphenator second = liang::loadHyphenator(Language::English_US);
  EXPECT_NE(&liang::hyphenatorPatterns(first), &liang::hyphenatorPatterns(second));
  EXPECT_NE(&liang::hyphenatorExceptions(first), &liang::hyphenatorExceptions(second));
  EXPECT_EQ(liang::hyphenatorPatterns(first), liang::hyphenatorPatterns(second));
  EXPECT_EQ(pieces(first, U"hyphenation"), pieces(second, U"hyphenation"));
  // Copies share the components of their original.
  const liang::Hyphenator copy = first;  // NOLINT(performance-unnecessary-copy-initialization)
  EXPECT_EQ(&liang::hyphenatorPatterns(copy), &liang::hyphenatorPatterns(first));
  EXPECT_EQ(&liang::hyphenatorExceptions(copy), &liang::hyphenatorExceptions(first));
}

TEST(Loader, MissingFileFailsOnlyItsComponentForGood) {
  TestFiles files;
  files.addEmbeddedExcept({"hyph-en-us.pat.txt.gz"});
  const liang::Hyphenator h = liang::internal::loadHyphenator(Language::English_US, files.table());
  EXPECT_EQ(liang::hyphenatorLeftMin(h), 2);
  EXPECT_EQ(liang::hyphenatorRightMin(h), 3);
  const std::string missing = "Could not find hyph-en-us.pat.txt.gz";
  EXPECT_EQ(errorOf([&] { liang::hyphenate(h, U"hyphenation"); }), missing);
  EXPECT_EQ(errorOf([&] { liang::hyphenatorPatterns(h); }), missing);
  EXPECT_EQ(errorOf([&] { liang::hyphenate(h, U"computer"); }), missing);
  // The character map and the exceptions still build and serve: an exception
  // word never reaches the trie, nor does a word below the minima.
  EXPECT_EQ(liang::hyphenatorChars(h)(U'A'), U'a');
  EXPECT_EQ(pieces(h, U"associate"), (std::vector<std::u32string>{U"as", U"so", U"ciate"}));
  EXPECT_EQ(pieces(h, U"Table"), (std::vector<std::u32string>{U"Ta", U"ble"}));
  EXPECT_EQ(pieces(h, U"abcd"), (std::vector<std::u32string>{U"abcd"}));
  EXPECT_EQ(errorOf([&] { liang::hyphenate(h, U"hyphenation"); }), missing);
}

TEST(Loader, LoadingTouchesNoFile) {
  // With no files at all the hyphenator is still made and its minima read;
  // each component fails with its own file's name, the character map first
  // (hyphenate folds before it looks anything up).
  TestFiles none;
  const liang::Hyphenator h = liang::internal::loadHyphenator(Language::Sanskrit, none.table());
  EXPECT_EQ(liang::hyphenatorLeftMin(h), 1);
  EXPECT_EQ(liang::hyphenatorRightMin(h), 3);
  EXPECT_EQ(pieces(h, U"ab"), std::vector<std::u32string>{U"ab"});
  EXPECT_EQ(errorOf([&] { liang::hyphenate(h, U"abcd"); }), "Could not find hyph-sa.chr.txt.gz");
  EXPECT_EQ(errorOf([&] { liang::hyphenatorChars(h)(U'a'); }), "Could not find hyph-sa.chr.txt.gz");
  EXPECT_EQ(errorOf([&] { liang::hyphenatorPatterns(h); }), "Could not find hyph-sa.pat.txt.gz");
  EXPECT_EQ(errorOf([&] { liang::hyphenatorExceptions(h); }), "Could not find hyph-sa.hyp.txt.gz");
}

TEST(Loader, DamagedFileFailsWithZlibsMessageForGood) {
  std::string damaged(findEmbedded("hyph-en-us.hyp.txt.gz")->bytes);
  damaged[damaged.size() - 8] ^= 1;  // the CRC
  TestFiles files;
  files.addEmbeddedExcept({"hyph-en-us.hyp.txt.gz"}).add("hyph-en-us.hyp.txt.gz", damaged);
  const liang::Hyphenator h = liang::internal::loadHyphenator(Language::English_US, files.table());
  EXPECT_EQ(errorOf([&] { liang::hyphenate(h, U"hyphenation"); }), "incorrect data check");
  EXPECT_EQ(errorOf([&] { liang::hyphenate(h, U"hyphenation"); }), "incorrect data check");
  EXPECT_NE(liang::hyphenatorPatterns(h), liang::emptyPatterns());
}

TEST(Loader, FilesGoThroughTheWholePath) {
  // A character file with CR LF line ends and an ill-formed byte: the loaded
  // folding function sees exactly what the decoder and the line rule make.
  TestFiles files;
  files.add("hyph-en-us.chr.txt.gz", gzipStored("aA\r\nbB\n\xE9\xC9"))
      .add("hyph-en-us.pat.txt.gz", gzipStored("1b\n"))
      .add("hyph-en-us.hyp.txt.gz", gzipStored(""));
  const liang::Hyphenator h = liang::internal::loadHyphenator(Language::English_US, files.table());
  const liang::CharFold& fold = liang::hyphenatorChars(h);
  EXPECT_EQ(fold(U'A'), U'A');  // its capital form is "A\r", two code points
  EXPECT_EQ(fold(U'\r'), U'\r');
  EXPECT_EQ(fold(U'B'), U'b');
  EXPECT_EQ(fold(U'\u00C9'), U'\u00E9');  // the lone 0xC9 byte, folded to the lone 0xE9
  // "1b" permits a break before every b; the minima 2 and 3 keep only one.
  EXPECT_EQ(pieces(h, U"aBaBaBa"), (std::vector<std::u32string>{U"aBa", U"BaBa"}));
}

TEST(LoaderConcurrency, ComponentsAreBuiltOnceUnderContention) {
  const liang::Hyphenator h = liang::loadHyphenator(Language::Hungarian);
  constexpr int kThreads = 8;
  std::latch start(kThreads);
  std::array<const liang::Patterns*, kThreads> tries{};
  std::array<const liang::Exceptions*, kThreads> dictionaries{};
  std::array<std::vector<std::u32string>, kThreads> results;
  std::vector<std::thread> threads;
  for (int i = 0; i < kThreads; ++i) {
    threads.emplace_back([&, i] {
      start.arrive_and_wait();
      results[i] = liang::hyphenate(h, U"Szentendre");
      tries[i] = &liang::hyphenatorPatterns(h);
      dictionaries[i] = &liang::hyphenatorExceptions(h);
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (int i = 1; i < kThreads; ++i) {
    EXPECT_EQ(tries[i], tries[0]);
    EXPECT_EQ(dictionaries[i], dictionaries[0]);
    EXPECT_EQ(results[i], results[0]);
  }
  EXPECT_EQ(results[0], pieces(liang::loadHyphenator(Language::Hungarian), U"Szentendre"));
}

TEST(LoaderConcurrency, AFailureReachesEveryThreadAlike) {
  TestFiles files;
  files.addEmbeddedExcept({"hyph-cy.pat.txt.gz"});
  const liang::Hyphenator h = liang::internal::loadHyphenator(Language::Welsh, files.table());
  constexpr int kThreads = 8;
  std::latch start(kThreads);
  std::array<std::string, kThreads> messages;
  std::vector<std::thread> threads;
  for (int i = 0; i < kThreads; ++i) {
    threads.emplace_back([&, i] {
      start.arrive_and_wait();
      messages[i] = errorOf([&] { liang::hyphenate(h, U"cymraeg"); });
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (const std::string& message : messages) {
    EXPECT_EQ(message, "Could not find hyph-cy.pat.txt.gz");
  }
}

}  // namespace
