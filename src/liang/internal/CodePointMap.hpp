// A map from code point to code point that answers in one load for Latin-1
// and two for the rest.
//
// Folding runs once for every character of every word hyphenated, so the map
// keeps the images of U+0000..U+00FF in a direct array, and the rest in a
// two-level page table: the code point's top bits pick a 256-entry page,
// its low byte the entry. Pages exist only where some key lives, and a page
// starts out as the identity, so an absent key maps to itself without a
// branch on presence. Keys above U+10FFFF (never produced by the UTF-8
// decoder, but any char32_t is a character) go to a small sorted side table.
#ifndef LIANG_INTERNAL_CODEPOINTMAP_HPP_
#define LIANG_INTERNAL_CODEPOINTMAP_HPP_

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "liang/internal/PagedTable.hpp"

namespace liang::internal {

class CodePointMap {
 public:
  // Sets the image of `from`, replacing an earlier one.
  void set(char32_t from, char32_t to) {
    if (from < kDirect) latin1_[from] = to;
    if (from > kLastScalar) {
      beyond_.set(from, to);
      return;
    }
    const std::uint32_t page = from >> 8;
    if (page >= pageOfTop_.size()) pageOfTop_.resize(page + 1, 0);
    if (pageOfTop_[page] == 0) {
      const std::size_t first = pages_.size();
      pages_.resize(first + 256);
      for (std::uint32_t low = 0; low < 256; ++low) pages_[first + low] = (page << 8) | low;
      present_.resize(present_.size() + 1);
      pageOfTop_[page] = static_cast<std::uint16_t>(present_.size());  // 1-based
    }
    const std::size_t slot = pageOfTop_[page] - 1;
    pages_[slot * 256 + (from & 0xFF)] = to;
    present_[slot][(from & 0xFF) >> 6] |= std::uint64_t{1} << (from & 63);
  }

  // The image of `c`: the value set for it, or `c` itself.
  char32_t operator()(char32_t c) const noexcept {
    if (c < kDirect) return latin1_[c];
    const std::uint32_t page = c >> 8;
    if (page < pageOfTop_.size()) {
      const std::uint32_t slot = pageOfTop_[page];
      return slot == 0 ? c : pages_[(slot - 1) * std::size_t{256} + (c & 0xFF)];
    }
    if (beyond_.empty()) return c;
    const char32_t* image = beyond_.find(c);
    return image == nullptr ? c : *image;
  }

  // Whether a value was set for `c`.
  bool contains(char32_t c) const noexcept {
    if (c > kLastScalar) return beyond_.find(c) != nullptr;
    const std::uint32_t page = c >> 8;
    if (page >= pageOfTop_.size() || pageOfTop_[page] == 0) return false;
    return (present_[pageOfTop_[page] - 1][(c & 0xFF) >> 6] >> (c & 63)) & 1;
  }

  // The number of keys.
  std::size_t size() const noexcept {
    std::size_t count = beyond_.size();
    for (const auto& bits : present_) {
      for (std::uint64_t word : bits) count += static_cast<std::size_t>(std::popcount(word));
    }
    return count;
  }

 private:
  static constexpr char32_t kLastScalar = 0x10FFFF;
  static constexpr char32_t kDirect = 0x100;

  static constexpr std::array<char32_t, kDirect> identity() noexcept {
    std::array<char32_t, kDirect> images{};
    for (char32_t c = 0; c < kDirect; ++c) images[c] = c;
    return images;
  }

  std::array<char32_t, kDirect> latin1_ = identity();  // images of U+0000..U+00FF

  std::vector<std::uint16_t> pageOfTop_;               // 0: no page; else 1 + page slot
  std::vector<char32_t> pages_;                        // 256 images per page slot
  std::vector<std::array<std::uint64_t, 4>> present_;  // which entries of a slot were set
  SortedKeyTable<char32_t> beyond_;                    // keys above U+10FFFF
};

}  // namespace liang::internal

#endif  // LIANG_INTERNAL_CODEPOINTMAP_HPP_
