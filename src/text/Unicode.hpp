// The Unicode facts that running text needs: general categories, case and
// canonical composition, from utf8proc (the Unicode Character Database, kept
// by a maintained library rather than typed in here). Only the text layer
// uses them; the core needs no Unicode data beyond UTF-8 itself.
//
// Every function takes any char32_t: a value that is no Unicode scalar
// value (a surrogate, or above U+10FFFF) is unassigned, of no category.
#ifndef LIANG_TEXT_UNICODE_HPP_
#define LIANG_TEXT_UNICODE_HPP_

#include <cstdint>
#include <string_view>

namespace liang::internal {

// What a character is to running text, by its general category.
enum class CharCategory : std::uint8_t {
  kLetter,  // L*: a letter of some script
  kMark,    // M*: a combining mark, which belongs to the character before it
  kSpace,   // Z*, and the ASCII control characters that separate text
  kDigit,   // Nd: a decimal digit of some script
  kOther,   // other numbers, punctuation, symbols, other controls, unassigned
};

CharCategory categoryOf(char32_t c) noexcept;

// Whether `c` is an uppercase or titlecase letter (Lu, Lt), or a lowercase
// one (Ll). Letters without case (Lo, Lm) are neither.
bool isUppercase(char32_t c) noexcept;
bool isLowercase(char32_t c) noexcept;

// The lowercase of `c` when Unicode maps it to a single other code point
// (U+1E9E LATIN CAPITAL LETTER SHARP S gives U+00DF), else `c` itself.
// U+0130, whose full lowercase is "i" with U+0307, gives itself.
char32_t singleLowercase(char32_t c) noexcept;

// The first character of the canonical composition (NFC) of a letter and
// the combining marks that follow it: "e" U+0301 gives "é", and a sequence
// that composes to nothing gives its first character. `cluster` holds at
// most a few dozen characters in practice; a longer one is composed in parts
// of its first 32.
char32_t composedFirst(std::u32string_view cluster) noexcept;

}  // namespace liang::internal

#endif  // LIANG_TEXT_UNICODE_HPP_
