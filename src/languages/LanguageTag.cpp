#include "liang/LanguageTag.hpp"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>

namespace liang {

namespace {

using L = Language;

char lowerAscii(char c) noexcept { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }
bool isAlpha(char c) noexcept { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) noexcept { return c >= '0' && c <= '9'; }
bool isSeparator(char c) noexcept { return c == '-' || c == '_'; }

// Whether `raw` (any case, "_" or "-" between subtags) spells `lower`, which
// is lower case with "-".
bool spells(std::string_view raw, std::string_view lower) noexcept {
  if (raw.size() != lower.size()) return false;
  for (std::size_t i = 0; i < raw.size(); ++i) {
    const char c = raw[i] == '_' ? '-' : lowerAscii(raw[i]);
    if (c != lower[i]) return false;
  }
  return true;
}

bool allAlpha(std::string_view s) noexcept {
  for (const char c : s) {
    if (!isAlpha(c)) return false;
  }
  return true;
}

bool allDigits(std::string_view s) noexcept {
  for (const char c : s) {
    if (!isDigit(c)) return false;
  }
  return true;
}

// Whole tags that the subtag reading would get wrong: the old registered
// Norwegian tags, whose second part looks like an extended language subtag.
struct WholeTag {
  std::string_view tag;
  Language language;
};
constexpr std::array kWholeTags{
    WholeTag{"no-bok", L::Norwegian_Bokmal},
    WholeTag{"no-nyn", L::Norwegian_Nynorsk},
};

// Language codes that stand for another: ISO 639-2 (bibliographic and
// terminological) and ISO 639-3 codes of the catalogue's languages, and
// deprecated two-letter codes.
struct CodeAlias {
  std::string_view code;
  std::string_view canonical;
};
constexpr std::array kCodeAliases{
    CodeAlias{"afr", "af"}, CodeAlias{"amh", "am"}, CodeAlias{"arm", "hy"}, CodeAlias{"asm", "as"},
    CodeAlias{"baq", "eu"}, CodeAlias{"ben", "bn"}, CodeAlias{"bos", "bs"}, CodeAlias{"bul", "bg"},
    CodeAlias{"cat", "ca"}, CodeAlias{"ces", "cs"}, CodeAlias{"chi", "zh"}, CodeAlias{"cmn", "zh"},
    CodeAlias{"cym", "cy"}, CodeAlias{"cze", "cs"}, CodeAlias{"dan", "da"}, CodeAlias{"deu", "de"},
    CodeAlias{"dut", "nl"}, CodeAlias{"ekk", "et"}, CodeAlias{"ell", "el"}, CodeAlias{"eng", "en"},
    CodeAlias{"epo", "eo"}, CodeAlias{"est", "et"}, CodeAlias{"eus", "eu"}, CodeAlias{"fin", "fi"},
    CodeAlias{"fra", "fr"}, CodeAlias{"fre", "fr"}, CodeAlias{"geo", "ka"}, CodeAlias{"ger", "de"},
    CodeAlias{"gle", "ga"}, CodeAlias{"glg", "gl"}, CodeAlias{"gre", "el"}, CodeAlias{"guj", "gu"},
    CodeAlias{"hbs", "sh"}, CodeAlias{"hin", "hi"}, CodeAlias{"hrv", "hr"}, CodeAlias{"hun", "hu"},
    CodeAlias{"hye", "hy"}, CodeAlias{"ice", "is"}, CodeAlias{"in", "id"},  CodeAlias{"ina", "ia"},
    CodeAlias{"ind", "id"}, CodeAlias{"isl", "is"}, CodeAlias{"ita", "it"}, CodeAlias{"kan", "kn"},
    CodeAlias{"kat", "ka"}, CodeAlias{"khk", "mn"}, CodeAlias{"kur", "ku"}, CodeAlias{"lat", "la"},
    CodeAlias{"lav", "lv"}, CodeAlias{"lit", "lt"}, CodeAlias{"lvs", "lv"}, CodeAlias{"mal", "ml"},
    CodeAlias{"mar", "mr"}, CodeAlias{"mo", "ro"},  CodeAlias{"mon", "mn"}, CodeAlias{"nld", "nl"},
    CodeAlias{"nno", "nn"}, CodeAlias{"nob", "nb"}, CodeAlias{"nor", "no"}, CodeAlias{"oci", "oc"},
    CodeAlias{"ori", "or"}, CodeAlias{"ory", "or"}, CodeAlias{"pan", "pa"}, CodeAlias{"pol", "pl"},
    CodeAlias{"por", "pt"}, CodeAlias{"roh", "rm"}, CodeAlias{"ron", "ro"}, CodeAlias{"rum", "ro"},
    CodeAlias{"rus", "ru"}, CodeAlias{"san", "sa"}, CodeAlias{"slk", "sk"}, CodeAlias{"slo", "sk"},
    CodeAlias{"slv", "sl"}, CodeAlias{"spa", "es"}, CodeAlias{"srp", "sr"}, CodeAlias{"swe", "sv"},
    CodeAlias{"tam", "ta"}, CodeAlias{"tel", "te"}, CodeAlias{"tha", "th"}, CodeAlias{"tir", "ti"},
    CodeAlias{"tuk", "tk"}, CodeAlias{"tur", "tr"}, CodeAlias{"ukr", "uk"}, CodeAlias{"wel", "cy"},
};

// A rule: a language code ("*" for any) and the subtags a tag must also
// have to get `language`. Empty fields ask for nothing.
struct TagRule {
  std::string_view language;
  std::string_view script = {};
  std::string_view region = {};
  std::string_view variant = {};
  std::string_view privateUse = {};  // the subtags after "x-", joined by "-"
  Language result = L::English_US;
};

constexpr TagRule rule(std::string_view language, Language result) {
  return TagRule{language, {}, {}, {}, {}, result};
}
constexpr TagRule withScript(std::string_view language, std::string_view script, Language result) {
  return TagRule{language, script, {}, {}, {}, result};
}
constexpr TagRule withRegion(std::string_view language, std::string_view region, Language result) {
  return TagRule{language, {}, region, {}, {}, result};
}
constexpr TagRule withVariant(std::string_view language, std::string_view variant,
                              Language result) {
  return TagRule{language, {}, {}, variant, {}, result};
}

// Order matters only between rules of equal specificity: the first wins. So
// "de-CH-1996" is German_Swiss, the region rule being listed first.
constexpr std::array kRules{
    rule("af", L::Afrikaans),
    rule("hy", L::Armenian),
    rule("as", L::Assamese),
    rule("eu", L::Basque),
    rule("bn", L::Bengali),
    rule("bg", L::Bulgarian),
    rule("ca", L::Catalan),
    rule("zh", L::Chinese),
    rule("cop", L::Coptic),
    rule("hr", L::Croatian),
    rule("cs", L::Czech),
    rule("da", L::Danish),
    rule("nl", L::Dutch),
    rule("en", L::English_US),
    withRegion("en", "us", L::English_US),
    withRegion("en", "ca", L::English_US),
    withRegion("en", "gb", L::English_GB),  // the other British-English regions: kBritishRegions
    rule("eo", L::Esperanto),
    rule("et", L::Estonian),
    withScript("mul", "ethi", L::Ethiopic),
    withScript("*", "ethi", L::Ethiopic),
    rule("am", L::Ethiopic),
    rule("ti", L::Ethiopic),
    rule("gez", L::Ethiopic),
    rule("tig", L::Ethiopic),
    rule("byn", L::Ethiopic),
    rule("fi", L::Finnish),
    rule("fr", L::French),
    rule("fur", L::Friulan),
    rule("gl", L::Galician),
    rule("ka", L::Georgian),
    rule("de", L::German_1996),
    withRegion("de", "ch", L::German_Swiss),
    withRegion("de", "li", L::German_Swiss),
    TagRule{"de", {}, "ch", "1901", {}, L::German_Swiss},
    TagRule{"de", {}, "li", "1901", {}, L::German_Swiss},
    withVariant("de", "1901", L::German_1901),
    withVariant("de", "1996", L::German_1996),
    rule("gsw", L::German_Swiss),
    rule("grc", L::Greek_Ancient),
    rule("el", L::Greek_Mono),
    withVariant("el", "monoton", L::Greek_Mono),
    withVariant("el", "polyton", L::Greek_Poly),
    rule("gu", L::Gujarati),
    rule("hi", L::Hindi),
    rule("hu", L::Hungarian),
    rule("is", L::Icelandic),
    rule("id", L::Indonesian),
    rule("ia", L::Interlingua),
    rule("ga", L::Irish),
    rule("it", L::Italian),
    rule("kn", L::Kannada),
    rule("kmr", L::Kurmanji),
    rule("ku", L::Kurmanji),
    rule("la", L::Latin),
    TagRule{"la", {}, {}, {}, "classic", L::Latin_Classic},
    rule("lv", L::Latvian),
    rule("lt", L::Lithuanian),
    rule("ml", L::Malayalam),
    rule("mr", L::Marathi),
    rule("mn", L::Mongolian),
    rule("no", L::Norwegian_Bokmal),
    rule("nb", L::Norwegian_Bokmal),
    rule("nn", L::Norwegian_Nynorsk),
    rule("oc", L::Occitan),
    rule("or", L::Oriya),
    rule("pa", L::Panjabi),
    rule("pms", L::Piedmontese),
    rule("pl", L::Polish),
    rule("pt", L::Portuguese),
    rule("ro", L::Romanian),
    rule("rm", L::Romansh),
    rule("ru", L::Russian),
    rule("sa", L::Sanskrit),
    rule("sr", L::Serbian_Cyrillic),
    withScript("sr", "cyrl", L::Serbian_Cyrillic),
    withScript("sr", "latn", L::Serbocroatian_Latin),
    rule("sh", L::Serbocroatian_Latin),
    withScript("sh", "latn", L::Serbocroatian_Latin),
    withScript("sh", "cyrl", L::Serbocroatian_Cyrillic),
    rule("bs", L::Serbocroatian_Latin),
    withScript("bs", "cyrl", L::Serbocroatian_Cyrillic),
    rule("cnr", L::Serbocroatian_Latin),
    withScript("cnr", "cyrl", L::Serbocroatian_Cyrillic),
    rule("sk", L::Slovak),
    rule("sl", L::Slovenian),
    rule("es", L::Spanish),
    rule("sv", L::Swedish),
    rule("ta", L::Tamil),
    rule("te", L::Telugu),
    rule("th", L::Thai),
    rule("tr", L::Turkish),
    rule("tk", L::Turkmen),
    rule("uk", L::Ukrainian),
    rule("hsb", L::Uppersorbian),
    rule("cy", L::Welsh),
};

// Regions besides "gb" whose English is British in spelling and hyphenation:
// the United Kingdom's non-standard "uk", its dependencies, Ireland, and the
// Commonwealth except Canada.
constexpr std::string_view kBritishRegions[] = {
    "uk", "ie", "im", "je", "gg", "gi", "mt", "cy", "au", "nz",  "za",  "in", "pk", "bd", "lk",
    "sg", "my", "hk", "ke", "ng", "gh", "ug", "tz", "zw", "zm",  "bw",  "na", "mw", "ls", "sz",
    "sl", "gm", "cm", "rw", "mu", "sc", "sh", "fk", "io", "jm",  "tt",  "bb", "bs", "bz", "gy",
    "ag", "dm", "gd", "kn", "lc", "vc", "ai", "bm", "ky", "ms",  "vg",  "tc", "fj", "pg", "sb",
    "vu", "ws", "to", "ki", "nr", "tv", "ck", "nu", "pn", "150", "001",
};

// A tag taken apart. Every view points into the caller's tag.
struct Subtags {
  static constexpr std::size_t kMaxVariants = 8;

