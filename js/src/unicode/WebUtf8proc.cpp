// utf8proc's answers from the generated tables (see utf8proc.h). The
// composition follows utf8proc_normalize_utf32 step by step, so that a
// sequence that Unicode leaves to the implementation (a mark blocked by
// another of the same class, a starter that is itself a mark) composes as
// the native library's utf8proc composes it.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

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

// A byte stream of the tables, read in order.
class Reader {
 public:
  explicit Reader(const std::uint8_t* at) : at_(at) {}
  std::uint32_t count() {
    std::uint32_t n = 0;
    for (int shift = 0;; shift += 7) {
      const std::uint8_t byte = *at_++;
      n |= static_cast<std::uint32_t>(byte & 0x7F) << shift;
      if ((byte & 0x80) == 0) return n;
    }
  }
  std::int32_t difference() {
    const std::uint32_t n = count();
    return (n & 1) != 0 ? -static_cast<std::int32_t>(n >> 1) - 1
                        : static_cast<std::int32_t>(n >> 1);
  }

 private:
  const std::uint8_t* at_;
};

// The sparse tables, decoded from their streams on first use; sorted by
// their keys.
struct Tables {
  std::vector<char32_t> lowerFrom, lowerTo;
  std::vector<char32_t> decomposed;
  std::vector<std::uint16_t> decompositionStart;  // one more than decomposed
  std::vector<char32_t> decompositions;
  std::vector<std::uint64_t> composing;  // starter << 21 | mark
  std::vector<char32_t> composed;
};

char32_t plus(char32_t c, std::int32_t difference) {
  return static_cast<char32_t>(static_cast<std::int32_t>(c) + difference);
}

Tables decode() {
  Tables t;
  Reader lower(kLowercase.data());
  char32_t c = 0;
  for (std::size_t i = 0; i < kLowercaseCount; ++i) {
    c += lower.count();
    t.lowerFrom.push_back(c);
    t.lowerTo.push_back(plus(c, lower.difference()));
  }
  Reader decomposition(kDecomposition.data());
  c = 0;
  for (std::size_t i = 0; i < kDecompositionCount; ++i) {
    c += decomposition.count();
    t.decomposed.push_back(c);
    t.decompositionStart.push_back(static_cast<std::uint16_t>(t.decompositions.size()));
    char32_t x = c;
    for (std::uint32_t n = decomposition.count(); n > 0; --n) {
      x = plus(x, decomposition.difference());
      t.decompositions.push_back(x);
    }
  }
  t.decompositionStart.push_back(static_cast<std::uint16_t>(t.decompositions.size()));
  Reader composition(kComposition.data());
  c = 0;
  for (std::size_t i = 0; i < kCompositionCount; ++i) {
    c += composition.count();
    const char32_t mark = composition.count();
    t.composing.push_back((std::uint64_t{c} << 21) | mark);
    t.composed.push_back(plus(c, composition.difference()));
  }
  return t;
}

const Tables& tables() {
  static const Tables decoded = decode();
  return decoded;
}

// The position of `key` in the sorted `keys`, or keys.size().
template <class T>
std::size_t find(const std::vector<T>& keys, T key) {
  const auto at = std::lower_bound(keys.begin(), keys.end(), key);
  return at != keys.end() && *at == key ? static_cast<std::size_t>(at - keys.begin()) : keys.size();
}

// What `starter` and `mark` compose to, or 0.
utf8proc_int32_t composed(utf8proc_int32_t starter, utf8proc_int32_t mark) {
  if (!inRange(starter) || !inRange(mark)) return 0;
  const Tables& t = tables();
  const std::uint64_t key =
      (std::uint64_t{static_cast<std::uint32_t>(starter)} << 21) | static_cast<std::uint32_t>(mark);
  const std::size_t at = find(t.composing, key);
  return at < t.composed.size() ? static_cast<utf8proc_int32_t>(t.composed[at]) : 0;
}

}  // namespace

utf8proc_category_t utf8proc_category(utf8proc_int32_t c) {
  return static_cast<utf8proc_category_t>(kCategoryAndClass[pairOf(c)]);
}

utf8proc_int32_t utf8proc_tolower(utf8proc_int32_t c) {
  if (!inRange(c)) return c;
  const Tables& t = tables();
  const std::size_t at = find(t.lowerFrom, static_cast<char32_t>(c));
  return at < t.lowerTo.size() ? static_cast<utf8proc_int32_t>(t.lowerTo[at]) : c;
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
    const Tables& t = tables();
    const std::size_t at = find(t.decomposed, static_cast<char32_t>(c));
    if (at < t.decomposed.size()) {
      const std::size_t first = t.decompositionStart[at];
      const auto length = static_cast<utf8proc_ssize_t>(t.decompositionStart[at + 1] - first);
      for (utf8proc_ssize_t i = 0; i < length && i < bufsize; ++i) {
        dst[i] =
            static_cast<utf8proc_int32_t>(t.decompositions[first + static_cast<std::size_t>(i)]);
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
