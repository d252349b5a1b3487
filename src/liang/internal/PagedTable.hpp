// A table from code point to a 32-bit value, 0 where nothing was set.
#ifndef LIANG_INTERNAL_PAGEDTABLE_HPP_
#define LIANG_INTERNAL_PAGEDTABLE_HPP_

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace liang::internal {

// A sorted table for the keys above U+10FFFF, which no page table covers:
// any char32_t is a character, but such keys are rare enough to search.
template <class Value>
class SortedKeyTable {
 public:
  void set(char32_t key, Value value) {
    auto it = std::lower_bound(entries_.begin(), entries_.end(), key, keyBelow);
    if (it != entries_.end() && it->first == key) {
      it->second = value;
    } else {
      entries_.insert(it, {key, value});
    }
  }
  // The value of `key`, or null.
  const Value* find(char32_t key) const noexcept {
    auto it = std::lower_bound(entries_.begin(), entries_.end(), key, keyBelow);
    return it != entries_.end() && it->first == key ? &it->second : nullptr;
  }
  bool empty() const noexcept { return entries_.empty(); }
  std::size_t size() const noexcept { return entries_.size(); }

 private:
  static bool keyBelow(const std::pair<char32_t, Value>& entry, char32_t key) noexcept {
    return entry.first < key;
  }
  std::vector<std::pair<char32_t, Value>> entries_;
};

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
    if (beyond_.empty()) return 0;
    const std::uint32_t* value = beyond_.find(key);
    return value == nullptr ? 0 : *value;
  }

 private:
  std::vector<std::uint32_t> pageOfBlock_;  // 0: no page; else 1 + page number
  std::vector<std::uint32_t> values_;       // 256 values per page
  SortedKeyTable<std::uint32_t> beyond_;    // keys above U+10FFFF
};

}  // namespace liang::internal

#endif  // LIANG_INTERNAL_PAGEDTABLE_HPP_
