#include "text/Elements.hpp"

#include "text/Markup.hpp"

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

// An open-addressing table by the names' NameHash: a tag costs a hash it
// has already (the tag reader makes it) and a probe or two.
constexpr std::size_t kSlots = 512;
static_assert(kSlots >= 2 * kCount);
constexpr std::array<std::int16_t, kSlots> kSlotOf = [] {
  std::array<std::int16_t, kSlots> slots{};
  slots.fill(-1);
  for (std::size_t i = 0; i < kCount; ++i) {
    std::size_t at = NameHash::of(kListed[i].name) % kSlots;
    while (slots[at] >= 0) at = (at + 1) % kSlots;
    slots[at] = static_cast<std::int16_t>(i);
  }
  return slots;
}();

// The hash of the name in each slot, which most probes need alone.
constexpr std::array<std::uint64_t, kSlots> kHashOf = [] {
  std::array<std::uint64_t, kSlots> hashes{};
  for (std::size_t at = 0; at < kSlots; ++at) {
    if (kSlotOf[at] >= 0)
      hashes[at] = NameHash::of(kListed[static_cast<std::size_t>(kSlotOf[at])].name);
  }
  return hashes;
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

std::uint32_t elementFlags(std::string_view localName, std::uint64_t hash) noexcept {
  if (localName.empty() || localName.size() > kLongestName) return 0;
  for (std::size_t at = hash % kSlots; kSlotOf[at] >= 0; at = (at + 1) % kSlots) {
    const Entry& entry = kListed[static_cast<std::size_t>(kSlotOf[at])];
    if (kHashOf[at] != hash || entry.name.size() != localName.size()) continue;
    // Names are short: compared here rather than by a call of memcmp.
    std::size_t i = 0;
    while (i < localName.size() && localName[i] == entry.name[i]) ++i;
    if (i == localName.size()) return entry.flags;
  }
  return 0;
}

std::span<const std::string_view> protectedElementNames() noexcept { return kProtectedNames; }

}  // namespace liang::internal
