// A memory of the breaks of recently seen short words, for one scanner.
//
// Running text repeats its words: a book of 5.6 million words has some
// 44,000 different ones, and the most frequent few thousand make up most of
// it. Finding a word's breaks costs hundreds of instructions; looking it up
// here costs a few dozen. The cache holds a fixed number of entries
// (kEntries, kBytes in all), each a word of ASCII letters of at most
// kLongestWord bytes and the breaks found for it; a new word takes the place
// of whichever word was in its slot. It belongs to one WordRules and so to
// one scanner (one call, one stream): nothing in it is shared between
// threads. What it answers is what was stored, so it never changes a result;
// the owner stores only answers that depend on the word's bytes alone.
#ifndef LIANG_TEXT_BREAKCACHE_HPP_
#define LIANG_TEXT_BREAKCACHE_HPP_

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

namespace liang::internal {

class BreakCache {
 public:
  static constexpr std::size_t kLongestWord = 16;
  static constexpr std::size_t kEntries = 4096;

  // A word of 1..kLongestWord bytes, none of them zero, padded with zeros:
  // two words differ exactly when their keys do.
  struct Key {
    std::uint64_t first, second;
  };

  // The key of the `n` bytes at `word`, where `room` bytes from `word` may be
  // read (room >= n).
  static Key keyOf(const unsigned char* word, std::size_t n, std::size_t room) noexcept {
    if (room < kLongestWord) {
      unsigned char padded[kLongestWord] = {};
      std::memcpy(padded, word, n);
      return keyOf(padded, n, kLongestWord);
    }
    return keyOfBlock(word, n);
  }

  // keyOf the `n` (at most kLongestWord) bytes at `word` where at least
  // kLongestWord bytes may be read: two loads and two masks, no branch.
  static Key keyOfBlock(const unsigned char* word, std::size_t n) noexcept {
    std::uint64_t first, second;
    std::memcpy(&first, word, 8);
    std::memcpy(&second, word + 8, 8);
    const Key& mask = kMasks[n];
    return {first & mask.first, second & mask.second};
  }

  // The breaks stored for `key` (bit p: a break before letter p), or false.
  bool find(const Key& key, std::uint32_t& breaks) const noexcept {
    const Entry& entry = entries_[slotOf(key)];
    if (entry.key.first != key.first || entry.key.second != key.second) return false;
    breaks = entry.breaks;
    return true;
  }
  void store(const Key& key, std::uint32_t breaks) noexcept {
    entries_[slotOf(key)] = {key, breaks};
  }

  struct Entry {
    Key key{0, 0};  // no word's key: an empty slot
    std::uint32_t breaks = 0;
  };
  static constexpr std::size_t kBytes = kEntries * sizeof(Entry);

 private:
  // For each length n, the masks that keep the first n bytes of a key.
  static constexpr std::array<Key, kLongestWord + 1> kMasks = [] {
    std::array<Key, kLongestWord + 1> masks{};
    // Byte k of a word is byte k of memory: the low bytes of a number on a
    // little-endian target, the high ones on a big-endian one.
    const auto firstOnes = [](std::size_t n) -> std::uint64_t {
      constexpr std::uint64_t ones = ~std::uint64_t{0};
      if (n >= 8) return ones;
      if (n == 0) return 0;
      return std::endian::native == std::endian::little ? ones >> (64 - 8 * n)
                                                        : ones << (64 - 8 * n);
    };
    for (std::size_t n = 0; n <= kLongestWord; ++n) {
      masks[n] = {firstOnes(n), firstOnes(n > 8 ? n - 8 : 0)};
    }
    return masks;
  }();
  static std::size_t slotOf(const Key& key) noexcept {
    static_assert(std::has_single_bit(kEntries));
    const std::uint64_t mixed =
        key.first * 0x9E3779B97F4A7C15u ^ std::rotl(key.second * 0xC2B2AE3D27D4EB4Fu, 29);
    return static_cast<std::size_t>(mixed >> (64 - std::countr_zero(kEntries)));
  }

  std::unique_ptr<Entry[]> entries_ = std::make_unique<Entry[]>(kEntries);
};

}  // namespace liang::internal

#endif  // LIANG_TEXT_BREAKCACHE_HPP_
