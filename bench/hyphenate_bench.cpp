// Per-word throughput of liang against libhyphen, in one process, on the
// same words.
//
//   hyphenate_bench [--words=FILE] [--hyphen-dic=FILE] [--max-words=N]
//                   [--benchmark_...]
//   hyphenate_bench --profile=NAME [--passes=N] [--words=...]
//
//  - The words: the lines of FILE (default /usr/share/dict/american-english
//    when present, else a small built-in list) whose every character is a
//    lowercase ASCII letter, so no case folding is needed on either side.
//    They are decoded to code points once, before any timing. Each side
//    reads its words as views into one text, the way a layout engine hands
//    out the words of a paragraph: bytes for libhyphen and the UTF-8
//    overload, code points for the rest, each word followed by a NUL.
//  - One benchmark iteration hyphenates every word once. Each benchmark sums
//    the break positions it gets (the "checksum" counter, per pass), so no
//    result can be optimised away, and the sides can be compared.
//  - liang/hyphenationPoints, liang/hyphenationPoints_utf8, liang/hyphenate:
//    the public calls with english_US() (hyph-utf8 en-us: its patterns,
//    exceptions and minima 2 and 3). liang/hyphenationPoints_span: the
//    public call into the caller's storage (one array, reused), which
//    allocates nothing: the calls without their result allocation.
//  - liang/hyphenationPoints_shared/threads:N: N threads, one shared
//    hyphenator, each thread hyphenating the whole list; items_per_second is
//    the total, in real time.
//  - libhyphen/hyphenate3 (when built with libhyphen): hnj_hyphen_hyphenate3
//    over the same words with the .dic's LEFTHYPHENMIN / RIGHTHYPHENMIN.
//
// --profile=NAME runs N passes of one of them (names as above) and no
// benchmark, for instruction counts and profiles that do not depend on the
// machine's load. Under valgrind --tool=callgrind with
// --toggle-collect='*profiledPasses*' exactly those passes are counted:
// Ir / words / passes is the instructions per word (bench/run.sh does it).
//
// After the benchmarks it prints a summary: the median ns per word of each,
// the spread of the repetitions, the ratios against libhyphen, the scaling of
// two threads, and how often liang and libhyphen agree on the breaks.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/PatternNodes.hpp"
#include "liang/Hyphenator.hpp"
#include "liang/Language.hpp"
#include "liang/Text.hpp"

#ifdef LIANG_BENCH_LIBHYPHEN
#include "LibHyphenDictionary.hpp"
#endif

