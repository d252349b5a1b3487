#include "liang/Text.hpp"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>
#include <utility>

#include "core/BreakPlan.hpp"
#include "core/Breaks.hpp"
#include "core/Scratch.hpp"
#include "core/Utf8.hpp"
#include "text/Elements.hpp"
#include "text/TextScanner.hpp"
#include "text/WordRules.hpp"

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

// Whether `bytes` is a word of ASCII of at most kAsciiWord bytes: a word
// whose characters are its bytes and whose offsets are their indices, with
// no decoding and no offset table. Eight bytes at a time: any byte from
// 0x80 on sets its top bit.
constexpr std::size_t kAsciiWord = 64;
inline bool isShortAscii(std::string_view bytes) noexcept {
  const std::size_t n = bytes.size();
  if (n > kAsciiWord) return false;
  std::uint64_t any = 0;
  std::size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    std::uint64_t eight;
    std::memcpy(&eight, bytes.data() + i, 8);
    any |= eight;
  }
  for (; i < n; ++i) any |= static_cast<unsigned char>(bytes[i]);
  return (any & 0x8080808080808080u) == 0;
}

// The code points of a short ASCII word, for the calls that take them.
struct WidenedAscii {
  explicit WidenedAscii(std::string_view bytes) noexcept : size(bytes.size()) {
    for (std::size_t i = 0; i < size; ++i) chars[i] = static_cast<unsigned char>(bytes[i]);
  }
  std::u32string_view view() const noexcept { return {chars, size}; }
  char32_t chars[kAsciiWord];
  std::size_t size;
};

// The points of `mask` (bit p: a break at character p), each placed by
// `place`, into `out`, as many as fit; returns how many there are.
template <class Place>
std::size_t pointsOfMask(std::uint64_t mask, Place place, std::span<std::size_t> out) {
  // Counted bit by bit, not by std::popcount: without a popcount
  // instruction in the target's baseline, that is a library call costing
  // more than this loop over the few breaks of a word.
  std::size_t count = 0;
  for (; mask != 0; mask &= mask - 1, ++count) {
    if (count < out.size()) out[count] = place(static_cast<std::size_t>(std::countr_zero(mask)));
  }
  return count;
}

// The points of the breaks of `word`, each placed by `place`, into `out`,
// as many as fit; returns how many there are. Allocates nothing for a word
// of up to 64 characters.
template <class Place>
std::size_t pointsInto(const Hyphenator& h, std::u32string_view word, Place place,
                       std::span<std::size_t> out) {
  std::uint64_t mask;
  if (internal::planBreaks(h, word, mask)) return pointsOfMask(mask, place, out);
  internal::ScratchBuffer<std::size_t, 64> breaks(word.size());
  const std::size_t count = internal::collectBreaks(h, word, breaks.data());
  for (std::size_t k = 0; k < count && k < out.size(); ++k) out[k] = place(breaks.data()[k]);
  return count;
}

// Appends `text` with `hyphen` at the `count` byte offsets of `found`.
// Inline: where `out` is the caller's fresh string, the compiler sees it
// empty and appends a short word without a call.
[[gnu::always_inline]] inline void appendWithHyphens(std::string_view text, std::string_view hyphen,
                                                     const std::size_t* found, std::size_t count,
                                                     std::string& out) {
  out.reserve(text.size() + count * hyphen.size());
  std::size_t copied = 0;
  for (std::size_t k = 0; k < count; ++k) {
    out.append(text.substr(copied, found[k] - copied));
    out.append(hyphen);
    copied = found[k];
  }
  out.append(text.substr(copied));
}

