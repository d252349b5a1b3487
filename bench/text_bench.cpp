// Running text: insertHyphens and TextStream over English prose, plain and
// marked up, beside hyphenationPoints over the same words.
//
// The prose is made of the words of Debian's american-english list
// (/usr/share/dict/american-english, or LIANG_BENCH_WORDS), in a fixed
// pseudo-random order, as sentences of 6 to 17 words: a capital at the
// start, a comma now and then, a period at the end, a paragraph every ten
// sentences. The markup form wraps the same sentences in <p> elements and
// every seventh word in <em> or <a href="...">, so that the two measure the
// same words. Sizes in bytes of the plain text are reported as bytes/s.
// A second corpus is real prose: Debian's licence texts (see licenceProse).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "liang/liang.hpp"

namespace {

struct Corpus {
  std::vector<std::string> words;
  std::string plain;
  std::string markup;
  std::size_t wordCount = 0;
};

const Corpus& corpus() {
  static const Corpus made = [] {
    Corpus c;
    const char* path = std::getenv("LIANG_BENCH_WORDS");
    std::ifstream in(path != nullptr ? path : "/usr/share/dict/american-english");
    for (std::string line; std::getline(in, line);) {
      if (!line.empty()) c.words.push_back(line);
    }
    if (c.words.empty()) return c;
    std::mt19937 random(1729);
    std::shuffle(c.words.begin(), c.words.end(), random);
    // About 40 MB of prose, as the tool's measurements use.
    constexpr std::size_t kTargetBytes = 40'000'000;
    std::size_t next = 0;
    std::size_t sentence = 0;
    c.markup += "<p>";
    while (c.plain.size() < kTargetBytes) {
      const std::size_t length = 6 + random() % 12;
      for (std::size_t k = 0; k < length; ++k) {
        std::string word = c.words[next++ % c.words.size()];
        if (k == 0 && word[0] >= 'a' && word[0] <= 'z') word[0] = static_cast<char>(word[0] - 32);
        const std::string separator = k + 1 == length ? "." : (random() % 9 == 0 ? ", " : " ");
        c.plain += word + separator;
        if (k % 7 == 3) {
          c.markup +=
              (k % 2 == 0 ? "<em>" + word + "</em>"
                          : "<a href=\"https://example.com/" + word + "\">" + word + "</a>");
        } else {
          c.markup += word;
        }
        c.markup += separator;
        ++c.wordCount;
      }
      if (++sentence % 10 == 0) {
        c.plain += "\n\n";
        c.markup += "</p>\n<p>";
      } else {
        c.plain += ' ';
        c.markup += ' ';
      }
    }
    c.markup += "</p>\n";
    return c;
  }();
  return made;
}

// Real English prose as a second corpus: the licence texts that every
// Debian system carries (/usr/share/common-licenses), repeated to some 40 MB.
// Their words are short and frequent, as a book's are, where the dictionary
// words above are long and each one rare.
const std::string& licenceProse() {
  static const std::string made = [] {
    std::string texts;
    for (const char* name : {"Apache-2.0", "Artistic", "BSD", "CC0-1.0", "GFDL-1.3", "GPL-2",
                             "GPL-3", "LGPL-2.1", "LGPL-3", "MPL-1.1", "MPL-2.0"}) {
      std::ifstream in(std::string("/usr/share/common-licenses/") + name, std::ios::binary);
      texts.append(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::string prose;
    if (texts.empty()) return prose;
    while (prose.size() < 40'000'000) prose += texts;
    return prose;
  }();
  return made;
}

void setCounters(benchmark::State& state, std::size_t bytes, std::size_t words) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
  state.counters["ns/word"] =
      benchmark::Counter(static_cast<double>(state.iterations() * words),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void insertHyphensPlain(benchmark::State& state) {
  const Corpus& c = corpus();
  if (c.words.empty()) return state.SkipWithError("no word list");
  const liang::Hyphenator& h = liang::english_US();
  liang::insertHyphens(h, c.plain.substr(0, 100'000));  // build the components first
  for (auto _ : state) benchmark::DoNotOptimize(liang::insertHyphens(h, c.plain));
  setCounters(state, c.plain.size(), c.wordCount);
}
BENCHMARK(insertHyphensPlain)->Unit(benchmark::kMillisecond)->UseRealTime();

void insertHyphensMarkup(benchmark::State& state) {
  const Corpus& c = corpus();
  if (c.words.empty()) return state.SkipWithError("no word list");
  const liang::Hyphenator& h = liang::english_US();
  liang::TextOptions options;
  options.markup = true;
  liang::insertHyphens(h, c.markup.substr(0, 100'000), options);
  for (auto _ : state) benchmark::DoNotOptimize(liang::insertHyphens(h, c.markup, options));
  // Bytes of the plain text: the same words, so the rates compare.
  setCounters(state, c.plain.size(), c.wordCount);
}
BENCHMARK(insertHyphensMarkup)->Unit(benchmark::kMillisecond)->UseRealTime();

void insertHyphensLicenceProse(benchmark::State& state) {
  const std::string& prose = licenceProse();
  if (prose.empty()) return state.SkipWithError("no licence texts");
  const liang::Hyphenator& h = liang::english_US();
  liang::insertHyphens(h, prose.substr(0, 100'000));
  for (auto _ : state) benchmark::DoNotOptimize(liang::insertHyphens(h, prose));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * prose.size()));
}
BENCHMARK(insertHyphensLicenceProse)->Unit(benchmark::kMillisecond)->UseRealTime();

// As the tool streams: 64 KiB chunks, the output of each written out (here:
// dropped) before the next.
void textStreamPlain(benchmark::State& state) {
  const Corpus& c = corpus();
  if (c.words.empty()) return state.SkipWithError("no word list");
  const liang::Hyphenator& h = liang::english_US();
  liang::insertHyphens(h, c.plain.substr(0, 100'000));
  constexpr std::size_t kChunk = 64 * 1024;
  std::string out;
  for (auto _ : state) {
    liang::TextStream stream(h);
    for (std::size_t at = 0; at < c.plain.size(); at += kChunk) {
      out.clear();
      stream.feed(std::string_view(c.plain).substr(at, kChunk), out);
      benchmark::DoNotOptimize(out.data());
    }
    stream.finish(out);
  }
  setCounters(state, c.plain.size(), c.wordCount);
}
BENCHMARK(textStreamPlain)->Unit(benchmark::kMillisecond)->UseRealTime();

// The word function over the same words, one call per word: what running
// text costs beyond it is the cost of finding the words.
void hyphenationPointsOfTheWords(benchmark::State& state) {
  const Corpus& c = corpus();
  if (c.words.empty()) return state.SkipWithError("no word list");
  const liang::Hyphenator& h = liang::english_US();
  liang::insertHyphens(h, c.plain.substr(0, 100'000));
  std::size_t points[64];
  for (auto _ : state) {
    std::size_t total = 0;
    for (std::size_t k = 0; k < c.wordCount; ++k) {
      total += liang::hyphenationPoints(h, std::string_view(c.words[k % c.words.size()]), points);
    }
    benchmark::DoNotOptimize(total);
  }
  setCounters(state, c.plain.size(), c.wordCount);
}
BENCHMARK(hyphenationPointsOfTheWords)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
