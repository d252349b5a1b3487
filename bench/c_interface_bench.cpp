// What the C interface costs per word over the C++ call it wraps.
//
//   c_interface_bench [--benchmark_repetitions=N]
//                     [--benchmark_enable_random_interleaving=true] ...
//
// The words are the lines of $LIANG_BENCH_WORDS (default
// /usr/share/dict/american-english, else a small built-in list) whose every
// character is a lowercase ASCII letter, held as views into one text, each
// followed by a NUL as a C caller's strings would be. One iteration
// hyphenates every word once with English_US; items_per_second is words.
//  - cxx/hyphenationPoints_span: the C++ UTF-8 overload into the caller's
//    storage, the call liang_points makes;
//  - c/liang_points: the same through the C interface (its pointer checks
//    and exception barrier), with a handle from liang_language;
//  - cxx/hyphenationPoints_vector: the C++ overload that returns a vector,
//    for scale.
// Each sums the points it gets (the "checksum" counter per pass), so no
// result can be optimised away and the three can be seen to agree.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdlib>
#include <fstream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "liang/liang.h"
#include "liang/liang.hpp"

namespace {

constexpr const char* kDefaultWords = "/usr/share/dict/american-english";
constexpr const char* kBuiltinWords[] = {
    "hyphenation", "algorithm",   "dictionary", "pattern",     "computer",
    "typesetting", "paragraph",   "justified",  "electricity", "concatenation",
    "university",  "mathematics", "information"};
constexpr std::size_t kRoom = 64;

struct Words {
  std::string text;                     // every word and its NUL
  std::vector<std::string_view> words;  // views into text, without the NUL
};

bool lowercaseAscii(std::string_view word) {
  if (word.empty()) return false;
  for (const char c : word) {
    if (c < 'a' || c > 'z') return false;
  }
  return true;
}

const Words& words() {
  static const Words loaded = [] {
    std::vector<std::string> lines;
    const char* path = std::getenv("LIANG_BENCH_WORDS");
    std::ifstream file(path != nullptr ? path : kDefaultWords);
    for (std::string line; std::getline(file, line);) {
      if (lowercaseAscii(line)) lines.push_back(line);
    }
    if (lines.empty()) lines.assign(std::begin(kBuiltinWords), std::end(kBuiltinWords));
    Words w;
    for (const std::string& line : lines) w.text.append(line).push_back('\0');
    std::size_t at = 0;
    for (const std::string& line : lines) {
      w.words.emplace_back(w.text.data() + at, line.size());
      at += line.size() + 1;
    }
    return w;
  }();
  return loaded;
}

template <class Hyphenate>
void run(benchmark::State& state, Hyphenate hyphenate) {
  const Words& w = words();
  std::size_t checksum = 0;
  for (const std::string_view word : w.words) checksum += hyphenate(word);  // first use, untimed
  for (auto _ : state) {
    checksum = 0;
    for (const std::string_view word : w.words) checksum += hyphenate(word);
    benchmark::DoNotOptimize(checksum);
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * w.words.size()));
  state.counters["checksum"] = static_cast<double>(checksum);
  state.counters["words"] = static_cast<double>(w.words.size());
}

void cxxSpan(benchmark::State& state) {
  const liang::Hyphenator& h = liang::english_US();
  std::size_t points[kRoom];
  run(state, [&](std::string_view word) {
    const std::size_t count = liang::hyphenationPoints(h, word, std::span<std::size_t>(points));
    std::size_t sum = count;
    for (std::size_t i = 0; i < count && i < kRoom; ++i) sum += points[i];
    return sum;
  });
}

void cPoints(benchmark::State& state) {
  const liang_hyphenator* h = liang_language("en-US");
  std::size_t points[kRoom];
  run(state, [&](std::string_view word) {
    const std::ptrdiff_t count = liang_points(h, word.data(), word.size(), points, kRoom);
    std::size_t sum = static_cast<std::size_t>(count);
    for (std::ptrdiff_t i = 0; i < count && i < static_cast<std::ptrdiff_t>(kRoom); ++i) {
      sum += points[i];
    }
    return sum;
  });
}

void cxxVector(benchmark::State& state) {
  const liang::Hyphenator& h = liang::english_US();
  run(state, [&](std::string_view word) {
    const std::vector<std::size_t> points = liang::hyphenationPoints(h, word);
    std::size_t sum = points.size();
    for (const std::size_t p : points) sum += p;
    return sum;
  });
}

}  // namespace

BENCHMARK(cxxSpan)->Name("cxx/hyphenationPoints_span")->Unit(benchmark::kMillisecond);
BENCHMARK(cPoints)->Name("c/liang_points")->Unit(benchmark::kMillisecond);
BENCHMARK(cxxVector)->Name("cxx/hyphenationPoints_vector")->Unit(benchmark::kMillisecond);
