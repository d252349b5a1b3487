// Running text, plain or marked up, hyphenated as it streams past.
//
// The scanner reads text in pieces of any size and copies every byte to the
// output, adding the hyphen at the breaks of each word; it never changes or
// drops a byte. What it holds back between pieces is only what the next piece
// could change: the word or token that reaches the end of a piece, an
// unfinished UTF-8 sequence, character reference or markup opener, and a
// partial terminator of a comment. Each of these is bounded (kLongestToken),
// so any amount of text passes in bounded memory, and the output does not
// depend on where the pieces were cut.
//
// Rules of plain text, in the order they apply:
//  - A token is a run of characters between whitespace. A token that holds
//    "://", begins with "www." (after opening brackets and quotes) or holds
//    an '@' with a '.' after it is a URL or an e-mail address and is copied
//    unchanged; so is a technical token (TechnicalToken.hpp), unless
//    TextOptions::technical. Only the first kLongestToken bytes of a token
//    are looked at.
//  - In other tokens, words (see WordRules.hpp) get their breaks; a word of
//    more than kLongestWord bytes is copied unchanged.
// Markup adds: tags, comments, CDATA sections, declarations and processing
// instructions are copied unchanged and end the token they interrupt; the
// elements open at each point are followed by ElementStack, by HTML's rules
// or XML's (chosen by the first element); the content of raw-text and
// protected elements is copied unchanged; lang and xml:lang switch the
// language of an element's content; character references are read as the
// characters they name, and &shy; as a soft hyphen.
#ifndef LIANG_TEXT_TEXTSCANNER_HPP_
#define LIANG_TEXT_TEXTSCANNER_HPP_

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "liang/Hyphenator.hpp"
#include "liang/Text.hpp"
#include "text/ElementStack.hpp"
#include "text/LetterBlocks.hpp"
#include "text/Markup.hpp"
#include "text/WordRules.hpp"

namespace liang::internal {

class TextScanner {
 public:
  static constexpr std::size_t kLongestToken = 4096;
  static constexpr std::size_t kLongestWord = 4096;

  // Throws Error when the options' minima are negative. The scanner reads
  // the caller's options, which must outlive it: a call of insertHyphens, or
  // a stream's setup, holds them for as long as its scanner, and a one-word
  // text costs no copy of them.
  TextScanner(const Hyphenator& h, const TextOptions& options);
  TextScanner(const TextScanner&) = delete;
  TextScanner& operator=(const TextScanner&) = delete;

  // Hyphenates a prefix of `input`, appending its output to `out`, and
  // returns the prefix's length: all of `input` with `atEnd`; otherwise it
  // stops where what follows could still change the output, and the caller
  // puts the rest in front of the next piece.
  std::size_t scan(std::string_view input, bool atEnd, std::string& out);

  // Forgets the text scanned so far: the next scan starts a new one.
  void reset() noexcept;

 private:
  enum class Mode : std::uint8_t {
    kText,
    kVerbatim,  // the rest of a token copied as it is: a URL, or text with no language
    kLongWord,  // the rest of a word too long to hyphenate
    kTag,
    kComment,
    kCdata,
    kDeclaration,
    kProcessingInstruction,
    kRawText,
    kPlaintext,  // HTML's <plaintext>: the rest of the text
  };

  struct Run;
  struct TextChar {
    char32_t codePoint;
    std::size_t length;
  };