  std::string_view language;  // lower case after alias resolution
  std::string_view script;
  std::string_view region;
  std::array<std::string_view, kMaxVariants> variants{};
  std::size_t variantCount = 0;
  std::string_view privateUse;  // from the subtag after "x" to the end
};

// Whether the tag's subtag `raw` (any case) is `lower`; an empty `lower`
// asks for nothing.
bool asks(std::string_view lower, std::string_view raw) noexcept {
  return lower.empty() || spells(raw, lower);
}

bool hasVariant(const Subtags& tag, std::string_view lower) noexcept {
  if (lower.empty()) return true;
  for (std::size_t i = 0; i < tag.variantCount; ++i) {
    if (spells(tag.variants[i], lower)) return true;
  }
  return false;
}

// Private use "x-classic" matches "x-classic" and "x-classic-more".
bool hasPrivateUse(const Subtags& tag, std::string_view lower) noexcept {
  if (lower.empty()) return true;
  if (tag.privateUse.size() < lower.size()) return false;
  if (!spells(tag.privateUse.substr(0, lower.size()), lower)) return false;
  return tag.privateUse.size() == lower.size() || isSeparator(tag.privateUse[lower.size()]);
}

int specificity(const TagRule& r) noexcept {
  return static_cast<int>(!r.script.empty()) + static_cast<int>(!r.region.empty()) +
         static_cast<int>(!r.variant.empty()) + static_cast<int>(!r.privateUse.empty());
}

bool isBritishRegion(std::string_view region) noexcept {
  for (const std::string_view r : kBritishRegions) {
    if (spells(region, r)) return true;
  }
  return false;
}

// The tag without blanks around it, without a locale's ".encoding" and
// "@modifier"; `modifier` receives the latter.
std::string_view stripLocale(std::string_view tag, std::string_view& modifier) noexcept {
  const auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
  while (!tag.empty() && isBlank(tag.front())) tag.remove_prefix(1);
  while (!tag.empty() && isBlank(tag.back())) tag.remove_suffix(1);
  if (const std::size_t at = tag.find('@'); at != std::string_view::npos) {
    modifier = tag.substr(at + 1);
    tag = tag.substr(0, at);
  }
  if (const std::size_t dot = tag.find('.'); dot != std::string_view::npos) {
    tag = tag.substr(0, dot);
  }
  return tag;
}

// Splits `tag` into `out`; false when it is not a well-formed run of
// subtags (1 to 8 ASCII letters or digits, the first all letters).
bool readSubtags(std::string_view tag, std::string_view modifier, Subtags& out) noexcept {
  std::size_t index = 0;
  bool inExtension = false;
  while (true) {
    std::size_t end = 0;
    while (end < tag.size() && !isSeparator(tag[end])) ++end;
    const std::string_view subtag = tag.substr(0, end);
    if (subtag.empty() || subtag.size() > 8) return false;
    for (const char c : subtag) {
      if (!isAlpha(c) && !isDigit(c)) return false;
    }
    const bool alpha = allAlpha(subtag);
    if (index == 0) {
      if (!alpha || subtag.size() < 2) return false;
      out.language = subtag;
    } else if (subtag.size() == 1) {
      if (lowerAscii(subtag[0]) == 'x') {
        if (end == tag.size()) return false;  // "x" with nothing after it
        out.privateUse = tag.substr(end + 1);
        break;  // private use runs to the end; its subtags are not checked
      }
      inExtension = true;
    } else if (inExtension) {
      // An extension's subtags ("u-co-phonebk") say nothing about hyphenation.
    } else if (subtag.size() == 3 && alpha && index == 1) {
      // An extended language subtag ("zh-yue"): the macrolanguage decides.
    } else if (subtag.size() == 4 && alpha) {
      if (out.script.empty()) out.script = subtag;
    } else if ((subtag.size() == 2 && alpha) || (subtag.size() == 3 && allDigits(subtag))) {
      if (out.region.empty()) out.region = subtag;
    } else if (subtag.size() >= 5 || isDigit(subtag[0])) {
      if (out.variantCount < Subtags::kMaxVariants) out.variants[out.variantCount++] = subtag;
    } else {
      return false;
    }
    ++index;
    if (end == tag.size()) break;
    tag.remove_prefix(end + 1);
  }
  if (out.script.empty()) {
    if (spells(modifier, "latin")) out.script = "latn";
    if (spells(modifier, "cyrillic")) out.script = "cyrl";
  }
  return true;
}

// The scripts a language's patterns are written in, as lower-case ISO 15924
// codes of four letters each, run together. Latin counts with its Fraktur
// and Gaelic forms ("de-Latf", "ga-Latg"). The Sanskrit patterns carry
// several Indic scripts and a Latin transliteration.
constexpr std::string_view kLatinScripts = "latnlatflatg";
std::string_view scriptsOf(Language x) noexcept {
  switch (x) {
    case L::Armenian:
      return "armn";
    case L::Assamese:
    case L::Bengali:
      return "beng";
    case L::Bulgarian:
    case L::Mongolian:
    case L::Russian:
    case L::Serbian_Cyrillic:
    case L::Serbocroatian_Cyrillic:
    case L::Ukrainian:
      return "cyrl";
    case L::Coptic:
      return "copt";
    case L::Ethiopic:
      return "ethi";
    case L::Georgian:
      return "geor";
    case L::Greek_Ancient:
    case L::Greek_Mono:
    case L::Greek_Poly:
      return "grek";
    case L::Gujarati:
      return "gujr";
    case L::Hindi:
    case L::Marathi:
      return "deva";
    case L::Kannada:
      return "knda";
    case L::Malayalam:
      return "mlym";
    case L::Oriya:
      return "orya";
    case L::Panjabi:
      return "guru";
    case L::Sanskrit:
      return "devabenggujrkndamlymtelulatn";
    case L::Tamil:
      return "taml";
    case L::Telugu:
      return "telu";
    case L::Thai:
      return "thai";
    default:
      return kLatinScripts;
  }
}

// Whether `script` (a subtag of four letters, any case) is one that x's
// patterns are written in.
bool writesIn(Language x, std::string_view script) noexcept {
  const std::string_view scripts = scriptsOf(x);
  for (std::size_t at = 0; at + 4 <= scripts.size(); at += 4) {
    if (spells(script, scripts.substr(at, 4))) return true;
  }
  return false;
}

// The code that `language` (any case) stands for, lower case.
std::string_view canonicalLanguage(std::string_view language) noexcept {
  for (const CodeAlias& alias : kCodeAliases) {
    if (spells(language, alias.code)) return alias.canonical;
  }
  return language;
}

bool matches(const TagRule& r, std::string_view language, const Subtags& tag) noexcept {
  return (r.language == "*" || spells(language, r.language)) && asks(r.script, tag.script) &&
         asks(r.region, tag.region) && hasVariant(tag, r.variant) &&
         hasPrivateUse(tag, r.privateUse);
}

// Plain English names beyond the member names (which already say
// "Afrikaans", "Danish", "Welsh", ...). A name picks the variety that its
// tag picks ("german" as "de", "norwegian" as "no", "serbian" as "sr").
// Left out as ambiguous: "kurdish" (Sorani, written in Arabic script, is
// Kurdish as much as Kurmanji is) and "sorbian" (Lower Sorbian has no
// patterns here).
struct EnglishName {
  std::string_view name;
  Language language;
};
constexpr std::array kEnglishNames{
    EnglishName{"english", L::English_US},
    EnglishName{"american english", L::English_US},
    EnglishName{"american", L::English_US},
    EnglishName{"british english", L::English_GB},
    EnglishName{"british", L::English_GB},
    EnglishName{"amharic", L::Ethiopic},
    EnglishName{"tigrinya", L::Ethiopic},
    EnglishName{"geez", L::Ethiopic},
    EnglishName{"friulian", L::Friulan},
    EnglishName{"german", L::German_1996},
    EnglishName{"swiss german", L::German_Swiss},
    EnglishName{"greek", L::Greek_Mono},
    EnglishName{"modern greek", L::Greek_Mono},
    EnglishName{"monotonic greek", L::Greek_Mono},
    EnglishName{"polytonic greek", L::Greek_Poly},
    EnglishName{"ancient greek", L::Greek_Ancient},
    EnglishName{"northern kurdish", L::Kurmanji},
    EnglishName{"classical latin", L::Latin_Classic},
    EnglishName{"norwegian", L::Norwegian_Bokmal},
    EnglishName{"bokmal", L::Norwegian_Bokmal},
    EnglishName{"bokm\xC3\xA5l", L::Norwegian_Bokmal},
    EnglishName{"norwegian bokm\xC3\xA5l", L::Norwegian_Bokmal},
    EnglishName{"nynorsk", L::Norwegian_Nynorsk},
    EnglishName{"odia", L::Oriya},
    EnglishName{"punjabi", L::Panjabi},
    EnglishName{"serbian", L::Serbian_Cyrillic},
    EnglishName{"serbo croatian", L::Serbocroatian_Latin},
    EnglishName{"serbocroatian", L::Serbocroatian_Latin},
    EnglishName{"bosnian", L::Serbocroatian_Latin},
    EnglishName{"montenegrin", L::Serbocroatian_Latin},
    EnglishName{"slovene", L::Slovenian},
    EnglishName{"upper sorbian", L::Uppersorbian},
};

// Whether two names are alike: ASCII letters in any case, and a space, "_"
// or "-" between words all the same ("swiss_German", "serbo-croatian").
bool namesAlike(std::string_view a, std::string_view b) noexcept {
  if (a.size() != b.size()) return false;
  const auto normal = [](char c) { return c == ' ' || c == '_' || c == '-' ? ' ' : lowerAscii(c); };
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (normal(a[i]) != normal(b[i])) return false;
  }
  return true;
}

}  // namespace

