// The C interface against the C++ functions it mirrors.
//
// Input: a selector byte (one of the 73 shared hyphenators, or one made with
// liang_new of the patterns and exceptions in the input, folding as a shared
// one or not at all), a capacity byte, a chunking seed byte, the left and
// right minimum of a made hyphenator, then the hyphen, a NUL, the patterns,
// a NUL, the exceptions, a NUL, and the text.
//
// Invariants:
//  - liang_points gives the count of hyphenationPoints, writes exactly the
//    first `capacity` of them (no byte past them), and with room for all
//    gives them all. The text is also taken as one word.
//  - liang_hyphenate gives the pieces of hyphenate joined by the hyphen.
//  - liang_insert_hyphens and liang_insert_hyphens_with (the hyphen option)
//    give insertHyphens, in the snprintf convention at the capacity: the
//    length of all of it, as much as fits and a NUL, no byte past them.
//  - The C stream, fed and read in chunks of any size, gives the same text.
//  - Where the C++ function fails, the C one returns -1 and the last error
//    is its message.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.hpp"
#include "liang/liang.h"
#include "liang/liang.hpp"

namespace {

constexpr std::size_t kMaxInputBytes = 6144;
constexpr std::size_t kMaxHyphenBytes = 8;
constexpr char kUnwritten = '\x7F';

// The C++ result, or the message of its failure.
struct Outcome {
  std::optional<std::string> text;
  std::string failure;
};

template <class Call>
Outcome outcomeOf(Call call) {
  try {
    return {call(), {}};
  } catch (const std::exception& e) {
    return {std::nullopt, e.what()};
  }
}

// A C text function called at `capacity` agrees with `expected`.
template <class CCall>
void checkText(const Outcome& expected, std::size_t capacity, CCall call) {
  std::vector<char> out(capacity + 8, kUnwritten);
  const std::ptrdiff_t length = call(capacity == 0 ? nullptr : out.data(), capacity);
  if (!expected.text) {
    FUZZ_CHECK(length == -1);
    FUZZ_CHECK(expected.failure == liang_last_error());
    return;
  }
  const std::string& text = *expected.text;
  FUZZ_CHECK(length == static_cast<std::ptrdiff_t>(text.size()));
  const std::size_t written = capacity == 0 ? 0 : std::min(text.size(), capacity - 1);
  FUZZ_CHECK(std::memcmp(out.data(), text.data(), written) == 0);
  if (capacity > 0) FUZZ_CHECK(out[written] == '\0');
  const std::size_t untouched = capacity == 0 ? 0 : written + 1;
  FUZZ_CHECK(
      std::all_of(out.begin() + untouched, out.end(), [](char c) { return c == kUnwritten; }));
}

void checkPoints(const liang::Hyphenator& h, const liang_hyphenator* handle, std::string_view word,
                 std::size_t capacity) {
  std::optional<std::vector<std::size_t>> expected;
  std::string failure;
  try {
    expected = liang::hyphenationPoints(h, word);
  } catch (const std::exception& e) {
    failure = e.what();
  }
  std::vector<std::size_t> out(capacity + 2, SIZE_MAX);
  const std::ptrdiff_t count = liang_points(handle, word.data(), word.size(),
                                            capacity == 0 ? nullptr : out.data(), capacity);
  if (!expected) {
    FUZZ_CHECK(count == -1 && failure == liang_last_error());
    return;
  }
  FUZZ_CHECK(count == static_cast<std::ptrdiff_t>(expected->size()));
  const std::size_t written = std::min(capacity, expected->size());
  FUZZ_CHECK(std::equal(out.begin(), out.begin() + written, expected->begin()));
  FUZZ_CHECK(
      std::all_of(out.begin() + written, out.end(), [](std::size_t p) { return p == SIZE_MAX; }));
  std::vector<std::size_t> all(expected->size());
  FUZZ_CHECK(liang_points(handle, word.data(), word.size(), all.data(), all.size()) == count);
  FUZZ_CHECK(all == *expected);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxInputBytes) return 0;
  fuzz::Input input(data, size);
  const std::uint8_t selector = input.byte();
  const std::size_t capacity = input.byte();
  std::uint32_t chunking = input.byte() * 2654435761u + 1;
  const std::int64_t leftMin = input.minimum();
  const std::int64_t rightMin = input.minimum();
  std::string hyphen(input.field());
  if (hyphen.size() > kMaxHyphenBytes) hyphen.resize(kMaxHyphenBytes);
  // Empty fields may have no storage: NULL with length 0 is the empty text.
  const std::string_view patterns = input.field();
  const std::string_view exceptions = input.field();
  const std::string_view text = input.rest();

