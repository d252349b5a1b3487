// The C interface (liang.h): each function checks the pointers it is given,
// calls the C++ function it mirrors, and turns any exception into a failure
// value and this thread's last error. Nothing here hyphenates on its own, so
// the C results are the C++ results by construction.
#include "liang/liang.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <exception>
#include <functional>
#include <memory>
#include <new>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "c/CHandles.hpp"
#include "core/PatternNodes.hpp"
#include "core/Utf8.hpp"
#include "liang/Deferred.hpp"
#include "liang/Exception.hpp"
#include "liang/Hyphenator.hpp"
#include "liang/Language.hpp"
#include "liang/LanguageTag.hpp"
#include "liang/Pattern.hpp"
#include "liang/Text.hpp"

namespace {

constexpr std::size_t kLanguageCount = 73;
constexpr const char* kSoftHyphen = "\xC2\xAD";

// This thread's last failure. The message is kept in a string; if storing it
// fails for want of memory, a fixed text stands in, so recording a failure
// never fails itself.
thread_local std::string lastErrorText;
thread_local const char* lastError = "";

void setLastError(const char* message) noexcept {
  try {
    lastErrorText = message;
    lastError = lastErrorText.c_str();
  } catch (...) {
    lastError = "std::bad_alloc";
  }
}

// Runs `body` and gives its result, or records the exception it threw and
// gives `failure`: the one place where C++ failures stop.
template <class Body, class Result>
Result guarded(Body&& body, Result failure) noexcept {
  try {
    return body();
  } catch (const std::exception& e) {
    setLastError(e.what());
  } catch (...) {
    setLastError("unknown failure");
  }
  return failure;
}

// A misuse of the C interface: records `message` and gives `failure`.
template <class Result>
Result misuse(const char* message, Result failure) noexcept {
  setLastError(message);
  return failure;
}

// The snprintf convention: as much of `text` as fits with its NUL, and the
// length of all of it.
std::ptrdiff_t copyOut(const std::string& text, char* out, std::size_t capacity) noexcept {
  if (capacity > 0) {
    const std::size_t copied = std::min(text.size(), capacity - 1);
    std::memcpy(out, text.data(), copied);
    out[copied] = '\0';
  }
  return static_cast<std::ptrdiff_t>(text.size());
}

std::string_view hyphenOrDefault(const char* hyphen) noexcept {
  return hyphen != nullptr ? std::string_view(hyphen) : std::string_view(kSoftHyphen);
}

liang::TextOptions toTextOptions(const liang_text_options* options) {
  liang::TextOptions converted;
  if (options == nullptr) return converted;
  converted.hyphen = hyphenOrDefault(options->hyphen);
  converted.markup = options->markup != 0;
  converted.minWordLength = options->min_word_length;
  converted.leftMin = options->left_min;
  converted.rightMin = options->right_min;
  converted.capitalized = options->capitalized != 0;
  converted.allCaps = options->all_caps != 0;
  converted.mixedCase = options->mixed_case != 0;
  return converted;
}

// Runs a stream step that appends to the stream's ready output; when it
// fails, whatever it appended is taken back, so a failed call makes no
// output ready.
template <class Step>
void settleInto(liang_text_stream& stream, Step step) {
  const std::size_t before = stream.ready.size();
  try {
    step(stream.ready);
  } catch (...) {
    stream.ready.resize(before);
    throw;
  }
}

// The handles of the 73 shared hyphenators, each made on its first use (made
// again by the next use when memory ran out) and,
// like the hyphenators themselves, never destroyed: a caller may hold one
// until the process ends, in the destructors of its own static objects too.
const liang::Deferred<liang_hyphenator>* sharedHandles() {
  static const liang::Deferred<liang_hyphenator>* const handles = [] {
    std::allocator<liang::Deferred<liang_hyphenator>> allocator;
    liang::Deferred<liang_hyphenator>* made = allocator.allocate(kLanguageCount);
    for (std::size_t ordinal = 0; ordinal < kLanguageCount; ++ordinal) {
      std::construct_at(made + ordinal, liang::internal::RetryOutOfMemory(),
                        std::function<liang_hyphenator()>([ordinal] {
                          const auto x = static_cast<liang::Language>(ordinal);
                          return liang_hyphenator{liang::languageHyphenator(x), true};
                        }));
    }
    return made;
  }();
  return handles;
}

// The names and affixes as NUL-terminated strings, made once and kept.
struct LanguageStrings {
  std::array<std::string, kLanguageCount> names;
  std::array<std::string, kLanguageCount> affixes;
};

const LanguageStrings& languageStrings() {
  static const LanguageStrings* const strings = [] {
    auto made = std::make_unique<LanguageStrings>();  // freed if memory runs out
    for (std::size_t ordinal = 0; ordinal < kLanguageCount; ++ordinal) {
      const auto x = static_cast<liang::Language>(ordinal);
      made->names[ordinal] = liang::show(x);
      made->affixes[ordinal] = std::string(liang::languageAffix(x));
    }
    return made.release();
  }();
  return *strings;
}

}  // namespace

static_assert(liang::fromEnum(liang::highestLanguage()) + 1 == kLanguageCount);

