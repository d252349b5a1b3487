// The lenient UTF-8 decoding, the UTF-8 word interfaces and language tags.
//
// Input: a selector byte, then the bytes of a word (also read as a tag).
// The selector picks one of the 73 shared hyphenators, or a small one of
// patterns that break between most letters, with minima of 0 and 1 so that
// breaks fall next to the edges too.
//
// Invariants:
//  - Decoding: a step of more than one byte is exactly the UTF-8 encoding
//    of a scalar value of at least U+0080 (so well-formed and shortest
//    form); a step of one byte yields that byte's value, and when the byte
//    is 0x80 or above no well-formed sequence starts there; the steps cover
//    the input exactly and decodeUtf8 yields their code points.
//  - hyphenate over UTF-8: the pieces concatenate to the input byte for
//    byte, and each piece decodes to the piece of the code point
//    hyphenate; hyphenationPoints in bytes and in code points agree with
//    the pieces.
//  - languageForTag compares letters without regard to case and reads "_"
//    as "-".
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.hpp"
#include "core/Utf8.hpp"

namespace {

using liang::internal::decodeUtf8;
using liang::internal::decodeUtf8Char;
using liang::internal::encodeUtf8;

constexpr std::size_t kMaxInputBytes = 4096;

bool isScalar(char32_t c) { return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF); }

// Whether a well-formed sequence of `length` bytes starts at `bytes`,
// judged from the bit patterns alone: lead and continuation markers, the
// value in the range that needs exactly this many bytes, not a surrogate.
bool wellFormedAt(std::string_view bytes, std::size_t length) {
  if (bytes.size() < length) return false;
  const auto b = [&](std::size_t i) { return static_cast<std::uint8_t>(bytes[i]); };
  static constexpr std::uint8_t kLeadMask[] = {0, 0, 0xE0, 0xF0, 0xF8};
  static constexpr std::uint8_t kLeadBits[] = {0, 0, 0xC0, 0xE0, 0xF0};
  static constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
  if ((b(0) & kLeadMask[length]) != kLeadBits[length]) return false;
  char32_t value = b(0) & static_cast<std::uint8_t>(~kLeadMask[length]);
  for (std::size_t i = 1; i < length; ++i) {
    if ((b(i) & 0xC0) != 0x80) return false;
    value = (value << 6) | (b(i) & 0x3F);
  }
  return value >= kLeast[length] && isScalar(value);
}

const liang::Hyphenator& smallHyphenator() {
  static const liang::Hyphenator h(fuzz::foldLower,
                                   liang::parsePatterns(U"a1\nb1\n1c\ne3\n\u00e91\n1\u20ac\n"),
                                   liang::parseExceptions(U"ab-c\n"), 0, 1);
  return h;
}

std::string asciiCase(std::string_view text, bool upper) {
  std::string out(text);
  for (char& c : out) {
    if (upper && c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    if (!upper && c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxInputBytes) return 0;
  fuzz::Input input(data, size);
  const std::uint8_t selector = input.byte();
  const std::string_view bytes = input.rest();

  // Decoding, step by step.
  std::u32string steps;
  std::vector<std::size_t> starts;  // byte offset of every character, then the end
  for (std::size_t at = 0; at < bytes.size();) {
    const auto decoded = decodeUtf8Char(bytes.substr(at));
    FUZZ_CHECK(decoded.length >= 1 && decoded.length <= 4);
    FUZZ_CHECK(at + decoded.length <= bytes.size());
    const auto lead = static_cast<std::uint8_t>(bytes[at]);
    if (decoded.length == 1) {
      FUZZ_CHECK(decoded.codePoint == lead);
      for (std::size_t length = 2; length <= 4; ++length) {
        FUZZ_CHECK(!wellFormedAt(bytes.substr(at), length));
      }
    } else {
      FUZZ_CHECK(decoded.codePoint >= 0x80 && isScalar(decoded.codePoint));
      FUZZ_CHECK(encodeUtf8(std::u32string(1, decoded.codePoint)) ==
                 bytes.substr(at, decoded.length));
    }
    steps.push_back(decoded.codePoint);
    starts.push_back(at);
    at += decoded.length;
  }
  starts.push_back(bytes.size());
  FUZZ_CHECK(decodeUtf8(bytes) == steps);
  // Encoding gives the input back exactly when it was well-formed: every
  // well-formed step re-encodes to its own bytes, every stray byte to two.
  bool wellFormed = true;
  for (std::size_t k = 0; k < steps.size(); ++k) {
    if (starts[k + 1] - starts[k] == 1 && steps[k] >= 0x80) wellFormed = false;
  }
  FUZZ_CHECK((encodeUtf8(steps) == bytes) == wellFormed);

  // The UTF-8 word interfaces.
  const liang::Hyphenator& h =
      selector < 219 ? liang::languageHyphenator(static_cast<liang::Language>(selector % 73))
                     : smallHyphenator();
  const std::vector<std::string> pieces = liang::hyphenate(h, bytes);
  const std::vector<liang::Word> codePointPieces = liang::hyphenate(h, std::u32string_view(steps));
  FUZZ_CHECK(!pieces.empty());
  FUZZ_CHECK(pieces.size() == codePointPieces.size());
  std::string joined;
  std::vector<std::size_t> byteStarts, charStarts;
  std::size_t chars = 0;
  for (std::size_t k = 0; k < pieces.size(); ++k) {
    if (k != 0) {
      byteStarts.push_back(joined.size());
      charStarts.push_back(chars);
    }
    FUZZ_CHECK(decodeUtf8(pieces[k]) == codePointPieces[k]);
    joined += pieces[k];
    chars += codePointPieces[k].size();
  }
  FUZZ_CHECK(joined == bytes);
  for (std::size_t k = 0; k < charStarts.size(); ++k) {
    FUZZ_CHECK(starts[charStarts[k]] == byteStarts[k]);
  }
  FUZZ_CHECK(liang::hyphenationPoints(h, bytes) == byteStarts);
  FUZZ_CHECK(liang::hyphenationPoints(h, std::u32string_view(steps)) == charStarts);
  fuzz::checkPieces(steps, codePointPieces, liang::hyphenatorLeftMin(h),
                    liang::hyphenatorRightMin(h));

  // Language tags.
  const std::optional<liang::Language> language = liang::languageForTag(bytes);
  FUZZ_CHECK(liang::languageForTag(asciiCase(bytes, true)) == language);
  FUZZ_CHECK(liang::languageForTag(asciiCase(bytes, false)) == language);
  std::string dashed(bytes);
  for (char& c : dashed) {
    if (c == '_') c = '-';
  }
  FUZZ_CHECK(liang::languageForTag(dashed) == language);
  return 0;
}
