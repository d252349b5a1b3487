// The licence texts of the languages' patterns, and which languages a build
// carries.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>

#include "liang/liang.hpp"

namespace liang {
namespace {

TEST(LanguageLicence, EveryLanguageHasItsOwnText) {
  std::set<std::string> texts;
  for (const Language x : enumFrom(lowestLanguage())) {
    EXPECT_TRUE(languageEmbedded(x)) << show(x);
    const std::string text = languageLicence(x);
    ASSERT_FALSE(text.empty()) << show(x);
    EXPECT_EQ(text.back(), '\n') << show(x);
    EXPECT_EQ(text.find('\r'), std::string::npos) << show(x);
    texts.insert(text);
  }
  // No two languages share a file, so a mix-up of affixes would show here.
  EXPECT_EQ(texts.size(), 73u);
  EXPECT_NE(languageLicence(Language::English_US).find("Kuiken"), std::string::npos);
  EXPECT_NE(languageLicence(Language::Hungarian).find("MPL 1.1/GPL 2.0/LGPL 2.1"),
            std::string::npos);
}

TEST(LanguageLicence, CopyleftLanguagesSaySo) {
  // The languages the README names as GPL or LGPL (Hungarian among the
  // choices of a triple licence).
  for (const Language x :
       {Language::Armenian, Language::Czech, Language::Slovak, Language::Irish, Language::Latvian,
        Language::Indonesian, Language::Serbian_Cyrillic, Language::Chinese, Language::Hungarian}) {
    const std::string text = languageLicence(x);
    EXPECT_TRUE(text.find("GPL") != std::string::npos ||
                text.find("General Public") != std::string::npos)
        << show(x);
  }
}

}  // namespace
}  // namespace liang
