#include "core/CodePointMap.hpp"

namespace liang::internal {

void CodePointMap::set(char32_t key, std::uint32_t value) {
  if (key < kDirect) latin1_[key] = value;
  if (key > kLastScalar) {
    const auto it = std::lower_bound(beyond_.begin(), beyond_.end(), key, keyBelow);
    if (it != beyond_.end() && it->first == key) {
      it->second = value;
    } else {
      beyond_.insert(it, {key, value});
    }
    return;
  }
  const std::uint32_t block = key >> 8;
  if (block >= pageOfBlock_.size()) pageOfBlock_.resize(block + 1, 0);
  if (pageOfBlock_[block] == 0) {
    const std::size_t first = values_.size();
    values_.resize(first + 256);
    for (std::uint32_t low = 0; low < 256; ++low)
      values_[first + low] = ((block << 8) | low) & unset_;
    // At most 0x1100 pages below U+10FFFF: the number fits.
    pageOfBlock_[block] = static_cast<std::uint16_t>(values_.size() / 256);
  }
  values_[(pageOfBlock_[block] - 1) * std::size_t{256} + (key & 0xFF)] = value;
}

}  // namespace liang::internal
