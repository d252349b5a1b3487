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
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "liang/Hyphenator.hpp"
#include "liang/export.h"

namespace liang {
LIANG_PUBLIC_BEGIN

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

// Into the caller's storage: writes at most out.size() points into `out`
// and returns how many there are (more than out.size(): call again with room
// for all). Allocates nothing for words of ordinary length.
std::size_t hyphenationPoints(const Hyphenator& h, std::u32string_view word,
                              std::span<std::size_t> out);
std::size_t hyphenationPoints(const Hyphenator& h, std::string_view utf8Word,
                              std::span<std::size_t> out);

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

// How running text is hyphenated. The defaults are those of insertHyphens.
struct TextOptions {
  // Put at every break. U+00AD SOFT HYPHEN is shown only where a line breaks.
  std::string hyphen = "\xC2\xAD";
  // HTML, XHTML or XML: only text content is hyphenated (see TextStream).
  bool markup = false;
  // Words of fewer code points than this are left alone.
  std::size_t minWordLength = 0;
  // Minima that replace the hyphenator's own when positive (at least 1).
  std::int64_t leftMin = 0;
  std::int64_t rightMin = 0;
  // Whether words that begin with an uppercase letter are hyphenated.
  bool capitalized = true;
  // Whether words in all capitals are hyphenated.
  bool allCaps = true;
};

// Running text with the given options.
std::string insertHyphens(const Hyphenator& h, std::string_view utf8Text,
                          const TextOptions& options);

// Running text in chunks: feed() takes the text in pieces of any size, split
// anywhere (inside a word, a UTF-8 sequence, a tag or a reference), and
// appends to `out` the output for as much as is settled; finish() appends the
// rest. The output equals insertHyphens of the whole text, and the memory
// held is bounded whatever the input. A stream is used by one thread at a
// time; it holds a copy of the hyphenator (O(1)).
class TextStream {
 public:
  explicit TextStream(const Hyphenator& h, TextOptions options = {});
  TextStream(TextStream&&) noexcept;
  TextStream& operator=(TextStream&&) noexcept;
  ~TextStream();

  // Takes the next chunk; appends to `out` the output that is settled.
  void feed(std::string_view chunk, std::string& out);
  // Ends the text: appends all the output not yet given. The stream may then
  // take a new text.
  void finish(std::string& out);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

LIANG_PUBLIC_END
}  // namespace liang

#endif  // LIANG_TEXT_HPP_
