#include "text/Unicode.hpp"

#include <utf8proc.h>

#include <array>
#include <cstddef>

namespace liang::internal {

namespace {

bool isScalar(char32_t c) noexcept { return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF); }

}  // namespace

CharCategory categoryOf(char32_t c) noexcept {
  // Tab, line feed, vertical tab, form feed and carriage return are Cc, but
  // they separate words exactly as a space does.
  if (c >= 0x09 && c <= 0x0D) return CharCategory::kSpace;
  if (!isScalar(c)) return CharCategory::kOther;
  switch (utf8proc_category(static_cast<utf8proc_int32_t>(c))) {
    case UTF8PROC_CATEGORY_LU:
    case UTF8PROC_CATEGORY_LL:
    case UTF8PROC_CATEGORY_LT:
    case UTF8PROC_CATEGORY_LM:
    case UTF8PROC_CATEGORY_LO:
      return CharCategory::kLetter;
    case UTF8PROC_CATEGORY_MN:
    case UTF8PROC_CATEGORY_MC:
    case UTF8PROC_CATEGORY_ME:
      return CharCategory::kMark;
    case UTF8PROC_CATEGORY_ND:
      return CharCategory::kDigit;
    case UTF8PROC_CATEGORY_ZS:
    case UTF8PROC_CATEGORY_ZL:
    case UTF8PROC_CATEGORY_ZP:
      return CharCategory::kSpace;
    default:
      return CharCategory::kOther;
  }
}

bool isUppercase(char32_t c) noexcept {
  if (!isScalar(c)) return false;
  const utf8proc_category_t category = utf8proc_category(static_cast<utf8proc_int32_t>(c));
  return category == UTF8PROC_CATEGORY_LU || category == UTF8PROC_CATEGORY_LT;
}

bool isLowercase(char32_t c) noexcept {
  return isScalar(c) && utf8proc_category(static_cast<utf8proc_int32_t>(c)) == UTF8PROC_CATEGORY_LL;
}

char32_t singleLowercase(char32_t c) noexcept {
  // utf8proc gives the simple mapping, which differs from the full one
  // only for U+0130 among characters that have a lowercase at all.
  if (!isScalar(c) || c == 0x130) return c;
  return static_cast<char32_t>(utf8proc_tolower(static_cast<utf8proc_int32_t>(c)));
}

char32_t composedFirst(std::u32string_view cluster) noexcept {
  if (cluster.empty()) return 0;
  if (!isScalar(cluster.front())) return cluster.front();
  // Decompose canonically (a precomposed letter may take a further mark),
  // then let utf8proc reorder the marks and compose.
  constexpr std::size_t kRoom = 128;
  std::array<utf8proc_int32_t, kRoom> buffer;
  utf8proc_ssize_t length = 0;
  for (const char32_t c : cluster.substr(0, 32)) {
    if (!isScalar(c)) break;
    int boundclass = 0;
    const utf8proc_ssize_t written = utf8proc_decompose_char(
        static_cast<utf8proc_int32_t>(c), buffer.data() + length,
        static_cast<utf8proc_ssize_t>(kRoom) - length, UTF8PROC_DECOMPOSE, &boundclass);
    if (written < 0 || length + written > static_cast<utf8proc_ssize_t>(kRoom)) break;
    length += written;
  }
  if (length == 0) return cluster.front();
  // Canonical ordering: marks of nonzero combining class are sorted by it,
  // stably, between the characters of class zero.
  const auto combiningClass = [](utf8proc_int32_t c) {
    return utf8proc_get_property(c)->combining_class;
  };
  for (utf8proc_ssize_t i = 1; i < length; ++i) {
    const utf8proc_int32_t c = buffer[i];
    const auto cc = combiningClass(c);
    if (cc == 0) continue;
    utf8proc_ssize_t j = i;
    for (; j > 0 && combiningClass(buffer[j - 1]) > cc; --j) buffer[j] = buffer[j - 1];
    buffer[j] = c;
  }
  const utf8proc_ssize_t composed =
      utf8proc_normalize_utf32(buffer.data(), length, UTF8PROC_COMPOSE);
  return composed > 0 ? static_cast<char32_t>(buffer[0]) : cluster.front();
}

}  // namespace liang::internal
