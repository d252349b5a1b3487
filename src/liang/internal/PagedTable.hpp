// The name that the trie's index knows its table of letter numbers by: a
// CodePointMap, whose unset code points read 0 as built by default.
#ifndef LIANG_INTERNAL_PAGEDTABLE_HPP_
#define LIANG_INTERNAL_PAGEDTABLE_HPP_

#include "liang/internal/CodePointMap.hpp"

namespace liang::internal {

using PagedTable = CodePointMap;

}  // namespace liang::internal

#endif  // LIANG_INTERNAL_PAGEDTABLE_HPP_
