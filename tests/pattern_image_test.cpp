// The prebuilt pattern tries that the build embeds in place of the pattern
// texts (core/PatternImage.hpp, written by src/languages/data/pattern_image.cpp,
// a trie builder of its own): every language's must be the trie its shipped
// text parses to, read directly and through the loader; the layout must be
// the documented one; and a damaged image must fail with an Error, never
// read astray.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

#include "core/PatternImage.hpp"
#include "languages/EmbeddedFiles.hpp"
#include "languages/Loader.hpp"
#include "liang/Exception.hpp"
#include "liang/Hyphenator.hpp"
#include "liang/Language.hpp"
#include "liang/Pattern.hpp"
#include "source_data.hpp"

namespace {

using liang::internal::isPatternImage;
using liang::internal::kPatternImageMagic;
using liang::internal::patternImageText;
using liang::internal::readPatternImage;

std::string patternFileName(liang::Language x) {
  return "hyph-" + std::string(liang::languageAffix(x)) + ".pat.txt.gz";
}

// The image of the library's own pattern file `name`.
std::string embeddedImage(const std::string& name) {
  return liang::internal::embeddedFileBytes(name, liang::internal::embeddedFiles());
}

// The image, the loader and the text the image renders agree with the
// parser on the shipped text, in all 73 languages: equal tries (same shape,
// same letters, same score lists) hyphenate every word alike.
TEST(PatternImage, EveryLanguageReadsAsItsTextParses) {
  const liang::LanguageRange all = liang::enumFrom(liang::lowestLanguage());
  std::size_t languages = 0;
  for (const liang::Language x : all) {
    const std::string name = patternFileName(x);
    SCOPED_TRACE(name);
    const std::string image = embeddedImage(name);
    ASSERT_TRUE(isPatternImage(image));
    const liang::Patterns parsed =
        liang::parsePatterns(std::string_view(testing_support::sourceDataBytes(name)));
    EXPECT_EQ(readPatternImage(image), parsed);
    EXPECT_EQ(liang::hyphenatorPatterns(liang::loadHyphenator(x)), parsed);
    EXPECT_EQ(liang::parsePatterns(patternImageText(image)), parsed);
    ++languages;
  }
  EXPECT_EQ(languages, 73u);
}

// "1a" and "ab2" laid out by hand as PatternImage.hpp describes them: the
// root (one child, unscored), a (one child, one nonzero score), b (no
// child, one nonzero score two entries in).
TEST(PatternImage, ReadsTheDocumentedLayout) {
  const std::string image = std::string(kPatternImageMagic) +
                            "\x03\x05\x03\x02"  // nodes, score entries, column lengths
                            "\x10\x12\x02"      // (children << 4) | (1 + nonzero scores)
                            "ab"                // letters: a, then b
                            "\x01\x22";         // (gap << 4) | score: 1 first, 2 after two zeros
  EXPECT_EQ(readPatternImage(image), liang::parsePatterns(U"1a\nab2\n"));
  EXPECT_EQ(patternImageText(image), U"1a\nab2\n");
  // Siblings' letters go up by steps: a, then c two above it.
  const std::string siblings = std::string(kPatternImageMagic) + "\x03\x04\x03\x02" +
                               std::string("\x20\x02\x02", 3) + std::string("a\x02", 2) +
                               std::string("\x11\x02", 2);
  EXPECT_EQ(readPatternImage(siblings), liang::parsePatterns(U"a1\n2c\n"));
  // A letter that pattern text cannot write (a digit, a line feed) is
  // refused: every image is the trie of some text.
  for (const char letter : {'1', '\n'}) {
    EXPECT_THROW(readPatternImage(std::string(kPatternImageMagic) + "\x02\x02\x02\x01\x10\x01" +
                                  std::string(1, letter)),
                 liang::Error);
  }
  EXPECT_NO_THROW(
      readPatternImage(std::string(kPatternImageMagic) + "\x02\x02\x02\x01\x10\x01" + "a"));
  // A root alone and unscored is the empty trie.
  EXPECT_EQ(
      readPatternImage(std::string(kPatternImageMagic) + std::string("\x01\x00\x01\x00\x00", 5)),
      liang::emptyPatterns());
}

// Every cut of an image, and an image with a byte more, fails; a changed
// byte either fails or gives a trie whose rendered text parses back to it.
// Run under the sanitizers, this is also the proof that nothing reads past
// the image or past the store it fills.
TEST(PatternImage, DamagedImagesFailWithAnError) {
  const std::string image = embeddedImage("hyph-en-us.pat.txt.gz");
  const auto fails = [](const std::string& bytes) {
    try {
      readPatternImage(bytes);
    } catch (const liang::Error& e) {
      return std::string_view(e.what()) == "Damaged pattern image";
    }
    return false;
  };
  const std::size_t stride = std::max<std::size_t>(1, image.size() / 600);
  for (std::size_t cut = 0; cut < image.size(); cut += cut < 64 ? 1 : stride) {
    EXPECT_TRUE(fails(image.substr(0, cut))) << "cut at " << cut;
  }
  EXPECT_TRUE(fails(image + '\0'));
  std::size_t damaged = 0;
  for (std::size_t at = kPatternImageMagic.size(); at < image.size(); at += at < 64 ? 1 : stride) {
    for (const unsigned flip : {0x01u, 0x10u, 0x80u, 0xFFu}) {
      std::string changed = image;
      changed[at] = static_cast<char>(static_cast<unsigned char>(changed[at]) ^ flip);
      try {
        const liang::Patterns trie = readPatternImage(changed);
        EXPECT_EQ(liang::parsePatterns(patternImageText(changed)), trie) << at;
      } catch (const liang::Error&) {
        ++damaged;
      }
    }
  }
  EXPECT_GT(damaged, 0u);
  EXPECT_TRUE(fails("not an image"));
}

}  // namespace
