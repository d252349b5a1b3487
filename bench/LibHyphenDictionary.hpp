// libhyphen, the peer the benchmarks count liang against: a dictionary
// (.dic) loaded with what its header says, and one word's breaks through
// hnj_hyphen_hyphenate3, the call LibreOffice makes. Only for builds that
// define LIANG_BENCH_LIBHYPHEN.
#ifndef LIANG_BENCH_LIBHYPHENDICTIONARY_HPP_
#define LIANG_BENCH_LIBHYPHENDICTIONARY_HPP_

#include <hyphen.h>

#include <cstddef>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>
#include <utility>

// The .dic file at `path` loaded (dict null when it cannot be read), its encoding (the
// first line) and its minima (LEFTHYPHENMIN / RIGHTHYPHENMIN; 2 and 2 when
// the header gives none).
struct LibHyphenDictionary {
  std::string path;
  HyphenDict* dict = nullptr;
  std::string encoding;
  int leftMin = 2;
  int rightMin = 2;

  explicit LibHyphenDictionary(std::string dicPath) : path(std::move(dicPath)) {
    std::ifstream in(path);
    std::getline(in, encoding);
    while (!encoding.empty() && (encoding.back() == '\r' || encoding.back() == ' ')) {
      encoding.pop_back();
    }
    for (std::string line; std::getline(in, line);) {
      if (line.rfind("LEFTHYPHENMIN ", 0) == 0) leftMin = std::atoi(line.c_str() + 14);
      if (line.rfind("RIGHTHYPHENMIN ", 0) == 0) rightMin = std::atoi(line.c_str() + 15);
    }
    if (in.eof()) dict = hnj_hyphen_load(path.c_str());
  }
  ~LibHyphenDictionary() {
    if (dict != nullptr) hnj_hyphen_free(dict);
  }
  LibHyphenDictionary(const LibHyphenDictionary&) = delete;
  LibHyphenDictionary& operator=(const LibHyphenDictionary&) = delete;
};

// Calls emit(i + 1) for each byte i of `w` (in the dictionary's encoding)
// that a hyphen may follow. `hyphens` holds at least w.size() + 5 bytes.
template <class Emit>
void libHyphenBreaks(const LibHyphenDictionary& l, std::string_view w, char* hyphens, Emit&& emit) {
  char** rep = nullptr;
  int* pos = nullptr;
  int* cut = nullptr;
  const int n = static_cast<int>(w.size());
  hnj_hyphen_hyphenate3(l.dict, w.data(), n, hyphens, nullptr, &rep, &pos, &cut, l.leftMin,
                        l.rightMin, l.leftMin, l.rightMin);
  if (rep != nullptr) {  // only for non-standard patterns
    for (int i = 0; i < n; ++i) std::free(rep[i]);
    std::free(rep);
    std::free(pos);
    std::free(cut);
  }
  for (int i = 0; i < n; ++i) {
    if ((hyphens[i] & 1) != 0) emit(static_cast<std::size_t>(i + 1));
  }
}

#endif  // LIANG_BENCH_LIBHYPHENDICTIONARY_HPP_
