// The lenient UTF-8 decoder, byte sequence by byte sequence, against a
// decoder written here from the table of well-formed sequences (not from
// the library's arithmetic): every 1-, 2- and 3-byte sequence and every
// 4-byte one led by F0..F4, the only leads of a 4-byte form. About 10^8
// sequences; an optimised build takes a few seconds, an unoptimised one
// (the sanitizer build) samples them with a stride instead.
#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/Utf8.hpp"

namespace liang {
namespace {

using internal::DecodedChar;
using internal::decodeUtf8Char;
using internal::decodeUtf8Into;
using internal::incompleteUtf8Tail;

#ifdef NDEBUG
constexpr std::uint32_t kStride = 1;
#else
constexpr std::uint32_t kStride = 101;  // prime: every byte value still turns up
#endif

// The well-formed sequences, as the Unicode standard tabulates them: the
// lead byte fixes the length and the range of the second byte; every later
// byte is 80..BF.
struct SequenceForm {
  std::uint8_t leadFirst, leadLast, length, secondFirst, secondLast;
};
constexpr std::array<SequenceForm, 9> kWellFormed{{
    {0x00, 0x7F, 1, 0, 0},
    {0xC2, 0xDF, 2, 0x80, 0xBF},
    {0xE0, 0xE0, 3, 0xA0, 0xBF},  // below A0: overlong
    {0xE1, 0xEC, 3, 0x80, 0xBF},
    {0xED, 0xED, 3, 0x80, 0x9F},  // from A0: a surrogate
    {0xEE, 0xEF, 3, 0x80, 0xBF},
    {0xF0, 0xF0, 4, 0x90, 0xBF},  // below 90: overlong
    {0xF1, 0xF3, 4, 0x80, 0xBF},
    {0xF4, 0xF4, 4, 0x80, 0x8F},  // from 90: above U+10FFFF
}};

// The form a lead byte begins, null for a byte that begins none; a table,
// so that the 10^8 sequences cost no search.
const SequenceForm* formOf(std::uint8_t lead) {
  static const std::array<const SequenceForm*, 256> kByLead = [] {
    std::array<const SequenceForm*, 256> byLead{};
    for (const SequenceForm& form : kWellFormed) {
      for (unsigned b = form.leadFirst; b <= form.leadLast; ++b) byLead[b] = &form;
    }
    return byLead;
  }();
  return kByLead[lead];
}

// How many of the first `count` bytes fit a well-formed sequence of `form`.
std::size_t fittingBytes(const SequenceForm& form, const std::uint8_t* bytes, std::size_t count) {
  std::size_t fit = 1;
  for (; fit < count && fit < form.length; ++fit) {
    const std::uint8_t low = fit == 1 ? form.secondFirst : 0x80;
    const std::uint8_t high = fit == 1 ? form.secondLast : 0xBF;
    if (bytes[fit] < low || bytes[fit] > high) break;
  }
  return fit;
}

// The reference: a well-formed sequence is its code point, read off its
// bits; any other first byte is one character of the same value.
DecodedChar referenceDecode(const std::uint8_t* bytes, std::size_t count) {
  const SequenceForm* form = formOf(bytes[0]);
  if (form == nullptr || fittingBytes(*form, bytes, count) < form->length) return {bytes[0], 1};
  static constexpr std::uint8_t kLeadBits[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
  char32_t c = bytes[0] & kLeadBits[form->length];
  for (std::size_t k = 1; k < form->length; ++k) c = (c << 6) | (bytes[k] & 0x3Fu);
  return {c, form->length};
}

// The reference of incompleteUtf8Tail: the length of the suffix that is a
// proper prefix of some well-formed sequence, 0 if none is.
std::size_t referenceIncompleteTail(const std::uint8_t* bytes, std::size_t count) {
  for (std::size_t tail = 1; tail <= 3 && tail <= count; ++tail) {
    const std::uint8_t* suffix = bytes + count - tail;
    const SequenceForm* form = formOf(suffix[0]);
    if (form != nullptr && tail < form->length && fittingBytes(*form, suffix, tail) == tail) {
      return tail;
    }
  }
  return 0;
}

// Calls check(bytes) for every sequence of `length` bytes whose first byte
// is in [leadFirst, leadLast], every kStride-th one when sampling.
template <class Check>
void forEverySequence(std::size_t length, std::uint32_t leadFirst, std::uint32_t leadLast,
                      Check check) {
  const std::uint32_t tailCount = std::uint32_t{1} << (8 * (length - 1));
  const std::uint32_t stride = length >= 3 ? kStride : 1;
  std::array<std::uint8_t, 4> bytes{};
  for (std::uint32_t lead = leadFirst; lead <= leadLast; ++lead) {
    for (std::uint32_t rest = lead % stride; rest < tailCount; rest += stride) {
      bytes[0] = static_cast<std::uint8_t>(lead);
      for (std::size_t k = 1; k < length; ++k) {
        bytes[k] = static_cast<std::uint8_t>(rest >> (8 * (length - 1 - k)));
      }
      check(bytes.data());
    }
  }
}

std::string hex(const std::uint8_t* bytes, std::size_t count) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  for (std::size_t k = 0; k < count; ++k) {
    if (k > 0) out += ' ';
    out += kDigits[bytes[k] >> 4];
    out += kDigits[bytes[k] & 0xF];
  }
  return out;
}

// Every sequence of `length` bytes led by [leadFirst, leadLast] decodes as
// the reference says, its first character alone and the whole of it. Stops
// at the first difference, which it names.
void expectDecodesLikeTheReference(std::size_t length, std::uint32_t leadFirst,
                                   std::uint32_t leadLast) {
  std::size_t failures = 0;
  forEverySequence(length, leadFirst, leadLast, [&](const std::uint8_t* bytes) {
    if (failures > 0) return;
    const std::string_view view(reinterpret_cast<const char*>(bytes), length);
    const DecodedChar got = decodeUtf8Char(view);
    const DecodedChar want = referenceDecode(bytes, length);
    if (got.codePoint != want.codePoint || got.length != want.length) {
      ++failures;
      ADD_FAILURE() << hex(bytes, length) << ": decoded U+" << std::hex
                    << static_cast<std::uint32_t>(got.codePoint) << " of " << got.length
                    << " bytes, expected U+" << static_cast<std::uint32_t>(want.codePoint) << " of "
                    << want.length;
      return;
    }
    // The whole sequence: the reference's characters one after the other.
    // Past three bytes this adds nothing: what follows a lead taken alone
    // is a sequence of three bytes, each of which is checked on its own.
    if (length > 3) return;
    std::array<char32_t, 4> whole{};
    const std::size_t count = decodeUtf8Into(view, whole.data());
    std::size_t at = 0, expected = 0;
    for (; at < length; ++expected) {
      const DecodedChar next = referenceDecode(bytes + at, length - at);
      if (expected >= count || whole[expected] != next.codePoint) break;
      at += next.length;
    }
    if (at != length || count != expected) {
      ++failures;
      ADD_FAILURE() << hex(bytes, length) << ": decoded as a whole unlike the reference";
    }
  });
}

TEST(Utf8Decoder, EverySequenceOfOneOrTwoBytesDecodesLikeTheReference) {
  expectDecodesLikeTheReference(1, 0x00, 0xFF);
  expectDecodesLikeTheReference(2, 0x00, 0xFF);
}

TEST(Utf8Decoder, EverySequenceOfThreeBytesDecodesLikeTheReference) {
  expectDecodesLikeTheReference(3, 0x00, 0xFF);
}

TEST(Utf8Decoder, EveryFourByteSequenceOfAFourByteLeadDecodesLikeTheReference) {
  expectDecodesLikeTheReference(4, 0xF0, 0xF4);
}

// The forms a decoder most often lets through, named: each is its lead byte
// alone, then the bytes that follow it one by one.
TEST(Utf8Decoder, OverlongSurrogateAndOutOfRangeFormsAreSingleBytes) {
  for (const std::string_view bytes : {
           std::string_view("\xC0\x80"),          // overlong U+0000
           std::string_view("\xC1\xBF"),          // overlong U+007F
           std::string_view("\xE0\x80\x80"),      // overlong U+0000
           std::string_view("\xE0\x9F\xBF"),      // overlong U+07FF
           std::string_view("\xED\xA0\x80"),      // U+D800
           std::string_view("\xED\xBF\xBF"),      // U+DFFF
           std::string_view("\xF0\x8F\xBF\xBF"),  // overlong U+FFFF
           std::string_view("\xF4\x90\x80\x80"),  // U+110000
           std::string_view("\xF5\x80\x80\x80"),  // no such lead
       }) {
    const DecodedChar decoded = decodeUtf8Char(bytes);
    EXPECT_EQ(decoded.length, 1u) << hex(reinterpret_cast<const std::uint8_t*>(bytes.data()), 1);
    EXPECT_EQ(decoded.codePoint, static_cast<std::uint8_t>(bytes[0]));
  }
  EXPECT_EQ(decodeUtf8Char("\xE0\xA0\x80").codePoint, U'\u0800');  // the shortest 3-byte form
  EXPECT_EQ(decodeUtf8Char("\xF0\x90\x80\x80").codePoint, U'\U00010000');
}

// A stream holds back a tail exactly when more bytes could still make it a
// well-formed character: every tail of up to three bytes after a letter.
TEST(Utf8Decoder, EveryTailIsHeldBackExactlyWhenItCanStillComplete) {
  std::size_t failures = 0;
  for (std::size_t length = 1; length <= 3; ++length) {
    forEverySequence(length, 0x00, 0xFF, [&](const std::uint8_t* tail) {
      if (failures > 0) return;
      std::array<std::uint8_t, 4> bytes{'a'};
      for (std::size_t k = 0; k < length; ++k) bytes[k + 1] = tail[k];
      const std::string_view view(reinterpret_cast<const char*>(bytes.data()), length + 1);
      const std::size_t want = referenceIncompleteTail(bytes.data(), length + 1);
      if (incompleteUtf8Tail(view) != want) {
        ++failures;
        ADD_FAILURE() << hex(tail, length) << ": held back " << incompleteUtf8Tail(view)
                      << " bytes, expected " << want;
      }
    });
  }
}

}  // namespace
}  // namespace liang
