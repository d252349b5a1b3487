#include "liang/Text.hpp"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <memory>
#include <utility>

#include "core/BreakPlan.hpp"
#include "core/Breaks.hpp"
#include "core/Scratch.hpp"
#include "core/Utf8.hpp"
#include "text/Elements.hpp"
#include "text/TextScanner.hpp"

namespace liang {

namespace {

// The points of the breaks in `mask` (bit p: a break at character p), each
// placed by `place`, built straight from the bits. The allocation is most
// of what a word costs beyond finding its breaks, and it is cheapest at one
// size for every word (a size that follows the count costs some 3 ns more
// a word); four points hold the breaks of all but a few words in a
// thousand, and a word with more grows the vector.
template <class Place>
std::vector<std::size_t> pointsOf(std::uint64_t mask, Place place) {
  constexpr std::size_t kUsualMostPoints = 4;
  std::vector<std::size_t> points;
  if (mask != 0) {
    points.reserve(kUsualMostPoints);
    for (; mask != 0; mask &= mask - 1) points.push_back(place(std::countr_zero(mask)));
  }
  return points;
}

// A UTF-8 word decoded (by the rules of internal/Utf8.hpp) together with
// the byte offset of every character, so that breaks counted in characters
// map back to bytes of the input. A character takes at least one byte, so
// a word of up to 64 bytes stays on the stack.
class DecodedWord {
 public:
  explicit DecodedWord(std::string_view bytes)
      : chars_(bytes.size()),
        offsets_(bytes.size() + 1),
        length_(internal::decodeUtf8WithOffsets(bytes, chars_.data(), offsets_.data())) {}

  std::u32string_view chars() const noexcept { return {chars_.data(), length_}; }
  // Where character `index` begins; index == chars().size() gives the end.
  std::size_t byteOffset(std::size_t index) const noexcept { return offsets_.data()[index]; }

