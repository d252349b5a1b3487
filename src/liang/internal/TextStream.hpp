// Running-text hyphenation in chunks, for callers that stream.
//
// insertHyphens needs the whole text; a stream arrives in pieces that may end
// inside a word or inside a UTF-8 sequence. appendHyphenatedText hyphenates
// as much of a chunk as can be settled without seeing what follows and says
// how much that was; the caller keeps the rest and puts it in front of the
// next chunk. Fed that way, the output equals insertHyphens of the whole.
#ifndef LIANG_INTERNAL_TEXTSTREAM_HPP_
#define LIANG_INTERNAL_TEXTSTREAM_HPP_

#include <cstddef>
#include <string>
#include <string_view>

#include "liang/Hyphenator.hpp"

namespace liang::internal {

// The number of bytes (0 to 3) at the end of `bytes` that begin a well-formed
// UTF-8 sequence but stop before it is complete.
std::size_t incompleteUtf8Tail(std::string_view bytes) noexcept;

// Appends to `out` the text of insertHyphens(h, text, hyphen) for a prefix
// of `text` and returns that prefix's length in bytes. With `atEnd` the
// prefix is all of `text`. Otherwise it stops before a word that reaches the
// end of `text` and before an incomplete UTF-8 sequence there, since the next
// chunk may continue either; a text that is one unfinished word gives 0.
std::size_t appendHyphenatedText(const Hyphenator& h, std::string_view text,
                                 std::string_view hyphen, bool atEnd, std::string& out);

}  // namespace liang::internal

#endif  // LIANG_INTERNAL_TEXTSTREAM_HPP_
