// The hash table behind Exceptions, and the lookup hyphenate uses.
#ifndef LIANG_CORE_EXCEPTIONTABLE_HPP_
#define LIANG_CORE_EXCEPTIONTABLE_HPP_

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "liang/Exception.hpp"

namespace liang::internal {

// FNV-1a over whole code points: a few instructions per character, and
// good enough spread for dictionaries of a few hundred words.
inline std::uint64_t hashWord(std::u32string_view word) noexcept {
  std::uint64_t hash = 0xCBF29CE484222325ULL;
  for (char32_t c : word) hash = (hash ^ c) * 0x100000001B3ULL;
  return hash ^ (hash >> 32);
}

struct WordHash {
  using is_transparent = void;  // find() by u32string_view, no key copy
  std::size_t operator()(std::u32string_view word) const noexcept {
    return static_cast<std::size_t>(hashWord(word));
  }
};

class ExceptionTable {
 public:
  using Entries = std::unordered_map<Word, Scores, WordHash, std::equal_to<>>;

  explicit ExceptionTable(Entries entries) : entries_(std::move(entries)) {
    std::size_t capacity = 8;
    while (capacity < 2 * entries_.size()) capacity *= 2;
    slots_.resize(capacity);
    for (const auto& entry : entries_) {
      const Word& key = entry.first;
      const std::size_t bit =
          filterBit(key.size(), key.empty() ? 0 : key.front(), key.empty() ? 0 : key.back());
      filter_[bit / 64] |= std::uint64_t{1} << (bit % 64);
      const std::uint64_t hash = hashWord(entry.first);
      std::size_t at = static_cast<std::size_t>(hash & (capacity - 1));
      while (slots_[at].key != nullptr) at = (at + 1) & (capacity - 1);
      slots_[at] = {hash, &entry.first, &entry.second};
    }
  }

  // The words and their score lists.
  const Entries& entries() const noexcept { return entries_; }

  // Whether a word of `length` characters from `first` to `last` may be
  // stored: most words are turned away by this filter before they are
  // hashed, or even folded as a whole.
  bool mayContain(std::size_t length, char32_t first, char32_t last) const noexcept {
    const std::size_t bit = filterBit(length, first, last);
    return (filter_[bit / 64] >> (bit % 64) & 1) != 0;
  }

  // The stored list of exactly `word`, or null. A word that passes the
  // filter costs one hash and a short probe of a half-full table.
  const Scores* find(std::u32string_view word) const noexcept {
    if (!mayContain(word.size(), word.empty() ? 0 : word.front(), word.empty() ? 0 : word.back())) {
      return nullptr;
    }
    const std::uint64_t hash = hashWord(word);
    const std::size_t mask = slots_.size() - 1;
    for (auto at = static_cast<std::size_t>(hash & mask);; at = (at + 1) & mask) {
      const Slot& slot = slots_[at];
      if (slot.key == nullptr) return nullptr;
      if (slot.hash == hash && *slot.key == word) return slot.scores;
    }
  }

 private:
  struct Slot {
    std::uint64_t hash = 0;
    const Word* key = nullptr;  // into entries_, whose nodes never move
    const Scores* scores = nullptr;
  };

  // 1 KiB: a dictionary of a language's few hundred words sets a few
  // percent of the bits, so that few words pass the filter that are not
  // stored (with 1024 bits, Russian's 184 words let one word in six through,
  // each then hashed and scored by the slow path).
  static constexpr int kFilterBitsLog2 = 13;
  static constexpr std::size_t kFilterBits = std::size_t{1} << kFilterBitsLog2;
  static std::size_t filterBit(std::uint64_t length, std::uint64_t first,
                               std::uint64_t last) noexcept {
    const std::uint64_t mixed = (length * 0x9E3779B97F4A7C15ULL) ^ (first * 0xC2B2AE3D27D4EB4FULL) ^
                                (last * 0x165667B19E3779F9ULL);
    return static_cast<std::size_t>(mixed >> (64 - kFilterBitsLog2));
  }

  Entries entries_;
  std::vector<Slot> slots_;
  // Bit filterBit(key) of every key, so a word that sets none can be turned away.
  std::array<std::uint64_t, kFilterBits / 64> filter_{};
};

struct ExceptionsAccess {
  static const ExceptionTable* table(const Exceptions& d) noexcept { return d.table_.get(); }
  static Exceptions make(std::shared_ptr<const ExceptionTable> table) noexcept {
    return Exceptions(std::move(table));
  }
};

// The stored score list of exactly `word`, or null; no copy is made.
inline const Scores* findException(const Exceptions& d, std::u32string_view word) {
  const ExceptionTable* table = ExceptionsAccess::table(d);
  return table == nullptr ? nullptr : table->find(word);
}

}  // namespace liang::internal

#endif  // LIANG_CORE_EXCEPTIONTABLE_HPP_
