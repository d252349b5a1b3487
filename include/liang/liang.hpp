// liang: hyphenation by Liang's pattern method, the method of TeX.
//
// This header offers the whole library:
//  - Hyphenator and hyphenate: the record and the operation that cuts a word
//    into the pieces between which a hyphen may go, and prepare, which builds
//    ahead of time what a hyphenator would build on first use
//    (liang/Hyphenator.hpp);
//  - Patterns: the pattern trie and its text format (liang/Pattern.hpp);
//  - Exceptions: the exception dictionary and its text format (liang/Exception.hpp);
//  - Language: the 73 languages, their file codes and their hyphenators, built
//    from the data carried inside the library (liang/Language.hpp);
//  - UTF-8 words, hyphenation points, and running text -- plain, HTML, XHTML
//    or XML, whole or streamed -- with its options (liang/Text.hpp);
//  - languageForTag, languageForName: the Language for a BCP 47 tag, a locale
//    name or a name people use (liang/LanguageTag.hpp).
// The C interface is a header of its own, liang/liang.h.
#ifndef LIANG_LIANG_HPP_
#define LIANG_LIANG_HPP_

#include "liang/Exception.hpp"
#include "liang/Hyphenator.hpp"
#include "liang/Language.hpp"
#include "liang/LanguageTag.hpp"
#include "liang/Pattern.hpp"
#include "liang/Text.hpp"
#include "liang/Types.hpp"

#endif  // LIANG_LIANG_HPP_
