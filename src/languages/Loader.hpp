// How a language's hyphenator is made from the embedded files.
//
// A loaded hyphenator holds three deferred components, each bound to one file
// name ("hyph-" + affix + ".chr.txt.gz", ".pat.txt.gz", ".hyp.txt.gz"): the
// first use of a component finds its file, inflates it, decodes it and
// parses it, once (a pattern file holds the prebuilt image of its trie,
// which is read rather than parsed, and not inflated when the build stored
// it uncompressed); an Error (a missing or damaged file) is kept and raised
// again on every later use, while a std::bad_alloc is the failing caller's
// alone: the next use tries again.
// The overloads that take a file table exist so that tests can hand in a
// table that lacks or damages a file; the table must be sorted by name and
// outlive every hyphenator made from it.
#ifndef LIANG_LANGUAGES_LOADER_HPP_
#define LIANG_LANGUAGES_LOADER_HPP_

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/CodePointMap.hpp"
#include "languages/EmbeddedFiles.hpp"
#include "liang/Hyphenator.hpp"
#include "liang/Language.hpp"

namespace liang::internal {

// The file named exactly `name` in `files` (sorted by name), by binary
// search; null when there is none.
const EmbeddedFile* findEmbeddedFile(std::string_view name,
                                     std::span<const EmbeddedFile> files) noexcept;

// The whole content of one gzip file (RFC 1952). Throws Error with zlib's
// own message when the stream is corrupt or truncated, and std::bad_alloc
// when memory runs out (zlib's included: it allocates with operator new).
std::string inflateGzip(std::string_view compressed);

// The inflated bytes of the file named exactly `name` in `files` (sorted by
// name), or the bytes of a pattern file (*.pat.txt.gz) that holds a trie's
// image stored uncompressed. Throws Error "Could not find <name>" when
// there is none, and what inflateGzip throws.
std::string embeddedFileBytes(std::string_view name, std::span<const EmbeddedFile> files);

// The decoded text of that file. Ill-formed UTF-8 never fails: each stray
// byte becomes the code point of the same value. A pattern file that the
// build stored as a prebuilt trie (core/PatternImage.hpp) gives the pattern
// text of that trie: a line per pattern, in the order of their letters.
std::u32string embeddedFileText(std::string_view name, std::span<const EmbeddedFile> files);

// The same, in the library's own table.
std::u32string embeddedFileText(std::string_view name);

// The character table of a character file. A line is a letter and then its
// capital form: when that form is one code point it folds to the letter, and
// a code point on several lines takes the last of them; a form of several
// code points (German "ßSS") cannot be folded character by character and
// adds nothing, nor does a line of one code point. Never fails.
CodePointMap parseCharMap(std::u32string_view text);

// The folding function over parseCharMap(text).
CharFold parseChars(std::u32string_view text);

// The minima the library fixes for x: the least characters before the
// first break and after the last. Kept with the rest of the language table.
struct LanguageMinima {
  std::int64_t left;
  std::int64_t right;
};
LanguageMinima languageMinima(Language x) noexcept;

// loadHyphenator(x), with its files looked up in `files`.
Hyphenator loadHyphenator(Language x, std::span<const EmbeddedFile> files);

}  // namespace liang::internal

#endif  // LIANG_LANGUAGES_LOADER_HPP_
