// The WebAssembly engine's interface to JavaScript (js/lib/index.js): plain
// C functions over numbers and strings in the wasm heap (a word as UTF-16
// units, as JavaScript holds it; text as UTF-8), so that a call costs no
// more than the copy of its word in and of its answer out.
//
// Handles: a language's hyphenator is its ordinal (0..72); a hyphenator with
// extra exceptions gets a handle of its own (kFirstCustom and up) until
// liang_release. A function that fails returns -1 (or 0 for a pointer) and
// leaves the message for liang_error. Nothing here is reentrant: JavaScript
// runs the engine on one thread.

#include <emscripten/emscripten.h>
#include <malloc.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "WebLanguages.hpp"
#include "core/BreakPlan.hpp"
#include "core/Breaks.hpp"
#include "core/Scratch.hpp"
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

// The hyphenators of the languages registered so far, by ordinal: found
// once, since a word's call should not pay for the registry's lookup.
std::array<const Hyphenator*, kLanguageCount> languages{};

const Hyphenator& hyphenatorOf(int handle) {
  if (handle >= 0 && handle < kLanguageCount) {
    const Hyphenator*& h = languages[static_cast<std::size_t>(handle)];
    if (h == nullptr) h = &liang::languageHyphenator(static_cast<Language>(handle));
    return *h;
  }
  const auto index = static_cast<std::size_t>(handle - kFirstCustom);
  if (handle < kFirstCustom || index >= custom.size() || !custom[index]) {
    throw liang::Error("no hyphenator has the handle " + std::to_string(handle));
  }
  return *custom[index];
}

// The last hyphenator made with minima of the caller's (withMinima), kept
// for the calls after it, which mostly ask for the same: made anew, it
// would build its plan (a table of every letter) for every word.
struct WithMinima {
  int handle = -1, left = 0, right = 0;
  std::optional<Hyphenator> hyphenator;
} withMinimaKept;

// The hyphenator of a handle, with left and right replacing its minima when
// positive.
const Hyphenator& withMinima(int handle, int left, int right) {
  const Hyphenator& own = hyphenatorOf(handle);
  if (left <= 0 && right <= 0) return own;
  WithMinima& kept = withMinimaKept;
  if (!kept.hyphenator || kept.handle != handle || kept.left != left || kept.right != right) {
    kept.hyphenator.reset();
    kept.hyphenator.emplace(liang::withMinima(own, left > 0 ? left : liang::hyphenatorLeftMin(own),
                                              right > 0 ? right : liang::hyphenatorRightMin(own)));
    kept.handle = handle;
    kept.left = left;
    kept.right = right;
  }
  return *kept.hyphenator;
}

// Whether a UTF-16 unit is half of a surrogate pair (or a lone half).
bool isSurrogate(char16_t unit) { return (unit & 0xF800) == 0xD800; }

// The breaks of `chars` into `points` (the characters' indices mapped by
// `unitOf`); their count. The span forms of the library do the same in
// two steps, through a buffer of std::size_t.
template <class UnitOf>
std::size_t breaksOfChars(const Hyphenator& h, std::u32string_view chars, UnitOf unitOf) {
  std::uint64_t mask;
  if (liang::internal::planBreaks(h, chars, mask)) {
    std::size_t count = 0;  // at most 64: points holds them
    for (; mask != 0; mask &= mask - 1) {
      points[count++] = unitOf(static_cast<std::size_t>(std::countr_zero(mask)));
    }
    return count;
  }
  liang::internal::ScratchBuffer<std::size_t, 64> found(chars.size());
  const std::size_t count = liang::internal::collectBreaks(h, chars, found.data());
  if (count > points.size()) points.resize(count);
  for (std::size_t i = 0; i < count; ++i) points[i] = unitOf(found.data()[i]);
  return count;
}

