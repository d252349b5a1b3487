// Running text: insertHyphens and the chunked form beneath it.
//
// Input: a selector byte (one of the 73 shared hyphenators, or one made of
// the patterns in the input), a chunking seed byte, the left and right
// minimum of a made hyphenator, then the hyphen, a NUL, the patterns of a
// made hyphenator, a NUL, and the text.
//
// Invariants:
//  - With an empty hyphen the text comes back unchanged, byte for byte.
//  - The result is the text with the hyphen inserted, and nothing else
//    changed, at the breaks that hyphenate gives each word, a word being a
//    maximal run of characters that fold to a letter of the patterns other
//    than ".", decoded leniently as the UTF-8 word interfaces decode.
//  - Fed in chunks, each call settling what it can and the rest carried
//    into the next chunk, the text hyphenates to the same result.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.hpp"
#include "liang/internal/PatternLetters.hpp"
#include "liang/internal/TextStream.hpp"
#include "liang/internal/Utf8.hpp"

namespace {

constexpr std::size_t kMaxInputBytes = 6144;
constexpr std::size_t kMaxHyphenBytes = 8;

// insertHyphens by its definition, one character at a time.
std::string modelInsert(const liang::Hyphenator& h, std::string_view text,
                        std::string_view hyphen) {
  const liang::CharFold& fold = liang::hyphenatorChars(h);
  const liang::Patterns& trie = liang::hyphenatorPatterns(h);
  const auto isWordChar = [&](char32_t c) {
    const char32_t folded = fold(c);
    return folded != U'.' && liang::internal::isPatternLetter(trie, folded);
  };
  std::string out;
  std::size_t at = 0;
  while (at < text.size()) {
    auto decoded = liang::internal::decodeUtf8Char(text.substr(at));
    if (!isWordChar(decoded.codePoint)) {
      out.append(text.substr(at, decoded.length));
      at += decoded.length;
      continue;
    }
    std::u32string word;
    std::vector<std::size_t> offsets;
    while (at < text.size()) {
      decoded = liang::internal::decodeUtf8Char(text.substr(at));
      if (!isWordChar(decoded.codePoint)) break;
      word.push_back(decoded.codePoint);
      offsets.push_back(at);
      at += decoded.length;
    }
    offsets.push_back(at);
    std::size_t pieceStart = offsets.front();
    for (const std::size_t p : liang::hyphenationPoints(h, std::u32string_view(word))) {
      out.append(text.substr(pieceStart, offsets[p] - pieceStart));
      out.append(hyphen);
      pieceStart = offsets[p];
    }
    out.append(text.substr(pieceStart, at - pieceStart));
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxInputBytes) return 0;
  fuzz::Input input(data, size);
  const std::uint8_t selector = input.byte();
  std::uint32_t chunking = input.byte() * 2654435761u + 1;
  const std::int64_t leftMin = input.minimum();
  const std::int64_t rightMin = input.minimum();
  std::string_view hyphen = input.field();
  if (hyphen.size() > kMaxHyphenBytes) hyphen = hyphen.substr(0, kMaxHyphenBytes);
  const std::u32string patternText = fuzz::codePoints(input.field());
  const std::string_view text = input.rest();

  const liang::Hyphenator made(fuzz::chooseFold(selector), liang::parsePatterns(patternText),
                               liang::emptyExceptions(), leftMin, rightMin);
  const liang::Hyphenator& h =
      selector < 146 ? liang::languageHyphenator(static_cast<liang::Language>(selector % 73))
                     : made;

  FUZZ_CHECK(liang::insertHyphens(h, text, "") == text);
  const std::string whole = liang::insertHyphens(h, text, hyphen);
  FUZZ_CHECK(whole == modelInsert(h, text, hyphen));

  // Chunks of 1 to 64 bytes, cut anywhere: inside words and inside UTF-8
  // sequences alike.
  std::string out, pending;
  std::size_t at = 0;
  while (at < text.size()) {
    chunking = chunking * 1103515245u + 12345u;
    const std::size_t length = 1 + (chunking >> 16) % 64;
    pending.append(text.substr(at, length));
    at += std::min(length, text.size() - at);
    const std::size_t settled =
        liang::internal::appendHyphenatedText(h, pending, hyphen, false, out);
    FUZZ_CHECK(settled <= pending.size());
    pending.erase(0, settled);
  }
  FUZZ_CHECK(liang::internal::appendHyphenatedText(h, pending, hyphen, true, out) ==
             pending.size());
  FUZZ_CHECK(out == whole);
  return 0;
}
