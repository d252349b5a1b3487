// The shared hyphenator of each language: 73 slots, each built on its first
// read by the loader and kept for the life of the process, and the accessor
// of each language by name (english_US(), german_1996() ...).

#include <cstddef>
#include <functional>
#include <memory>

#include "liang/Deferred.hpp"
#include "liang/Hyphenator.hpp"
#include "liang/Language.hpp"

namespace liang {

namespace {

constexpr std::size_t kLanguageCount = static_cast<std::size_t>(fromEnum(highestLanguage())) + 1;

// The 73 shared hyphenators, one slot per ordinal, each loaded on its first
// read; a load that runs out of memory keeps nothing, and the next read
// loads again. The slots are made together on the first read of any of them and
// deliberately never destroyed: callers hold references for the life of the
// process, including from the destructors of their own static objects, which
// may run after ours would have. After the build a read is two acquire loads
// (this function's guard and the slot's), no lock.
const Deferred<Hyphenator>* sharedHyphenators() {
  static const Deferred<Hyphenator>* const slots = [] {
    std::allocator<Deferred<Hyphenator>> allocator;
    Deferred<Hyphenator>* made = allocator.allocate(kLanguageCount);
    for (std::size_t ordinal = 0; ordinal < kLanguageCount; ++ordinal) {
      std::construct_at(made + ordinal, internal::RetryOutOfMemory(),
                        std::function<Hyphenator()>(
                            [ordinal] { return loadHyphenator(static_cast<Language>(ordinal)); }));
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