std::optional<Language> languageForTag(std::string_view tag) {
  std::string_view modifier;
  const std::string_view core = stripLocale(tag, modifier);
  if (core.empty()) return std::nullopt;

  for (const Language x : enumFrom(lowestLanguage())) {
    if (spells(core, languageAffix(x))) return x;
  }
  for (const WholeTag& whole : kWholeTags) {
    if (spells(core, whole.tag)) return whole.language;
  }

  Subtags subtags;
  if (!readSubtags(core, modifier, subtags)) return std::nullopt;
  const std::string_view language = canonicalLanguage(subtags.language);

  const TagRule* best = nullptr;
  int bestSpecificity = -1;
  for (const TagRule& r : kRules) {
    const int s = specificity(r);
    if (s > bestSpecificity && matches(r, language, subtags)) {
      best = &r;
      bestSpecificity = s;
    }
  }
  std::optional<Language> found;
  // British English is one rule over many regions, kept as a list of its own.
  if (spells(language, "en") && bestSpecificity < 1 && !subtags.region.empty() &&
      isBritishRegion(subtags.region)) {
    found = L::English_GB;
  } else if (best != nullptr) {
    found = best->result;
  }
  // Patterns match letters of one script: "zh-Hans" is Chinese in
  // characters, which the pinyin patterns would never hyphenate.
  if (found && !subtags.script.empty() && !writesIn(*found, subtags.script)) return std::nullopt;
  return found;
}

std::optional<Language> languageForName(std::string_view name) {
  for (const Language x : enumFrom(lowestLanguage())) {
    if (namesAlike(name, show(x))) return x;
  }
  for (const EnglishName& english : kEnglishNames) {
    if (namesAlike(name, english.name)) return english.language;
  }
  return languageForTag(name);
}

}  // namespace liang
