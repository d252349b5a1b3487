// liang: hyphenating UTF-8 words and running text.
//
// The core speaks in code points; these functions take the UTF-8 that real
// programs hold. UTF-8 is decoded leniently, exactly as the embedded data
// is: a well-formed sequence is its code point, and any other byte is one
// character of the same value (0x80..0xFF become U+0080..U+00FF). So every
// byte string is a word, and each character knows the bytes it came from:
// pieces and offsets are byte ranges of the input, never re-encoded.
//
// Words: hyphenate and hyphenationPoints break exactly the characters they
// are given, as hyphenate(h, std::u32string_view) does.
//
// Running text (insertHyphens, TextStream) is whole documents, plain or
// marked up. Every byte of it comes out unchanged; only hyphens are added:
//  - A word is a maximal run of letters: characters of Unicode category L or
//    M, and characters that fold to a letter of the patterns (such as the
//    apostrophe of the French patterns). Digits, spaces and punctuation end
//    a word (a space even where the patterns spell with it); a word gets the
//    breaks of the word function.
//  - Hard hyphens (U+002D, U+2010, U+2011) end a word even where the
//    patterns spell with them, and no break falls right before or after one:
//    each part of "guarda-chuva" breaks as it would alone.
//  - A letter that the language's table does not fold but whose lowercase
//    (one code point) is a letter of the patterns is matched as that
//    lowercase: German "STRAẞE" (U+1E9E) breaks like "straße". The output
//    keeps the input's letters.
//  - A word that holds U+00AD SOFT HYPHEN is the author's: it gets no other
//    break; so does one that holds the hyphen being inserted between its
//    letters, unless that hyphen begins with a hard hyphen (which ends
//    words, below). So hyphenating twice changes nothing.
//  - A whitespace-delimited token that holds "://", begins with "www."
//    (after opening brackets or quotes) or holds an '@' with a '.' after it
//    is a URL or an e-mail address and is copied unchanged.
//  - So is a technical token, unless TextOptions::technical: one that (its
//    trailing . , ; : ! ? aside) begins with '-' and a letter (-A,
//    --almost-all); holds '/' or '\' between two characters, '_', '=', '$',
//    '#', '{', '}', "::", "()" or "]("; holds a '.' between two letters, one
//    of them not alone (sources.list, deb.debian.org, but not U.S.A. or
//    z.B.); or holds both a letter and a digit (Uint8Array, x86_64, 4th).
//  - A combining mark that is no letter of the patterns belongs to the
//    letter before it; a letter and its marks are matched as their canonical
//    composition (NFC), so "cafe\u0301s" breaks like "cafés".
//  - Words with an uppercase letter after a lowercase one (names and
//    identifiers such as iPhone) are left alone; TextOptions says more.
//  - Bounds: only the first 4,096 bytes of a token are looked at for a URL,
//    and a word of more than 4,096 bytes is copied unchanged, so a stream
//    holds at most a few kilobytes whatever its input.
// In markup (TextOptions::markup), the text is read as a browser reads HTML
// or an XML parser XML, and only text content is hyphenated:
//  - Tags with their attributes, comments ("<!-->" and "<!--->" included),
//    declarations, processing instructions and CDATA sections pass through
//    and end the word before them.
//  - XML's rules apply when the text begins with an XML declaration or its
//    first element has an xmlns attribute (or TextOptions::xml); HTML's
//    otherwise. An end tag closes the innermost open element of its name and
//    those opened inside it, and is ignored when none is open; in HTML it
//    looks no further than browsers do. HTML ends elements by implication
//    as browsers do: p at the start of a block and at the end of its parent,
//    li at the next li, dt and dd at the next dt or dd, td and th at the
//    next cell or row, tr at the next row, option at the next option. In
//    HTML "<pre/>" opens a pre; in XML "<x/>" is empty. Names in HTML are
//    matched in any case, in XML as written.
//  - script, style, xmp, iframe, noembed, noframes, noscript, textarea and
//    title hold raw text, which runs to the end tag of the name as written
//    (prefix included, any case); plaintext runs to the end of the text.
//  - The content of the elements of protectedElements(), any prefix, of the
//    caller's TextOptions::skipElements, and of elements with a class of
//    TextOptions::skipClasses is not hyphenated.
//  - lang and xml:lang (which wins) switch the language of an element's
//    content, read whole with languageForTag; a language liang does not
//    carry or this build left out, "zxx", and lang with no value mean none.
//  - Character references count as the characters they stand for (HTML's
//    named references, the first of two where a name stands for two), &shy;
//    and its numeric forms as a soft hyphen, and no break falls inside one.
//  - Bounds: nested elements of one name, language and protection count as
//    one; past 1,024 such runs, elements are only counted, and one that
//    switches the language or is left alone there stops hyphenation until
//    the depth is back: never a wrong language or protected content
//    hyphenated, whatever the depth. A lang value past 128 bytes is read to
//    its last subtag before them, the rest checked for being well formed.
//
// Guarantees:
//  - Pure functions of their arguments; any number of threads may call them
//    with one Hyphenator at once. A TextStream is one thread's at a time.
//  - The same failures as hyphenate pass through.
//  - A word of up to 64 bytes is decoded on the stack: besides the result,
//    nothing is allocated for it; the span forms of hyphenationPoints
//    allocate nothing at all for such words. Running text takes time linear
//    in its length.
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

