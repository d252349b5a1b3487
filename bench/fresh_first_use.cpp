// The first hyphenate of a shared hyphenator in a fresh process, timed once.
//
//   fresh_first_use [LANGUAGE [WORD]]   (default: English_US hyphenation)
//
// LANGUAGE is a member name as show() writes it (English_US, Hungarian, ...)
// or a language's affix (en-us, hu, ...). Prints "first_use <language>
// <nanoseconds> pieces <n> faults <page faults taken during the call> cpu
// <the process's CPU time in it, nanoseconds>". Nothing of liang has run
// before the timed call, so it pays everything a program's first call pays;
// run it several times (bench/run.sh does) and take the median.
#include <sys/resource.h>
#include <time.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "liang/Hyphenator.hpp"
#include "liang/Language.hpp"

namespace {

long minorFaults() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_minflt;
}

// The CPU time of the whole process so far, in nanoseconds.
long long processCpuNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<long long>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// Decodes the ASCII or UTF-8 argument leniently enough for a word list of
// our own choosing.
std::u32string decode(const std::string& s) {
  std::u32string out;
  for (std::size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    const int length = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
    char32_t c = length == 1 ? b : b & (0x3F >> (length - 1));
    for (int k = 1; k < length && i + k < s.size(); ++k) {
      c = (c << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    }
    out.push_back(c);
    i += length;
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string name = argc > 1 ? argv[1] : "English_US";
  const std::u32string word = decode(argc > 2 ? argv[2] : "hyphenation");
  // Finding the member by name touches no hyphenator.
  const liang::LanguageRange all = liang::enumFrom(liang::lowestLanguage());
  for (const liang::Language x : all) {
    if (liang::show(x) != name && liang::languageAffix(x) != name) continue;
    const long faultsBefore = minorFaults();
    const long long cpuBefore = processCpuNanoseconds();
    const auto start = std::chrono::steady_clock::now();
    const std::vector<liang::Word> pieces = liang::hyphenate(liang::languageHyphenator(x), word);
    const auto stop = std::chrono::steady_clock::now();
    const long long cpu = processCpuNanoseconds() - cpuBefore;
    const long faults = minorFaults() - faultsBefore;
    std::printf("first_use %s %lld pieces %zu faults %ld cpu %lld\n", name.c_str(),
                static_cast<long long>(
                    std::chrono::duration_cast<std::chrono::nanoseconds>(stop - start).count()),
                pieces.size(), faults, cpu);
    return 0;
  }
  std::fprintf(stderr, "fresh_first_use: no language %s\n", name.c_str());
  return 2;
}
