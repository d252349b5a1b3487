// A table from code point to a 32-bit value, 0 where nothing was set.
#ifndef LIANG_INTERNAL_PAGEDTABLE_HPP_
#define LIANG_INTERNAL_PAGEDTABLE_HPP_

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace liang::internal {

// A 256-entry page per populated block of code points, so a probe is two
// loads; keys above U+10FFFF live in a sorted side table.
class PagedTable {
 public:
  void set(char32_t key, std::uint32_t value);

  std::uint32_t operator()(char32_t key) const noexcept {
    const std::uint32_t block = key >> 8;
    if (block < pageOfBlock_.size()) {
      const std::uint32_t page = pageOfBlock_[block];
      return page == 0 ? 0 : values_[(page - 1) * std::size_t{256} + (key & 0xFF)];
    }
    return beyond_.empty() ? 0 : lookupBeyond(key);
  }

 private:
  std::uint32_t lookupBeyond(char32_t key) const noexcept;

  std::vector<std::uint32_t> pageOfBlock_;                  // 0: no page; else 1 + page number
  std::vector<std::uint32_t> values_;                       // 256 values per page
  std::vector<std::pair<char32_t, std::uint32_t>> beyond_;  // keys above U+10FFFF, sorted
};

}  // namespace liang::internal

#endif  // LIANG_INTERNAL_PAGEDTABLE_HPP_
