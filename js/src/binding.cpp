// The WebAssembly engine's interface to JavaScript (js/lib/engine.js): plain
// C functions over numbers and UTF-8 bytes in the wasm heap, so that a call
// costs no more than the copy of its word in and of its answer out.
//
// Handles: a language's hyphenator is its ordinal (0..72); a hyphenator with
// extra exceptions gets a handle of its own (kFirstCustom and up) until
// liang_release. A function that fails returns -1 (or 0 for a pointer) and
// leaves the message for liang_error. Nothing here is reentrant: JavaScript
// runs the engine on one thread.

#include <emscripten/emscripten.h>
#include <malloc.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "WebLanguages.hpp"
#include "languages/Loader.hpp"
#include "liang/Exception.hpp"
#include "liang/Hyphenator.hpp"
#include "liang/Language.hpp"
#include "liang/LanguageTag.hpp"
#include "liang/Text.hpp"

namespace {

using liang::Hyphenator;
using liang::Language;

constexpr int kLanguageCount = static_cast<int>(liang::fromEnum(liang::highestLanguage())) + 1;
constexpr int kFirstCustom = 1000;

std::string lastError;
std::string result;
std::vector<std::uint32_t> points(64);
std::vector<std::optional<Hyphenator>> custom;

std::string_view bytes(const char* data, std::size_t size) { return {data, size}; }

// Runs step, turning an exception into `failed` and its message.
template <class T, class Step>
T guarded(T failed, Step step) {
  try {
    return step();
  } catch (const std::exception& e) {
    lastError = e.what();
  } catch (...) {
    lastError = "unknown failure";
  }
  return failed;
}

const Hyphenator& hyphenatorOf(int handle) {
  if (handle >= 0 && handle < kLanguageCount) {
    return liang::languageHyphenator(static_cast<Language>(handle));
  }
  const auto index = static_cast<std::size_t>(handle - kFirstCustom);
  if (handle < kFirstCustom || index >= custom.size() || !custom[index]) {
    throw liang::Error("no hyphenator has the handle " + std::to_string(handle));
  }
  return *custom[index];
}

// The UTF-16 index of each byte offset of a well-formed UTF-8 word, in
// place: a four-byte sequence is two UTF-16 units, any other one.
void toUtf16(std::string_view word, std::uint32_t* offsets, std::size_t count) {
  std::size_t byte = 0;
  std::uint32_t unit = 0;
  for (std::size_t i = 0; i < count; ++i) {
    for (; byte < offsets[i]; ++byte) {
      const auto b = static_cast<unsigned char>(word[byte]);
      if ((b & 0xC0) != 0x80) unit += b >= 0xF0 ? 2 : 1;
    }
    offsets[i] = unit;
  }
}

// The hyphenator of a handle, with left and right replacing its minima when
// positive (in `changed`, which then holds it).
const Hyphenator& withMinima(int handle, int left, int right, std::optional<Hyphenator>& changed) {
  const Hyphenator& own = hyphenatorOf(handle);
  if (left <= 0 && right <= 0) return own;
  changed.emplace(liang::withMinima(own, left > 0 ? left : liang::hyphenatorLeftMin(own),
                                    right > 0 ? right : liang::hyphenatorRightMin(own)));
  return *changed;
}

// The breaks of a UTF-8 word into `points`, as byte offsets; their count.
std::size_t breaksOf(const Hyphenator& h, std::string_view word) {
  std::array<std::size_t, 64> found;
  const std::size_t count = liang::hyphenationPoints(h, word, std::span<std::size_t>(found));
  if (count > found.size()) {
    const std::vector<std::size_t> all = liang::hyphenationPoints(h, word);
    points.assign(all.begin(), all.end());
    return all.size();
  }
  for (std::size_t i = 0; i < count; ++i) points[i] = static_cast<std::uint32_t>(found[i]);
  return count;
}

}  // namespace

