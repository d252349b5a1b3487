// The break finder beneath every hyphenate variant.
#ifndef LIANG_INTERNAL_BREAKS_HPP_
#define LIANG_INTERNAL_BREAKS_HPP_

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "liang/Hyphenator.hpp"

namespace liang::internal {

// Appends to `breaks`, in increasing order, every boundary p (1 <= p <= n,
// counted in characters of `word`) after which hyphenate(h, word) ends a
// piece. p == n means a trailing empty piece. Throws what hyphenate throws.
void findBreaks(const Hyphenator& h, std::u32string_view word, std::vector<std::size_t>& breaks);

// The same boundaries written to `breaks`, which must hold word.size()
// entries; returns how many there are.
std::size_t collectBreaks(const Hyphenator& h, std::u32string_view word, std::size_t* breaks);

// planBreaks, the same boundaries as bits when the hyphenator's plan
// answers the word alone, is in BreakPlan.hpp, inline.

}  // namespace liang::internal

#endif  // LIANG_INTERNAL_BREAKS_HPP_