  // A shared hyphenator, or one made of the input folding as a shared one
  // (or not at all); the C++ twin of a made one is made the C++ way.
  const auto language = static_cast<liang::Language>(selector % 73);
  const bool shared = selector < 146;
  const liang_hyphenator* foldAs =
      selector % 2 == 0 ? liang_language(liang_language_affix(selector % 73)) : nullptr;
  liang_hyphenator* made = shared ? nullptr
                                  : liang_new(patterns.data(), patterns.size(), exceptions.data(),
                                              exceptions.size(), foldAs, leftMin, rightMin);
  const liang_hyphenator* handle =
      shared ? liang_language(liang_language_affix(selector % 73)) : made;
  FUZZ_CHECK(handle != nullptr);
  const liang::Hyphenator twin(
      foldAs != nullptr ? liang::hyphenatorChars(liang::languageHyphenator(language))
                        : liang::CharFold(),
      liang::parsePatterns(liang::internal::decodeUtf8(patterns)),
      liang::parseExceptions(liang::internal::decodeUtf8(exceptions)), leftMin, rightMin);
  const liang::Hyphenator& h = shared ? liang::languageHyphenator(language) : twin;

  // The whole text as one word, and each of its space-separated parts.
  checkPoints(h, handle, text, capacity);
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = std::min(text.find(' ', start), text.size());
    checkPoints(h, handle, text.substr(start, end - start), capacity % 4);
    start = end + 1;
  }

  const Outcome joined = outcomeOf([&] {
    const std::vector<std::string> pieces = liang::hyphenate(h, text);
    std::string result = pieces.front();
    for (std::size_t i = 1; i < pieces.size(); ++i) result.append(hyphen).append(pieces[i]);
    return result;
  });
  checkText(joined, capacity, [&](char* out, std::size_t room) {
    return liang_hyphenate(handle, text.data(), text.size(), hyphen.c_str(), out, room);
  });

  const Outcome inserted = outcomeOf([&] { return liang::insertHyphens(h, text, hyphen); });
  checkText(inserted, capacity, [&](char* out, std::size_t room) {
    return liang_insert_hyphens(handle, text.data(), text.size(), hyphen.c_str(), out, room);
  });
  liang_text_options options;
  liang_text_options_init(&options);
  options.hyphen = hyphen.c_str();
  const Outcome insertedWith = outcomeOf([&] {
    liang::TextOptions cxxOptions;
    cxxOptions.hyphen = hyphen;
    return liang::insertHyphens(h, text, cxxOptions);
  });
  checkText(insertedWith, capacity, [&](char* out, std::size_t room) {
    return liang_insert_hyphens_with(handle, text.data(), text.size(), &options, out, room);
  });

  // The stream: chunks of 1 to 64 bytes in, reads of 1 to 64 bytes out.
  if (insertedWith.text) {
    liang_text_stream* stream = liang_text_stream_new(handle, &options);
    FUZZ_CHECK(stream != nullptr);
    std::string streamed;
    char buffer[64];
    std::size_t at = 0;
    const auto next = [&] {
      chunking = chunking * 1103515245u + 12345u;
      return 1 + (chunking >> 16) % 64;
    };
    while (at < text.size()) {
      const std::size_t length = std::min<std::size_t>(next(), text.size() - at);
      FUZZ_CHECK(liang_text_stream_feed(stream, text.data() + at, length) >= 0);
      at += length;
      const std::ptrdiff_t moved = liang_text_stream_read(stream, buffer, next());
      FUZZ_CHECK(moved >= 0);
      streamed.append(buffer, static_cast<std::size_t>(moved));
    }
    const std::ptrdiff_t ready = liang_text_stream_finish(stream);
    FUZZ_CHECK(ready >= 0 &&
               streamed.size() + static_cast<std::size_t>(ready) == insertedWith.text->size());
    for (std::ptrdiff_t moved; (moved = liang_text_stream_read(stream, buffer, next())) > 0;) {
      streamed.append(buffer, static_cast<std::size_t>(moved));
    }
    FUZZ_CHECK(streamed == *insertedWith.text);
    liang_text_stream_free(stream);
  }

  liang_free(made);
  return 0;
}
