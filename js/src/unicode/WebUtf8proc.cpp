// utf8proc's answers from the generated tables (see utf8proc.h). The
// composition follows utf8proc_normalize_utf32 step by step, so that a
// sequence that Unicode leaves to the implementation (a mark blocked by
// another of the same class, a starter that is itself a mark) composes as
// the native library's utf8proc composes it.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

#include "utf8proc.h"

namespace {

#include "UnicodeTables.inc"

constexpr utf8proc_int32_t kHangulS = 0xAC00, kHangulL = 0x1100, kHangulV = 0x1161,
                           kHangulT = 0x11A7;
constexpr utf8proc_int32_t kHangulLCount = 19, kHangulVCount = 21, kHangulTCount = 28,
                           kHangulNCount = 588, kHangulSCount = 11172;

bool inRange(utf8proc_int32_t c) { return c >= 0 && c < 0x110000; }

// The index of c's (category, combining class) pair.
std::size_t pairOf(utf8proc_int32_t c) {
  if (!inRange(c)) return 0;
  const auto u = static_cast<std::uint32_t>(c);
  return std::size_t{2} *
         kBlocks[(std::size_t{kBlockOf[u >> kBlockBits]} << kBlockBits) | (u & 0x7F)];
}

int combiningClass(utf8proc_int32_t c) { return kCategoryAndClass[pairOf(c) + 1]; }

// The position of `key` in the sorted `keys`, or keys.size().
template <class T, std::size_t N>
std::size_t find(const std::array<T, N>& keys, T key) {
  const auto at = std::lower_bound(keys.begin(), keys.end(), key);
  return at != keys.end() && *at == key ? static_cast<std::size_t>(at - keys.begin()) : N;
}

// What `starter` and `mark` compose to, or 0.
utf8proc_int32_t composed(utf8proc_int32_t starter, utf8proc_int32_t mark) {
  if (!inRange(starter) || !inRange(mark)) return 0;
  const std::uint64_t key =
      (std::uint64_t{static_cast<std::uint32_t>(starter)} << 21) | static_cast<std::uint32_t>(mark);
  const std::size_t at = find(kComposing, key);
  return at < kComposed.size() ? static_cast<utf8proc_int32_t>(kComposed[at]) : 0;
}

}  // namespace

utf8proc_category_t utf8proc_category(utf8proc_int32_t c) {
  return static_cast<utf8proc_category_t>(kCategoryAndClass[pairOf(c)]);
}

utf8proc_int32_t utf8proc_tolower(utf8proc_int32_t c) {
  if (!inRange(c)) return c;
  const std::size_t at = find(kLowerFrom, static_cast<char32_t>(c));
  return at < kLowerTo.size() ? static_cast<utf8proc_int32_t>(kLowerTo[at]) : c;
}

const utf8proc_property_t* utf8proc_get_property(utf8proc_int32_t c) {
  // One property per combining class, the only field filled in.
  static const std::array<utf8proc_property_t, 256> byClass = [] {
    std::array<utf8proc_property_t, 256> made{};
    for (std::size_t i = 0; i < made.size(); ++i) {
      made[i].combining_class = static_cast<utf8proc_propval_t>(i);
    }
    return made;
  }();
  return &byClass[static_cast<std::size_t>(combiningClass(c))];
}

utf8proc_ssize_t utf8proc_decompose_char(utf8proc_int32_t c, utf8proc_int32_t* dst,
                                         utf8proc_ssize_t bufsize, utf8proc_option_t options,
                                         int* /*last_boundclass*/) {
  constexpr utf8proc_ssize_t kNotAssigned = -4;  // UTF8PROC_ERROR_NOTASSIGNED
  if (!inRange(c)) return kNotAssigned;
  if ((options & (UTF8PROC_COMPOSE | UTF8PROC_DECOMPOSE)) != 0) {
    const utf8proc_int32_t s = c - kHangulS;
    if (s >= 0 && s < kHangulSCount) {
      if (bufsize >= 1) dst[0] = kHangulL + s / kHangulNCount;
      if (bufsize >= 2) dst[1] = kHangulV + (s % kHangulNCount) / kHangulTCount;
      if (s % kHangulTCount == 0) return 2;
      if (bufsize >= 3) dst[2] = kHangulT + s % kHangulTCount;
      return 3;
    }
    const std::size_t at = find(kDecomposed, static_cast<char32_t>(c));
    if (at < kDecomposed.size()) {
      const std::size_t first = kDecompositionStart[at];
      const auto length = static_cast<utf8proc_ssize_t>(kDecompositionStart[at + 1] - first);
      for (utf8proc_ssize_t i = 0; i < length && i < bufsize; ++i) {
        dst[i] =
            static_cast<utf8proc_int32_t>(kDecompositions[first + static_cast<std::size_t>(i)]);
      }
      return length;
    }
  }
  if (bufsize >= 1) *dst = c;
  return 1;
}

// Composes the tail of a mark or Hangul jamo onto *starter; whether it did.
static bool composeOnto(utf8proc_int32_t* starter, utf8proc_int32_t current) {
  const utf8proc_int32_t l = *starter - kHangulL;
  if (l >= 0 && l < kHangulLCount) {
    const utf8proc_int32_t v = current - kHangulV;
    if (v >= 0 && v < kHangulVCount) {
      *starter = kHangulS + (l * kHangulVCount + v) * kHangulTCount;
      return true;
    }
  }
  const utf8proc_int32_t s = *starter - kHangulS;
  if (s >= 0 && s < kHangulSCount && s % kHangulTCount == 0) {
    const utf8proc_int32_t t = current - kHangulT;
    if (t >= 0 && t < kHangulTCount) {
      *starter += t;
      return true;
    }
  }
  const utf8proc_int32_t composition = composed(*starter, current);
  if (composition > 0) {
    *starter = composition;
    return true;
  }
  return false;
}

utf8proc_ssize_t utf8proc_normalize_utf32(utf8proc_int32_t* buffer, utf8proc_ssize_t length,
                                          utf8proc_option_t options) {
  if ((options & UTF8PROC_COMPOSE) == 0) return length;
  utf8proc_int32_t* starter = nullptr;
  int maxClass = -1;
  utf8proc_ssize_t written = 0;
  for (utf8proc_ssize_t read = 0; read < length; ++read) {
    const utf8proc_int32_t current = buffer[read];
    const int currentClass = combiningClass(current);
    if (starter != nullptr && currentClass > maxClass && composeOnto(starter, current)) continue;
    buffer[written] = current;
    if (currentClass != 0) {
      maxClass = std::max(maxClass, currentClass);
    } else {
      starter = buffer + written;
      maxClass = -1;
    }
    ++written;
  }
  return written;
}
