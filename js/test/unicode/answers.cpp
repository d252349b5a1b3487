// Prints what utf8proc answers to the calls the text layer makes, over every
// code point (category, lowercase, combining class, canonical decomposition)
// and over the pairs of a character and a following mark (composition), as
// digests per block. Compiled once with the native utf8proc and once with
// the engine's stand-in (js/src/unicode), whose outputs must be equal.
#include <utf8proc.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

struct Digest {
  std::uint64_t value = 14695981039346656037u;
  void add(std::int64_t x) {
    value ^= static_cast<std::uint64_t>(x);
    value *= 1099511628211u;
  }
};

bool isMark(utf8proc_int32_t c) {
  const utf8proc_category_t k = utf8proc_category(c);
  return k == UTF8PROC_CATEGORY_MN || k == UTF8PROC_CATEGORY_MC || k == UTF8PROC_CATEGORY_ME ||
         utf8proc_get_property(c)->combining_class != 0 || (c >= 0x1161 && c <= 0x11C2);
}

}  // namespace

int main() {
  std::vector<utf8proc_int32_t> marks;
  for (utf8proc_int32_t block = 0; block < 0x110000; block += 0x1000) {
    Digest d;
    for (utf8proc_int32_t c = block; c < block + 0x1000; ++c) {
      d.add(utf8proc_category(c));
      d.add(utf8proc_tolower(c));
      d.add(utf8proc_get_property(c)->combining_class);
      std::array<utf8proc_int32_t, 8> out{};
      int boundclass = 0;
      // A short buffer too: the answer says how much it needed.
      for (const utf8proc_ssize_t room : {utf8proc_ssize_t{8}, utf8proc_ssize_t{1}}) {
        const utf8proc_ssize_t n =
            utf8proc_decompose_char(c, out.data(), room, UTF8PROC_DECOMPOSE, &boundclass);
        d.add(n);
        for (utf8proc_ssize_t i = 0; i < n && i < room; ++i)
          d.add(out[static_cast<std::size_t>(i)]);
      }
      if (isMark(c)) marks.push_back(c);
    }
    std::printf("%06X %016llX\n", static_cast<unsigned>(block),
                static_cast<unsigned long long>(d.value));
  }
  // Composition: a character and a mark, then a second mark of a lower,
  // equal or higher class. The characters: all below U+0800 (Latin, Greek,
  // Cyrillic ... Arabic), the jamo, some Hangul syllables, and those that
  // decompose and the first of their decomposition (every composition
  // begins there).
  std::vector<utf8proc_int32_t> starters;
  for (utf8proc_int32_t c = 0; c < 0x110000; ++c) {
    std::array<utf8proc_int32_t, 8> out{};
    int boundclass = 0;
    const utf8proc_ssize_t n =
        utf8proc_decompose_char(c, out.data(), 8, UTF8PROC_DECOMPOSE, &boundclass);
    if (c < 0x800 || (c >= 0x1100 && c < 0x1200) || (c >= 0xAC00 && c < 0xAC00 + 2 * 588) ||
        n > 1) {
      starters.push_back(c);
      if (n > 1) starters.push_back(out[0]);
    }
  }
  for (std::size_t from = 0; from < starters.size(); from += 1024) {
    Digest d;
    for (std::size_t i = from; i < starters.size() && i < from + 1024; ++i) {
      for (const utf8proc_int32_t m : marks) {
        std::array<utf8proc_int32_t, 3> buffer{starters[i], m, 0x0301};
        const utf8proc_ssize_t n = utf8proc_normalize_utf32(buffer.data(), 3, UTF8PROC_COMPOSE);
        d.add(n);
        for (utf8proc_ssize_t j = 0; j < n; ++j) d.add(buffer[static_cast<std::size_t>(j)]);
      }
    }
    std::printf("compose %zu %016llX\n", from, static_cast<unsigned long long>(d.value));
  }
  return 0;
}
