// What the first use of a language costs: inflating and parsing its files.
//
//  - FirstHyphenate: a fresh private hyphenator per iteration, so each
//    iteration pays what the process's first hyphenate of that language pays
//    (loading, then inflate, decode and parse of the character, exception
//    and pattern files). Tearing the hyphenator down is not timed.
//  - InflateAllPatterns / ReadAllPatterns: the pattern files of all 73
//    languages, split into the two halves of that work: inflating the
//    prebuilt tries the build embeds (copying the one stored uncompressed),
//    and reading them into tries. ParseAllPatterns: parsing the same tries'
//    pattern text instead, the work an image saves.
//  - FullIndex: the one hyphenate call of a large trie's life that builds
//    its full index (see internal/StagedIndex.hpp): the index alone, the trie parsed
//    untimed beforehand.
//  - Prepare/<language>: prepare() of a fresh private hyphenator, which
//    builds all of it: its three components and then its full index and
//    plan. Prepare/<language>_after_components: the same with the
//    components built untimed beforehand -- the index and the plan alone,
//    the part a hyphenate call would otherwise build in passing.
//  - LargestCall/<language>_lazy and _prepared: a run of words (made from
//    the language's pattern fragments; as many as the trie's nodes / 4 and
//    a thousand more, past the count at which a lazy hyphenator builds its
//    full index) through a fresh private hyphenator whose components are
//    built untimed beforehand, each call timed alone in its thread's CPU
//    time (two clock reads of about a microsecond each included). The
//    counters: "largest_call_us", the slowest single call of the run (the
//    median over iterations), and "words". Lazy: the call that reaches the count builds
//    the index. Prepared: prepare() ran (untimed) first, so no call builds.
//  - SharedResidentMemory: the growth of the resident set when all 73 shared
//    hyphenators are built with all three components, every trie indexed in
//    full. It runs first, once, before other benchmarks have grown the heap,
//    and reports the bytes in the counter "resident_bytes".
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <fstream>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "core/PatternImage.hpp"
#include "core/PatternNodes.hpp"
#include "languages/Loader.hpp"
#include "liang/Exception.hpp"
#include "liang/Hyphenator.hpp"
#include "liang/Language.hpp"
#include "liang/Pattern.hpp"

namespace {

using liang::Language;

std::vector<Language> allLanguages() {
  const liang::LanguageRange all = liang::enumFrom(liang::lowestLanguage());
  return std::vector<Language>(all.begin(), all.end());
}

std::string patternFileName(Language x) {
  return "hyph-" + std::string(liang::languageAffix(x)) + ".pat.txt.gz";
}

// The resident set size in bytes, from /proc/self/statm (its second field,
// in pages).
std::int64_t residentBytes() {
  std::ifstream statm("/proc/self/statm");
  std::int64_t sizePages = 0;
  std::int64_t residentPages = 0;
  statm >> sizePages >> residentPages;
  return residentPages * static_cast<std::int64_t>(sysconf(_SC_PAGESIZE));
}

void SharedResidentMemory(benchmark::State& state) {
  for (auto _ : state) {
    const std::int64_t before = residentBytes();
    for (Language x : allLanguages()) {
      const liang::Hyphenator& h = liang::languageHyphenator(x);
      benchmark::DoNotOptimize(liang::hyphenatorChars(h)(U'a'));
      liang::internal::buildFullIndex(liang::hyphenatorPatterns(h));
      benchmark::DoNotOptimize(&liang::hyphenatorExceptions(h));
    }
    state.counters["resident_bytes"] = static_cast<double>(residentBytes() - before);
  }
}
// Once, whatever repetitions are asked for: the shared hyphenators are built
// a single time per process.
BENCHMARK(SharedResidentMemory)->Iterations(1)->Repetitions(1)->Unit(benchmark::kMillisecond);

void FirstHyphenate(benchmark::State& state, Language language, std::u32string word) {
  for (auto _ : state) {
    std::optional<liang::Hyphenator> h(liang::loadHyphenator(language));
    benchmark::DoNotOptimize(liang::hyphenate(*h, word));
    state.PauseTiming();
    h.reset();
    state.ResumeTiming();
  }
}
BENCHMARK_CAPTURE(FirstHyphenate, English_US, Language::English_US, U"hyphenation")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(FirstHyphenate, Hungarian, Language::Hungarian, U"megszentségteleníthetetlenség")
    ->Unit(benchmark::kMillisecond);

void FullIndex(benchmark::State& state, Language language) {
  for (auto _ : state) {
    state.PauseTiming();
    auto h = std::make_unique<liang::Hyphenator>(liang::loadHyphenator(language));
    const liang::Patterns& patterns = liang::hyphenatorPatterns(*h);
    state.ResumeTiming();
    liang::internal::buildFullIndex(patterns);
    state.PauseTiming();
    h.reset();
    state.ResumeTiming();
  }
}
BENCHMARK_CAPTURE(FullIndex, English_US, Language::English_US)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(FullIndex, Hungarian, Language::Hungarian)->Unit(benchmark::kMillisecond);

// The three deferred components of `h`, built now.
void buildComponents(const liang::Hyphenator& h) {
  benchmark::DoNotOptimize(liang::hyphenatorChars(h)(U'a'));
  benchmark::DoNotOptimize(&liang::hyphenatorPatterns(h));
  benchmark::DoNotOptimize(&liang::hyphenatorExceptions(h));
}

void Prepare(benchmark::State& state, Language language, bool componentsFirst) {
  for (auto _ : state) {
    state.PauseTiming();
    auto h = std::make_unique<liang::Hyphenator>(liang::loadHyphenator(language));
    if (componentsFirst) buildComponents(*h);
    state.ResumeTiming();
    liang::prepare(*h);
    state.PauseTiming();
    h.reset();
    state.ResumeTiming();
  }
}
BENCHMARK_CAPTURE(Prepare, English_US, Language::English_US, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Prepare, Hungarian, Language::Hungarian, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Prepare, English_US_after_components, Language::English_US, true)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Prepare, Hungarian_after_components, Language::Hungarian, true)
    ->Unit(benchmark::kMillisecond);

