// What every fuzz target shares: reading fields out of the fuzzer's bytes,
// failing loudly on a broken invariant, and the checks that any result of
// hyphenate must pass. The model of Liang's method they compare against is
// the tests' (reference_model.hpp).
//
// A target is one LLVMFuzzerTestOneInput. Built with libFuzzer it is driven
// by the fuzzer; otherwise replay_main.cpp calls it once per file, which is
// how ctest replays the committed corpus on every build.
#ifndef LIANG_FUZZ_FUZZSUPPORT_HPP_
#define LIANG_FUZZ_FUZZSUPPORT_HPP_

#include <liang/liang.hpp>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/Utf8.hpp"
#include "reference_model.hpp"

namespace fuzz {

// An invariant failed: say which, then abort so that the fuzzer records the
// input (and a replay under ctest fails).
[[noreturn]] inline void fail(const char* file, int line, const char* what) {
  std::fprintf(stderr, "%s:%d: invariant failed: %s\n", file, line, what);
  std::abort();
}

#define FUZZ_CHECK(condition) \
  ((condition) ? static_cast<void>(0) : ::fuzz::fail(__FILE__, __LINE__, #condition))

// The fuzzer's bytes, consumed front to back: a few header bytes, then
// fields -- of text, separated by a NUL byte, or of binary bytes, each with
// its length in front -- the last field running to the end. Reading past
// the end gives zeros and empty fields, so every input is meaningful.
class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size)
      : rest_(reinterpret_cast<const char*>(data), size) {}

  std::uint8_t byte() {
    if (rest_.empty()) return 0;
    const auto b = static_cast<std::uint8_t>(rest_.front());
    rest_.remove_prefix(1);
    return b;
  }

  // The bytes up to the next NUL (which is consumed), or all that is left.
  std::string_view field() {
    const std::size_t end = rest_.find('\0');
    const std::string_view f = rest_.substr(0, end);
    rest_.remove_prefix(end == std::string_view::npos ? rest_.size() : end + 1);
    return f;
  }

  // A field of binary bytes, which may hold NUL: a two-byte little-endian
  // length, then that many bytes (or all that is left).
  std::string_view sized() {
    std::size_t length = byte();
    length |= std::size_t{byte()} << 8;
    const std::string_view f = rest_.substr(0, length);
    rest_.remove_prefix(f.size());
    return f;
  }

  std::string_view rest() {
    const std::string_view r = rest_;
    rest_ = {};
    return r;
  }

  // A minimum length for a hyphenator. Mostly small values, where the
  // interesting boundaries of short words lie, and now and then one of the
  // extremes where sums and differences of two minima overflow 64 bits.
  std::int64_t minimum() {
    static constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    static constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    static constexpr std::array<std::int64_t, 12> kExtremes = {
        kMin,     kMin + 1, kMin / 2, -(std::int64_t{1} << 32), -1000,
        -64,      64,       1000,     std::int64_t{1} << 32,    kMax / 2,
        kMax - 1, kMax};
    const std::uint8_t b = byte();
    if (b < 224) return static_cast<std::int64_t>(b % 16) - 5;  // -5 .. 10
    return kExtremes[(b - 224) % kExtremes.size()];
  }

 private:
  std::string_view rest_;
};

// Code points from fuzzer bytes. UTF-8 as the library decodes it, plus an
// escape that reaches what UTF-8 cannot carry: the byte 0xFE (never part of
// well-formed UTF-8) followed by four bytes is that char32_t, little-endian,
// so surrogates and values above U+10FFFF occur as well.
inline std::u32string codePoints(std::string_view bytes) {
  std::u32string text;
  while (!bytes.empty()) {
    if (static_cast<std::uint8_t>(bytes.front()) == 0xFE && bytes.size() >= 5) {
      char32_t c = 0;
      for (int k = 4; k >= 1; --k) c = (c << 8) | static_cast<std::uint8_t>(bytes[k]);
      text.push_back(c);
      bytes.remove_prefix(5);
      continue;
    }
    const auto decoded = liang::internal::decodeUtf8Char(bytes);
    text.push_back(decoded.codePoint);
    bytes.remove_prefix(decoded.length);
  }
  return text;
}

// An exception entry's word: the entry with every "-" removed.
inline std::u32string withoutBreakMarks(std::u32string_view entry) {
  std::u32string key;
  for (char32_t c : entry) {
    if (c != U'-') key.push_back(c);
  }
  return key;
}

inline std::u32string concatenate(const std::vector<liang::Word>& pieces) {
  std::u32string all;
  for (const auto& piece : pieces) all += piece;
  return all;
}

// A folding function chosen by a header byte: the identity, ASCII lower
// case, or a fold onto a tiny alphabet that makes distinct words collide.
inline char32_t foldIdentity(char32_t c) { return c; }
inline char32_t foldLower(char32_t c) { return c >= U'A' && c <= U'Z' ? c + 32 : c; }
inline char32_t foldTiny(char32_t c) { return c == U'.' ? c : U'a' + c % 3; }
using FoldFunction = char32_t (*)(char32_t);
inline FoldFunction chooseFold(std::uint8_t b) {
  switch (b % 3) {
    case 0:
      return foldIdentity;
    case 1:
      return foldLower;
    default:
      return foldTiny;
  }
}

inline std::u32string foldWord(std::u32string_view word, FoldFunction fold) {
  std::u32string folded(word);
  for (char32_t& c : folded) c = fold(c);
  return folded;
}

// What must hold of any result of hyphenate(h, word) with minima L and R,
// whatever the score list was: at least one piece, the pieces concatenate
// to the word, only the last piece may be empty, and -- for non-negative
// minima -- every break p has max(L, 1) <= p <= n - R.
inline void checkPieces(std::u32string_view word, const std::vector<liang::Word>& pieces,
                        std::int64_t leftMin, std::int64_t rightMin) {
  FUZZ_CHECK(!pieces.empty());
  FUZZ_CHECK(concatenate(pieces) == word);
  std::size_t p = 0;
  for (std::size_t k = 0; k + 1 < pieces.size(); ++k) {
    FUZZ_CHECK(!pieces[k].empty());
    p += pieces[k].size();
    if (leftMin >= 0 && rightMin >= 0) {
      FUZZ_CHECK(p >= 1);
      FUZZ_CHECK(static_cast<std::uint64_t>(p) >= static_cast<std::uint64_t>(leftMin));
      FUZZ_CHECK(static_cast<std::uint64_t>(word.size() - p) >=
                 static_cast<std::uint64_t>(rightMin));
    }
  }
}

// The offsets at which the pieces after the first begin.
inline std::vector<std::size_t> pieceStarts(const std::vector<liang::Word>& pieces) {
  std::vector<std::size_t> starts;
  std::size_t p = 0;
  for (std::size_t k = 0; k + 1 < pieces.size(); ++k) {
    p += pieces[k].size();
    starts.push_back(p);
  }
  return starts;
}

}  // namespace fuzz

#endif  // LIANG_FUZZ_FUZZSUPPORT_HPP_
