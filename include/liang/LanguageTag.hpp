// liang: the Language for a BCP 47 language tag or a locale name.
//
// Documents, browsers and operating systems name languages by tags such as
// "de-CH", "pt-BR" or "sr-Latn-RS", and by locale names such as
// "de_DE.UTF-8". languageForTag maps them onto the 73 languages. Rules:
//
//  1. Letters are compared without regard to case, "_" is read as "-",
//     ASCII blanks around the tag are ignored, and a locale's encoding
//     (".UTF-8") and modifier ("@euro") are dropped -- except the modifiers
//     "@latin" and "@cyrillic", which name the script ("sr_RS@latin" is
//     "sr-Latn-RS").
//  2. An affix of the catalogue matches exactly: "de-1996", "sh-latn",
//     "la-x-classic", "zh-latn-pinyin", "mul-ethi", "de-ch-1901", ...
//  3. Otherwise the tag is read as subtags: the language; then, in any
//     order, a script (4 letters), a region (2 letters or 3 digits) and
//     variants (5 to 8 characters, or 4 beginning with a digit); extension
//     sequences are skipped; "x-" starts private use. A three-letter ISO 639-2
//     or ISO 639-3 code and the deprecated codes ("in", "mo") stand for the
//     two-letter one ("deu" and "ger" for "de"). The answer is the most
//     specific rule whose subtags the tag has (a rule naming a script, a
//     region, a variant or private use beats the bare language); between
//     equally specific rules the first listed wins. The rules, beyond one
//     per language code ("fr" French, "pt" Portuguese, "zh" Chinese, "la"
//     Latin, "mn" Mongolian, "hy" Armenian, "cy" Welsh, "kmr" and "ku"
//     Kurmanji, ...):
//      - English: "en" and "en-US" are English_US; "en-GB" and the regions
//        that write British English -- Ireland, Australia, New Zealand,
//        South Africa, India, Singapore, Hong Kong, the rest of the
//        Commonwealth, "en-150" (Europe) and "en-001" (the CLDR's
//        international English, British in spelling) -- are English_GB.
//        Canada ("en-CA") is English_US: Canadian dictionaries divide words
//        by pronunciation, the North American way, not by etymology as
//        British ones do. Any other region falls back to English_US.
//      - German: "de" is German_1996; "de-1901" German_1901; "de-CH" and
//        "de-LI" (and "gsw", Swiss German) German_Swiss, with any variant;
//        "de-AT-1901" and "de-DE-1901" German_1901.
//      - Greek: "el" is Greek_Mono, "el-polyton" Greek_Poly, "grc" Greek_Ancient.
//      - Serbian and Serbo-Croatian: "sr" and "sr-Cyrl" are Serbian_Cyrillic;
//        "sr-Latn" Serbocroatian_Latin; "sh" and "hbs", Bosnian ("bs") and
//        Montenegrin ("cnr") are Serbocroatian_Latin, Serbocroatian_Cyrillic
//        with "-Cyrl". Croatian ("hr") is Croatian.
//      - Norwegian: "no" and "nb" are Norwegian_Bokmal, "nn" Norwegian_Nynorsk
//        (also the old "no-bok" and "no-nyn").
//      - Latin: "la" is Latin, "la-x-classic" Latin_Classic.
//      - Ethiopic script: "am", "ti", "gez", "tig", "byn" and any tag with
//        the script "Ethi" ("und-Ethi") are Ethiopic.
//  4. A script subtag must be one the patterns are written in: "zh-Hans"
//     (Chinese characters), "mn-Mong" (Mongolian script), "pa-Arab",
//     "ku-Arab" or "am-Latn" give no language, since the Chinese patterns
//     are for Latin-script pinyin, the Mongolian ones Cyrillic, and so on.
//     Latin's Fraktur and Gaelic forms ("de-Latf", "ga-Latg") count as
//     Latin; Sanskrit takes Devanagari, Bengali, Gujarati, Kannada,
//     Malayalam, Telugu and Latin.
//  5. Anything else -- an empty or malformed tag, a language without data
//     ("ja", "ar"), "und", "C", "POSIX" -- gives no language.
//
// Cost: a few hundred comparisons of short strings, no allocation, no
// locks; safe from any number of threads.
#ifndef LIANG_LANGUAGETAG_HPP_
#define LIANG_LANGUAGETAG_HPP_

#include <optional>
#include <string_view>

#include "liang/Language.hpp"
#include "liang/export.h"

namespace liang {
LIANG_PUBLIC_BEGIN

// The language for a BCP 47 tag, an affix or a locale name, by the rules
// above; nothing when none fits.
std::optional<Language> languageForTag(std::string_view tag);

// The language a person or a program names; nothing when none fits. The
// tool, the C and the Python interfaces read language names with it. In
// order:
//  - a member name ("German_Swiss", "english_us", "greek ancient");
//  - a plain English name: "english" and "american" (English_US), "british"
//    (English_GB), "german" (German_1996), "swiss german", "greek"
//    (Greek_Mono), "ancient greek", "polytonic greek", "norwegian" and
//    "bokmal" (Norwegian_Bokmal), "nynorsk", "serbian" (Serbian_Cyrillic),
//    "serbo-croatian", "bosnian" and "montenegrin" (Serbocroatian_Latin),
//    "classical latin", "friulian", "punjabi", "odia", "slovene",
//    "upper sorbian", "northern kurdish", "amharic", "tigrinya" and "geez"
//    (Ethiopic); "kurdish" is not one, being as much Sorani as Kurmanji;
//  - anything languageForTag knows ("de-CH", "de_DE.UTF-8", "de-1996").
// Names compare ASCII letters in any case, and a space, "_" and "-" alike.
std::optional<Language> languageForName(std::string_view name);

LIANG_PUBLIC_END
}  // namespace liang

#endif  // LIANG_LANGUAGETAG_HPP_