// Running text with `hyphen` at every break of every word, by the rules
// above, as plain text. The default hyphen is U+00AD SOFT HYPHEN, which
// renderers show only where they break a line.
std::string insertHyphens(const Hyphenator& h, std::string_view utf8Text,
                          std::string_view hyphen = "\xC2\xAD");

// How running text is hyphenated. The defaults are those of insertHyphens.
struct TextOptions {
  // Put at every break. U+00AD SOFT HYPHEN is shown only where a line breaks.
  std::string hyphen = "\xC2\xAD";
  // HTML, XHTML or XML: only text content is hyphenated (see above).
  bool markup = false;
  // Words of fewer letters than this are left alone (a letter and its
  // combining marks count as one).
  std::size_t minWordLength = 0;
  // Minima that replace the hyphenator's own, and those of the languages
  // that lang attributes switch to, when positive; 0 keeps them. A negative
  // value makes the text functions throw Error.
  std::int64_t leftMin = 0;
  std::int64_t rightMin = 0;
  // Whether words that begin with an uppercase letter are hyphenated.
  bool capitalized = true;
  // Whether words in all capitals (two letters or more) are hyphenated.
  bool allCaps = true;
  // Whether words with an uppercase letter after a lowercase one
  // (camelCaseIdentifier, iPhone, McDonald) are hyphenated: they are mostly
  // names and identifiers.
  bool mixedCase = false;
  // Whether technical tokens (--almost-all, /usr/share/doc, sources.list,
  // $HOME, snake_case, Uint8Array: see above) are hyphenated: they are
  // options, paths, file names and identifiers, which a break would change.
  bool technical = false;
  // Markup: XML's rules even without an XML declaration or an xmlns on the
  // first element (which choose them otherwise; HTML's rules else).
  bool xml = false;
  // Markup: more elements whose content is left alone, besides
  // protectedElements(); names without a prefix match any prefix.
  std::vector<std::string> skipElements = {};
  // Markup: elements with one of these classes are left alone.
  std::vector<std::string> skipClasses = {"nohyphenate", "donthyphenate"};
};

// The elements whose content markup mode always leaves alone.
std::span<const std::string_view> protectedElements() noexcept;

// Running text with the given options.
std::string insertHyphens(const Hyphenator& h, std::string_view utf8Text,
                          const TextOptions& options);

