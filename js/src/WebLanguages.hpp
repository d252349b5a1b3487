// The registry of the languages that JavaScript has loaded into the
// WebAssembly engine (see WebLanguages.cpp).
#ifndef LIANG_JS_WEBLANGUAGES_HPP_
#define LIANG_JS_WEBLANGUAGES_HPP_

#include <memory>
#include <string_view>

#include "liang/Deferred.hpp"
#include "liang/Exception.hpp"
#include "liang/Hyphenator.hpp"
#include "liang/Language.hpp"
#include "liang/Pattern.hpp"

namespace liang::web {

// A language's components, kept so that a hyphenator with more exceptions
// can share the fold and the trie.
struct LanguageParts {
  CharFold chars;
  std::shared_ptr<const Deferred<Patterns>> patterns;
  Exceptions exceptions;
};

// Makes x's hyphenator from the text of its character, exception and
// licence files (UTF-8) and the image of its pattern trie. A second call
// does nothing. Throws what parsing and reading throw (Error for a damaged
// image).
void registerLanguage(Language x, std::string_view chars, std::string_view patternImage,
                      std::string_view exceptions, std::string_view licence);

// Whether x is registered.
bool registered(Language x) noexcept;

// x's components; throws Error when x is not registered.
const LanguageParts& languageParts(Language x);

}  // namespace liang::web

#endif  // LIANG_JS_WEBLANGUAGES_HPP_
