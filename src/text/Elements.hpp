// What the markup mode knows of an element by its name: whether it is void,
// holds raw text, is left alone, and how HTML ends it implicitly. The one
// table is Elements.def; the elements left alone are listed to users from it.
#ifndef LIANG_TEXT_ELEMENTS_HPP_
#define LIANG_TEXT_ELEMENTS_HPP_

#include <cstdint>
#include <span>
#include <string_view>

namespace liang::internal {

enum ElementFlag : std::uint32_t {
  kProtected = 1u << 0,        // content never hyphenated
  kRawText = 1u << 1,          // content runs to the end tag whatever it holds
  kPlaintext = 1u << 2,        // content runs to the end of the text (HTML)
  kVoid = 1u << 3,             // no content, no end tag (HTML)
  kSpecial = 1u << 4,          // an unmatched end tag stops here (HTML)
  kClosesP = 1u << 5,          // its start tag ends an open <p> (HTML)
  kScopedEnd = 1u << 6,        // its end tag looks for it as far as a kScope element
  kScope = 1u << 7,            // bounds the scope an end tag looks in
  kTableScope = 1u << 8,       // bounds the scope of a new cell or row
  kButtonScope = 1u << 9,      // bounds the scope of </p> and the <p> a block ends
  kListScope = 1u << 10,       // bounds the scope of </li>
  kParagraph = 1u << 11,       // p
  kListItem = 1u << 12,        // li
  kDefinition = 1u << 13,      // dd, dt
  kHeading = 1u << 14,         // h1 to h6
  kCell = 1u << 15,            // td, th
  kRow = 1u << 16,             // tr
  kOption = 1u << 17,          // option
  kOptgroup = 1u << 18,        // optgroup
  kKeptOpen = 1u << 19,        // html, body: their end tag closes nothing (HTML)
  kPassedByItems = 1u << 20,   // address, div, p: a new li, dd or dt looks past them
  kTable = 1u << 21,           // table
  kTablePart = 1u << 22,       // ignored outside a table (td, tr, tbody, ...) (HTML)
  kTableScopedEnd = 1u << 23,  // its end tag looks for it as far as a table (HTML)
};

// The flags of the element of `localName` (its name without a prefix), in
// lower case for HTML, whose NameHash is `hash`; 0 for an element the table
// does not hold.
std::uint32_t elementFlags(std::string_view localName, std::uint64_t hash) noexcept;

// The elements whose content is left alone, in the order users see them.
std::span<const std::string_view> protectedElementNames() noexcept;

}  // namespace liang::internal

#endif  // LIANG_TEXT_ELEMENTS_HPP_
