// UTF-8 decoding and encoding as the library reads and writes text.
//
// Decoding is lenient and never fails: a well-formed sequence (shortest
// form, no surrogate, at most U+10FFFF) yields its code point; any other
// byte yields the code point of the same value (0x80..0xFF become
// U+0080..U+00FF) and decoding goes on at the next byte. So every byte
// string decodes, and each decoded character knows the bytes it came from.
//
// Encoding writes the scalar values as UTF-8 and U+FFFD for a char32_t that
// is not one (a surrogate, or above U+10FFFF), so messages and renderings
// are always well-formed UTF-8.
#ifndef LIANG_CORE_UTF8_HPP_
#define LIANG_CORE_UTF8_HPP_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace liang::internal {

struct DecodedChar {
  char32_t codePoint;
  std::size_t length;  // bytes consumed, 1 to 4
};

// Decodes the character at the start of `bytes`, which must not be empty.
inline DecodedChar decodeUtf8Char(std::string_view bytes) noexcept {
  const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(bytes[i]); };
  const std::uint8_t lead = byte(0);
  if (lead < 0x80) return {lead, 1};
  const auto continuation = [&](std::size_t i) {
    return i < bytes.size() && (byte(i) & 0xC0) == 0x80;
  };
  if (lead >= 0xC2 && lead <= 0xDF) {
    if (continuation(1)) return {static_cast<char32_t>(((lead & 0x1F) << 6) | (byte(1) & 0x3F)), 2};
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    if (continuation(1) && continuation(2)) {
      const char32_t c = ((lead & 0x0F) << 12) | ((byte(1) & 0x3F) << 6) | (byte(2) & 0x3F);
      if (c >= 0x800 && (c < 0xD800 || c > 0xDFFF)) return {c, 3};
    }
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    if (continuation(1) && continuation(2) && continuation(3)) {
      const char32_t c = ((lead & 0x07) << 18) | ((byte(1) & 0x3F) << 12) |
                         ((byte(2) & 0x3F) << 6) | (byte(3) & 0x3F);
      if (c >= 0x10000 && c <= 0x10FFFF) return {c, 4};
    }
  }
  return {lead, 1};
}

// The number of bytes (0 to 3) at the end of `bytes` that begin a
// well-formed sequence but stop before it is complete, so that a stream
// waits for the rest rather than decoding them as single bytes. Asks the
// decoder itself: the tail is incomplete when some continuation would make
// it decode as one character longer than the tail.
inline std::size_t incompleteUtf8Tail(std::string_view bytes) noexcept {
  for (std::size_t tail = 1; tail <= 3 && tail <= bytes.size(); ++tail) {
    const std::string_view last = bytes.substr(bytes.size() - tail);
    if ((static_cast<std::uint8_t>(last[0]) & 0xC0) == 0x80) continue;  // look further back
    // Every well-formed second byte lies in one of 80..8F, 90..9F, A0..BF,
    // and a third or fourth byte may be 80.
    for (const char second : {'\x80', '\x90', '\xA0'}) {
      char completed[4] = {last[0], tail >= 2 ? last[1] : second, tail >= 3 ? last[2] : '\x80',
                           '\x80'};
      if (decodeUtf8Char(std::string_view(completed, 4)).length > tail) return tail;
    }
    return 0;
  }
  return 0;
}

// Decodes `bytes` into `out`, which holds bytes.size() characters (the
// worst case, a character per byte), and returns how many it wrote. Pattern
// files are mostly ASCII, which is copied a byte at a time without the
// general decoder.
inline std::size_t decodeUtf8Into(std::string_view bytes, char32_t* out) noexcept {
  std::size_t length = 0;
  std::size_t at = 0;
  while (at < bytes.size()) {
    const auto byte = static_cast<std::uint8_t>(bytes[at]);
    if (byte < 0x80) {
      out[length++] = byte;
      ++at;
      continue;
    }
    const DecodedChar decoded = decodeUtf8Char(bytes.substr(at));
    out[length++] = decoded.codePoint;
    at += decoded.length;
  }
  return length;
}

// decodeUtf8Into that also writes, to `offsets` (bytes.size() + 1
// entries), the byte offset in `bytes` at which each character begins, and
// bytes.size() after the last: how breaks counted in characters are mapped
// back to the input.
inline std::size_t decodeUtf8WithOffsets(std::string_view bytes, char32_t* out,
                                         std::size_t* offsets) noexcept {
  std::size_t length = 0;
  std::size_t at = 0;
  while (at < bytes.size()) {
    const DecodedChar decoded = decodeUtf8Char(bytes.substr(at));
    out[length] = decoded.codePoint;
    offsets[length++] = at;
    at += decoded.length;
  }
  offsets[length] = at;
  return length;
}

// Decodes all of `bytes`.
inline std::u32string decodeUtf8(std::string_view bytes) {
  std::u32string text(bytes.size(), U'\0');
  text.resize(decodeUtf8Into(bytes, text.data()));
  return text;
}

// Appends `c` as UTF-8 (U+FFFD when it is not a scalar value).
inline void appendUtf8(std::string& out, char32_t c) {
  if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

// `text` as UTF-8.
inline std::string encodeUtf8(std::u32string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char32_t c : text) appendUtf8(out, c);
  return out;
}

}  // namespace liang::internal

#endif  // LIANG_CORE_UTF8_HPP_
