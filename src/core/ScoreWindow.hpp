// ScoreWindow: the scores of the 16 boundaries that a pattern ending at the
// current position of an automaton's walk can still reach, in one vector
// register where the target has one (SSE2 or NEON; LIANG_PORTABLE_WINDOW
// forces the portable ring of bytes). A value type, private to one walk;
// every operation is a few instructions and none allocates.
#ifndef LIANG_CORE_SCOREWINDOW_HPP_
#define LIANG_CORE_SCOREWINDOW_HPP_

#include <algorithm>
#include <cstdint>

#if defined(__SSE2__) && !defined(LIANG_PORTABLE_WINDOW)
#include <emmintrin.h>
#define LIANG_WINDOW_SSE2 1
#elif defined(__ARM_NEON) && !defined(LIANG_PORTABLE_WINDOW)
#include <arm_neon.h>
#define LIANG_WINDOW_NEON 1
#endif

namespace liang::internal {

// The scores of the next 16 boundaries, the lowest first, in one register
// where the target has one.
class ScoreWindow {
 public:
  ScoreWindow() noexcept = default;
  // The window that holds the 16 scores at `scores` (the lowest first).
  static ScoreWindow of(const std::uint8_t* scores) noexcept {
    ScoreWindow window;
    window.load(scores);
    return window;
  }

  // Raises each score to the matching byte of `block` (16 bytes, aligned to 16).
#if defined(LIANG_WINDOW_SSE2)
  void raise(const std::uint8_t* block) noexcept {
    scores_ = _mm_max_epu8(scores_, _mm_load_si128(reinterpret_cast<const __m128i*>(block)));
  }
  // Returns the lowest boundary's score and moves the window up by one.
  std::uint8_t retire() noexcept {
    const auto lowest = static_cast<std::uint8_t>(_mm_cvtsi128_si32(scores_));
    scores_ = _mm_srli_si128(scores_, 1);
    return lowest;
  }
  // Writes the 16 scores to `out`, the lowest first.
  void store(std::uint8_t* out) const noexcept {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), scores_);
  }
  // Reads the 16 scores from `in`, the lowest first.
  void load(const std::uint8_t* in) noexcept {
    scores_ = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
  }
  // Bit k: whether the score of the k-th lowest boundary is odd.
  std::uint32_t oddMask() const noexcept {
    return static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_slli_epi16(scores_, 7)));
  }

 private:
  __m128i scores_ = _mm_setzero_si128();
#elif defined(LIANG_WINDOW_NEON)
  void raise(const std::uint8_t* block) noexcept { scores_ = vmaxq_u8(scores_, vld1q_u8(block)); }
  std::uint8_t retire() noexcept {
    const std::uint8_t lowest = vgetq_lane_u8(scores_, 0);
    scores_ = vextq_u8(scores_, vdupq_n_u8(0), 1);
    return lowest;
  }
  void store(std::uint8_t* out) const noexcept { vst1q_u8(out, scores_); }
  void load(const std::uint8_t* in) noexcept { scores_ = vld1q_u8(in); }
  std::uint32_t oddMask() const noexcept {
    std::uint8_t scores[16];
    vst1q_u8(scores, scores_);
    std::uint32_t odd = 0;
    for (unsigned k = 0; k < 16; ++k) odd |= std::uint32_t{scores[k] & 1u} << k;
    return odd;
  }

 private:
  uint8x16_t scores_ = vdupq_n_u8(0);
#else
  // Anywhere else: a ring of 16 bytes, the lowest at `first_`.
  void raise(const std::uint8_t* block) noexcept {
    for (unsigned k = 0; k < 16; ++k) {
      std::uint8_t& into = scores_[(first_ + k) % 16];
      into = std::max(into, block[k]);
    }
  }
  std::uint8_t retire() noexcept {
    const std::uint8_t lowest = scores_[first_];
    scores_[first_] = 0;
    first_ = (first_ + 1) % 16;
    return lowest;
  }
  void store(std::uint8_t* out) const noexcept {
    for (unsigned k = 0; k < 16; ++k) out[k] = scores_[(first_ + k) % 16];
  }
  void load(const std::uint8_t* in) noexcept {
    for (unsigned k = 0; k < 16; ++k) scores_[k] = in[k];
    first_ = 0;
  }
  std::uint32_t oddMask() const noexcept {
    std::uint32_t odd = 0;
    for (unsigned k = 0; k < 16; ++k) odd |= std::uint32_t{scores_[(first_ + k) % 16] & 1u} << k;
    return odd;
  }

 private:
  std::uint8_t scores_[16] = {};
  unsigned first_ = 0;
#endif
};

}  // namespace liang::internal

#endif  // LIANG_CORE_SCOREWINDOW_HPP_
