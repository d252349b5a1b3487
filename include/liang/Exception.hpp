// liang: the exception dictionary.
//
// An exception entry is a word with a hyphen-minus at every permitted break,
// such as "as-so-ciate". The dictionary maps the word without its marks
// ("associate") to a score list of 0s and 1s, 1 marking a break. Keys are
// kept exactly as written: no folding, no normalisation. Several entries for
// one word combine by element-wise minimum, so only breaks on which all of
// them agree survive.
//
// Guarantees:
//  - Exceptions is an immutable value; copying is O(1) and shares the table.
//    addException and merge leave their inputs unchanged (addException copies
//    the table once; parseExceptions builds in place).
//  - Any number of threads may use one dictionary at once without locking.
//  - A lookup hashes the word once and compares whole keys on a hit.
#ifndef LIANG_EXCEPTION_HPP_
#define LIANG_EXCEPTION_HPP_

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "liang/Types.hpp"
#include "liang/export.h"

namespace liang {

namespace internal {
class ExceptionTable;
struct ExceptionsAccess;
}  // namespace internal

LIANG_PUBLIC_BEGIN

class Exceptions {
 public:
  // The empty dictionary, same as emptyExceptions(). Allocates nothing.
  Exceptions() noexcept = default;

  // The same words with the same score lists.
  friend bool operator==(const Exceptions& a, const Exceptions& b);

 private:
  friend struct internal::ExceptionsAccess;
  explicit Exceptions(std::shared_ptr<const internal::ExceptionTable> table) noexcept
      : table_(std::move(table)) {}

  std::shared_ptr<const internal::ExceptionTable> table_;  // null when empty
};

// Declared again out here: a friend declaration alone takes no visibility
// from LIANG_PUBLIC_BEGIN, so the shared library would not export it.
bool operator==(const Exceptions& a, const Exceptions& b);

// The dictionary without entries.
Exceptions emptyExceptions() noexcept;

// The score list of one entry: 1 at each boundary marked by "-", 0 elsewhere.
Scores scoreException(std::u32string_view entry);

// `d` with the entry added under its word without "-"; an existing entry for
// that word is combined with the new one by zipMin.
Exceptions addException(std::u32string_view entry, const Exceptions& d);

// The score list stored for exactly `word` (not folded, "-" not removed).
std::optional<Scores> lookupException(std::u32string_view word, const Exceptions& d);

// The dictionary of every line of `text` (split at line feeds). Never fails.
Exceptions parseExceptions(std::u32string_view text);
// The same from UTF-8 text, decoded as the embedded files are.
Exceptions parseExceptions(std::string_view utf8Text);

// Element-wise minimum, as long as the shorter list.
Scores zipMin(const Scores& a, const Scores& b);

// Every word of both; a word in both gets the zipMin of its two lists.
Exceptions merge(const Exceptions& a, const Exceptions& b);

// `d` with the entries of `replacements` in place of its own: a word in
// both keeps only its list from `replacements` (where merge would keep only
// the breaks that both lists allow). For a caller's corrections to a
// language's dictionary.
Exceptions replaceExceptions(const Exceptions& replacements, const Exceptions& d);

// The merge of all dictionaries; empty input gives the empty dictionary.
Exceptions mergeAll(const std::vector<Exceptions>& ds);

// The merge of `first` and all of `rest`.
Exceptions mergeAll(const Exceptions& first, const std::vector<Exceptions>& rest);

// The merge of n copies of `d` (which is `d` itself); throws Error for n <= 0.
Exceptions mergeTimes(std::int64_t n, const Exceptions& d);

// Diagnostic rendering, UTF-8, such as
//   Exceptions (fromList [("associate",[0,0,1,0,1,0,0,0,0,0])])
// with the words in code-point order; wrapped in parentheses when
// `precedence` is above 10.
std::string show(const Exceptions& d, int precedence = 0);

// The bracketed, comma-separated renderings of the dictionaries.
std::string show(const std::vector<Exceptions>& ds);

LIANG_PUBLIC_END
}  // namespace liang

#endif  // LIANG_EXCEPTION_HPP_