// The breaks of a word of UTF-16 units into `points`, as UTF-16 indices;
// their count. The word's characters are its units unless it holds a
// surrogate: then a pair is one character, and a lone half U+FFFD (as
// TextEncoder makes it, so the text layer sees what the UTF-8 forms see).
std::size_t breaksOfUtf16(const Hyphenator& h, std::u16string_view word) {
  const std::size_t n = word.size();
  liang::internal::ScratchBuffer<char32_t, 64> chars(n);
  char32_t* out = chars.data();
  bool paired = false;
  for (std::size_t i = 0; i < n; ++i) {
    out[i] = word[i];
    paired = paired || isSurrogate(word[i]);
  }
  const auto itself = [](std::size_t p) { return static_cast<std::uint32_t>(p); };
  if (!paired) return breaksOfChars(h, {out, n}, itself);
  liang::internal::ScratchBuffer<std::uint32_t, 65> unitOf(n + 1);
  std::size_t length = 0;
  for (std::size_t i = 0; i < n; ++length) {
    unitOf.data()[length] = static_cast<std::uint32_t>(i);
    const char16_t unit = word[i];
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < n && word[i + 1] >= 0xDC00 &&
        word[i + 1] <= 0xDFFF) {
      out[length] = 0x10000 + ((char32_t{unit} - 0xD800) << 10) + (char32_t{word[i + 1]} - 0xDC00);
      i += 2;
    } else {
      out[length] = isSurrogate(unit) ? char32_t{0xFFFD} : char32_t{unit};
      i += 1;
    }
  }
  unitOf.data()[length] = static_cast<std::uint32_t>(n);
  return breaksOfChars(h, {out, length}, [&](std::size_t p) { return unitOf.data()[p]; });
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
  if (withMinimaKept.handle == handle) withMinimaKept = WithMinima();  // the handle may come again
}

// The breaks of a word of `size` UTF-16 units as UTF-16 indices into
// liang_points(); their count, or -1. left and right replace the minima
// when positive.
EMSCRIPTEN_KEEPALIVE int liang_positions(int handle, const char16_t* word, std::size_t size,
                                         int left, int right) {
  return guarded(-1, [&] {
    return static_cast<int>(breaksOfUtf16(withMinima(handle, left, right), {word, size}));
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
enum : int { kMarkup = 1, kNoCapitalized = 2, kNoAllCaps = 4, kMixedCase = 8, kLatin1 = 16 };

// Rewrites the well-formed UTF-8 in `text` as Latin-1, in place, when every
// character is below U+0100 (no byte from 0xC4 on); whether it did. The
// text of a Western language with a soft hyphen is, and Node makes a string
// of Latin-1 bytes some six times faster than one of UTF-8.
bool toLatin1(std::string& text) {
  unsigned char high = 0;
  for (const char c : text) high = std::max(high, static_cast<unsigned char>(c));
  if (high >= 0xC4) return false;
  if (high < 0x80) return true;  // ASCII is both
  // Eight bytes at a time while they are ASCII, which most are.
  char* const data = text.data();
  const std::size_t size = text.size();
  std::size_t to = 0, from = 0;
  while (from < size) {
    std::uint64_t eight;
    if (from + 8 <= size &&
        (std::memcpy(&eight, data + from, 8), (eight & 0x8080808080808080u) == 0)) {
      std::memcpy(data + to, &eight, 8);
      to += 8;
      from += 8;
      continue;
    }
    const auto b = static_cast<unsigned char>(data[from++]);
    data[to++] = b < 0x80 ? static_cast<char>(b)
                          : static_cast<char>(((b & 0x03) << 6) | (data[from++] & 0x3F));
  }
  text.resize(to);
  return true;
}

// Running text with hyphens (insertHyphens with TextOptions); the answer is
// at liang_result() for liang_result_size() bytes: UTF-8, or Latin-1 where
// kLatin1 asks for it and every character is one. 0 (UTF-8), 1 (Latin-1),
// or -1.
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
    return (flags & kLatin1) != 0 && toLatin1(result) ? 1 : 0;
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
