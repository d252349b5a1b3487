// liang: the vocabulary shared by every component.
//
// Words, pieces and texts are sequences of Unicode code points. A char32_t
// that is not a Unicode scalar value (a surrogate, or a value above U+10FFFF)
// is accepted everywhere as an ordinary character. Score lists hold one
// signed 64-bit score per boundary of a word; an odd score permits a break.
// Every failure the library raises is a liang::Error whose what() is the
// exact message text, in UTF-8. Two kinds of exception pass through as they
// are, because they are not the library's to describe: one thrown by a
// caller's own code (a folding function, a Deferred's builder), and memory
// exhaustion as the standard library reports it -- std::bad_alloc (or a
// type derived from it), or std::length_error where a standard container is
// asked for more than its max_size(), which only an input near the size of
// the address space (of a 32-bit target, say) can cause.
#ifndef LIANG_TYPES_HPP_
#define LIANG_TYPES_HPP_

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "liang/export.h"

namespace liang {
LIANG_PUBLIC_BEGIN

using Word = std::u32string;               // a word, piece or text: Unicode code points
using Scores = std::vector<std::int64_t>;  // a score list, one entry per boundary

// Every failure that the library itself raises.
class Error : public std::runtime_error {
  using std::runtime_error::runtime_error;
};

LIANG_PUBLIC_END
}  // namespace liang

#endif  // LIANG_TYPES_HPP_
