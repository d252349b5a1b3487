// The loader: a language's hyphenator made from the embedded gzip files,
// each component inflated, decoded and parsed on its first use (a pattern
// file that the build stored as a prebuilt trie is read, not parsed).

#include "languages/Loader.hpp"

#include <zlib.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <limits>
#include <memory>
#include <new>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "core/PatternImage.hpp"
#include "core/PatternNodes.hpp"
#include "core/Utf8.hpp"
#include "liang/Deferred.hpp"
#include "liang/Exception.hpp"
#include "liang/Pattern.hpp"
#include "liang/Types.hpp"

namespace liang {
namespace internal {
namespace {

// zlib's failure as the library's: std::bad_alloc when it ran out of
// memory (as Types.hpp promises of every function), else Error with zlib's
// own message.
[[noreturn]] void throwZlibFailure(const z_stream& stream, int status) {
  if (status == Z_MEM_ERROR) throw std::bad_alloc();
  throw Error(stream.msg != nullptr ? stream.msg : zError(status));
}

// zlib's memory from operator new, so that it runs out when the rest of the
// library does (and under the tests' failing allocators).
voidpf zlibAllocate(voidpf, uInt items, uInt size) {
  if (size != 0 && items > std::numeric_limits<std::size_t>::max() / size) return Z_NULL;
  return ::operator new (std::size_t{items} * size, std::nothrow);
}
void zlibFree(voidpf, voidpf memory) { ::operator delete(memory); }

// Ends the inflate stream however inflateGzip leaves.
struct InflateEnd {
  z_stream& stream;
  ~InflateEnd() { inflateEnd(&stream); }
};

// A deferred component that parses the bytes of one file on first use. It
// keeps an Error (a missing or damaged file stays so), never a failure for
// want of memory: the next use tries again.
template <class T>
std::shared_ptr<const Deferred<T>> deferFile(std::string name, std::span<const EmbeddedFile> files,
                                             T (*parse)(std::string)) {
  return std::make_shared<const Deferred<T>>(
      RetryOutOfMemory(), std::function<T()>([name = std::move(name), files, parse] {
        return parse(embeddedFileBytes(name, files));
      }));
}

// Whether `name` is a pattern file's, which alone may hold a trie's image.
bool isPatternFileName(std::string_view name) noexcept { return name.ends_with(".pat.txt.gz"); }

// The deferred trie of the pattern file `name`: an image stored as it is is
// read where it lies, anything else inflated first and then read or parsed.
std::shared_ptr<const Deferred<Patterns>> deferPatterns(std::string name,
                                                        std::span<const EmbeddedFile> files) {
  return std::make_shared<const Deferred<Patterns>>(
      RetryOutOfMemory(), std::function<Patterns()>([name = std::move(name), files] {
        const EmbeddedFile* found = findEmbeddedFile(name, files);
        if (found == nullptr) throw Error("Could not find " + name);
        if (isPatternImage(found->bytes)) return readPatternImage(found->bytes);
        return readPatternFile(inflateGzip(found->bytes));
      }));
}

template <class T, T (*parse)(std::u32string_view)>
T parseDecoded(std::string bytes) {
  return parse(decodeUtf8(bytes));
}

}  // namespace

std::string inflateGzip(std::string_view compressed) {
  z_stream stream{};
  stream.zalloc = zlibAllocate;
  stream.zfree = zlibFree;
  // 16 + MAX_WBITS: expect the gzip wrapper, not zlib's own.
  if (const int status = inflateInit2(&stream, 16 + MAX_WBITS); status != Z_OK) {
    throwZlibFailure(stream, status);
  }
  const InflateEnd end{stream};

  // A gzip file ends with its text's length modulo 2^32. Used only as the
  // first buffer size (one spare byte lets the trailer be read without a
  // second round). Deflate expands at most about 1032-fold, so a trailer
  // that claims more is damaged and is not allowed to size the buffer.
  constexpr std::size_t kLargestExpansion = 1032;
  std::size_t hint = 0;
  if (compressed.size() >= 4) {
    for (std::size_t i = 0; i < 4; ++i) {
      hint |= std::size_t{static_cast<unsigned char>(compressed[compressed.size() - 1 - i])}
              << (8 * (3 - i));
    }
  }
  std::string text(std::min(hint, compressed.size() * kLargestExpansion) + 1, '\0');

  // zlib counts in uInt; the embedded files are far below its limit, but a
  // caller's bytes might not be, so feed them in pieces.
  constexpr std::size_t kLargestPiece = UINT_MAX;
  const auto* input = reinterpret_cast<const Bytef*>(compressed.data());
  std::size_t inputLeft = compressed.size();
  std::size_t produced = 0;
  for (;;) {
    if (stream.avail_in == 0 && inputLeft > 0) {
      stream.next_in = const_cast<Bytef*>(input);  // zlib does not write through it
      stream.avail_in = static_cast<uInt>(std::min(inputLeft, kLargestPiece));
      input += stream.avail_in;
      inputLeft -= stream.avail_in;
    }
    if (produced == text.size()) text.resize(text.size() * 2);
    stream.next_out = reinterpret_cast<Bytef*>(text.data() + produced);
    stream.avail_out = static_cast<uInt>(std::min(text.size() - produced, kLargestPiece));
    const uInt room = stream.avail_out;
    // Z_FINISH once all the input is given: a stream that then completes
    // within the buffer needs no sliding window, which zlib would otherwise
    // allocate and fill after the call.
    const int status = inflate(&stream, inputLeft == 0 ? Z_FINISH : Z_NO_FLUSH);
    produced += room - stream.avail_out;
    if (status == Z_STREAM_END) break;
    // Z_BUF_ERROR with the output full only asks for more room; with input
    // left to give it asks for that. Otherwise the stream ended early.
    if (status == Z_OK) continue;
    if (status == Z_BUF_ERROR && (stream.avail_out == 0 || inputLeft > 0)) continue;
    throwZlibFailure(stream, status);
  }
  text.resize(produced);
  return text;
}

const EmbeddedFile* findEmbeddedFile(std::string_view name,
                                     std::span<const EmbeddedFile> files) noexcept {
  const auto* found = std::lower_bound(
      files.data(), files.data() + files.size(), name,
      [](const EmbeddedFile& file, std::string_view key) { return file.name < key; });
  return found != files.data() + files.size() && found->name == name ? found : nullptr;
}

std::string embeddedFileBytes(std::string_view name, std::span<const EmbeddedFile> files) {
  const EmbeddedFile* found = findEmbeddedFile(name, files);
  if (found == nullptr) throw Error("Could not find " + std::string(name));
  if (isPatternFileName(name) && isPatternImage(found->bytes)) return std::string(found->bytes);
  return inflateGzip(found->bytes);
}

std::u32string embeddedFileText(std::string_view name, std::span<const EmbeddedFile> files) {
  const std::string bytes = embeddedFileBytes(name, files);
  return isPatternFileName(name) && isPatternImage(bytes) ? patternImageText(bytes)
                                                          : decodeUtf8(bytes);
}

std::u32string embeddedFileText(std::string_view name) {
  return embeddedFileText(name, embeddedFiles());
}

Hyphenator loadHyphenator(Language x, std::span<const EmbeddedFile> files) {
  const std::string stem = "hyph-" + std::string(languageAffix(x));
  const LanguageMinima minima = languageMinima(x);
  return Hyphenator(
      CharFold(deferFile<CodePointMap>(stem + ".chr.txt.gz", files,
                                       parseDecoded<CodePointMap, parseCharMap>)),
      deferPatterns(stem + ".pat.txt.gz", files),
      deferFile<Exceptions>(stem + ".hyp.txt.gz", files, parseDecoded<Exceptions, parseExceptions>),
      minima.left, minima.right);
}

}  // namespace internal

Hyphenator loadHyphenator(Language x) {
  return internal::loadHyphenator(x, internal::embeddedFiles());
}

}  // namespace liang
