#include "text/Elements.hpp"

#include <algorithm>
#include <array>
#include <cstddef>

namespace liang::internal {

namespace {

struct Entry {
  std::string_view name;
  std::uint32_t flags;
};

constexpr Entry kListed[] = {
#define LIANG_ELEMENT(name, flags) {name, flags},
#include "text/Elements.def"
#undef LIANG_ELEMENT
};
constexpr std::size_t kCount = std::size(kListed);

constexpr std::array<Entry, kCount> kSorted = [] {
  std::array<Entry, kCount> sorted{};
  std::copy(std::begin(kListed), std::end(kListed), sorted.begin());
  std::sort(sorted.begin(), sorted.end(),
            [](const Entry& a, const Entry& b) { return a.name < b.name; });
  return sorted;
}();

constexpr std::size_t kProtectedCount = static_cast<std::size_t>(
    std::count_if(std::begin(kListed), std::end(kListed),
                  [](const Entry& e) { return (e.flags & kProtected) != 0; }));

constexpr std::array<std::string_view, kProtectedCount> kProtectedNames = [] {
  std::array<std::string_view, kProtectedCount> names{};
  std::size_t n = 0;
  for (const Entry& e : kListed) {
    if ((e.flags & kProtected) != 0) names[n++] = e.name;
  }
  return names;
}();

// The longest name of the table: longer names are turned away at once.
constexpr std::size_t kLongestName = [] {
  std::size_t longest = 0;
  for (const Entry& e : kListed) longest = std::max(longest, e.name.size());
  return longest;
}();

}  // namespace

std::uint32_t elementFlags(std::string_view localName) noexcept {
  if (localName.empty() || localName.size() > kLongestName) return 0;
  const auto found =
      std::lower_bound(kSorted.begin(), kSorted.end(), localName,
                       [](const Entry& e, std::string_view name) { return e.name < name; });
  return found != kSorted.end() && found->name == localName ? found->flags : 0;
}

std::span<const std::string_view> protectedElementNames() noexcept { return kProtectedNames; }

}  // namespace liang::internal