namespace {

constexpr const char* kDefaultWords = "/usr/share/dict/american-english";
constexpr const char* kDefaultDic = "/usr/share/hyphen/hyph_en_US.dic";

// Used when no word list is found: enough to exercise every code path.
constexpr const char* kBuiltinWords[] = {"hyphenation",
                                         "algorithm",
                                         "dictionary",
                                         "pattern",
                                         "computer",
                                         "typesetting",
                                         "paragraph",
                                         "justified",
                                         "electricity",
                                         "concatenation",
                                         "university",
                                         "mathematics",
                                         "information",
                                         "development",
                                         "experience",
                                         "communication",
                                         "environment",
                                         "independent",
                                         "responsibility",
                                         "characteristic",
                                         "international",
                                         "representation",
                                         "table",
                                         "a",
                                         "an",
                                         "the",
                                         "of",
                                         "program",
                                         "library",
                                         "benchmark"};

struct Options {
  std::string wordsPath;
  std::string dicPath = kDefaultDic;
  std::size_t maxWords = 0;  // 0: all
  std::string profile;       // --profile=NAME: passes of one contender, no benchmarks
  int passes = 1;
};

struct Corpus {
  std::string source;
  std::string byteText;                   // the words, each followed by a NUL
  std::u32string wideText;                // the same in code points
  std::vector<std::string_view> bytes;    // into byteText: for libhyphen and the UTF-8 overload
  std::vector<std::u32string_view> wide;  // into wideText: for the code point calls
  std::size_t linesRead = 0;
};

Corpus& corpus() {
  static Corpus c;
  return c;
}

bool isLowercaseAsciiWord(std::string_view line) {
  return !line.empty() &&
         std::all_of(line.begin(), line.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

void loadCorpus(const Options& options) {
  Corpus& c = corpus();
  std::string path = options.wordsPath;
  if (path.empty()) {
    if (std::ifstream(kDefaultWords).good()) path = kDefaultWords;
  }
  std::vector<std::string> words;
  if (!path.empty()) {
    std::ifstream in(path);
    if (!in) {
      std::fprintf(stderr, "hyphenate_bench: cannot read %s\n", path.c_str());
      std::exit(2);
    }
    c.source = path;
    for (std::string line; std::getline(in, line);) {
      ++c.linesRead;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (isLowercaseAsciiWord(line)) words.push_back(line);
    }
  } else {
    c.source = "built-in list";
    for (const char* w : kBuiltinWords) {
      ++c.linesRead;
      words.emplace_back(w);
    }
  }
  if (options.maxWords != 0 && words.size() > options.maxWords) words.resize(options.maxWords);
  if (words.empty()) {
    std::fprintf(stderr, "hyphenate_bench: no lowercase words in %s\n", c.source.c_str());
    std::exit(2);
  }
  // Both texts are complete before any view is taken: they never move after.
  for (const std::string& w : words) {
    c.byteText += w;
    c.byteText.push_back('\0');
    c.wideText.append(w.begin(), w.end());  // ASCII
    c.wideText.push_back(U'\0');
  }
  std::size_t at = 0;
  for (const std::string& w : words) {
    c.bytes.emplace_back(c.byteText.data() + at, w.size());
    c.wide.emplace_back(c.wideText.data() + at, w.size());
    at += w.size() + 1;
  }
}

std::int64_t itemsPerPass() { return static_cast<std::int64_t>(corpus().wide.size()); }

void setPassCounters(benchmark::State& state, std::uint64_t checksumPerPass) {
  state.SetItemsProcessed(state.iterations() * itemsPerPass());
  state.counters["words"] = static_cast<double>(itemsPerPass());
  state.counters["checksum"] =
      benchmark::Counter(static_cast<double>(checksumPerPass), benchmark::Counter::kAvgThreads);
}

// ---- one pass over the words, per contender --------------------------------

// Each pass hyphenates every word once and returns the sum of the break
// positions. The timed loops and --profile= run the same passes.
using Pass = std::uint64_t (*)();

std::uint64_t passLiangPoints() {
  const liang::Hyphenator& h = liang::english_US();
  std::uint64_t checksum = 0;
  for (const std::u32string_view w : corpus().wide) {
    for (const std::size_t p : liang::hyphenationPoints(h, w)) checksum += p;
  }
  return checksum;
}

std::uint64_t passLiangPointsSpan() {
  const liang::Hyphenator& h = liang::english_US();
  std::size_t points[64];
  std::uint64_t checksum = 0;
  for (const std::u32string_view w : corpus().wide) {
    const std::size_t count = liang::hyphenationPoints(h, w, points);
    for (std::size_t k = 0; k < count && k < std::size(points); ++k) checksum += points[k];
  }
  return checksum;
}

std::uint64_t passLiangPointsUtf8() {
  const liang::Hyphenator& h = liang::english_US();
  std::uint64_t checksum = 0;
  for (const std::string_view w : corpus().bytes) {
    for (const std::size_t p : liang::hyphenationPoints(h, w)) checksum += p;
  }
  return checksum;
}

std::uint64_t passLiangHyphenate() {
  const liang::Hyphenator& h = liang::english_US();
  std::uint64_t checksum = 0;
  for (const std::u32string_view w : corpus().wide) {
    const std::vector<liang::Word> pieces = liang::hyphenate(h, w);
    std::size_t p = 0;
    for (std::size_t i = 0; i + 1 < pieces.size(); ++i) checksum += (p += pieces[i].size());
  }
  return checksum;
}

#ifdef LIANG_BENCH_LIBHYPHEN

// en_US's dictionary, once main has loaded it, and the longest word of the
// corpus in bytes.
std::optional<LibHyphenDictionary>& libHyphen() {
  static std::optional<LibHyphenDictionary> l;
  return l;
}
std::size_t longestWord = 0;

std::uint64_t passLibHyphen() {
  const LibHyphenDictionary& l = *libHyphen();
  thread_local std::vector<char> hyphens;
  hyphens.resize(longestWord + 5);
  std::uint64_t checksum = 0;
  for (const std::string_view w : corpus().bytes) {
    libHyphenBreaks(l, w, hyphens.data(), [&](std::size_t p) { checksum += p; });
  }
  return checksum;
}

#endif  // LIANG_BENCH_LIBHYPHEN

struct Contender {
  const char* name;
  Pass pass;
};

std::vector<Contender>& contenders() {
  static std::vector<Contender> c = {
      {"liang/hyphenationPoints", passLiangPoints},
      {"liang/hyphenationPoints_utf8", passLiangPointsUtf8},
      {"liang/hyphenationPoints_span", passLiangPointsSpan},
      {"liang/hyphenate", passLiangHyphenate},
  };
  return c;
}

void runPasses(benchmark::State& state, Pass pass) {
  std::uint64_t checksum = 0;
  for (auto _ : state) {
    checksum = pass();
    benchmark::DoNotOptimize(checksum);
  }
  setPassCounters(state, checksum);
}

// --profile=NAME: `passes` passes of one contender and nothing else, for
// valgrind --tool=callgrind --toggle-collect='*profiledPasses*'.
__attribute__((noinline)) std::uint64_t profiledPasses(Pass pass, int passes) {
  std::uint64_t checksum = 0;
  for (int i = 0; i < passes; ++i) checksum += pass();
  return checksum;
}

// ---- the summary ----------------------------------------------------------

// Console output as usual, and the per-repetition times of each benchmark
// kept for the summary.
class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  struct Sample {
    double cpuNs;   // per iteration
    double realNs;  // per iteration
    double itemsPerSecond;
  };

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
      const double iterations = static_cast<double>(run.iterations);
      const auto items = run.counters.find("items_per_second");
      samples_[run.benchmark_name()].push_back(
          {run.cpu_accumulated_time * 1e9 / iterations,
           run.real_accumulated_time * 1e9 / iterations,
           items == run.counters.end() ? 0.0 : static_cast<double>(items->second)});
    }
  }

