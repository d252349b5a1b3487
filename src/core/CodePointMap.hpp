// A table from code point to a 32-bit value that answers in one load for
// Latin-1 and two for the rest: the character folds of the loaded
// hyphenators, and the letter numbers of a trie's index.
//
// Folding runs once for every character of every word hyphenated, so the
// values of U+0000..U+00FF sit in a direct array, and the rest in a
// two-level page table: the code point's top bits pick a 256-entry page,
// its low byte the entry. Pages exist only where some key lives, and a new
// page starts out as what an unset code point reads, so reading needs no
// branch on presence. Keys above U+10FFFF (never produced by the UTF-8
// decoder, but any char32_t is a character) go to a small sorted side table.
// Building is not thread-safe; reading a built table is, and allocates nothing.
#ifndef LIANG_CORE_CODEPOINTMAP_HPP_
#define LIANG_CORE_CODEPOINTMAP_HPP_

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace liang::internal {

class CodePointMap {
 public:
  // What a code point that was never set reads as. The value is the mask
  // that turns the code point into that reading.
  enum class Unset : std::uint32_t {
    kZero = 0,              // 0: a table of values, such as letter numbers
    kItself = 0xFFFFFFFFu,  // the code point: a fold, the identity but where set
  };

  explicit CodePointMap(Unset unset = Unset::kZero) noexcept
      : unset_(static_cast<std::uint32_t>(unset)) {
    for (std::uint32_t c = 0; c < kDirect; ++c) latin1_[c] = c & unset_;
  }

  // Sets the value of `key`, replacing an earlier one.
  void set(char32_t key, std::uint32_t value);

  // Whether some key of block `block` (the code points block * 256 ..
  // block * 256 + 255, past Latin-1) may be set: every code point of a
  // block without reads as an unset one.
  bool mayHaveKeysIn(std::uint32_t block) const noexcept {
    return block < pageOfBlock_.size() && pageOfBlock_[block] != 0;
  }

  // The value set for `c`, or what an unset code point reads.
  std::uint32_t operator()(char32_t c) const noexcept {
    if (c < kDirect) return latin1_[c];
    const std::uint32_t block = c >> 8;
    if (block < pageOfBlock_.size()) {
      const std::uint32_t page = pageOfBlock_[block];
      return page == 0 ? c & unset_ : values_[(page - 1) * std::size_t{256} + (c & 0xFF)];
    }
    if (!beyond_.empty()) {
      const auto it = std::lower_bound(beyond_.begin(), beyond_.end(), c, keyBelow);
      if (it != beyond_.end() && it->first == c) return it->second;
    }
    return c & unset_;
  }

 private:
  static constexpr char32_t kLastScalar = 0x10FFFF;
  static constexpr char32_t kDirect = 0x100;

  static bool keyBelow(const std::pair<char32_t, std::uint32_t>& entry, char32_t key) noexcept {
    return entry.first < key;
  }

  std::uint32_t unset_;                                     // an Unset
  std::array<std::uint32_t, kDirect> latin1_;               // values of U+0000..U+00FF
  std::vector<std::uint16_t> pageOfBlock_;                  // 0: no page; else 1 + page number
  std::vector<std::uint32_t> values_;                       // 256 values per page
  std::vector<std::pair<char32_t, std::uint32_t>> beyond_;  // keys above U+10FFFF, sorted
};

}  // namespace liang::internal

#endif  // LIANG_CORE_CODEPOINTMAP_HPP_
