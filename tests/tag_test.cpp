// languageForTag on the tags and locale names that real programs meet.
#include <gtest/gtest.h>

#include <cctype>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "liang/liang.hpp"

namespace liang {
namespace {

using L = Language;

struct TagCase {
  std::string_view tag;
  std::optional<Language> expected;
};

void expectAll(const std::vector<TagCase>& cases) {
  for (const TagCase& c : cases) {
    const std::optional<Language> got = languageForTag(c.tag);
    EXPECT_EQ(got, c.expected) << '"' << c.tag << "\" gave "
                               << (got ? show(*got) : std::string("nothing"));
  }
}

TEST(LanguageForTag, EveryAffixNamesItsLanguage) {
  for (const Language x : enumFrom(lowestLanguage())) {
    const std::string affix(languageAffix(x));
    EXPECT_EQ(languageForTag(affix), x) << affix;
    std::string shouted;
    for (const char c : affix) {
      shouted += c == '-' ? '_' : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    EXPECT_EQ(languageForTag(shouted), x) << shouted;
  }
}

TEST(LanguageForTag, HtmlLangAttributes) {
  expectAll({
      {"en", L::English_US},
      {"en-US", L::English_US},
      {"EN-us", L::English_US},
      {"en-GB", L::English_GB},
      {"en-gb-oxendict", L::English_GB},
      {"en-Latn-GB", L::English_GB},
      {"en-AU", L::English_GB},
      {"en-NZ", L::English_GB},
      {"en-IE", L::English_GB},
      {"en-IN", L::English_GB},
      {"en-ZA", L::English_GB},
      {"en-SG", L::English_GB},
      {"en-UK", L::English_GB},
      {"en-001", L::English_GB},
      {"en-150", L::English_GB},
      {"en-CA", L::English_US},
      {"en-PH", L::English_US},
      {"en-US-x-twain", L::English_US},
      {"de", L::German_1996},
      {"de-DE", L::German_1996},
      {"de-AT", L::German_1996},
      {"de-1996", L::German_1996},
      {"de-1901", L::German_1901},
      {"de-DE-1901", L::German_1901},
      {"de-AT-1901", L::German_1901},
      {"de-CH", L::German_Swiss},
      {"de-LI", L::German_Swiss},
      {"de-CH-1901", L::German_Swiss},
      {"de-CH-1996", L::German_Swiss},
      {"gsw", L::German_Swiss},
      {"fr", L::French},
      {"fr-CA", L::French},
      {"fr-BE", L::French},
      {"es-419", L::Spanish},
      {"es-MX", L::Spanish},
      {"it-IT", L::Italian},
      {"nl-BE", L::Dutch},
      {"pt", L::Portuguese},
      {"pt-BR", L::Portuguese},
      {"pt-PT", L::Portuguese},
      {"el", L::Greek_Mono},
      {"el-GR", L::Greek_Mono},
      {"el-monoton", L::Greek_Mono},
      {"el-polyton", L::Greek_Poly},
      {"el-GR-polyton", L::Greek_Poly},
      {"grc", L::Greek_Ancient},
      {"sr", L::Serbian_Cyrillic},
      {"sr-RS", L::Serbian_Cyrillic},
      {"sr-Cyrl", L::Serbian_Cyrillic},
      {"sr-Cyrl-RS", L::Serbian_Cyrillic},
      {"sr-Latn", L::Serbocroatian_Latin},
      {"sr-Latn-RS", L::Serbocroatian_Latin},
      {"sr-Latn-ME", L::Serbocroatian_Latin},
      {"sh", L::Serbocroatian_Latin},
      {"sh-Cyrl", L::Serbocroatian_Cyrillic},
      {"hbs", L::Serbocroatian_Latin},
      {"hbs-Cyrl", L::Serbocroatian_Cyrillic},
      {"bs", L::Serbocroatian_Latin},
      {"bs-Cyrl-BA", L::Serbocroatian_Cyrillic},
      {"hr", L::Croatian},
      {"hr-HR", L::Croatian},
      {"no", L::Norwegian_Bokmal},
      {"nb", L::Norwegian_Bokmal},
      {"nb-NO", L::Norwegian_Bokmal},
      {"nn", L::Norwegian_Nynorsk},
      {"nn-NO", L::Norwegian_Nynorsk},
      {"no-bok", L::Norwegian_Bokmal},
      {"no-nyn", L::Norwegian_Nynorsk},
      {"zh", L::Chinese},
      {"zh-CN", L::Chinese},
      {"zh-yue-HK", L::Chinese},
      {"zh-Latn-pinyin", L::Chinese},
      {"la", L::Latin},
      {"la-VA", L::Latin},
      {"la-x-classic", L::Latin_Classic},
      {"la-x-classic-extra", L::Latin_Classic},
      {"la-x-liturgic", L::Latin},
      {"mn", L::Mongolian},
      {"mn-Cyrl-MN", L::Mongolian},
      {"hy", L::Armenian},
      {"hy-AM", L::Armenian},
      {"cy", L::Welsh},
      {"cy-GB", L::Welsh},
      {"ka-GE", L::Georgian},
      {"am", L::Ethiopic},
      {"am-ET", L::Ethiopic},
      {"ti", L::Ethiopic},
      {"gez", L::Ethiopic},
      {"und-Ethi", L::Ethiopic},
      {"mul-Ethi", L::Ethiopic},
      {"ku", L::Kurmanji},
      {"kmr-Latn-TR", L::Kurmanji},
      {"hsb-DE", L::Uppersorbian},
      {"ru-RU", L::Russian},
      {"uk-UA", L::Ukrainian},
      {"ca-ES-valencia", L::Catalan},
      {"sl-rozaj", L::Slovenian},
      {"de-DE-u-co-phonebk", L::German_1996},
      {"en-a-bbb-x-a-ccc", L::English_US},
  });
}

TEST(LanguageForTag, LocaleNames) {
  expectAll({
      {"de_DE.UTF-8", L::German_1996},
      {"de_CH.UTF-8", L::German_Swiss},
      {"de_DE@euro", L::German_1996},
      {"de_DE.ISO-8859-15@euro", L::German_1996},
      {"en_US.UTF-8", L::English_US},
      {"en_GB.utf8", L::English_GB},
      {"pt_BR", L::Portuguese},
      {"sr_RS", L::Serbian_Cyrillic},
      {"sr_RS@latin", L::Serbocroatian_Latin},
      {"sr_RS.UTF-8@latin", L::Serbocroatian_Latin},
      {"sr_RS@cyrillic", L::Serbian_Cyrillic},
      {"ca_ES@valencia", L::Catalan},
      {"nb_NO.UTF-8", L::Norwegian_Bokmal},
      {"el_GR.UTF-8", L::Greek_Mono},
      {"zh_CN.GB18030", L::Chinese},
      {"  fr-FR  ", L::French},
  });
}

TEST(LanguageForTag, ThreeLetterAndDeprecatedCodes) {
  expectAll({
      {"eng", L::English_US},
      {"eng-GB", L::English_GB},
      {"deu", L::German_1996},
      {"ger", L::German_1996},
      {"deu-CH", L::German_Swiss},
      {"fra", L::French},
      {"fre", L::French},
      {"nld", L::Dutch},
      {"ell", L::Greek_Mono},
      {"srp-Latn", L::Serbocroatian_Latin},
      {"nob", L::Norwegian_Bokmal},
      {"nno", L::Norwegian_Nynorsk},
      {"in", L::Indonesian},
      {"mo", L::Romanian},
      {"cym", L::Welsh},
  });
}

TEST(LanguageForTag, UnknownOrMalformedGivesNothing) {
  expectAll({
      {"", std::nullopt},
      {"   ", std::nullopt},
      {"C", std::nullopt},
      {"C.UTF-8", std::nullopt},
      {"POSIX", std::nullopt},
      {"und", std::nullopt},
      {"mul", std::nullopt},
      {"ja", std::nullopt},
      {"ja-JP", std::nullopt},
      {"ar-EG", std::nullopt},
      {"x-klingon", std::nullopt},
      {"i-klingon", std::nullopt},
      {"english", std::nullopt},
      {"English_US", std::nullopt},  // a member name is not a tag
      {"e", std::nullopt},
      {"en-", std::nullopt},
      {"-en", std::nullopt},
      {"en--US", std::nullopt},
      {"en US", std::nullopt},
      {"en-US,en;q=0.9", std::nullopt},
      {"de-verylongsubtag", std::nullopt},
      {"12", std::nullopt},
      {"fr-x", std::nullopt},
      {"d\xC3\xA9", std::nullopt},
      {std::string_view("de\0", 3), std::nullopt},
  });
}

TEST(LanguageForTag, ScriptMustBeOneThePatternsAreWrittenIn) {
  expectAll({
      // Scripts the patterns are written in.
      {"zh-Latn", L::Chinese},
      {"zh-Latn-CN", L::Chinese},
      {"mn-Cyrl", L::Mongolian},
      {"de-Latn-CH", L::German_Swiss},
      {"de-Latf", L::German_1996},
      {"ga-Latg", L::Irish},
      {"el-Grek", L::Greek_Mono},
      {"grc-Grek", L::Greek_Ancient},
      {"ru-Cyrl-RU", L::Russian},
      {"hy-Armn", L::Armenian},
      {"ka-Geor", L::Georgian},
      {"as-Beng", L::Assamese},
      {"hi-Deva", L::Hindi},
      {"pa-Guru", L::Panjabi},
      {"am-Ethi", L::Ethiopic},
      {"cop-Copt", L::Coptic},
      {"th-Thai", L::Thai},
      {"sa-Deva", L::Sanskrit},
      {"sa-Knda", L::Sanskrit},
      {"sa-Latn", L::Sanskrit},
      {"SR-latn", L::Serbocroatian_Latin},
      {"uk_UA@cyrillic", L::Ukrainian},
      // Scripts they are not written in.
      {"zh-Hans", std::nullopt},
      {"zh-Hant", std::nullopt},
      {"zh-Hans-CN", std::nullopt},
      {"zh-Hant-TW", std::nullopt},
      {"zh-yue-Hant-HK", std::nullopt},
      {"mn-Mong", std::nullopt},
      {"mn-Mong-CN", std::nullopt},
      {"pa-Arab", std::nullopt},
      {"ku-Arab", std::nullopt},
      {"am-Latn", std::nullopt},
      {"en-Dsrt", std::nullopt},
      {"en-Qaaa", std::nullopt},
      {"de-Cyrl", std::nullopt},
      {"en-Cyrl-GB", std::nullopt},
      {"el-Latn", std::nullopt},
      {"ru-Latn", std::nullopt},
      {"tk-Cyrl", std::nullopt},
      {"sa-Taml", std::nullopt},
      {"hi-Latn", std::nullopt},
      {"uk_UA@latin", std::nullopt},
      {"sr-Grek", std::nullopt},
      {"und-Latn", std::nullopt},
  });
}

struct NameCase {
  std::string_view name;
  std::optional<Language> expected;
};

TEST(LanguageForName, MemberEnglishNamesThenTags) {
  const std::vector<NameCase> cases = {
      {"German_Swiss", L::German_Swiss},
      {"GERMAN_1901", L::German_1901},
      {"english_us", L::English_US},
      {"greek ancient", L::Greek_Ancient},
      {"Norwegian-Nynorsk", L::Norwegian_Nynorsk},
      {"danish", L::Danish},
      {"Welsh", L::Welsh},
      {"english", L::English_US},
      {"American", L::English_US},
      {"british english", L::English_GB},
      {"german", L::German_1996},
      {"Swiss German", L::German_Swiss},
      {"greek", L::Greek_Mono},
      {"ancient_greek", L::Greek_Ancient},
      {"polytonic greek", L::Greek_Poly},
      {"norwegian", L::Norwegian_Bokmal},
      {"bokm\xC3\xA5l", L::Norwegian_Bokmal},
      {"Nynorsk", L::Norwegian_Nynorsk},
      {"serbian", L::Serbian_Cyrillic},
      {"Serbo-Croatian", L::Serbocroatian_Latin},
      {"bosnian", L::Serbocroatian_Latin},
      {"classical latin", L::Latin_Classic},
      {"friulian", L::Friulan},
      {"punjabi", L::Panjabi},
      {"odia", L::Oriya},
      {"slovene", L::Slovenian},
      {"upper sorbian", L::Uppersorbian},
      {"amharic", L::Ethiopic},
      {"de-CH", L::German_Swiss},
      {"de_DE.UTF-8", L::German_1996},
      {"de-1996", L::German_1996},
      {"zh-Hans", std::nullopt},
      {"kurdish", std::nullopt},
      {"sorbian", std::nullopt},
      {"englishman", std::nullopt},
      {"german ", std::nullopt},
      {"", std::nullopt},
      {"klingon", std::nullopt},
  };
  for (const NameCase& c : cases) {
    const std::optional<Language> got = languageForName(c.name);
    EXPECT_EQ(got, c.expected) << '"' << c.name << "\" gave "
                               << (got ? show(*got) : std::string("nothing"));
  }
}

TEST(LanguageForName, EveryMemberNameAndEveryAffix) {
  for (const Language x : enumFrom(lowestLanguage())) {
    EXPECT_EQ(languageForName(show(x)), x);
    EXPECT_EQ(languageForName(languageAffix(x)), x);
  }
}

}  // namespace
}  // namespace liang
