// Sixteen bytes of text classified at once: which are ASCII letters and
// which of those are capitals, as bit masks. The scanner finds the end of a
// run of letters with one count of trailing ones instead of a test per byte.
//
// classifyBlock uses SSE2 on x86 targets that have it and NEON on 64-bit Arm;
// everywhere else (32-bit x86 without SSE2, WebAssembly) it is
// classifyBlockScalar, which is also always compiled so that the two can be
// compared. Both read exactly kBlock bytes and give the same masks for every
// input; a byte from 0x80 on (any byte of a multi-byte UTF-8 sequence) is
// never a letter.
#ifndef LIANG_TEXT_LETTERBLOCKS_HPP_
#define LIANG_TEXT_LETTERBLOCKS_HPP_

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#define LIANG_LETTER_BLOCKS_SSE2 1
#elif defined(__ARM_NEON) && defined(__aarch64__)
#include <arm_neon.h>
#define LIANG_LETTER_BLOCKS_NEON 1
#endif

namespace liang::internal {

inline constexpr std::size_t kBlock = 16;

// Bit i stands for byte i of the block.
struct LetterBlock {
  std::uint32_t letters;  // A-Z, a-z
  std::uint32_t upper;    // A-Z
};

inline LetterBlock classifyBlockScalar(const unsigned char* p) noexcept {
  LetterBlock block{0, 0};
  for (std::size_t i = 0; i < kBlock; ++i) {
    const unsigned b = p[i];
    const bool upper = b - 'A' < 26u;
    const bool letter = upper || b - 'a' < 26u;
    block.letters |= static_cast<std::uint32_t>(letter) << i;
    block.upper |= static_cast<std::uint32_t>(upper) << i;
  }
  return block;
}

// Whether classifyBlock is more than classifyBlockScalar on this target.
inline constexpr bool kVectorBlocks =
#if defined(LIANG_LETTER_BLOCKS_SSE2) || defined(LIANG_LETTER_BLOCKS_NEON)
    true;
#else
    false;
#endif

inline LetterBlock classifyBlock(const unsigned char* p) noexcept {
#if defined(LIANG_LETTER_BLOCKS_SSE2)
  // (b | 0x20) - 'a' below 26, unsigned, read as a signed compare: adding
  // 0x80 - 'a' moves 'a'..'z' to -128..-103.
  const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  const __m128i folded = _mm_or_si128(bytes, _mm_set1_epi8(0x20));
  const __m128i limit = _mm_set1_epi8(-128 + 26);
  const __m128i letters =
      _mm_cmplt_epi8(_mm_add_epi8(folded, _mm_set1_epi8(static_cast<char>(0x80 - 'a'))), limit);
  const __m128i upper =
      _mm_cmplt_epi8(_mm_add_epi8(bytes, _mm_set1_epi8(static_cast<char>(0x80 - 'A'))), limit);
  return {static_cast<std::uint32_t>(_mm_movemask_epi8(letters)),
          static_cast<std::uint32_t>(_mm_movemask_epi8(upper))};
#elif defined(LIANG_LETTER_BLOCKS_NEON)
  const uint8x16_t bytes = vld1q_u8(p);
  const uint8x16_t limit = vdupq_n_u8(26);
  const uint8x16_t letters =
      vcltq_u8(vsubq_u8(vorrq_u8(bytes, vdupq_n_u8(0x20)), vdupq_n_u8('a')), limit);
  const uint8x16_t upper = vcltq_u8(vsubq_u8(bytes, vdupq_n_u8('A')), limit);
  // A mask of all-ones lanes: each lane keeps its own bit, and each half
  // adds up to a byte.
  static constexpr std::uint8_t kBits[16] = {1, 2, 4, 8, 16, 32, 64, 128,
                                             1, 2, 4, 8, 16, 32, 64, 128};
  const uint8x16_t bits = vld1q_u8(kBits);
  const auto maskOf = [&bits](uint8x16_t lanes) {
    const uint8x16_t kept = vandq_u8(lanes, bits);
    return static_cast<std::uint32_t>(vaddv_u8(vget_low_u8(kept))) |
           (static_cast<std::uint32_t>(vaddv_u8(vget_high_u8(kept))) << 8);
  };
  return {maskOf(letters), maskOf(upper)};
#else
  return classifyBlockScalar(p);
#endif
}

// classifyBlock of the `n` (< kBlock) bytes at `p`, the end of a buffer: the
// block is read from a copy padded with zeros, which are no letters.
inline LetterBlock classifyTail(const unsigned char* p, std::size_t n) noexcept {
  unsigned char padded[kBlock] = {};
  std::memcpy(padded, p, n);
  return classifyBlock(padded);
}

// The end of the run of ASCII letters that begins with the letter at
// `begin`, no further than `limit` (> begin), in the `size` bytes at `bytes`;
// `upper` gets whether a capital follows the run's first letter, `lower`
// whether a small letter does. Reads no byte at or past `size`.
inline std::size_t asciiLettersEnd(const unsigned char* bytes, std::size_t begin, std::size_t limit,
                                   std::size_t size, bool& upper, bool& lower) noexcept {
  std::uint32_t upperBits = 0, lowerBits = 0;
  std::uint32_t notFirst = ~1u;  // the first letter's case is the caller's
  std::size_t at = begin;
  for (;;) {
    const LetterBlock block =
        at + kBlock <= size ? classifyBlock(bytes + at) : classifyTail(bytes + at, size - at);
    // The run goes on to the first byte that is no letter.
    std::size_t length = static_cast<std::size_t>(std::countr_one(block.letters));
    if (length > limit - at) length = limit - at;
    const std::uint32_t inRun = ((std::uint32_t{1} << length) - 1) & notFirst;
    upperBits |= block.upper & inRun;
    lowerBits |= block.letters & ~block.upper & inRun;
    notFirst = ~0u;
    at += length;
    if (length < kBlock || at == limit) break;
  }
  upper = upperBits != 0;
  lower = lowerBits != 0;
  return at;
}

}  // namespace liang::internal

#endif  // LIANG_TEXT_LETTERBLOCKS_HPP_
