// Per-language speed of hyphenationPoints, one table row per language: the
// words, their mean length, the time per word and per character, and the
// ratio of the time per character to English_US's.
//
// The words of a language are those of its Debian word list in
// /usr/share/dict where one is installed, folded by the hyphenator's own
// fold and kept when every character is a letter of the language's
// patterns; for any other language (or a missing list), words made of the
// letter runs of its pattern file, each joined to the runs after it until it
// is 5 to 12 letters long: real stems, prefixes and suffixes. At most
// kMostWords words a language, spread evenly over the list.
//
// Each hyphenator's full index is built, and one pass taken, before any
// pass is timed; the best of kPasses passes counts, in processor time of
// the timing thread.
//
//   languages_bench [--language=NAME] [--span] [--count [--counted-words=N]]
//
// --span times the form that writes into the caller's buffer instead of the
// one that returns a vector.
//
// --count takes no time: it runs one pass over at most kCountedWords words
// (--counted-words=N: N, and 0 for all the language's words, up to
// kMostWords) of each language in countedPass, to be counted by callgrind, and prints
// "counted NAME letters N" for each, in order:
//   valgrind --tool=callgrind --toggle-collect='*countedPass*'
//     languages_bench --count --span
// writes one profile per language (callgrind.out.PID.1, .2, ...: the
// program asks for a dump after each, when built with valgrind's
// callgrind.h), whose
// "totals:" over the letters is the language's instructions a character
// (bench/run.sh does it).
//
// --count --libhyphen does the same for each language that Debian ships a
// libhyphen dictionary for (/usr/share/hyphen/hyph_*.dic, from the
// hyphen-* packages; those not installed are left out), on the words that
// the dictionary's encoding can write, twice: liang's pass, then one of
// hnj_hyphen_hyphenate3 over the same words in that encoding, printing
// "counted NAME ..." and "counted libhyphen:NAME ..." for the two profiles.
// The ratio of their totals is how many times fewer instructions liang
// takes a word than libhyphen (bench/run.sh prints it per language).
#include <iconv.h>
#include <time.h>

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#define LIANG_DUMP_COUNTS() CALLGRIND_DUMP_STATS
#define LIANG_ZERO_COUNTS() CALLGRIND_ZERO_STATS
#else
#define LIANG_DUMP_COUNTS() ((void)0)
#define LIANG_ZERO_COUNTS() ((void)0)
#endif

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/PatternNodes.hpp"
#include "core/Utf8.hpp"
#include "languages/Loader.hpp"
#include "liang/Hyphenator.hpp"
#include "liang/Language.hpp"
#include "liang/Text.hpp"

#ifdef LIANG_BENCH_LIBHYPHEN
#include "LibHyphenDictionary.hpp"
#endif