  const std::vector<Sample>* find(const std::string& name) const {
    const auto it = samples_.find(name);
    return it == samples_.end() ? nullptr : &it->second;
  }

 private:
  std::map<std::string, std::vector<Sample>> samples_;
};

struct Stat {
  double median = 0;
  double spread = 0;  // (max - min) / median
  std::size_t n = 0;
};

Stat statOf(std::vector<double> xs) {
  Stat s;
  s.n = xs.size();
  if (xs.empty()) return s;
  std::sort(xs.begin(), xs.end());
  const std::size_t m = xs.size() / 2;
  s.median = xs.size() % 2 == 1 ? xs[m] : (xs[m - 1] + xs[m]) / 2;
  s.spread = s.median > 0 ? (xs.back() - xs.front()) / s.median : 0;
  return s;
}

// ns per word (CPU time, single-threaded benchmarks), median of repetitions.
Stat nsPerWord(const SummaryReporter& r, const std::string& name) {
  std::vector<double> xs;
  if (const auto* samples = r.find(name)) {
    for (const auto& s : *samples) xs.push_back(s.cpuNs / static_cast<double>(itemsPerPass()));
  }
  return statOf(xs);
}

Stat wordsPerSecond(const SummaryReporter& r, const std::string& name) {
  std::vector<double> xs;
  if (const auto* samples = r.find(name)) {
    for (const auto& s : *samples) xs.push_back(s.itemsPerSecond);
  }
  return statOf(xs);
}

void printNs(const char* label, const Stat& s) {
  if (s.n == 0) return;
  std::printf("  %-36s %9.1f ns/word  (spread %4.1f%% over %zu runs)\n", label, s.median,
              100 * s.spread, s.n);
}

