// Hostile compressed data: inflateGzip, and a hyphenator loaded from a file
// table whose three files are fuzzed.
//
// Input: a language byte, a byte that says for each of the three files
// (character, pattern, exception) whether it is absent, the fuzzed bytes
// as they stand (almost always a damaged stream), or a well-formed gzip
// file of them; then the three fields, each with its two-byte length in
// front (see Input::sized), so that a field can be a real gzip file.
//
// Invariants:
//  - inflateGzip either returns or throws liang::Error, and does the same
//    again for the same bytes; a gzip file made by zlib inflates to exactly
//    what was compressed.
//  - The loaded hyphenator has the language's minima whatever the files.
//    An absent file fails its component with "Could not find <name>", a
//    damaged one with an Error; either failure repeats, with the same
//    message, on every later use, and reaches hyphenate. A readable file
//    gives the component that parsing its decoded text gives -- or, for a
//    pattern file that holds a trie's image (as the build embeds them),
//    stored as it is or gzipped, the trie that reading the image gives.
#include <zlib.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.hpp"
#include "core/PatternImage.hpp"
#include "core/Utf8.hpp"
#include "languages/EmbeddedFiles.hpp"
#include "languages/Loader.hpp"

namespace {

constexpr std::size_t kMaxInputBytes = 6144;

std::string gzip(std::string_view bytes) {
  z_stream stream{};
  // 16 + MAX_WBITS: write the gzip wrapper.
  FUZZ_CHECK(deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 16 + MAX_WBITS, 8,
                          Z_DEFAULT_STRATEGY) == Z_OK);
  std::string out(deflateBound(&stream, bytes.size()) + 32, '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
  stream.avail_in = static_cast<uInt>(bytes.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  FUZZ_CHECK(deflate(&stream, Z_FINISH) == Z_STREAM_END);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return out;
}

// The outcome of one call: its result, or the message of the Error it threw.
template <class F>
auto outcome(F&& f) -> std::pair<std::optional<decltype(f())>, std::string> {
  try {
    return {f(), ""};
  } catch (const liang::Error& e) {
    return {std::nullopt, e.what()};
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxInputBytes) return 0;
  fuzz::Input input(data, size);
  const auto language = static_cast<liang::Language>(input.byte() % 73);
  const std::uint8_t kinds = input.byte();
  std::string_view fields[3];
  for (auto& field : fields) field = input.sized();

  // inflateGzip on the raw bytes, twice, and on a real gzip file of them.
  for (const std::string_view field : fields) {
    const auto first = outcome([&] { return liang::internal::inflateGzip(field); });
    const auto second = outcome([&] { return liang::internal::inflateGzip(field); });
    FUZZ_CHECK(first == second);
    FUZZ_CHECK(liang::internal::inflateGzip(gzip(field)) == field);
  }

  const std::string stem = "hyph-" + std::string(liang::languageAffix(language));
  const std::string names[3] = {stem + ".chr.txt.gz", stem + ".pat.txt.gz", stem + ".hyp.txt.gz"};
  std::string contents[3];
  std::vector<liang::internal::EmbeddedFile> table;
  int kind[3];
  for (int k = 0; k < 3; ++k) {
    kind[k] = (kinds >> (2 * k)) % 3;  // 0 absent, 1 as it stands, 2 gzip of it
    if (kind[k] == 0) continue;
    contents[k] = kind[k] == 1 ? std::string(fields[k]) : gzip(fields[k]);
    table.push_back({names[k], contents[k]});
  }
  std::sort(table.begin(), table.end(),
            [](const auto& a, const auto& b) { return a.name < b.name; });

  const liang::Hyphenator h = liang::internal::loadHyphenator(language, table);
  const liang::Hyphenator& shared = liang::languageHyphenator(language);
  FUZZ_CHECK(liang::hyphenatorLeftMin(h) == liang::hyphenatorLeftMin(shared));
  FUZZ_CHECK(liang::hyphenatorRightMin(h) == liang::hyphenatorRightMin(shared));

  // What each component must be: the parse of its text, or a failure.
  std::optional<std::u32string> texts[3];
  std::string expectedFailure[3];
  for (int k = 0; k < 3; ++k) {
    if (kind[k] == 0) {
      expectedFailure[k] = "Could not find " + names[k];
      continue;
    }
    if (k == 1) continue;  // below
    const auto inflated = outcome([&] { return liang::internal::inflateGzip(contents[k]); });
    if (inflated.first) {
      texts[k] = liang::internal::decodeUtf8(*inflated.first);
    } else {
      expectedFailure[k] = inflated.second;
    }
  }

  std::optional<liang::Patterns> patternsModel;
  if (kind[1] != 0) {
    using liang::internal::isPatternImage;
    using liang::internal::readPatternImage;
    const auto model = outcome([&] {
      if (isPatternImage(contents[1])) return readPatternImage(contents[1]);
      const std::string inflated = liang::internal::inflateGzip(contents[1]);
      return isPatternImage(inflated) ? readPatternImage(inflated)
                                      : liang::parsePatterns(liang::internal::decodeUtf8(inflated));
    });
    patternsModel = model.first;
    if (!model.first) expectedFailure[1] = model.second;
  }

  for (int round = 0; round < 2; ++round) {
    const auto chars = outcome([&] { return liang::hyphenatorChars(h)(U'A'); });
    const auto patterns = outcome([&] { return liang::hyphenatorPatterns(h); });
    const auto exceptions = outcome([&] { return liang::hyphenatorExceptions(h); });
    if (texts[0]) {
      FUZZ_CHECK(chars.first && *chars.first == liang::internal::parseCharMap(*texts[0])(U'A'));
    } else {
      FUZZ_CHECK(!chars.first && chars.second == expectedFailure[0]);
    }
    if (patternsModel) {
      FUZZ_CHECK(patterns.first && *patterns.first == *patternsModel);
    } else {
      FUZZ_CHECK(!patterns.first && patterns.second == expectedFailure[1]);
    }
    if (texts[2]) {
      FUZZ_CHECK(exceptions.first && *exceptions.first == liang::parseExceptions(*texts[2]));
    } else {
      FUZZ_CHECK(!exceptions.first && exceptions.second == expectedFailure[2]);
    }
    // hyphenate folds, then looks in the dictionary, then -- unless the
    // word is there -- in the trie: the first failure on that road is the
    // one it passes on.
    const std::u32string word = U"Abcdefghij";
    const auto pieces = outcome([&] { return liang::hyphenate(h, word); });
    int firstFailure = !texts[0] ? 0 : !texts[2] ? 2 : !patternsModel ? 1 : -1;
    if (firstFailure == 1) {
      const auto charTable = liang::internal::parseCharMap(*texts[0]);
      std::u32string folded = word;
      for (char32_t& c : folded) c = charTable(c);
      if (liang::lookupException(folded, liang::parseExceptions(*texts[2]))) firstFailure = -1;
    }
    if (firstFailure < 0) {
      FUZZ_CHECK(pieces.first && fuzz::concatenate(*pieces.first) == word);
    } else {
      FUZZ_CHECK(!pieces.first && pieces.second == expectedFailure[firstFailure]);
    }
  }
  return 0;
}