namespace {

using liang::Language;

constexpr std::size_t kMostWords = 50000;
constexpr int kPasses = 5;
constexpr std::size_t kLettersPerPass = 400000;
constexpr std::size_t kCountedWords = 4000;
std::size_t countedWords = kCountedWords;  // --counted-words

// The Debian word list of each language that has one (in /usr/share/dict),
// else a hunspell dictionary (a path).
const std::map<Language, const char*>& wordLists() {
  static const std::map<Language, const char*> lists{
      {Language::English_US, "american-english"},
      {Language::English_GB, "british-english"},
      {Language::German_1996, "ngerman"},
      {Language::German_1901, "ogerman"},
      {Language::German_Swiss, "swiss"},
      {Language::French, "french"},
      {Language::Italian, "italian"},
      {Language::Spanish, "spanish"},
      {Language::Norwegian_Bokmal, "bokmaal"},
      {Language::Norwegian_Nynorsk, "nynorsk"},
      {Language::Danish, "danish"},
      {Language::Dutch, "dutch"},
      {Language::Polish, "polish"},
      {Language::Ukrainian, "ukrainian"},
      {Language::Portuguese, "portuguese"},
      {Language::Catalan, "catalan"},
      {Language::Swedish, "swedish"},
      {Language::Bulgarian, "bulgarian"},
      {Language::Galician, "galician-minimos"},
      // No Debian word list: the stems of the hunspell dictionary.
      {Language::Russian, "/usr/share/hunspell/ru_RU.dic"},
      {Language::Hungarian, "/usr/share/hunspell/hu_HU.dic"},
  };
  return lists;
}

std::vector<std::u32string> linesOf(std::u32string_view text) {
  std::vector<std::u32string> lines;
  while (!text.empty()) {
    const std::size_t end = text.find(U'\n');
    lines.emplace_back(text.substr(0, end));
    text.remove_prefix(end == std::u32string_view::npos ? text.size() : end + 1);
  }
  return lines;
}

bool isPatternMark(char32_t c) { return (c >= U'0' && c <= U'9') || c == U'.'; }

// The letter runs of the pattern file's lines.
std::vector<std::u32string> patternRunsOf(Language x) {
  const std::u32string patterns = liang::internal::embeddedFileText(
      "hyph-" + std::string(liang::languageAffix(x)) + ".pat.txt.gz");
  std::vector<std::u32string> runs;
  for (const std::u32string& line : linesOf(patterns)) {
    std::u32string letters;
    for (const char32_t c : line) {
      if (!isPatternMark(c) && c != U' ' && c != U'\r') letters.push_back(c);
    }
    if (!letters.empty()) runs.push_back(letters);
  }
  return runs;
}

std::vector<std::u32string> evenlySpread(std::vector<std::u32string> words,
                                         std::size_t most = kMostWords) {
  if (words.size() <= most) return words;
  std::vector<std::u32string> kept;
  kept.reserve(most);
  for (std::size_t k = 0; k < most; ++k) kept.push_back(std::move(words[k * words.size() / most]));
  return kept;
}

std::vector<std::u32string> dictionaryWords(const char* list, const liang::Hyphenator& h,
                                            const std::set<char32_t>& letters) {
  const bool hunspell = list[0] == '/';
  std::ifstream in(hunspell ? std::string(list) : std::string("/usr/share/dict/") + list);
  std::vector<std::u32string> words;
  std::string line;
  const liang::CharFold& fold = liang::hyphenatorChars(h);
  while (std::getline(in, line)) {
    // A hunspell stem ends at its flags ("/...") or morphology (a tab).
    if (hunspell) line = line.substr(0, line.find_first_of("/\t"));
    std::u32string word = liang::internal::decodeUtf8(line);
    bool allLetters = word.size() >= 2;
    for (char32_t& c : word) {
      c = fold(c);
      allLetters = allLetters && letters.contains(c);
    }
    if (allLetters) words.push_back(std::move(word));
  }
  return evenlySpread(std::move(words));
}

std::vector<std::u32string> patternWords(const std::vector<std::u32string>& runs) {
  std::set<std::u32string> unique;
  for (std::size_t first = 0; first < runs.size(); ++first) {
    const std::size_t target = 5 + first % 8;
    std::u32string word;
    for (std::size_t next = first; next < runs.size() && word.size() < target; ++next) {
      word += runs[next];
    }
    if (word.size() > 30) word.resize(30);
    if (word.size() >= 2) unique.insert(word);
  }
  return evenlySpread(std::vector<std::u32string>(unique.begin(), unique.end()));
}

// The pass that callgrind counts, apart from everything else.
__attribute__((noinline)) std::size_t countedPass(const liang::Hyphenator& h,
                                                  const std::vector<std::u32string_view>& words,
                                                  bool span) {
  std::size_t sink = 0;
  std::size_t buffer[64];
  for (const std::u32string_view word : words) {
    if (span) {
      sink += liang::hyphenationPoints(h, word, std::span<std::size_t>(buffer));
    } else {
      sink += liang::hyphenationPoints(h, word).size();
    }
  }
  return sink;
}

// The libhyphen dictionary of each language Debian ships one for
// (/usr/share/hyphen/, hyphen-* packages).
const std::map<Language, const char*>& libhyphenDictionaries() {
  static const std::map<Language, const char*> dictionaries{
      {Language::Afrikaans, "hyph_af_ZA.dic"},
      {Language::Assamese, "hyph_as_IN.dic"},
      {Language::Bengali, "hyph_bn_IN.dic"},
      {Language::Bulgarian, "hyph_bg_BG.dic"},
      {Language::Catalan, "hyph_ca_ES.dic"},
      {Language::Croatian, "hyph_hr_HR.dic"},
      {Language::Czech, "hyph_cs_CZ.dic"},
      {Language::Danish, "hyph_da_DK.dic"},
      {Language::Dutch, "hyph_nl_NL.dic"},
      {Language::English_US, "hyph_en_US.dic"},
      {Language::English_GB, "hyph_en_GB.dic"},
      {Language::French, "hyph_fr.dic"},
      {Language::Galician, "hyph_gl_ES.dic"},
      {Language::German_1996, "hyph_de_DE.dic"},
      {Language::German_Swiss, "hyph_de_CH.dic"},
      {Language::Greek_Mono, "hyph_el_GR.dic"},
      {Language::Gujarati, "hyph_gu_IN.dic"},
      {Language::Hindi, "hyph_hi_IN.dic"},
      {Language::Hungarian, "hyph_hu_HU.dic"},
      {Language::Icelandic, "hyph_is_IS.dic"},
      {Language::Indonesian, "hyph_id_ID.dic"},
      {Language::Italian, "hyph_it_IT.dic"},
      {Language::Kannada, "hyph_kn_IN.dic"},
      {Language::Latvian, "hyph_lv_LV.dic"},
      {Language::Lithuanian, "hyph_lt_LT.dic"},
      {Language::Malayalam, "hyph_ml_IN.dic"},
      {Language::Marathi, "hyph_mr_IN.dic"},
      {Language::Mongolian, "hyph_mn_MN.dic"},
      {Language::Norwegian_Bokmal, "hyph_nb_NO.dic"},
      {Language::Norwegian_Nynorsk, "hyph_nn_NO.dic"},
      {Language::Oriya, "hyph_or_IN.dic"},
      {Language::Panjabi, "hyph_pa_IN.dic"},
      {Language::Polish, "hyph_pl_PL.dic"},
      {Language::Portuguese, "hyph_pt_PT.dic"},
      {Language::Romanian, "hyph_ro_RO.dic"},
      {Language::Russian, "hyph_ru_RU.dic"},
      {Language::Serbian_Cyrillic, "hyph_sr_RS.dic"},
      {Language::Serbocroatian_Latin, "hyph_sr-Latn_RS.dic"},
      {Language::Slovak, "hyph_sk_SK.dic"},
      {Language::Slovenian, "hyph_sl_SI.dic"},
      {Language::Spanish, "hyph_es_ES.dic"},
      {Language::Swedish, "hyph_sv_SE.dic"},
      {Language::Tamil, "hyph_ta_IN.dic"},
      {Language::Telugu, "hyph_te_IN.dic"},
      {Language::Thai, "hyph_th_TH.dic"},
      {Language::Ukrainian, "hyph_uk_UA.dic"},
  };
  return dictionaries;
}

#ifdef LIANG_BENCH_LIBHYPHEN

// `word` in `encoding` (an iconv name), or nothing when it cannot be written there.
std::optional<std::string> encoded(iconv_t to, std::u32string_view word) {
  std::string utf8 = liang::internal::encodeUtf8(word);
  std::string out(4 * utf8.size() + 4, '\0');
  char* in = utf8.data();
  std::size_t inLeft = utf8.size();
  char* at = out.data();
  std::size_t outLeft = out.size();
  iconv(to, nullptr, nullptr, nullptr, nullptr);
  if (iconv(to, &in, &inLeft, &at, &outLeft) == static_cast<std::size_t>(-1)) return std::nullopt;
  out.resize(out.size() - outLeft);
  return out;
}

// libhyphen's pass over the same words, apart from everything else.
__attribute__((noinline)) std::size_t countedPassOfLibhyphen(
    const LibHyphenDictionary& l, const std::vector<std::string>& words) {
  std::size_t sink = 0;
  char hyphens[256];
  for (const std::string& word : words) {
    libHyphenBreaks(l, word, hyphens, [&](std::size_t at) { sink += at; });
  }
  return sink;
}

// Counts liang and libhyphen on the words of `x` that libhyphen's
// dictionary can write (in bytes of at most 200), one profile each.
void countAgainstLibhyphen(Language x, const std::vector<std::u32string>& words,
                           const liang::Hyphenator& h) {
  const auto dictionary = libhyphenDictionaries().find(x);
  if (dictionary == libhyphenDictionaries().end()) return;
  const LibHyphenDictionary l(std::string("/usr/share/hyphen/") + dictionary->second);
  if (l.dict == nullptr) return;
  const iconv_t to = iconv_open(l.encoding.c_str(), "UTF-8");
  if (to == reinterpret_cast<iconv_t>(-1)) return;
  std::vector<std::string> bytes;
  std::u32string packed;  // the kept words one after another, as in measure()
  std::vector<std::size_t> lengths;
  for (const std::u32string& word : words) {
    std::optional<std::string> written = encoded(to, word);
    if (!written || written->size() > 200) continue;
    bytes.push_back(std::move(*written));
    packed += word;
    lengths.push_back(word.size());
  }
  iconv_close(to);
  std::vector<std::u32string_view> views;
  std::size_t at = 0;
  for (const std::size_t length : lengths) {
    views.emplace_back(packed.data() + at, length);
    at += length;
  }
  const std::string name = liang::show(x);
  // Each warmed by a pass first, which is not counted.
  countedPass(h, views, true);
  countedPassOfLibhyphen(l, bytes);
  LIANG_ZERO_COUNTS();
  const std::size_t ours = countedPass(h, views, true);
  LIANG_DUMP_COUNTS();
  std::printf("counted %s letters %zu words %zu sink %zu\n", name.c_str(), packed.size(),
              views.size(), ours);
  const std::size_t theirs = countedPassOfLibhyphen(l, bytes);
  LIANG_DUMP_COUNTS();
  std::printf("counted libhyphen:%s letters %zu words %zu sink %zu\n", name.c_str(), packed.size(),
              bytes.size(), theirs);
}

#endif  // LIANG_BENCH_LIBHYPHEN

struct Row {
  std::string name;
  const char* source;
  std::size_t words = 0;
  double meanLetters = 0;
  double nsPerWord = 0;
  double nsPerChar = 0;
};

// The processor time of this thread: on a machine shared with other work,
// wall time would count the time the thread waits for a core.
double threadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

template <class Pass>
double bestPassSeconds(Pass pass) {
  double best = 1e300;
  for (int k = 0; k < kPasses; ++k) {
    const double start = threadSeconds();
    pass();
    best = std::min(best, threadSeconds() - start);
  }
  return best;
}

// The mode of a run: times, counts, or counts beside libhyphen.
enum class Mode { kTime, kCount, kCountLibhyphen };

Row measure(Language x, bool span, Mode mode) {
  const bool count = mode != Mode::kTime;
  const liang::Hyphenator& h = liang::languageHyphenator(x);
  const std::vector<std::u32string> runs = patternRunsOf(x);
  std::set<char32_t> letters;
  for (const std::u32string& run : runs) letters.insert(run.begin(), run.end());
  Row row{liang::show(x), "patterns"};
  std::vector<std::u32string> words;
  if (const auto list = wordLists().find(x); list != wordLists().end()) {
    words = dictionaryWords(list->second, h, letters);
    row.source = list->second;
  }
  if (words.empty()) {
    words = patternWords(runs);
    row.source = "patterns";
  }
  if (count && countedWords != 0) words = evenlySpread(std::move(words), countedWords);
  liang::internal::buildFullIndex(liang::hyphenatorPatterns(h));
#ifdef LIANG_BENCH_LIBHYPHEN
  if (mode == Mode::kCountLibhyphen) {
    countAgainstLibhyphen(x, words, h);
    return row;
  }
#endif

  // The words one after another in one buffer, as in running text: apart,
  // each in its own allocation, they would be scattered over the memory of
  // the whole list, and a long list would be timed by its cache misses.
  std::u32string packed;
  for (const std::u32string& word : words) packed += word;
  std::vector<std::u32string_view> views;
  std::size_t at = 0;
  for (const std::u32string& word : words) {
    views.emplace_back(packed.data() + at, word.size());
    at += word.size();
  }
  const std::size_t letterCount = packed.size();
  std::size_t sink = 0;
  std::size_t buffer[64];
  // A pass goes over the list enough times to take a measurable time
  // however few words a language has.
  const std::size_t rounds =
      std::max<std::size_t>(1, kLettersPerPass / std::max<std::size_t>(letterCount, 1));
  const auto pass = [&]() {
    for (std::size_t round = 0; round < rounds; ++round) {
      for (const std::u32string_view word : views) {
        if (span) {
          sink += liang::hyphenationPoints(h, word, std::span<std::size_t>(buffer));
        } else {
          sink += liang::hyphenationPoints(h, word).size();
        }
      }
    }
  };
  pass();  // warm-up
  if (count) {
    const std::size_t counted = countedPass(h, views, span);
    LIANG_DUMP_COUNTS();  // under callgrind, a profile per language
    std::printf("counted %s letters %zu words %zu sink %zu\n", row.name.c_str(), letterCount,
                views.size(), counted);
    return row;
  }
  const double seconds = bestPassSeconds(pass);
  if (sink == 1) std::puts("");  // keeps the calls

  row.words = words.size();
  row.meanLetters =
      words.empty() ? 0 : static_cast<double>(letterCount) / static_cast<double>(words.size());
  const double perRound = seconds / static_cast<double>(rounds);
  row.nsPerWord = words.empty() ? 0 : perRound * 1e9 / static_cast<double>(words.size());
  row.nsPerChar = letterCount == 0 ? 0 : perRound * 1e9 / static_cast<double>(letterCount);
  return row;
}

}  // namespace