// Where liang and libhyphen agree; printed, not checked.
void crossCheck() {
#ifdef LIANG_BENCH_LIBHYPHEN
  if (!libHyphen()) return;
  const LibHyphenDictionary& l = *libHyphen();
  const Corpus& c = corpus();
  const liang::Hyphenator& h = liang::english_US();
  std::vector<char> hyphens;
  std::size_t agree = 0, liangMore = 0, libMore = 0;
  std::size_t liangBreaks = 0, libBreaks = 0;
  std::vector<std::string> examples;
  for (std::size_t i = 0; i < c.bytes.size(); ++i) {
    const std::vector<std::size_t> ours = liang::hyphenationPoints(h, c.wide[i]);
    hyphens.assign(c.bytes[i].size() + 5, 0);
    std::vector<std::size_t> theirs;
    libHyphenBreaks(l, c.bytes[i], hyphens.data(), [&](std::size_t p) { theirs.push_back(p); });
    liangBreaks += ours.size();
    libBreaks += theirs.size();
    if (ours == theirs) {
      ++agree;
      continue;
    }
    if (std::includes(ours.begin(), ours.end(), theirs.begin(), theirs.end())) ++liangMore;
    if (std::includes(theirs.begin(), theirs.end(), ours.begin(), ours.end())) ++libMore;
    if (examples.size() < 8) {
      const auto render = [&](const std::vector<std::size_t>& breaks) {
        std::string out;
        std::size_t start = 0;
        for (const std::size_t p : breaks) {
          out.append(c.bytes[i].substr(start, p - start)).append("-");
          start = p;
        }
        return out.append(c.bytes[i].substr(start));
      };
      examples.push_back(render(ours) + " / " + render(theirs));
    }
  }
  const double n = static_cast<double>(c.bytes.size());
  std::printf("\nCross-check (information only; the two sides use different patterns):\n");
  std::printf(
      "  liang:     hyph-utf8 en-us (hyph-en-us.pat.txt, ushyphmax; its exceptions);"
      " minima %lld, %lld\n",
      static_cast<long long>(liang::hyphenatorLeftMin(h)),
      static_cast<long long>(liang::hyphenatorRightMin(h)));
  std::printf("  libhyphen: %s; minima %d, %d\n", l.path.c_str(), l.leftMin, l.rightMin);
  std::printf("  identical breaks: %zu of %zu words (%.2f%%)\n", agree, c.bytes.size(),
              100 * static_cast<double>(agree) / n);
  std::printf("  breaks found: liang %zu, libhyphen %zu\n", liangBreaks, libBreaks);
  std::printf(
      "  of the %zu differing words: liang's breaks a strict superset %zu, a strict"
      " subset %zu, neither %zu\n",
      c.bytes.size() - agree, liangMore, libMore, c.bytes.size() - agree - liangMore - libMore);
  std::printf("  first differences (liang / libhyphen):");
  for (const std::string& e : examples) std::printf(" %s;", e.c_str());
  std::printf("\n");
#endif
}

void printSummary(const SummaryReporter& r) {
  const Corpus& c = corpus();
  std::printf("\nSummary: %zu lowercase words of %zu lines of %s\n", c.wide.size(), c.linesRead,
              c.source.c_str());
  const Stat points = nsPerWord(r, "liang/hyphenationPoints");
  const Stat pointsUtf8 = nsPerWord(r, "liang/hyphenationPoints_utf8");
  const Stat pointsSpan = nsPerWord(r, "liang/hyphenationPoints_span");
  const Stat pieces = nsPerWord(r, "liang/hyphenate");
  const Stat lib = nsPerWord(r, "libhyphen/hyphenate3");
  printNs("liang hyphenationPoints (u32)", points);
  printNs("liang hyphenationPoints (UTF-8)", pointsUtf8);
  printNs("liang hyphenationPoints (u32, span)", pointsSpan);
  printNs("liang hyphenate (vector of pieces)", pieces);
  printNs("libhyphen hnj_hyphen_hyphenate3", lib);
  const auto ratio = [&](const char* label, const Stat& ours, double target) {
    if (lib.n == 0 || ours.n == 0 || ours.median <= 0) return;
    const double x = lib.median / ours.median;
    std::printf("  ratio %-30s %6.2fx libhyphen's words/s (target %gx: %s)\n", label, x, target,
                x >= target ? "met" : "NOT met");
  };
  ratio("hyphenationPoints", points, 10);
  ratio("hyphenationPoints into a span", pointsSpan, 16);
  ratio("hyphenate", pieces, 5);
  const Stat one = wordsPerSecond(r, "liang/hyphenationPoints_shared/real_time/threads:1");
  const Stat two = wordsPerSecond(r, "liang/hyphenationPoints_shared/real_time/threads:2");
  if (one.n != 0 && two.n != 0 && one.median > 0) {
    const double x = two.median / one.median;
    std::printf(
        "  two threads, one shared hyphenator: %.3g -> %.3g words/s (spreads %.1f%%, "
        "%.1f%%), scaling %.2fx (target 1.8x: %s)\n",
        one.median, two.median, 100 * one.spread, 100 * two.spread, x,
        x >= 1.8 ? "met" : "NOT met");
  }
  crossCheck();
}