extern "C" {

// The last failure's message, NUL-terminated.
EMSCRIPTEN_KEEPALIVE const char* liang_error() { return lastError.c_str(); }

// One line per language, "affix\tName\tleft\tright\n", NUL-terminated.
EMSCRIPTEN_KEEPALIVE const char* liang_catalogue() {
  static const std::string catalogue = [] {
    std::string lines;
    for (Language x : liang::enumFrom(liang::lowestLanguage())) {
      const liang::internal::LanguageMinima minima = liang::internal::languageMinima(x);
      lines += std::string(liang::languageAffix(x)) + '\t' + liang::show(x) + '\t' +
               std::to_string(minima.left) + '\t' + std::to_string(minima.right) + '\n';
    }
    return lines;
  }();
  return catalogue.c_str();
}

// The ordinal of the language a name gives (languageForName), or of a tag
// (languageForTag) when tagOnly; -1 for none.
EMSCRIPTEN_KEEPALIVE int liang_find(const char* name, std::size_t size, int tagOnly) {
  const std::optional<Language> x = tagOnly != 0 ? liang::languageForTag(bytes(name, size))
                                                 : liang::languageForName(bytes(name, size));
  return x ? static_cast<int>(liang::fromEnum(*x)) : -1;
}

// Makes a language's hyphenator from the parts of its file (characters,
// pattern image, exceptions, licence); 0, or -1.
EMSCRIPTEN_KEEPALIVE int liang_register(int ordinal, const char* chars, std::size_t charsSize,
                                        const char* patterns, std::size_t patternsSize,
                                        const char* exceptions, std::size_t exceptionsSize,
                                        const char* licence, std::size_t licenceSize) {
  return guarded(-1, [&] {
    liang::web::registerLanguage(liang::toEnum(ordinal), bytes(chars, charsSize),
                                 bytes(patterns, patternsSize), bytes(exceptions, exceptionsSize),
                                 bytes(licence, licenceSize));
    return 0;
  });
}

// A hyphenator of a registered language whose exceptions also hold the
// given ones (one per line, hyphens at the breaks); its handle, or -1.
EMSCRIPTEN_KEEPALIVE int liang_with_exceptions(int ordinal, const char* entries, std::size_t size) {
  return guarded(-1, [&] {
    const liang::web::LanguageParts& parts = liang::web::languageParts(liang::toEnum(ordinal));
    const liang::Exceptions exceptions =
        liang::replaceExceptions(liang::parseExceptions(bytes(entries, size)), parts.exceptions);
    const Hyphenator& h = liang::languageHyphenator(liang::toEnum(ordinal));
    Hyphenator made(parts.chars, parts.patterns,
                    std::make_shared<const liang::Deferred<liang::Exceptions>>(exceptions),
                    liang::hyphenatorLeftMin(h), liang::hyphenatorRightMin(h));
    for (std::size_t i = 0; i < custom.size(); ++i) {
      if (!custom[i]) {
        custom[i].emplace(made);
        return kFirstCustom + static_cast<int>(i);
      }
    }
    custom.emplace_back(made);
    return kFirstCustom + static_cast<int>(custom.size() - 1);
  });
}

// Frees a handle of liang_with_exceptions.
EMSCRIPTEN_KEEPALIVE void liang_release(int handle) {
  const auto index = static_cast<std::size_t>(handle - kFirstCustom);
  if (handle >= kFirstCustom && index < custom.size()) custom[index].reset();
}

// The breaks of a UTF-8 word as UTF-16 indices into liang_points(); their
// count, or -1. left and right replace the minima when positive.
EMSCRIPTEN_KEEPALIVE int liang_positions(int handle, const char* word, std::size_t size, int left,
                                         int right) {
  return guarded(-1, [&] {
    const std::string_view text = bytes(word, size);
    std::optional<Hyphenator> changed;
    const std::size_t count = breaksOf(withMinima(handle, left, right, changed), text);
    toUtf16(text, points.data(), count);
    return static_cast<int>(count);
  });
}

// Builds ahead of time what the hyphenator would build on first use and
// after many words (its full pattern index); 0, or -1.
EMSCRIPTEN_KEEPALIVE int liang_prepare(int handle) {
  return guarded(-1, [&] {
    liang::prepare(hyphenatorOf(handle));
    return 0;
  });
}

// Where liang_positions leaves its answer.
EMSCRIPTEN_KEEPALIVE const std::uint32_t* liang_points() { return points.data(); }

// The flags of liang_insert.
enum : int { kMarkup = 1, kNoCapitalized = 2, kNoAllCaps = 4, kMixedCase = 8 };

// Running text with hyphens (insertHyphens with TextOptions); the answer is
// at liang_result() for liang_result_size() bytes. 0, or -1.
EMSCRIPTEN_KEEPALIVE int liang_insert(int handle, const char* text, std::size_t size,
                                      const char* hyphen, std::size_t hyphenSize, int flags,
                                      int minWord, int left, int right) {
  return guarded(-1, [&] {
    liang::TextOptions options;
    options.hyphen.assign(hyphen, hyphenSize);
    options.markup = (flags & kMarkup) != 0;
    options.capitalized = (flags & kNoCapitalized) == 0;
    options.allCaps = (flags & kNoAllCaps) == 0;
    options.mixedCase = (flags & kMixedCase) != 0;
    options.minWordLength = static_cast<std::size_t>(minWord < 0 ? 0 : minWord);
    options.leftMin = left;
    options.rightMin = right;
    result = liang::insertHyphens(hyphenatorOf(handle), bytes(text, size), options);
    return 0;
  });
}

EMSCRIPTEN_KEEPALIVE const char* liang_result() { return result.data(); }
EMSCRIPTEN_KEEPALIVE std::size_t liang_result_size() { return result.size(); }

// Drops the last answer's storage (a long text's can be large).
EMSCRIPTEN_KEEPALIVE void liang_result_clear() { std::string().swap(result); }

// Bytes of the wasm heap in use by malloc, for the tests that check that
// nothing leaks.
EMSCRIPTEN_KEEPALIVE std::size_t liang_heap_used() {
  return static_cast<std::size_t>(mallinfo().uordblks);
}

}  // extern "C"
