// The hash table behind Exceptions, and the lookup hyphenate uses.
#ifndef LIANG_INTERNAL_EXCEPTIONTABLE_HPP_
#define LIANG_INTERNAL_EXCEPTIONTABLE_HPP_

#include <functional>
#include <memory>
#include <string_view>
#include <unordered_map>

#include "liang/Exception.hpp"

namespace liang::internal {

struct WordHash {
  using is_transparent = void;  // find() by u32string_view, no key copy
  std::size_t operator()(std::u32string_view word) const noexcept {
    return std::hash<std::u32string_view>()(word);
  }
};

class ExceptionTable {
 public:
  std::unordered_map<Word, Scores, WordHash, std::equal_to<>> entries;
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
  if (table == nullptr) return nullptr;
  auto it = table->entries.find(word);
  return it == table->entries.end() ? nullptr : &it->second;
}

}  // namespace liang::internal

#endif  // LIANG_INTERNAL_EXCEPTIONTABLE_HPP_
