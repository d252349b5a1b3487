// The state of one TextScanner::scan call, shared by the scanner's two
// source files.
#ifndef LIANG_TEXT_TEXTSCANNERRUN_HPP_
#define LIANG_TEXT_TEXTSCANNERRUN_HPP_

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

#include "text/TextScanner.hpp"

namespace liang::internal {

// The input of one scan, the position reached, and the bytes before it that
// are yet to be copied to the output: passing bytes through is deferred, so
// that a run of them is copied at once. The output is written through a
// cursor into room made ahead in `out` -- as much as the input and a hyphen
// every eight bytes -- rather than appended a piece at a time; `out` is cut
// to what was written when the run ends, however it ends.
struct TextScanner::Run {
  Run(std::string_view text, bool end, std::string& output)
      : input(text), atEnd(end), out(output), written(output.size()) {}
  Run(const Run&) = delete;
  Run& operator=(const Run&) = delete;
  ~Run() { out.resize(written); }

  std::string_view input;
  bool atEnd;
  std::string& out;
  std::size_t written;  // the bytes of `out` that hold output
  std::size_t pos = 0;
  std::size_t copied = 0;
  bool stalled = false;

  void put(const char* bytes, std::size_t n) {
    if (out.size() - written < n) {
      out.resize(written + std::max(n, (input.size() - copied) + (input.size() - copied) / 8 + 64));
    }
    std::memcpy(out.data() + written, bytes, n);
    written += n;
  }
  void copyTo(std::size_t to) {
    const std::size_t n = to - copied;
    // Most pieces between two hyphens are short: copied as one fixed block,
    // not worth a call of memcpy, where both sides have room for it. What
    // it writes past the piece is written over next, or cut at the end.
    if (n <= kShortCopy && out.size() - written >= kShortCopy &&
        input.size() - copied >= kShortCopy) {
      std::memcpy(out.data() + written, input.data() + copied, kShortCopy);
      written += n;
    } else if (n != 0) {
      put(input.data() + copied, n);
    }
    copied = to;
  }
  static constexpr std::size_t kShortCopy = 32;
  void putHyphen(std::string_view hyphen) {
    // Most hyphens are one byte: not worth a call of memcpy.
    if (hyphen.size() == 1 && written < out.size()) {
      out[written++] = hyphen[0];
      return;
    }
    put(hyphen.data(), hyphen.size());
  }
  // Stops the scan at `at`: what follows waits for the next piece.
  void stallAt(std::size_t at) {
    pos = at;
    stalled = true;
  }
  std::size_t size() const noexcept { return input.size(); }
};

}  // namespace liang::internal

#endif  // LIANG_TEXT_TEXTSCANNERRUN_HPP_
