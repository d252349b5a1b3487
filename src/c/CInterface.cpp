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
#include <stdexcept>
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

// `message` with every byte that is not part of well-formed UTF-8 written as
// \xHH, so that the last error is UTF-8 whatever bytes a caller's name held.
std::string wellFormed(std::string_view message) {
  std::string out;
  out.reserve(message.size());
  while (!message.empty()) {
    const liang::internal::DecodedChar c = liang::internal::decodeUtf8Char(message);
    const auto lead = static_cast<unsigned char>(message[0]);
    if (lead >= 0x80 && c.length == 1) {
      constexpr char kHex[] = "0123456789ABCDEF";
      out += "\\x";
      out += kHex[lead >> 4];
      out += kHex[lead & 0xF];
    } else {
      out.append(message.substr(0, c.length));
    }
    message.remove_prefix(c.length);
  }
  return out;
}

void setLastError(const char* message) noexcept {
  try {
    lastErrorText = wellFormed(message);
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

// A text given as pointer and length; NULL with length 0 is the empty text
// (a caller's empty std::vector or slice may well have no storage).
std::string_view textOf(const char* bytes, std::size_t length) noexcept {
  return bytes != nullptr ? std::string_view(bytes, length) : std::string_view();
}

// NULL with a length that is not 0: no text at all, a misuse.
bool missingText(const char* bytes, std::size_t length) noexcept {
  return bytes == nullptr && length != 0;
}

// The smallest size of liang_text_options that the library takes: that of
// the first liang.h whose options carried their size. A program built against
// an older liang.h passes the size it knows, and the fields past it (added
// later, at the end) keep their defaults; liang_text_options_init writes only
// the fields within it.
constexpr std::size_t kOldestOptionsSize = sizeof(liang_text_options);

// Whether `options`, of the caller's size, holds `field`.
#define LIANG_OPTIONS_HOLD(options, field) \
  (offsetof(liang_text_options, field) + sizeof((options).field) <= (options).size)

// The names of a list separated by commas, empty ones dropped.
std::vector<std::string> commaList(std::string_view list) {
  std::vector<std::string> names;
  while (!list.empty()) {
    const std::size_t comma = std::min(list.find(','), list.size());
    if (comma != 0) names.emplace_back(list.substr(0, comma));
    list.remove_prefix(std::min(comma + 1, list.size()));
  }
  return names;
}

// The C++ options of the C ones; `function` names the caller in the message
// when the size shows that liang_text_options_init did not fill them.
liang::TextOptions toTextOptions(const liang_text_options* options, const char* function) {
  liang::TextOptions converted;
  if (options == nullptr) return converted;
  if (options->size < kOldestOptionsSize || options->size > sizeof(liang_text_options)) {
    throw std::invalid_argument(std::string(function) + ": the options' size is " +
                                std::to_string(options->size) + ", not one this liang knows (" +
                                std::to_string(kOldestOptionsSize) + " to " +
                                std::to_string(sizeof(liang_text_options)) +
                                "): fill them with liang_text_options_init first");
  }
  // Every field so far is in the oldest size; a field added later is read
  // only when LIANG_OPTIONS_HOLD(*options, field), and keeps its default
  // otherwise.
  converted.hyphen = hyphenOrDefault(options->hyphen);
  converted.markup = options->markup != 0;
  converted.minWordLength = options->min_word_length;
  converted.leftMin = options->left_min;
  converted.rightMin = options->right_min;
  converted.capitalized = options->capitalized != 0;
  converted.allCaps = options->all_caps != 0;
  converted.mixedCase = options->mixed_case != 0;
  converted.technical = options->technical != 0;
  converted.xml = options->xml != 0;
  if (options->skip_elements != nullptr) converted.skipElements = commaList(options->skip_elements);
  if (options->skip_classes != nullptr) converted.skipClasses = commaList(options->skip_classes);
  return converted;
}

// The defaults, those of liang::TextOptions, in the C form.
liang_text_options defaultOptions() noexcept {
  const liang::TextOptions defaults;
  liang_text_options options;
  std::memset(&options, 0, sizeof options);
  options.size = sizeof options;
  options.hyphen = nullptr;  // U+00AD, the default hyphen
  options.markup = defaults.markup ? 1 : 0;
  options.min_word_length = defaults.minWordLength;
  options.left_min = defaults.leftMin;
  options.right_min = defaults.rightMin;
  options.capitalized = defaults.capitalized ? 1 : 0;
  options.all_caps = defaults.allCaps ? 1 : 0;
  options.mixed_case = defaults.mixedCase ? 1 : 0;
  options.technical = defaults.technical ? 1 : 0;
  options.xml = defaults.xml ? 1 : 0;
  options.skip_elements = nullptr;  // defaults.skipElements: none
  options.skip_classes = nullptr;   // defaults.skipClasses
  return options;
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
  if (missingText(patterns, patterns_len)) {
    return misuse("liang_new: the patterns are NULL but their length is not 0", nullptr);
  }
  if (missingText(exceptions, exceptions_len)) {
    return misuse("liang_new: the exceptions are NULL but their length is not 0", nullptr);
  }
  return guarded(
      [&] {
        liang::CharFold fold =
            fold_as != nullptr ? liang::hyphenatorChars(fold_as->hyphenator) : liang::CharFold();
        liang::Patterns trie =
            liang::internal::parsePatternsUtf8(std::string(textOf(patterns, patterns_len)));
        liang::Exceptions dictionary =
            liang::parseExceptions(liang::internal::decodeUtf8(textOf(exceptions, exceptions_len)));
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
  if (missingText(word, len)) [[unlikely]] {
    return misuse("liang_points: the word is NULL but its length is not 0", std::ptrdiff_t{-1});
  }
  if (out == nullptr && capacity > 0) [[unlikely]] {
    return misuse("liang_points: out is NULL but capacity is not 0", std::ptrdiff_t{-1});
  }
  return guarded(
      [&] {
        return static_cast<std::ptrdiff_t>(liang::hyphenationPoints(
            h->hyphenator, textOf(word, len), std::span<std::size_t>(out, capacity)));
      },
      std::ptrdiff_t{-1});
}

ptrdiff_t liang_hyphenate(const liang_hyphenator* h, const char* word, size_t len,
                          const char* hyphen, char* out, size_t capacity) {
  if (h == nullptr) return misuse("liang_hyphenate: the hyphenator is NULL", std::ptrdiff_t{-1});
  if (missingText(word, len)) {
    return misuse("liang_hyphenate: the word is NULL but its length is not 0", std::ptrdiff_t{-1});
  }
  if (out == nullptr && capacity > 0) {
    return misuse("liang_hyphenate: out is NULL but capacity is not 0", std::ptrdiff_t{-1});
  }
  return guarded(
      [&] {
        const std::string_view bytes = textOf(word, len);
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
  if (missingText(text, len)) {
    return misuse("liang_insert_hyphens: the text is NULL but its length is not 0",
                  std::ptrdiff_t{-1});
  }
  if (out == nullptr && capacity > 0) {
    return misuse("liang_insert_hyphens: out is NULL but capacity is not 0", std::ptrdiff_t{-1});
  }
  return guarded(
      [&] {
        return copyOut(
            liang::insertHyphens(h->hyphenator, textOf(text, len), hyphenOrDefault(hyphen)), out,
            capacity);
      },
      std::ptrdiff_t{-1});
}

void liang_text_options_init_sized(liang_text_options* options, size_t size) {
  if (options == nullptr) return;
  // The fields within the caller's size, and no byte past it; fields this
  // library does not know (a newer liang.h) are left as they are, and the
  // size, recorded as given, makes the options fail where they are used.
  const liang_text_options defaults = defaultOptions();
  std::memcpy(options, &defaults, std::min(size, sizeof defaults));
  if (size >= sizeof options->size) options->size = size;
}

// In parentheses: liang.h defines a macro of the same name, which passes the
// size of the caller's structure to liang_text_options_init_sized.
void(liang_text_options_init)(liang_text_options* options) {
  liang_text_options_init_sized(options, sizeof *options);
}

ptrdiff_t liang_insert_hyphens_with(const liang_hyphenator* h, const char* text, size_t len,
                                    const liang_text_options* options, char* out, size_t capacity) {
  if (h == nullptr) {
    return misuse("liang_insert_hyphens_with: the hyphenator is NULL", std::ptrdiff_t{-1});
  }
  if (missingText(text, len)) {
    return misuse("liang_insert_hyphens_with: the text is NULL but its length is not 0",
                  std::ptrdiff_t{-1});
  }
  if (out == nullptr && capacity > 0) {
    return misuse("liang_insert_hyphens_with: out is NULL but capacity is not 0",
                  std::ptrdiff_t{-1});
  }
  return guarded(
      [&] {
        return copyOut(liang::insertHyphens(h->hyphenator, textOf(text, len),
                                            toTextOptions(options, "liang_insert_hyphens_with")),
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
            liang::TextStream(h->hyphenator, toTextOptions(options, "liang_text_stream_new")),
            {},
            0};
      },
      static_cast<liang_text_stream*>(nullptr));
}

void liang_text_stream_free(liang_text_stream* stream) { delete stream; }

ptrdiff_t liang_text_stream_feed(liang_text_stream* stream, const char* chunk, size_t len) {
  if (stream == nullptr) {
    return misuse("liang_text_stream_feed: the stream is NULL", std::ptrdiff_t{-1});
  }
  if (missingText(chunk, len)) {
    return misuse("liang_text_stream_feed: the chunk is NULL but its length is not 0",
                  std::ptrdiff_t{-1});
  }
  return guarded(
      [&] {
        settleInto(*stream,
                   [&](std::string& out) { stream->stream.feed(textOf(chunk, len), out); });
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
