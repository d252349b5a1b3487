// The C text stream against the one-call C function and the C++ one, under
// every running-text option.
//
// Input: a language byte (one of the 73), an options byte (bit 0 markup,
// bit 1 capitalized, bit 2 all_caps, bit 3 mixed_case, bit 4 the default
// hyphen, bit 5 technical), three bytes for min_word_length (0 to 15) and the minima (-1 to
// 7), a seed byte for the sizes of feeds and reads, then the hyphen, a NUL,
// and the text.
//
// Invariants:
//  - liang_insert_hyphens_with gives insertHyphens with the TextOptions the
//    bytes describe, built here field by field; where the C++ call fails
//    (a negative minimum), the C one fails with its message, and so does
//    liang_text_stream_new.
//  - The stream, fed in pieces of any size (empty ones and the whole rest
//    included) and read in pieces of any size (none, or several, between
//    feeds), gives that output: each feed and finish returns the number of
//    bytes settled and not yet read, and what is read is always a prefix of
//    the output. A finished stream takes the same text again and gives the
//    same output.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.hpp"
#include "liang/liang.h"
#include "liang/liang.hpp"

namespace {

constexpr std::size_t kMaxInputBytes = 8192;
constexpr std::size_t kMaxHyphenBytes = 8;

// Sizes of feeds and reads: mostly small, at times empty, at times all that
// is left, from a linear congruential sequence seeded by the input.
class Sizes {
 public:
  explicit Sizes(std::uint8_t seed) : state_(seed * 2654435761u + 1) {}

  std::size_t next(std::size_t rest) {
    state_ = state_ * 1103515245u + 12345u;
    const std::uint32_t r = state_ >> 16;
    switch (r % 8) {
      case 0:
        return 0;
      case 1:
        return rest;
      case 2:
        return std::min<std::size_t>(rest, 1 + (r >> 3) % 1024);
      default:
        return std::min<std::size_t>(rest, 1 + (r >> 3) % 16);
    }
  }

 private:
  std::uint32_t state_;
};

// Reads up to `capacity` bytes from the stream into `streamed`, checking the
// count against what is ready.
void readSome(liang_text_stream* stream, std::size_t capacity, std::size_t& ready,
              std::string& streamed) {
  std::vector<char> buffer(capacity + 1);
  const std::ptrdiff_t moved = liang_text_stream_read(stream, buffer.data(), capacity);
  FUZZ_CHECK(moved >= 0 && static_cast<std::size_t>(moved) == std::min(capacity, ready));
  ready -= static_cast<std::size_t>(moved);
  streamed.append(buffer.data(), static_cast<std::size_t>(moved));
}

// One text through the stream, as `sizes` cuts it; the output read.
std::string streamText(liang_text_stream* stream, std::string_view text, Sizes& sizes,
                       const std::string& expected) {
  std::string streamed;
  std::size_t ready = 0;  // settled and not read
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t length = sizes.next(text.size() - at);
    const char* chunk = length == 0 && sizes.next(2) == 0 ? nullptr : text.data() + at;
    const std::ptrdiff_t nowReady = liang_text_stream_feed(stream, chunk, length);
    FUZZ_CHECK(nowReady >= 0 && static_cast<std::size_t>(nowReady) >= ready);
    ready = static_cast<std::size_t>(nowReady);
    FUZZ_CHECK(streamed.size() + ready <= expected.size());
    at += length;
    for (std::size_t reads = sizes.next(3); reads > 0; --reads) {
      readSome(stream, sizes.next(ready + 2), ready, streamed);
    }
    FUZZ_CHECK(expected.compare(0, streamed.size(), streamed) == 0);
  }
  const std::ptrdiff_t finished = liang_text_stream_finish(stream);
  FUZZ_CHECK(finished >= 0 &&
             streamed.size() + static_cast<std::size_t>(finished) == expected.size());
  ready = static_cast<std::size_t>(finished);
  while (ready > 0) readSome(stream, 1 + sizes.next(ready), ready, streamed);
  FUZZ_CHECK(liang_text_stream_read(stream, nullptr, 0) == 0);
  return streamed;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxInputBytes) return 0;
  fuzz::Input input(data, size);
  const auto language = static_cast<liang::Language>(input.byte() % 73);
  const std::uint8_t flags = input.byte();
  const auto minWordLength = static_cast<std::size_t>(input.byte() % 16);
  const std::int64_t leftMin = input.byte() % 9 - 1;
  const std::int64_t rightMin = input.byte() % 9 - 1;
  Sizes sizes(input.byte());
  std::string hyphen(input.field());
  if (hyphen.size() > kMaxHyphenBytes) hyphen.resize(kMaxHyphenBytes);
  const std::string_view text = input.rest();

  liang_text_options options;
  liang_text_options_init(&options);
  options.hyphen = (flags & 16) != 0 ? nullptr : hyphen.c_str();
  options.markup = flags & 1;
  options.capitalized = (flags >> 1) & 1;
  options.all_caps = (flags >> 2) & 1;
  options.mixed_case = (flags >> 3) & 1;
  options.technical = (flags >> 5) & 1;
  options.min_word_length = minWordLength;
  options.left_min = leftMin;
  options.right_min = rightMin;

  liang::TextOptions cxx;
  if ((flags & 16) == 0) cxx.hyphen = hyphen;
  cxx.markup = (flags & 1) != 0;
  cxx.capitalized = (flags & 2) != 0;
  cxx.allCaps = (flags & 4) != 0;
  cxx.mixedCase = (flags & 8) != 0;
  cxx.technical = (flags & 32) != 0;
  cxx.minWordLength = minWordLength;
  cxx.leftMin = leftMin;
  cxx.rightMin = rightMin;

  const liang::Hyphenator& h = liang::languageHyphenator(language);
  const liang_hyphenator* handle =
      liang_language(liang_language_affix(static_cast<std::size_t>(liang::fromEnum(language))));
  FUZZ_CHECK(handle != nullptr);

  std::optional<std::string> expected;
  std::string failure;
  try {
    expected = liang::insertHyphens(h, text, cxx);
  } catch (const std::exception& e) {
    failure = e.what();
  }

  const std::ptrdiff_t length =
      liang_insert_hyphens_with(handle, text.data(), text.size(), &options, nullptr, 0);
  liang_text_stream* stream = liang_text_stream_new(handle, &options);
  if (!expected) {
    FUZZ_CHECK(length == -1 && stream == nullptr && failure == liang_last_error());
    return 0;
  }
  FUZZ_CHECK(length == static_cast<std::ptrdiff_t>(expected->size()));
  std::string once(expected->size() + 1, '\0');
  liang_insert_hyphens_with(handle, text.data(), text.size(), &options, once.data(), once.size());
  once.pop_back();
  FUZZ_CHECK(once == *expected);

  FUZZ_CHECK(stream != nullptr);
  // The options were copied: changing them now changes nothing.
  options.hyphen = "changed";
  options.markup = !options.markup;
  for (int round = 0; round < 2; ++round) {
    FUZZ_CHECK(streamText(stream, text, sizes, *expected) == *expected);
  }
  liang_text_stream_free(stream);
  return 0;
}