int main(int argc, char** argv) {
  std::string only;
  bool span = false, count = false, libhyphen = false;
  for (int k = 1; k < argc; ++k) {
    const std::string_view argument(argv[k]);
    if (argument.starts_with("--language=")) {
      only = argument.substr(11);
    } else if (argument == "--span") {
      span = true;
    } else if (argument == "--count") {
      count = true;
    } else if (argument == "--libhyphen") {
      libhyphen = true;
    } else if (argument.starts_with("--counted-words=")) {
      countedWords = std::stoul(std::string(argument.substr(16)));
    } else {
      std::fprintf(
          stderr,
          "usage: %s [--language=NAME] [--span] [--count [--libhyphen] [--counted-words=N]]\n",
          argv[0]);
      return 2;
    }
  }
  if (libhyphen) {
#ifdef LIANG_BENCH_LIBHYPHEN
    for (const Language x : liang::enumFrom(liang::lowestLanguage())) {
      if ((only.empty() || liang::show(x) == only) && libhyphenDictionaries().contains(x)) {
        measure(x, true, Mode::kCountLibhyphen);
      }
    }
    return 0;
#else
    std::fprintf(stderr, "%s: built without libhyphen\n", argv[0]);
    return 2;
#endif
  }
  // English_US is always measured: every ratio is to it.
  if (count) {
    for (const Language x : liang::enumFrom(liang::lowestLanguage())) {
      if (only.empty() || liang::show(x) == only) measure(x, span, Mode::kCount);
    }
    return 0;
  }
  const Row english = measure(Language::English_US, span, Mode::kTime);
  std::printf("%s form; ratio: ns/char over English_US's\n", span ? "span" : "vector");
  std::printf("%-20s %-18s %7s %7s %9s %8s %6s\n", "language", "words from", "words", "letters",
              "ns/word", "ns/char", "ratio");
  for (const Language x : liang::enumFrom(liang::lowestLanguage())) {
    if (!only.empty() && liang::show(x) != only) continue;
    const Row row = x == Language::English_US ? english : measure(x, span, Mode::kTime);
    std::printf("%-20s %-18s %7zu %7.2f %9.1f %8.2f %6.2f\n", row.name.c_str(), row.source,
                row.words, row.meanLetters, row.nsPerWord, row.nsPerChar,
                row.nsPerChar / english.nsPerChar);
  }
  return 0;
}