// Takes out our own flags, leaving benchmark's.
Options parseOptions(int& argc, char** argv) {
  Options options;
  int kept = 1;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg(argv[i]);
    const auto value = [&](std::string_view flag, std::string& out) {
      if (arg.substr(0, flag.size()) != flag) return false;
      out = std::string(arg.substr(flag.size()));
      return true;
    };
    std::string number;
    if (value("--words=", options.wordsPath) || value("--hyphen-dic=", options.dicPath)) continue;
    if (value("--max-words=", number)) {
      options.maxWords = static_cast<std::size_t>(std::strtoull(number.c_str(), nullptr, 10));
      continue;
    }
    if (value("--profile=", options.profile)) continue;
    if (value("--passes=", number)) {
      options.passes = std::max(1, std::atoi(number.c_str()));
      continue;
    }
    argv[kept++] = argv[i];
  }
  argc = kept;
  return options;
}

}  // namespace

int main(int argc, char** argv) {
  const Options options = parseOptions(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  loadCorpus(options);

  // Built before any timing, the full index included, which a long run
  // earns after a few thousand words: first use is first_use_bench's business.
  benchmark::DoNotOptimize(liang::hyphenationPoints(liang::english_US(), U"hyphenation"));
  liang::internal::buildFullIndex(liang::hyphenatorPatterns(liang::english_US()));
  liang::prepare(liang::english_US());  // the plan too

#ifdef LIANG_BENCH_LIBHYPHEN
  if (libHyphen().emplace(options.dicPath).dict == nullptr) {
    libHyphen().reset();
    std::fprintf(stderr, "hyphenate_bench: cannot load %s; libhyphen is left out\n",
                 options.dicPath.c_str());
  } else {
    for (const std::string_view w : corpus().bytes) longestWord = std::max(longestWord, w.size());
    contenders().push_back({"libhyphen/hyphenate3", passLibHyphen});
  }
#endif

  int status = 0;
  if (!options.profile.empty()) {
    const auto it = std::find_if(contenders().begin(), contenders().end(),
                                 [&](const Contender& c) { return options.profile == c.name; });
    if (it == contenders().end()) {
      std::fprintf(stderr, "hyphenate_bench: no contender %s; there are:", options.profile.c_str());
      for (const Contender& c : contenders()) std::fprintf(stderr, " %s", c.name);
      std::fprintf(stderr, "\n");
      status = 2;
    } else {
      const std::uint64_t checksum = profiledPasses(it->pass, options.passes);
      std::printf("profile %s words %zu passes %d checksum %llu\n", it->name, corpus().wide.size(),
                  options.passes, static_cast<unsigned long long>(checksum));
    }
  } else {
    for (const Contender& c : contenders()) {
      benchmark::RegisterBenchmark(c.name, runPasses, c.pass)->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("liang/hyphenationPoints_shared", runPasses, passLiangPoints)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Threads(1)
        ->Threads(2);
#ifndef LIANG_BENCH_LIBHYPHEN
    std::printf("built without libhyphen: liang alone\n");
#endif
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    printSummary(reporter);
  }

#ifdef LIANG_BENCH_LIBHYPHEN
  libHyphen().reset();
#endif
  benchmark::Shutdown();
  return status;
}