// Running text in chunks: feed() takes the text in pieces of any size, split
// anywhere (inside a word, a UTF-8 sequence, a tag or a reference), and
// appends to `out` the output for as much as is settled; finish() appends the
// rest. The output equals insertHyphens of the whole text, and the memory
// held is bounded whatever the input: what a chunk leaves unsettled is at
// most a token's first 4,096 bytes. A stream is used by one thread at a
// time; it holds a copy of the hyphenator (O(1)). Throws Error when the
// options' minima are negative. When feed or finish throws (the failures of
// hyphenate pass through), `out` is left as it was and the stream starts a
// new text.
class TextStream {
 public:
  explicit TextStream(const Hyphenator& h, TextOptions options = {});
  // The text under way goes with the move; a stream moved from stays usable,
  // as a fresh stream on the same hyphenator and options.
  TextStream(TextStream&&) noexcept;
  TextStream& operator=(TextStream&&) noexcept;
  ~TextStream();

  // Takes the next chunk; appends to `out` the output that is settled.
  void feed(std::string_view chunk, std::string& out);
  // Ends the text: appends all the output not yet given. The stream may then
  // take a new text.
  void finish(std::string& out);

  // The same for C++20 UTF-8 text (char8_t); inline, each copies its output
  // once more.
  void feed(std::u8string_view chunk, std::u8string& out);
  void finish(std::u8string& out);

 private:
  struct Setup;
  struct State;
  State& state();
  template <class Step>
  void guarded(std::string& out, Step step);
  std::shared_ptr<const Setup>
      setup_;                     // the hyphenator and options, shared with streams moved from
  std::unique_ptr<State> state_;  // null once moved from, until the next use
};

// C++20 UTF-8 text: each function above also takes char8_t strings
// (u8"Straße", std::u8string), and gives back char8_t strings. They forward
// to the char versions, whose results they copy once; an overload is chosen
// by character type alone, so "abc", U"abc" and u8"abc" each find exactly
// one.
LIANG_PUBLIC_END
namespace internal {
// The bytes of char8_t text seen as char, which may alias any object.
inline std::string_view asCharView(std::u8string_view text) noexcept {
  return {reinterpret_cast<const char*>(text.data()), text.size()};
}
inline std::u8string asChar8String(std::string_view bytes) {
  return std::u8string(bytes.begin(), bytes.end());
}
}  // namespace internal
LIANG_PUBLIC_BEGIN

inline std::vector<std::u8string> hyphenate(const Hyphenator& h, std::u8string_view utf8Word) {
  std::vector<std::u8string> pieces;
  for (const std::string& piece : hyphenate(h, internal::asCharView(utf8Word))) {
    pieces.push_back(internal::asChar8String(piece));
  }
  return pieces;
}

inline std::vector<std::size_t> hyphenationPoints(const Hyphenator& h,
                                                  std::u8string_view utf8Word) {
  return hyphenationPoints(h, internal::asCharView(utf8Word));
}

inline std::size_t hyphenationPoints(const Hyphenator& h, std::u8string_view utf8Word,
                                     std::span<std::size_t> out) {
  return hyphenationPoints(h, internal::asCharView(utf8Word), out);
}

inline std::u8string insertHyphens(const Hyphenator& h, std::u8string_view utf8Text,
                                   std::u8string_view hyphen = u8"\u00AD") {
  return internal::asChar8String(
      insertHyphens(h, internal::asCharView(utf8Text), internal::asCharView(hyphen)));
}

inline std::u8string insertHyphens(const Hyphenator& h, std::u8string_view utf8Text,
                                   const TextOptions& options) {
  return internal::asChar8String(insertHyphens(h, internal::asCharView(utf8Text), options));
}

inline void TextStream::feed(std::u8string_view chunk, std::u8string& out) {
  std::string settled;
  feed(internal::asCharView(chunk), settled);
  out.append(settled.begin(), settled.end());
}

inline void TextStream::finish(std::u8string& out) {
  std::string rest;
  finish(rest);
  out.append(rest.begin(), rest.end());
}

LIANG_PUBLIC_END
}  // namespace liang

#endif  // LIANG_TEXT_HPP_
