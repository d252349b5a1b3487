// The character tables of the character files: kept apart from the loader,
// which inflates the embedded files with zlib, so that a build that gets the
// files' text another way (the WebAssembly build of js/) reads the tables
// with the same code.

#include <memory>
#include <string_view>

#include "core/CodePointMap.hpp"
#include "core/Lines.hpp"
#include "languages/Loader.hpp"
#include "liang/Deferred.hpp"

namespace liang::internal {

// A line is a letter followed by its capital form. That form is usually one
// code point, but not always: German "ßSS", Greek "ΐΪ́" (a capital and a
// combining accent), Armenian "ևԵՒ". A per-character fold cannot map a
// sequence, and reading such a line one code point at a time would send 'S'
// to 'ß' and a combining accent to a letter, so it contributes nothing.
CodePointMap parseCharMap(std::u32string_view text) {
  CodePointMap map(CodePointMap::Unset::kItself);
  forEachLine(text, [&map](std::u32string_view line) {
    if (line.size() == 2) map.set(line[1], line[0]);
  });
  return map;
}

CharFold parseChars(std::u32string_view text) {
  return CharFold(std::make_shared<const Deferred<CodePointMap>>(parseCharMap(text)));
}

}  // namespace liang::internal