  void scanText(Run& run);
  bool scanWordToken(Run& run, WordRules& rules);
  // Where a token of scanWordToken's kind whose letters end at `end` ends:
  // `next` is past the space that follows it, or at the markup that does.
  struct TokenEnd {
    bool taken;
    std::size_t next;
  };
  TokenEnd wordTokenEnd(const Run& run, std::size_t start, std::size_t end,
                        unsigned char hyphenFirst) const;
  // scanWordToken's token at `start` whose word does not fit a block: past
  // it, or `start` when it is of another kind (nothing taken).
  std::size_t scanLongWordToken(Run& run, WordRules& rules, std::size_t start,
                                const std::uint8_t* letters, unsigned char hyphenFirst);
  // Hyphenates the `n` (< kBlock) ASCII letters at byte `begin`, classified
  // as `block` (LetterBlocks.hpp).
  void hyphenateBlockWord(Run& run, WordRules& rules, std::size_t begin, std::size_t n,
                          const LetterBlock& block);
  // Its breaks when the cache does not hold them (bit p: a break before
  // letter p), out of line: most words are found there.
  [[gnu::noinline]] std::uint32_t uncachedBlockWordBreaks(const Run& run, WordRules& rules,
                                                          std::size_t begin, std::size_t n,
                                                          const LetterBlock& block);
  bool scanPlainToken(Run& run, WordRules& rules);
  void hyphenateLetters(Run& run, WordRules& rules, std::size_t begin, std::size_t end,
                        std::uint8_t firstCase, std::uint8_t laterCase);
  void classifyToken(Run& run, WordRules& rules);
  // Whether the token from `start` to `end`, seen whole, is a technical one
  // that the options leave whole (TechnicalToken.hpp).
  bool leftWhole(const Run& run, std::size_t start, std::size_t end) const;
  // The same for a token of ASCII characters, with no reference in it.
  bool leftWhole(std::string_view asciiToken) const;
  bool scanWord(Run& run, WordRules& rules);
  void scanVerbatim(Run& run);
  void scanLongWord(Run& run);
  void scanTag(Run& run);
  void scanUntil(Run& run, std::string_view terminator);
  void scanRawText(Run& run);
  bool openMarkup(Run& run);
  // In markup, whether the '<' at `at` opens markup, and so ends a token;
  // kMore when the input ends too soon to tell.
  Match opensMarkup(const Run& run, std::size_t at) const;
  void closeTag();
  // elementFlags(local, hash), kept for the last few short names; `local`
  // is the TagReader's, so that eight bytes of it may be read.
  std::uint32_t knownElementFlags(std::string_view local, std::uint64_t hash);
  void openElement(const ElementStack::Element& element, std::uint32_t flags);
  bool skipped() const noexcept;
  // Whether the processing instruction at run.pos is an XML declaration;
  // false with the run stalled when the input ends too soon to tell.
  bool xmlDeclaration(Run& run) const;
  // Whether the hyphen text is at `at` inside a word, a letter after it.
  // kMore when the input ends too soon to tell.
  Match hyphenTextAt(const Run& run, std::size_t at, WordRules& rules) const;
  bool readChar(const Run& run, std::size_t at, TextChar& read) const;

  WordRules* currentRules() noexcept { return stack_.rules(&outer_); }
  WordRules* rulesForLanguage(std::string_view tag);

  const TextOptions& options_;
  std::string hyphenText_;  // the hyphen, unless a soft hyphen
  WordRules outer_;
  // Made for the first element that switches the language.
  std::unique_ptr<std::array<std::unique_ptr<WordRules>, 73>> languages_;

  Mode mode_ = Mode::kText;
  bool inToken_ = false;
  TagReader tag_;
  bool xmlDecided_ = false;  // XML's rules or HTML's, known from the first element
  std::array<char, TagReader::kLongestName> rawTextName_{};
  std::size_t rawTextLength_ = 0;
  ElementStack::Element rawTextElement_{};
  bool rawTextEnd_ = false;  // the next tag is the end tag of raw text
  ElementStack stack_;
  // Hashes (NameHash) of the caller's elements to skip, in lower case and as
  // given, and of the classes to skip; made for markup only.
  std::vector<std::uint64_t> skipLower_, skipWritten_, skipClasses_;
  struct KnownElement {
    std::uint64_t name = 0;  // no name: a name is no zero bytes
    std::uint32_t flags = 0;
  };
  std::array<KnownElement, 8> knownElements_{};
  std::vector<WordChar> word_;
  std::vector<std::size_t> breaks_;
};

}  // namespace liang::internal

#endif  // LIANG_TEXT_TEXTSCANNER_HPP_
