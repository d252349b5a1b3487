// liang: hyphenating UTF-8 words and running text.
//
// The core speaks in code points; these functions take the UTF-8 that real
// programs hold. A UTF-8 word is decoded leniently, exactly as the embedded
// data is: a well-formed sequence is its code point, and any other byte is
// one character of the same value (0x80..0xFF become U+0080..U+00FF). So
// every byte string is a word, and each character knows the bytes it came
// from: pieces and offsets are byte ranges of the input, never re-encoded.
//
// Guarantees:
//  - Pure functions of their arguments; any number of threads may call them
//    with one Hyphenator at once.
//  - Breaks are those of hyphenate(h, std::u32string_view) on the decoded
//    word; the same failures pass through.
//  - A word of up to 64 bytes is decoded on the stack: besides the result,
//    nothing is allocated for it. insertHyphens reuses one buffer for all the
//    words of a text and runs in time linear in the text.
#ifndef LIANG_TEXT_HPP_
#define LIANG_TEXT_HPP_

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "liang/Hyphenator.hpp"

namespace liang {

// Pieces of a UTF-8 word. Each piece is a byte range of the input, so the
// pieces concatenate to the input byte for byte, even when it is not valid
// UTF-8. An empty word gives one empty piece. Overloads are resolved by the
// character type: hyphenate(h, "abc") and a std::string land here,
// hyphenate(h, U"abc") and a std::u32string on the code point version.
std::vector<std::string> hyphenate(const Hyphenator& h, std::string_view utf8Word);

// Where a hyphen may go: the offsets, in code points, at which the pieces
// after the first begin (increasing; word.size() for a trailing empty piece).
std::vector<std::size_t> hyphenationPoints(const Hyphenator& h, std::u32string_view word);

// The same in bytes of the UTF-8 word: each offset is where a piece of
// hyphenate(h, utf8Word) after the first begins.
std::vector<std::size_t> hyphenationPoints(const Hyphenator& h, std::string_view utf8Word);

// Running text: every word gets `hyphen` at each of its breaks; all other
// bytes are copied unchanged, ill-formed UTF-8 included. A word is a maximal
// run of characters that, once folded with hyphenatorChars(h), occur as
// letters in hyphenatorPatterns(h) (the edge mark "." excepted); digits,
// spaces and punctuation therefore separate words in every language. An
// ill-formed byte is a character like any other (see above), so Latin-1 text
// is hyphenated as if it were decoded as Latin-1. The default hyphen is
// U+00AD SOFT HYPHEN, which renderers show only where they break a line.
std::string insertHyphens(const Hyphenator& h, std::string_view utf8Text,
                          std::string_view hyphen = "\xC2\xAD");

}  // namespace liang

#endif  // LIANG_TEXT_HPP_
