// Character-file text -> character table -> folding function, against a map
// built by the line rules as written.
//
// Input: a mode byte, then the text. Mode 0 decodes it as the loader
// decodes a file (lenient UTF-8, so only code points up to U+10FFFF); other
// modes also admit the escape for any char32_t (see fuzz::codePoints), so
// that surrogates and values above U+10FFFF stand as canonical forms and as
// variants.
//
// Invariants: the second code point of a line of exactly two folds to the
// line's first, the last such line deciding (a longer line is a letter and a
// capital form of several code points, which no character fold can map);
// every other code point folds to itself; parsing twice gives the same
// table; the folding function agrees with the table.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "FuzzSupport.hpp"
#include "core/CodePointMap.hpp"
#include "core/Utf8.hpp"
#include "languages/Loader.hpp"

namespace {

constexpr std::size_t kMaxInputBytes = 8192;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxInputBytes) return 0;
  fuzz::Input input(data, size);
  const std::uint8_t mode = input.byte();
  const std::string_view bytes = input.rest();
  const std::u32string text =
      mode == 0 ? liang::internal::decodeUtf8(bytes) : fuzz::codePoints(bytes);

  std::map<char32_t, char32_t> model;
  for (const auto& line : reference::lines(text)) {
    if (line.size() == 2) model[line[1]] = line[0];
  }

  const liang::internal::CodePointMap table = liang::internal::parseCharMap(text);
  const liang::internal::CodePointMap again = liang::internal::parseCharMap(text);
  const liang::CharFold fold = liang::internal::parseChars(text);

  // Every code point of the text, its neighbours (same page, next page),
  // and the edges of the code space.
  std::vector<char32_t> probes = {
      0,      1,      0x7F,    0x80,     0xFF,     0x100,      0xD7FF,     0xD800,     0xDFFF,
      0xE000, 0xFFFF, 0x10000, 0x10FFFF, 0x110000, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFE, 0xFFFFFFFF};
  for (char32_t c : text) {
    probes.push_back(c);
    probes.push_back(c + 1);
    probes.push_back(c - 1);
    probes.push_back(c ^ 0x100);
  }
  for (char32_t c : probes) {
    const auto it = model.find(c);
    const char32_t expected = it == model.end() ? c : it->second;
    FUZZ_CHECK(table(c) == expected);
    FUZZ_CHECK(again(c) == expected);
    FUZZ_CHECK(fold(c) == expected);
  }
  return 0;
}
