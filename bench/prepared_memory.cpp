// The memory of a process that has every language ready: all 73 shared
// hyphenators prepared (patterns, full index, dictionary, plan), and one
// word hyphenated in each.
//
//   prepared_memory [--each]
//
// --each also prints, for each language, the growth of the resident set
// while it is prepared ("grew NAME KiB").
//
// Prints "prepared N max_rss_kib K rss_kib R before_kib B": the languages
// prepared, the process's peak resident set (getrusage; everything the
// process ever held at once, loading included), its resident set at the
// end and before the first language, in KiB.
#include <sys/resource.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "liang/Hyphenator.hpp"
#include "liang/Language.hpp"

namespace {

// VmRSS of /proc/self/status, in KiB; 0 where there is none.
long residentKib() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const bool each = argc > 1 && std::string(argv[1]) == "--each";
  const long before = residentKib();
  int prepared = 0;
  std::size_t pieces = 0;
  for (const liang::Language x : liang::enumFrom(liang::lowestLanguage())) {
    const long start = each ? residentKib() : 0;
    const liang::Hyphenator& h = liang::languageHyphenator(x);
    liang::prepare(h);
    if (each) std::printf("grew %s %ld\n", liang::show(x).c_str(), residentKib() - start);
    pieces += liang::hyphenate(h, U"hyphenation").size();
    ++prepared;
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("prepared %d max_rss_kib %ld rss_kib %ld before_kib %ld pieces %zu\n", prepared,
              usage.ru_maxrss, residentKib(), before, pieces);
  return 0;
}
