// The Language enumeration's operations and its table of names, file codes
// and minima. The shared hyphenator of each language is SharedHyphenators.cpp's.

#include "liang/Language.hpp"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "languages/EmbeddedFiles.hpp"
#include "languages/Loader.hpp"
#include "liang/Exception.hpp"

namespace liang {
namespace {

// What the library fixes for each language, indexed by ordinal.
struct LanguageFacts {
  std::string_view name;   // the member's identifier
  std::string_view affix;  // the code in its file names: "hyph-" + affix + ".pat.txt.gz"
  std::int64_t leftMin;    // least characters before the first break
  std::int64_t rightMin;   // least characters after the last break
};

constexpr std::array<LanguageFacts, 73> kLanguages = {{
    {"Afrikaans", "af", 1, 2},
    {"Armenian", "hy", 1, 2},
    {"Assamese", "as", 1, 1},
    {"Basque", "eu", 2, 2},
    {"Bengali", "bn", 1, 1},
    {"Bulgarian", "bg", 2, 2},
    {"Catalan", "ca", 2, 2},
    {"Chinese", "zh-latn-pinyin", 1, 1},
    {"Coptic", "cop", 1, 1},
    {"Croatian", "hr", 2, 2},
    {"Czech", "cs", 2, 3},
    {"Danish", "da", 2, 2},
    {"Dutch", "nl", 2, 2},
    {"English_US", "en-us", 2, 3},
    {"English_GB", "en-gb", 2, 3},
    {"Esperanto", "eo", 2, 2},
    {"Estonian", "et", 2, 3},
    {"Ethiopic", "mul-ethi", 1, 1},
    {"Finnish", "fi", 2, 2},
    {"French", "fr", 2, 3},
    {"Friulan", "fur", 2, 2},
    {"Galician", "gl", 2, 2},
    {"Georgian", "ka", 1, 2},
    {"German_1901", "de-1901", 2, 2},
    {"German_1996", "de-1996", 2, 2},
    {"German_Swiss", "de-ch-1901", 2, 2},
    {"Greek_Ancient", "grc", 1, 1},
    {"Greek_Mono", "el-monoton", 1, 1},
    {"Greek_Poly", "el-polyton", 1, 1},
    {"Gujarati", "gu", 1, 1},
    {"Hindi", "hi", 1, 1},
    {"Hungarian", "hu", 2, 2},
    {"Icelandic", "is", 2, 2},
    {"Indonesian", "id", 2, 2},
    {"Interlingua", "ia", 2, 2},
    {"Irish", "ga", 2, 3},
    {"Italian", "it", 2, 2},
    {"Kannada", "kn", 1, 1},
    {"Kurmanji", "kmr", 2, 2},
    {"Latin", "la", 2, 2},
    {"Latin_Classic", "la-x-classic", 2, 2},
    {"Latvian", "lv", 2, 2},
    {"Lithuanian", "lt", 2, 2},
    {"Malayalam", "ml", 1, 1},
    {"Marathi", "mr", 1, 1},
    {"Mongolian", "mn-cyrl", 2, 2},
    {"Norwegian_Bokmal", "nb", 2, 2},
    {"Norwegian_Nynorsk", "nn", 2, 2},
    {"Occitan", "oc", 2, 2},
    {"Oriya", "or", 1, 1},
    {"Panjabi", "pa", 1, 1},
    {"Piedmontese", "pms", 2, 2},
    {"Polish", "pl", 2, 2},
    {"Portuguese", "pt", 2, 3},
    {"Romanian", "ro", 2, 2},
    {"Romansh", "rm", 2, 2},
    {"Russian", "ru", 2, 2},
    {"Sanskrit", "sa", 1, 3},
    {"Serbian_Cyrillic", "sr-cyrl", 2, 2},
    {"Serbocroatian_Cyrillic", "sh-cyrl", 2, 2},
    {"Serbocroatian_Latin", "sh-latn", 2, 2},
    {"Slovak", "sk", 2, 3},
    {"Slovenian", "sl", 2, 2},
    {"Spanish", "es", 2, 2},
    {"Swedish", "sv", 2, 2},
    {"Tamil", "ta", 1, 1},
    {"Telugu", "te", 1, 1},
    {"Thai", "th", 2, 3},
    {"Turkish", "tr", 2, 2},
    {"Turkmen", "tk", 2, 2},
    {"Ukrainian", "uk", 2, 2},
    {"Uppersorbian", "hsb", 2, 2},
    {"Welsh", "cy", 2, 3},
}};

constexpr std::int64_t kLastOrdinal = fromEnum(highestLanguage());
static_assert(kLanguages.size() == kLastOrdinal + 1);

const LanguageFacts& factsOf(Language x) noexcept {
  return kLanguages[static_cast<std::size_t>(fromEnum(x))];
}

}  // namespace

std::strong_ordering compare(Language x, Language y) noexcept {
  return fromEnum(x) <=> fromEnum(y);
}

std::string show(Language x) { return std::string(factsOf(x).name); }

std::string showsPrec(int /*precedence*/, Language x, std::string_view rest) {
  std::string text(factsOf(x).name);
  text += rest;
  return text;
}

std::string showList(const std::vector<Language>& xs, std::string_view rest) {
  std::string text = "[";
  for (std::size_t i = 0; i < xs.size(); ++i) {
    if (i > 0) text += ',';
    text += factsOf(xs[i]).name;
  }
  text += ']';
  text += rest;
  return text;
}

Language toEnum(std::int64_t n) {
  if (n < 0 || n > kLastOrdinal) {
    throw Error("toEnum{Language}: tag (" + std::to_string(n) +
                ") is outside of enumeration's range (0," + std::to_string(kLastOrdinal) + ")");
  }
  return static_cast<Language>(n);
}

Language succ(Language x) {
  if (x == highestLanguage()) {
    throw Error("succ{Language}: tried to take `succ' of last tag in enumeration");
  }
  return static_cast<Language>(fromEnum(x) + 1);
}

Language pred(Language x) {
  if (x == lowestLanguage()) {
    throw Error("pred{Language}: tried to take `pred' of first tag in enumeration");
  }
  return static_cast<Language>(fromEnum(x) - 1);
}

std::string_view languageAffix(Language x) noexcept { return factsOf(x).affix; }

namespace internal {

LanguageMinima languageMinima(Language x) noexcept {
  const LanguageFacts& facts = factsOf(x);
  return {facts.leftMin, facts.rightMin};
}

}  // namespace internal

std::string languageLicence(Language x) {
  const std::string name = "hyph-" + std::string(factsOf(x).affix) + ".lic.txt.gz";
  return internal::embeddedFileBytes(name, internal::embeddedFiles());
}

bool languageEmbedded(Language x) noexcept {
  // A build embeds all four files of a language or none of them: look for
  // its patterns, by a name composed without allocating.
  constexpr std::string_view kPrefix = "hyph-";
  constexpr std::string_view kSuffix = ".pat.txt.gz";
  constexpr std::size_t kLongestAffix = [] {
    std::size_t longest = 0;
    for (const LanguageFacts& facts : kLanguages) longest = std::max(longest, facts.affix.size());
    return longest;
  }();
  std::array<char, kPrefix.size() + kLongestAffix + kSuffix.size()> buffer{};
  const std::string_view affix = factsOf(x).affix;
  char* end = std::copy(kPrefix.begin(), kPrefix.end(), buffer.data());
  end = std::copy(affix.begin(), affix.end(), end);
  end = std::copy(kSuffix.begin(), kSuffix.end(), end);
  const std::string_view name(buffer.data(), static_cast<std::size_t>(end - buffer.data()));

  return internal::findEmbeddedFile(name, internal::embeddedFiles()) != nullptr;
}

}  // namespace liang
