// The Language enumeration's operations, its table of names, file codes and
// minima, and the shared hyphenator of each language.

#include "liang/Language.hpp"

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "liang/Deferred.hpp"
#include "liang/Exception.hpp"
#include "liang/internal/EmbeddedFiles.hpp"
#include "liang/internal/Loader.hpp"

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

namespace {

// The 73 shared hyphenators, one slot per ordinal, each loaded on its first
// read. The slots are made together on the first read of any of them and
// deliberately never destroyed: callers hold references for the life of the
// process, including from the destructors of their own static objects, which
// may run after ours would have. After the build a read is two acquire loads
// (this function's guard and the slot's), no lock.
const Deferred<Hyphenator>* sharedHyphenators() {
  static const Deferred<Hyphenator>* const slots = [] {
    std::allocator<Deferred<Hyphenator>> allocator;
    Deferred<Hyphenator>* made = allocator.allocate(kLanguages.size());
    for (std::size_t ordinal = 0; ordinal < kLanguages.size(); ++ordinal) {
      std::construct_at(made + ordinal, std::function<Hyphenator()>([ordinal] {
                          return loadHyphenator(static_cast<Language>(ordinal));
                        }));
    }
    return made;
  }();
  return slots;
}

}  // namespace

const Hyphenator& languageHyphenator(Language x) {
  return sharedHyphenators()[static_cast<std::size_t>(fromEnum(x))].get();
}

const Hyphenator& afrikaans() { return languageHyphenator(Language::Afrikaans); }
const Hyphenator& armenian() { return languageHyphenator(Language::Armenian); }
const Hyphenator& assamese() { return languageHyphenator(Language::Assamese); }
const Hyphenator& basque() { return languageHyphenator(Language::Basque); }
const Hyphenator& bengali() { return languageHyphenator(Language::Bengali); }
const Hyphenator& bulgarian() { return languageHyphenator(Language::Bulgarian); }
const Hyphenator& catalan() { return languageHyphenator(Language::Catalan); }
const Hyphenator& chinese() { return languageHyphenator(Language::Chinese); }
const Hyphenator& coptic() { return languageHyphenator(Language::Coptic); }
const Hyphenator& croatian() { return languageHyphenator(Language::Croatian); }
const Hyphenator& czech() { return languageHyphenator(Language::Czech); }
const Hyphenator& danish() { return languageHyphenator(Language::Danish); }
const Hyphenator& dutch() { return languageHyphenator(Language::Dutch); }
const Hyphenator& english_US() { return languageHyphenator(Language::English_US); }
const Hyphenator& english_GB() { return languageHyphenator(Language::English_GB); }
const Hyphenator& esperanto() { return languageHyphenator(Language::Esperanto); }
const Hyphenator& estonian() { return languageHyphenator(Language::Estonian); }
const Hyphenator& ethiopic() { return languageHyphenator(Language::Ethiopic); }
const Hyphenator& finnish() { return languageHyphenator(Language::Finnish); }
const Hyphenator& french() { return languageHyphenator(Language::French); }
const Hyphenator& friulan() { return languageHyphenator(Language::Friulan); }
const Hyphenator& galician() { return languageHyphenator(Language::Galician); }
const Hyphenator& georgian() { return languageHyphenator(Language::Georgian); }
const Hyphenator& german_1901() { return languageHyphenator(Language::German_1901); }
const Hyphenator& german_1996() { return languageHyphenator(Language::German_1996); }
const Hyphenator& german_Swiss() { return languageHyphenator(Language::German_Swiss); }
const Hyphenator& greek_Ancient() { return languageHyphenator(Language::Greek_Ancient); }
const Hyphenator& greek_Mono() { return languageHyphenator(Language::Greek_Mono); }
const Hyphenator& greek_Poly() { return languageHyphenator(Language::Greek_Poly); }
const Hyphenator& gujarati() { return languageHyphenator(Language::Gujarati); }
const Hyphenator& hindi() { return languageHyphenator(Language::Hindi); }
const Hyphenator& hungarian() { return languageHyphenator(Language::Hungarian); }
const Hyphenator& icelandic() { return languageHyphenator(Language::Icelandic); }
const Hyphenator& indonesian() { return languageHyphenator(Language::Indonesian); }
const Hyphenator& interlingua() { return languageHyphenator(Language::Interlingua); }
const Hyphenator& irish() { return languageHyphenator(Language::Irish); }
const Hyphenator& italian() { return languageHyphenator(Language::Italian); }
const Hyphenator& kannada() { return languageHyphenator(Language::Kannada); }
const Hyphenator& kurmanji() { return languageHyphenator(Language::Kurmanji); }
const Hyphenator& latin() { return languageHyphenator(Language::Latin); }
const Hyphenator& latin_Classic() { return languageHyphenator(Language::Latin_Classic); }
const Hyphenator& latvian() { return languageHyphenator(Language::Latvian); }
const Hyphenator& lithuanian() { return languageHyphenator(Language::Lithuanian); }
const Hyphenator& malayalam() { return languageHyphenator(Language::Malayalam); }
const Hyphenator& marathi() { return languageHyphenator(Language::Marathi); }
const Hyphenator& mongolian() { return languageHyphenator(Language::Mongolian); }
const Hyphenator& norwegian_Bokmal() { return languageHyphenator(Language::Norwegian_Bokmal); }
const Hyphenator& norwegian_Nynorsk() { return languageHyphenator(Language::Norwegian_Nynorsk); }
const Hyphenator& occitan() { return languageHyphenator(Language::Occitan); }
const Hyphenator& oriya() { return languageHyphenator(Language::Oriya); }
const Hyphenator& panjabi() { return languageHyphenator(Language::Panjabi); }
const Hyphenator& piedmontese() { return languageHyphenator(Language::Piedmontese); }
const Hyphenator& polish() { return languageHyphenator(Language::Polish); }
const Hyphenator& portuguese() { return languageHyphenator(Language::Portuguese); }
const Hyphenator& romanian() { return languageHyphenator(Language::Romanian); }
const Hyphenator& romansh() { return languageHyphenator(Language::Romansh); }
const Hyphenator& russian() { return languageHyphenator(Language::Russian); }
const Hyphenator& sanskrit() { return languageHyphenator(Language::Sanskrit); }
const Hyphenator& serbian_Cyrillic() { return languageHyphenator(Language::Serbian_Cyrillic); }
const Hyphenator& serbocroatian_Cyrillic() {
  return languageHyphenator(Language::Serbocroatian_Cyrillic);
}
const Hyphenator& serbocroatian_Latin() {
  return languageHyphenator(Language::Serbocroatian_Latin);
}
const Hyphenator& slovak() { return languageHyphenator(Language::Slovak); }
const Hyphenator& slovenian() { return languageHyphenator(Language::Slovenian); }
const Hyphenator& spanish() { return languageHyphenator(Language::Spanish); }
const Hyphenator& swedish() { return languageHyphenator(Language::Swedish); }
const Hyphenator& tamil() { return languageHyphenator(Language::Tamil); }
const Hyphenator& telugu() { return languageHyphenator(Language::Telugu); }
const Hyphenator& thai() { return languageHyphenator(Language::Thai); }
const Hyphenator& turkish() { return languageHyphenator(Language::Turkish); }
const Hyphenator& turkmen() { return languageHyphenator(Language::Turkmen); }
const Hyphenator& ukrainian() { return languageHyphenator(Language::Ukrainian); }
const Hyphenator& uppersorbian() { return languageHyphenator(Language::Uppersorbian); }
const Hyphenator& welsh() { return languageHyphenator(Language::Welsh); }

}  // namespace liang