// insertHyphensIntoWord of a text that holds an apostrophe, which is no
// letter of `rules`: each run of letters between them a word of its own.
[[gnu::noinline]] bool insertHyphensIntoWords(internal::WordRules& rules, std::string_view text,
                                              std::string_view hyphen, std::string& out) {
  constexpr std::size_t kMostBytes = 64;
  const std::uint8_t* letters = rules.plainLetters();
  char32_t chars[kMostBytes];
  std::size_t found[kMostBytes];
  std::size_t count = 0;
  std::size_t wordBegin = 0;
  std::uint8_t laterCase = 0;
  // The breaks of the word from wordBegin to `end`, as byte offsets.
  const auto addBreaks = [&](std::size_t end) {
    if (wordBegin == end) return;
    const std::size_t added = rules.findLetterBreaks(
        std::u32string_view(chars + wordBegin, end - wordBegin),
        letters[static_cast<unsigned char>(text[wordBegin])], laterCase, found + count);
    for (std::size_t k = count; k < count + added; ++k) found[k] += wordBegin;
    count += added;
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto b = static_cast<unsigned char>(text[i]);
    const std::uint8_t letter = b < 0x80 ? letters[b] : 0;
    if ((letter & internal::WordRules::kPlainLetter) == 0) {
      if (b != '\'' || letter != 0) return false;
      addBreaks(i);
      wordBegin = i + 1;
      laterCase = 0;
      continue;
    }
    if (i > wordBegin) laterCase |= letter;
    chars[i] = b;
  }
  addBreaks(text.size());
  appendWithHyphens(text, hyphen, found, count, out);
  return true;
}

// insertHyphens of a text that is one word of at most 64 ASCII letters and
// nothing else, the commonest short call (a word of a tool's arguments, a
// text node of a page, a caller's single word), or such words joined by
// ASCII apostrophes (a possessive, "o'clock"): what the scanner would do
// with it -- find each word's breaks and put the hyphen at each -- without
// setting a scanner up. An apostrophe that the language spells words with
// is a letter of the word (WordRules::plainLetters), as in the scanner;
// one that is not ends a word and makes no token technical or a URL. False,
// and `out` untouched, for any other text, for minima other than the
// hyphenator's own, and for a hyphen that begins with an apostrophe (which
// the scanner would read as the author's break).
// The hyphen put at each break is `hyphen`, which may differ from options'.
// Inline in both callers: a call of its own costs a one-word text more than
// its loop does.
[[gnu::always_inline]] inline bool insertHyphensIntoWord(const Hyphenator& h, std::string_view text,
                                                         const TextOptions& options,
                                                         std::string_view hyphen,
                                                         std::string& out) {
  constexpr std::size_t kMostLetters = 64;
  if (text.empty() || text.size() > kMostLetters || options.leftMin != 0 || options.rightMin != 0 ||
      hyphen.starts_with('\'')) {
    return false;
  }
  internal::WordRules rules(h, options, internal::WordRules::Borrowed{});
  const std::uint8_t* letters = rules.plainLetters();
  char32_t chars[kMostLetters];
  std::uint8_t laterCase = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto b = static_cast<unsigned char>(text[i]);
    const std::uint8_t letter = b < 0x80 ? letters[b] : 0;
    if ((letter & internal::WordRules::kPlainLetter) == 0) {
      if (b == '\'' && letter == 0) return insertHyphensIntoWords(rules, text, hyphen, out);
      return false;
    }
    if (i > 0) laterCase |= letter;
    chars[i] = b;
  }
  std::size_t found[kMostLetters];
  const std::size_t count =
      rules.findLetterBreaks(std::u32string_view(chars, text.size()),
                             letters[static_cast<unsigned char>(text[0])], laterCase, found);
  appendWithHyphens(text, hyphen, found, count, out);
  return true;
}

// insertHyphens of any text, through the scanner.
std::string scannedText(const Hyphenator& h, std::string_view text, const TextOptions& options) {
  std::string out;
  // Room for the text and a hyphen every few letters; more only for dense text.
  out.reserve(text.size() + text.size() / 4);
  internal::TextScanner(h, options).scan(text, true, out);
  return out;
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
  if (isShortAscii(utf8Word)) {
    std::uint64_t mask;
    if (internal::planBreaks(h, utf8Word, mask)) {
      return pointsOf(mask, [](std::size_t p) { return p; });
    }
    return hyphenationPoints(h, WidenedAscii(utf8Word).view());
  }
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
  const auto itself = [](std::size_t p) { return p; };
  if (isShortAscii(utf8Word)) {
    std::uint64_t mask;
    if (internal::planBreaks(h, utf8Word, mask)) return pointsOfMask(mask, itself, out);
    return pointsInto(h, WidenedAscii(utf8Word).view(), itself, out);
  }
  const DecodedWord word(utf8Word);
  return pointsInto(
      h, word.chars(), [&word](std::size_t p) { return word.byteOffset(p); }, out);
}