extern "C" {

const liang_hyphenator* liang_language(const char* name) {
  if (name == nullptr) return misuse("liang_language: the name is NULL", nullptr);
  return guarded(
      [&]() -> const liang_hyphenator* {
        const std::optional<liang::Language> x = liang::languageForName(name);
        if (!x) {
          setLastError(
              ("liang_language: no language is named \"" + std::string(name) + "\"").c_str());
          return nullptr;
        }
        return &sharedHandles()[static_cast<std::size_t>(liang::fromEnum(*x))].get();
      },
      static_cast<const liang_hyphenator*>(nullptr));
}

liang_hyphenator* liang_new(const char* patterns, size_t patterns_len, const char* exceptions,
                            size_t exceptions_len, const liang_hyphenator* fold_as,
                            int64_t left_min, int64_t right_min) {
  if (patterns == nullptr) return misuse("liang_new: the patterns are NULL", nullptr);
  if (exceptions == nullptr) return misuse("liang_new: the exceptions are NULL", nullptr);
  return guarded(
      [&] {
        liang::CharFold fold =
            fold_as != nullptr ? liang::hyphenatorChars(fold_as->hyphenator) : liang::CharFold();
        liang::Patterns trie =
            liang::internal::parsePatternsUtf8(std::string(patterns, patterns_len));
        liang::Exceptions dictionary = liang::parseExceptions(
            liang::internal::decodeUtf8(std::string_view(exceptions, exceptions_len)));
        return new liang_hyphenator{liang::Hyphenator(std::move(fold), std::move(trie),
                                                      std::move(dictionary), left_min, right_min),
                                    false};
      },
      static_cast<liang_hyphenator*>(nullptr));
}

void liang_free(liang_hyphenator* h) {
  if (h == nullptr || h->shared) return;
  delete h;
}

liang_hyphenator* liang_with_minima(const liang_hyphenator* h, int64_t left_min,
                                    int64_t right_min) {
  if (h == nullptr) return misuse("liang_with_minima: the hyphenator is NULL", nullptr);
  return guarded(
      [&] {
        return new liang_hyphenator{liang::withMinima(h->hyphenator, left_min, right_min), false};
      },
      static_cast<liang_hyphenator*>(nullptr));
}

int liang_prepare(const liang_hyphenator* h) {
  if (h == nullptr) return misuse("liang_prepare: the hyphenator is NULL", -1);
  return guarded(
      [&] {
        liang::prepare(h->hyphenator);
        return 0;
      },
      -1);
}

ptrdiff_t liang_points(const liang_hyphenator* h, const char* word, size_t len, size_t* out,
                       size_t capacity) {
  if (h == nullptr) [[unlikely]] {
    return misuse("liang_points: the hyphenator is NULL", std::ptrdiff_t{-1});
  }
  if (word == nullptr) [[unlikely]] {
    return misuse("liang_points: the word is NULL", std::ptrdiff_t{-1});
  }
  if (out == nullptr && capacity > 0) [[unlikely]] {
    return misuse("liang_points: out is NULL but capacity is not 0", std::ptrdiff_t{-1});
  }
  return guarded(
      [&] {
        return static_cast<std::ptrdiff_t>(liang::hyphenationPoints(
            h->hyphenator, std::string_view(word, len), std::span<std::size_t>(out, capacity)));
      },
      std::ptrdiff_t{-1});
}

ptrdiff_t liang_hyphenate(const liang_hyphenator* h, const char* word, size_t len,
                          const char* hyphen, char* out, size_t capacity) {
  if (h == nullptr) return misuse("liang_hyphenate: the hyphenator is NULL", std::ptrdiff_t{-1});
  if (word == nullptr) return misuse("liang_hyphenate: the word is NULL", std::ptrdiff_t{-1});
  if (out == nullptr && capacity > 0) {
    return misuse("liang_hyphenate: out is NULL but capacity is not 0", std::ptrdiff_t{-1});
  }
  return guarded(
      [&] {
        const std::string_view bytes(word, len);
        const std::string_view mark = hyphenOrDefault(hyphen);
        const std::vector<std::size_t> points = liang::hyphenationPoints(h->hyphenator, bytes);
        std::string joined;
        joined.reserve(len + points.size() * mark.size());
        std::size_t pieceStart = 0;
        for (const std::size_t point : points) {
          joined.append(bytes.substr(pieceStart, point - pieceStart)).append(mark);
          pieceStart = point;
        }
        joined.append(bytes.substr(pieceStart));
        return copyOut(joined, out, capacity);
      },
      std::ptrdiff_t{-1});
}

ptrdiff_t liang_insert_hyphens(const liang_hyphenator* h, const char* text, size_t len,
                               const char* hyphen, char* out, size_t capacity) {
  if (h == nullptr) {
    return misuse("liang_insert_hyphens: the hyphenator is NULL", std::ptrdiff_t{-1});
  }
  if (text == nullptr) return misuse("liang_insert_hyphens: the text is NULL", std::ptrdiff_t{-1});
  if (out == nullptr && capacity > 0) {
    return misuse("liang_insert_hyphens: out is NULL but capacity is not 0", std::ptrdiff_t{-1});
  }
  return guarded(
      [&] {
        return copyOut(liang::insertHyphens(h->hyphenator, std::string_view(text, len),
                                            hyphenOrDefault(hyphen)),
                       out, capacity);
      },
      std::ptrdiff_t{-1});
}

void liang_text_options_init(liang_text_options* options) {
  if (options == nullptr) return;
  const liang::TextOptions defaults;
  options->hyphen = nullptr;  // U+00AD, the default hyphen
  options->markup = defaults.markup ? 1 : 0;
  options->min_word_length = defaults.minWordLength;
  options->left_min = defaults.leftMin;
  options->right_min = defaults.rightMin;
  options->capitalized = defaults.capitalized ? 1 : 0;
  options->all_caps = defaults.allCaps ? 1 : 0;
  options->mixed_case = defaults.mixedCase ? 1 : 0;
}

ptrdiff_t liang_insert_hyphens_with(const liang_hyphenator* h, const char* text, size_t len,
                                    const liang_text_options* options, char* out, size_t capacity) {
  if (h == nullptr) {
    return misuse("liang_insert_hyphens_with: the hyphenator is NULL", std::ptrdiff_t{-1});
  }
  if (text == nullptr) {
    return misuse("liang_insert_hyphens_with: the text is NULL", std::ptrdiff_t{-1});
  }
  if (out == nullptr && capacity > 0) {
    return misuse("liang_insert_hyphens_with: out is NULL but capacity is not 0",
                  std::ptrdiff_t{-1});
  }
  return guarded(
      [&] {
        return copyOut(liang::insertHyphens(h->hyphenator, std::string_view(text, len),
                                            toTextOptions(options)),
                       out, capacity);
      },
      std::ptrdiff_t{-1});
}

liang_text_stream* liang_text_stream_new(const liang_hyphenator* h,
                                         const liang_text_options* options) {
  if (h == nullptr) return misuse("liang_text_stream_new: the hyphenator is NULL", nullptr);
  return guarded(
      [&] {
        return new liang_text_stream{
            liang::TextStream(h->hyphenator, toTextOptions(options)), {}, 0};
      },
      static_cast<liang_text_stream*>(nullptr));
}

void liang_text_stream_free(liang_text_stream* stream) { delete stream; }

ptrdiff_t liang_text_stream_feed(liang_text_stream* stream, const char* chunk, size_t len) {
  if (stream == nullptr) {
    return misuse("liang_text_stream_feed: the stream is NULL", std::ptrdiff_t{-1});
  }
  if (chunk == nullptr) {
    return misuse("liang_text_stream_feed: the chunk is NULL", std::ptrdiff_t{-1});
  }
  return guarded(
      [&] {
        settleInto(*stream, [&](std::string& out) {
          stream->stream.feed(std::string_view(chunk, len), out);
        });
        return static_cast<std::ptrdiff_t>(stream->ready.size() - stream->readFrom);
      },
      std::ptrdiff_t{-1});
}

ptrdiff_t liang_text_stream_finish(liang_text_stream* stream) {
  if (stream == nullptr) {
    return misuse("liang_text_stream_finish: the stream is NULL", std::ptrdiff_t{-1});
  }
  return guarded(
      [&] {
        settleInto(*stream, [&](std::string& out) { stream->stream.finish(out); });
        return static_cast<std::ptrdiff_t>(stream->ready.size() - stream->readFrom);
      },
      std::ptrdiff_t{-1});
}

ptrdiff_t liang_text_stream_read(liang_text_stream* stream, char* out, size_t capacity) {
  if (stream == nullptr) {
    return misuse("liang_text_stream_read: the stream is NULL", std::ptrdiff_t{-1});
  }
  if (out == nullptr && capacity > 0) {
    return misuse("liang_text_stream_read: out is NULL but capacity is not 0", std::ptrdiff_t{-1});
  }
  std::string& ready = stream->ready;
  const std::size_t moved = std::min(capacity, ready.size() - stream->readFrom);
  if (moved > 0) std::memcpy(out, ready.data() + stream->readFrom, moved);
  stream->readFrom += moved;
  // Drop what was read once it is at least half the buffer, so the buffer
  // holds no more than twice the unread output and moving costs O(1) a byte.
  if (stream->readFrom == ready.size()) {
    ready.clear();
    stream->readFrom = 0;
  } else if (stream->readFrom >= ready.size() / 2) {
    ready.erase(0, stream->readFrom);
    stream->readFrom = 0;
  }
  return static_cast<std::ptrdiff_t>(moved);
}

const char* liang_last_error(void) { return lastError; }

size_t liang_language_count(void) { return kLanguageCount; }

const char* liang_language_affix(size_t i) {
  if (i >= kLanguageCount) return nullptr;
  return guarded([&] { return languageStrings().affixes[i].c_str(); },
                 static_cast<const char*>(nullptr));
}

const char* liang_language_name(size_t i) {
  if (i >= kLanguageCount) return nullptr;
  return guarded([&] { return languageStrings().names[i].c_str(); },
                 static_cast<const char*>(nullptr));
}

}  // extern "C"
