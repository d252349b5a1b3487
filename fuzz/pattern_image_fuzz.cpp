// The prebuilt trie's reader on hostile images (core/PatternImage.hpp).
//
// Input: the bytes of an image after its magic (which the target puts in
// front, so that every input reaches the reader's checks).
//
// Invariants: reading either gives a trie or throws liang::Error, and does
// the same again; rendering the image as text gives text that parses to
// that trie; reading through the loader's entry (readPatternFile) agrees.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "FuzzSupport.hpp"
#include "core/PatternImage.hpp"
#include "liang/Exception.hpp"
#include "liang/Pattern.hpp"

namespace {

constexpr std::size_t kMaxInputBytes = 8192;

std::optional<liang::Patterns> read(const std::string& image) {
  try {
    return liang::internal::readPatternImage(image);
  } catch (const liang::Error&) {
    return std::nullopt;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxInputBytes) return 0;
  const std::string image = std::string(liang::internal::kPatternImageMagic) +
                            std::string(reinterpret_cast<const char*>(data), size);
  const std::optional<liang::Patterns> trie = read(image);
  const std::optional<liang::Patterns> again = read(image);
  FUZZ_CHECK(trie.has_value() == again.has_value());
  if (!trie) return 0;
  FUZZ_CHECK(*trie == *again);
  FUZZ_CHECK(liang::parsePatterns(liang::internal::patternImageText(image)) == *trie);
  FUZZ_CHECK(liang::internal::readPatternFile(image) == *trie);
  return 0;
}