// A one-word text needs no options of its own: those of every other
// choice's default, with the hyphen apart.
std::string insertHyphens(const Hyphenator& h, std::string_view utf8Text, std::string_view hyphen) {
  static const TextOptions defaults;
  std::string out;
  if (insertHyphensIntoWord(h, utf8Text, defaults, hyphen, out)) return out;
  TextOptions options;
  options.hyphen = hyphen;
  return scannedText(h, utf8Text, options);
}

std::span<const std::string_view> protectedElements() noexcept {
  return internal::protectedElementNames();
}

std::string insertHyphens(const Hyphenator& h, std::string_view utf8Text,
                          const TextOptions& options) {
  std::string out;
  if (insertHyphensIntoWord(h, utf8Text, options, options.hyphen, out)) return out;
  return scannedText(h, utf8Text, options);
}

namespace {

bool isAsciiLetter(char c) noexcept { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool allAsciiLetters(std::string_view bytes) noexcept {
  return std::all_of(bytes.begin(), bytes.end(), isAsciiLetter);
}

bool isAsciiSpace(char c) noexcept {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

struct TextStream::State {
  // `options` are the setup's, which outlives the state.
  State(const Hyphenator& h, const TextOptions& options) : scanner(h, options) {}
  internal::TextScanner scanner;
  std::string pending;  // the end of the input that the scanner has held back
  // Whether `pending` is the start of a token (after a space, or at the
  // start of the text) of ASCII letters only. More letters cannot settle
  // such a token until it reaches the scanner's longest token: the scanner
  // would read it all and hold it all back again, as it was. So feed takes
  // them without a scan, and a word fed a byte at a time is read once,
  // not once per byte.
  bool heldLetters = false;
  bool afterSpace = true;  // the last byte the scanner took was a space, or none was

  // Scans `input` (pending, or a chunk where it lies); keeps what is held back.
  void scan(std::string_view input, std::string& out) {
    const std::size_t used = scanner.scan(input, false, out);
    if (used > 0) afterSpace = isAsciiSpace(input[used - 1]);
    const std::string_view held = input.substr(used);
    heldLetters = !held.empty() && afterSpace && allAsciiLetters(held);
    if (input.data() == pending.data()) {
      pending.erase(0, used);
    } else {
      pending.assign(held);
    }
  }
  void restart() noexcept {
    scanner.reset();
    pending.clear();
    heldLetters = false;
    afterSpace = true;
  }
};

struct TextStream::Setup {
  Hyphenator hyphenator;
  TextOptions options;
};

TextStream::TextStream(const Hyphenator& h, TextOptions options)
    : setup_(std::make_shared<const Setup>(Setup{h, std::move(options)})),
      state_(std::make_unique<State>(setup_->hyphenator, setup_->options)) {}
// The stream moved from keeps the setup (a shared pointer's copy never
// throws) and makes its state again when next used.
TextStream::TextStream(TextStream&& other) noexcept
    : setup_(other.setup_), state_(std::move(other.state_)) {}
TextStream& TextStream::operator=(TextStream&& other) noexcept {
  if (this != &other) {
    setup_ = other.setup_;
    state_ = std::move(other.state_);
  }
  return *this;
}
TextStream::~TextStream() = default;

TextStream::State& TextStream::state() {
  if (state_ == nullptr) state_ = std::make_unique<State>(setup_->hyphenator, setup_->options);
  return *state_;
}

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
    if (state_ != nullptr) state_->restart();
    throw;
  }
}

void TextStream::feed(std::string_view chunk, std::string& out) {
  State& s = state();
  guarded(out, [&] {
    if (s.pending.empty()) {
      // The common case: the chunk is scanned where it lies, and only what
      // the scanner holds back is copied.
      s.scan(chunk, out);
      return;
    }
    constexpr std::size_t kLongest =
        std::min(internal::TextScanner::kLongestToken, internal::TextScanner::kLongestWord);
    if (s.heldLetters && s.pending.size() + chunk.size() < kLongest && allAsciiLetters(chunk)) {
      s.pending.append(chunk);  // still held back whole: see heldLetters
      return;
    }
    s.pending.append(chunk);
    s.scan(s.pending, out);
  });
}

void TextStream::finish(std::string& out) {
  State& s = state();
  guarded(out, [&] { s.scanner.scan(s.pending, true, out); });
  s.restart();
}

}  // namespace liang
