// The break finder beneath every hyphenate variant.
#ifndef LIANG_CORE_BREAKS_HPP_
#define LIANG_CORE_BREAKS_HPP_

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "liang/Hyphenator.hpp"

namespace liang::internal {

// Writes to `breaks`, which must hold word.size() entries, in increasing
// order, every boundary p (1 <= p <= n, counted in characters of `word`)
// after which hyphenate(h, word) ends a piece, and returns how many there
// are. p == n means a trailing empty piece. Throws what hyphenate throws.
std::size_t collectBreaks(const Hyphenator& h, std::u32string_view word, std::size_t* breaks);

// planBreaks, the same boundaries as bits when the hyphenator's plan
// answers the word alone, is in BreakPlan.hpp, inline.

}  // namespace liang::internal

#endif  // LIANG_CORE_BREAKS_HPP_