// Words of `language` joined from two or three letter runs of its patterns,
// enough to carry a lazy hyphenator past its full index's build.
std::vector<std::u32string> runOfWords(Language language) {
  const std::u32string text = liang::internal::embeddedFileText(patternFileName(language));
  std::vector<std::u32string> runs(1);
  for (const char32_t c : text) {
    if (c == U'\n') {
      if (!runs.back().empty()) runs.emplace_back();
    } else if (!(c >= U'0' && c <= U'9') && c != U'.') {
      runs.back().push_back(c);
    }
  }
  if (runs.back().empty()) runs.pop_back();
  const liang::Hyphenator h = liang::loadHyphenator(language);
  const std::size_t nodes =
      liang::internal::PatternsAccess::nodes(liang::hyphenatorPatterns(h))->nodes.size();
  std::mt19937 random(61);
  std::vector<std::u32string> words(nodes / 4 + 1000);
  for (std::u32string& word : words) {
    for (std::size_t k = 2 + random() % 2; k > 0; --k) word += runs[random() % runs.size()];
  }
  return words;
}

// This thread's CPU time, in nanoseconds: a call's own cost, which a
// wall clock would mix with the time the thread spent descheduled (on a
// loaded machine, milliseconds at a time).
std::int64_t threadCpuNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return std::int64_t{now.tv_sec} * 1000000000 + now.tv_nsec;
}

void LargestCall(benchmark::State& state, Language language, bool prepared) {
  const std::vector<std::u32string> words = runOfWords(language);
  std::vector<double> largest;
  for (auto _ : state) {
    state.PauseTiming();
    auto h = std::make_unique<liang::Hyphenator>(liang::loadHyphenator(language));
    buildComponents(*h);
    if (prepared) liang::prepare(*h);
    state.ResumeTiming();
    std::int64_t slowest = 0;
    for (const std::u32string& word : words) {
      const std::int64_t start = threadCpuNanoseconds();
      benchmark::DoNotOptimize(liang::hyphenate(*h, word));
      slowest = std::max(slowest, threadCpuNanoseconds() - start);
    }
    state.PauseTiming();
    largest.push_back(static_cast<double>(slowest) / 1000);
    h.reset();
    state.ResumeTiming();
  }
  std::nth_element(largest.begin(),
                   largest.begin() + static_cast<std::ptrdiff_t>(largest.size() / 2),
                   largest.end());
  state.counters["largest_call_us"] = largest[largest.size() / 2];
  state.counters["words"] = static_cast<double>(words.size());
}
BENCHMARK_CAPTURE(LargestCall, English_US_lazy, Language::English_US, false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(LargestCall, English_US_prepared, Language::English_US, true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(LargestCall, Hungarian_lazy, Language::Hungarian, false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(LargestCall, Hungarian_prepared, Language::Hungarian, true)
    ->Unit(benchmark::kMillisecond);

// The bytes of every language's pattern file as the loader reads them.
std::vector<std::string> allPatternFiles() {
  std::vector<std::string> files;
  for (Language x : allLanguages()) {
    files.push_back(
        liang::internal::embeddedFileBytes(patternFileName(x), liang::internal::embeddedFiles()));
  }
  return files;
}

void InflateAllPatterns(benchmark::State& state) {
  std::int64_t bytes = 0;
  for (auto _ : state) {
    for (const std::string& file : allPatternFiles()) {
      bytes += static_cast<std::int64_t>(file.size());
      benchmark::DoNotOptimize(file.data());
    }
  }
  state.SetItemsProcessed(state.iterations() * 73);
  state.counters["bytes"] =
      benchmark::Counter(static_cast<double>(bytes), benchmark::Counter::kIsRate);
}
BENCHMARK(InflateAllPatterns)->Unit(benchmark::kMillisecond);

void ReadAllPatterns(benchmark::State& state) {
  const std::vector<std::string> files = allPatternFiles();
  for (auto _ : state) {
    for (const std::string& file : files) {
      benchmark::DoNotOptimize(liang::internal::readPatternImage(file));
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(files.size()));
}
BENCHMARK(ReadAllPatterns)->Unit(benchmark::kMillisecond);

void ParseAllPatterns(benchmark::State& state) {
  std::vector<std::u32string> texts;
  for (Language x : allLanguages()) {
    texts.push_back(liang::internal::embeddedFileText(patternFileName(x)));
  }
  for (auto _ : state) {
    for (const std::u32string& text : texts) {
      benchmark::DoNotOptimize(liang::parsePatterns(text));
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(texts.size()));
}
BENCHMARK(ParseAllPatterns)->Unit(benchmark::kMillisecond);

}  // namespace