 private:
  internal::ScratchBuffer<char32_t, 64> chars_;
  internal::ScratchBuffer<std::size_t, 65> offsets_;
  std::size_t length_;
};

// The points of the breaks of `word`, each placed by `place`, into `out`,
// as many as fit; returns how many there are. Allocates nothing for a word
// of up to 64 characters.
template <class Place>
std::size_t pointsInto(const Hyphenator& h, std::u32string_view word, Place place,
                       std::span<std::size_t> out) {
  std::uint64_t mask;
  if (internal::planBreaks(h, word, mask)) {
    // Counted bit by bit, not by std::popcount: without a popcount
    // instruction in the target's baseline, that is a library call costing
    // more than this loop over the few breaks of a word.
    std::size_t count = 0;
    for (; mask != 0; mask &= mask - 1, ++count) {
      if (count < out.size()) out[count] = place(static_cast<std::size_t>(std::countr_zero(mask)));
    }
    return count;
  }
  internal::ScratchBuffer<std::size_t, 64> breaks(word.size());
  const std::size_t count = internal::collectBreaks(h, word, breaks.data());
  for (std::size_t k = 0; k < count && k < out.size(); ++k) out[k] = place(breaks.data()[k]);
  return count;
}

}  // namespace

std::vector<std::string> hyphenate(const Hyphenator& h, std::string_view utf8Word) {
  const DecodedWord word(utf8Word);
  internal::ScratchBuffer<std::size_t, 64> breaks(word.chars().size());
  const std::size_t count = internal::collectBreaks(h, word.chars(), breaks.data());
  std::vector<std::string> pieces;
  pieces.reserve(count + 1);
  std::size_t pieceStart = 0;
  for (std::size_t k = 0; k < count; ++k) {
    const std::size_t pieceEnd = word.byteOffset(breaks.data()[k]);
    pieces.emplace_back(utf8Word.substr(pieceStart, pieceEnd - pieceStart));
    pieceStart = pieceEnd;
  }
  pieces.emplace_back(utf8Word.substr(pieceStart));
  return pieces;
}

// A word the plan answers goes from its break bits to the result; any other
// has its breaks found into the stack and the result allocated at its size.
std::vector<std::size_t> hyphenationPoints(const Hyphenator& h, std::u32string_view word) {
  std::uint64_t mask;
  if (internal::planBreaks(h, word, mask)) return pointsOf(mask, [](std::size_t p) { return p; });
  internal::ScratchBuffer<std::size_t, 64> breaks(word.size());
  const std::size_t count = internal::collectBreaks(h, word, breaks.data());
  return std::vector<std::size_t>(breaks.data(), breaks.data() + count);
}

std::vector<std::size_t> hyphenationPoints(const Hyphenator& h, std::string_view utf8Word) {
  const DecodedWord word(utf8Word);
  const auto byteOffset = [&word](std::size_t p) { return word.byteOffset(p); };
  std::uint64_t mask;
  if (internal::planBreaks(h, word.chars(), mask)) return pointsOf(mask, byteOffset);
  internal::ScratchBuffer<std::size_t, 64> breaks(word.chars().size());
  const std::size_t count = internal::collectBreaks(h, word.chars(), breaks.data());
  for (std::size_t k = 0; k < count; ++k) breaks.data()[k] = byteOffset(breaks.data()[k]);
  return std::vector<std::size_t>(breaks.data(), breaks.data() + count);
}

std::size_t hyphenationPoints(const Hyphenator& h, std::u32string_view word,
                              std::span<std::size_t> out) {
  return pointsInto(
      h, word, [](std::size_t p) { return p; }, out);
}

std::size_t hyphenationPoints(const Hyphenator& h, std::string_view utf8Word,
                              std::span<std::size_t> out) {
  const DecodedWord word(utf8Word);
  return pointsInto(
      h, word.chars(), [&word](std::size_t p) { return word.byteOffset(p); }, out);
}

std::string insertHyphens(const Hyphenator& h, std::string_view utf8Text, std::string_view hyphen) {
  TextOptions options;
  options.hyphen = hyphen;
  return insertHyphens(h, utf8Text, options);
}

std::span<const std::string_view> protectedElements() noexcept {
  return internal::protectedElementNames();
}

std::string insertHyphens(const Hyphenator& h, std::string_view utf8Text,
                          const TextOptions& options) {
  std::string out;
  // Room for the text and a hyphen every few letters; more only for dense text.
  out.reserve(utf8Text.size() + utf8Text.size() / 4);
  internal::TextScanner(h, options).scan(utf8Text, true, out);
  return out;
}

struct TextStream::State {
  State(const Hyphenator& h, TextOptions options) : scanner(h, std::move(options)) {}
  internal::TextScanner scanner;
  std::string pending;  // the end of the input that the scanner has held back
};

TextStream::TextStream(const Hyphenator& h, TextOptions options)
    : state_(std::make_unique<State>(h, std::move(options))) {}
TextStream::TextStream(TextStream&&) noexcept = default;
TextStream& TextStream::operator=(TextStream&&) noexcept = default;
TextStream::~TextStream() = default;

// A failure (a folding function of the caller's that throws) leaves `out`
// as it was and the stream at the start of a new text: half a scan would
// leave its state and its held-back bytes out of step.
template <class Step>
void TextStream::guarded(std::string& out, Step step) {
  const std::size_t before = out.size();
  try {
    step();
  } catch (...) {
    out.resize(before);
    state_->scanner.reset();
    state_->pending.clear();
    throw;
  }
}

void TextStream::feed(std::string_view chunk, std::string& out) {
  State& s = *state_;
  guarded(out, [&] {
    if (s.pending.empty()) {
      // The common case: the chunk is scanned where it lies, and only what
      // the scanner holds back is copied.
      const std::size_t used = s.scanner.scan(chunk, false, out);
      s.pending.assign(chunk.substr(used));
      return;
    }
    s.pending.append(chunk);
    const std::size_t used = s.scanner.scan(s.pending, false, out);
    s.pending.erase(0, used);
  });
}

void TextStream::finish(std::string& out) {
  State& s = *state_;
  guarded(out, [&] { s.scanner.scan(s.pending, true, out); });
  s.pending.clear();
  s.scanner.reset();
}

}  // namespace liang
