// The scanner's plain-text path: tokens, URLs, words and their breaks, and
// the modes that copy the rest of a token. Markup's modes are in
// TextScannerMarkup.cpp.
//
// Past 600 lines on purpose: these are the loops every byte of running text
// goes through, and they share the small inline classifiers above them; one
// translation unit lets the compiler inline those into each loop, which a
// split across files (without link-time optimisation in every build) would
// not.

#include "text/TextScanner.hpp"

#include <algorithm>
#include <bit>
#include <utility>

#include "core/Utf8.hpp"
#include "liang/Language.hpp"
#include "liang/LanguageTag.hpp"
#include "text/LetterBlocks.hpp"
#include "text/TechnicalToken.hpp"
#include "text/TextScannerRun.hpp"

namespace liang::internal {

namespace {

constexpr std::array<bool, 256> kAsciiSpace = [] {
  std::array<bool, 256> space{};
  for (const char c : {' ', '\t', '\n', '\v', '\f', '\r'})
    space[static_cast<unsigned char>(c)] = true;
  return space;
}();

bool isAsciiSpace(unsigned char b) noexcept { return kAsciiSpace[b]; }

// What a byte of a token may begin, by kTokenByte: kSpaceByte for an ASCII
// space, which ends it; kMarkByte for a URL's mark or a reference ('<',
// ':', '@', '.', '&', and every byte of a multi-byte sequence, which may be
// a space of another kind); kTechnicalByte for a mark of a technical token
// (mayBeTechnical), kDigitByte for an ASCII digit, which is one in a token
// with letters; 0 for nothing at all, most bytes of most tokens.
constexpr std::uint8_t kSpaceByte = 1;
constexpr std::uint8_t kMarkByte = 2;
constexpr std::uint8_t kTechnicalByte = 3;
constexpr std::uint8_t kDigitByte = 4;
constexpr std::array<std::uint8_t, 256> kTokenByte = [] {
  std::array<std::uint8_t, 256> special{};
  for (std::size_t b = 0; b < 128; ++b) special[b] = kAsciiSpace[b] ? kSpaceByte : 0;
  for (const char c : {'<', ':', '@', '.', '&'}) special[static_cast<unsigned char>(c)] = kMarkByte;
  for (std::size_t b = 128; b < 256; ++b) special[b] = kMarkByte;
  for (const char c : {'/', '\\', '_', '=', '$', '#', '{', '}', '(', ']'}) {
    special[static_cast<unsigned char>(c)] = kTechnicalByte;
  }
  for (char c = '0'; c <= '9'; ++c) special[static_cast<unsigned char>(c)] = kDigitByte;
  return special;
}();

// Whether the byte `b` of a token, followed by `next` (0 at its end), may
// make it technical (TechnicalToken.hpp), which TechnicalToken then judges:
// the one test that keeps most tokens from being read twice. A leading '-'
// and non-ASCII digits are looked for by the callers.
inline bool mayBeTechnical(unsigned char b, unsigned char next) noexcept {
  switch (b) {
    case '.':  // between letters; a byte from 0x80 may begin one
      return ((next | 0x20) >= 'a' && (next | 0x20) <= 'z') || next >= 0x80;
    case ':':
      return next == ':';
    case '(':
      return next == ')';
    case ']':
      return next == '(';
    case '@':
    case '<':
    case '&':
      return false;
    default:
      return true;
  }
}

bool isAsciiLetterOrSlash(unsigned char b) noexcept {
  return static_cast<unsigned>((b | 0x20) - 'a') < 26u || b == '/';
}

char lowerAscii(char c) noexcept { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

// The minima that text is hyphenated with: the options' where they give one.
Hyphenator withTextMinima(const Hyphenator& h, const TextOptions& options) {
  if (options.leftMin == 0 && options.rightMin == 0) return h;
  return withMinima(h, options.leftMin != 0 ? options.leftMin : hyphenatorLeftMin(h),
                    options.rightMin != 0 ? options.rightMin : hyphenatorRightMin(h));
}

const TextOptions& checked(const TextOptions& options) {
  for (const auto& [name, value] :
       {std::pair{"leftMin", options.leftMin}, std::pair{"rightMin", options.rightMin}}) {
    if (value < 0) {
      throw Error(std::string("TextOptions::") + name +
                  " must be at least 1, or 0 for the hyphenator's own, not " +
                  std::to_string(value));
    }
  }
  return options;
}

// The first bytes of "www." and of the brackets and quotes that may open it.
constexpr std::array<bool, 256> kMayBeginWww = [] {
  std::array<bool, 256> first{};
  for (const char c : {'(', '[', '{', '"', '\'', '<', '\xE2', '\xC2', 'w', 'W'}) {
    first[static_cast<unsigned char>(c)] = true;
  }
  return first;
}();

// beginsWithWww for a token whose first byte may begin it.
bool beginsWithWwwAfterOpeners(std::string_view token) noexcept {
  static constexpr std::string_view kOpeners[] = {
      "(", "[", "{", "\"", "'", "<", "\xE2\x80\x9C", "\xE2\x80\x98", "\xC2\xAB"};
  for (bool stripped = true; stripped;) {
    stripped = false;
    for (const std::string_view opener : kOpeners) {
      if (token.substr(0, opener.size()) == opener) {
        token.remove_prefix(opener.size());
        stripped = true;
      }
    }
  }
  if (token.size() < 4) return false;
  return lowerAscii(token[0]) == 'w' && lowerAscii(token[1]) == 'w' &&
         lowerAscii(token[2]) == 'w' && token[3] == '.';
}

// Whether a token that begins with `token` (at most kLongestToken bytes of
// it) begins with "www.", after any opening brackets and quotes. Inline, for
// most tokens are turned away by their first byte, at less than a call's cost.
inline bool beginsWithWww(std::string_view token) noexcept {
  return !token.empty() && kMayBeginWww[static_cast<unsigned char>(token[0])] &&
         beginsWithWwwAfterOpeners(token);
}

// A run of ASCII letters read by readPlainLetters: where it ends, the case
// of its first letter and the or of the others' (CharInfo::caseBits()).
struct PlainLetters {
  std::size_t end;
  std::uint8_t firstCase, laterCase;
};

// Reads the ASCII letters (by WordRules::plainLetters) from `bytes[begin]`
// on, before `limit`, of the `size` bytes at `bytes`. The one reader that
// every plain word's letters go through: sixteen bytes at a time where the
// letters are exactly A-Z and a-z (`asciiAlpha`), a byte at a time otherwise.
inline PlainLetters readPlainLetters(const unsigned char* bytes, std::size_t begin,
                                     std::size_t limit, std::size_t size,
                                     const std::uint8_t* plainLetters, bool asciiAlpha) noexcept {
  PlainLetters word{begin, 0, 0};
  if (begin >= limit || bytes[begin] >= 0x80) return word;
  word.firstCase = plainLetters[bytes[begin]];
  if ((word.firstCase & WordRules::kPlainLetter) == 0) return word;
  if (asciiAlpha) {
    bool upper, lower;
    word.end = asciiLettersEnd(bytes, begin, limit, size, upper, lower);
    if (word.end - begin > 1) {
      word.laterCase =
          static_cast<std::uint8_t>(WordRules::kPlainLetter | (upper ? CharInfo::kUpper : 0) |
                                    (lower ? CharInfo::kLower : 0));
    }
    return word;
  }
  std::size_t at = begin + 1;
  for (; at < limit; ++at) {
    const std::uint8_t b = bytes[at];
    const std::uint8_t letter = b < 0x80 ? plainLetters[b] : 0;
    if ((letter & WordRules::kPlainLetter) == 0) break;
    word.laterCase |= letter;
  }
  word.end = at;
  return word;
}

// The marks that may follow the letters of a token of the commonest kind
// (scanWordToken): closing punctuation that is no mark of a URL, of a
// reference or markup, nor of a technical token when a space follows it.
constexpr std::array<bool, 128> kClosingMark = [] {
  std::array<bool, 128> mark{};
  for (const char c : {',', '.', ';', '!', '?', ')', '"', '\''}) {
    mark[static_cast<unsigned char>(c)] = true;
  }
  return mark;
}();

}  // namespace

TextScanner::TextScanner(const Hyphenator& h, const TextOptions& options)
    : options_(checked(options)), outer_(withTextMinima(h, options_), options_) {
  // A soft hyphen in the text is the author's already (WordRules). A hard
  // hyphen (U+002D, U+2010, U+2011) ends every word, so no word can hold a
  // hyphen text that begins with one: such a text is read as the hard
  // hyphens it is made of, each part of a compound broken as it would be
  // alone.
  const auto beginsWithHardHyphen = [](std::string_view hyphen) {
    return hyphen.starts_with("-") || hyphen.starts_with("\u2010") || hyphen.starts_with("\u2011");
  };
  if (options_.hyphen != "\xC2\xAD" && !beginsWithHardHyphen(options_.hyphen)) {
    hyphenText_ = options_.hyphen;
  }
  // Elements and classes are markup's alone: plain text makes no hashes.
  if (options_.markup) {
    for (const std::string& name : options_.skipElements) {
      std::string lower = name;
      for (char& c : lower) c = lowerAscii(c);
      skipLower_.push_back(NameHash::of(lower));
      skipWritten_.push_back(NameHash::of(name));
    }
    for (const std::string& name : options_.skipClasses) {
      skipClasses_.push_back(NameHash::of(name));
    }
  }
  // What reset() sets, but the rest of the element stack, which starts empty.
  stack_.setXml(options_.xml);
  xmlDecided_ = options_.xml;
}

void TextScanner::reset() noexcept {
  mode_ = Mode::kText;
  inToken_ = false;
  stack_.reset(options_.xml);
  xmlDecided_ = options_.xml;
  rawTextEnd_ = false;
}

WordRules* TextScanner::rulesForLanguage(std::string_view tag) {
  // "zxx": no linguistic content. A tag liang does not carry means the same
  // here, hyphenating German with English patterns being worse than not at
  // all; and so does a language this build left out (LIANG_LANGUAGES), which
  // would fail the whole text over one quotation.
  const std::optional<Language> language = languageForTag(tag);
  if (!language || !languageEmbedded(*language)) return nullptr;
  if (languages_ == nullptr)
    languages_ = std::make_unique<std::array<std::unique_ptr<WordRules>, 73>>();
  std::unique_ptr<WordRules>& rules = (*languages_)[static_cast<std::size_t>(fromEnum(*language))];
  if (rules == nullptr) {
    rules = std::make_unique<WordRules>(withTextMinima(languageHyphenator(*language), options_),
                                        options_);
  }
  return rules.get();
}

std::size_t TextScanner::scan(std::string_view input, bool atEnd, std::string& out) {
  // A text this long has thousands of words: more than the hyphenator
  // scores before it builds its whole automaton anyway.
  constexpr std::size_t kLongText = 16 * 1024;
  if (input.size() >= kLongText) outer_.prepareForLongText();
  Run run{input, atEnd, out};
  while (run.pos < run.size() && !run.stalled) {
    switch (mode_) {
      case Mode::kText:
        scanText(run);
        break;
      case Mode::kVerbatim:
        scanVerbatim(run);
        break;
      case Mode::kLongWord:
        scanLongWord(run);
        break;
      case Mode::kTag:
        scanTag(run);
        break;
      case Mode::kComment:
        scanUntil(run, "-->");
        break;
      case Mode::kCdata:
        // HTML reads "<![CDATA[" and "<?" as comments that end at the next '>'.
        scanUntil(run, stack_.xml() ? "]]>" : ">");
        break;
      case Mode::kDeclaration:
        scanUntil(run, ">");
        break;
      case Mode::kProcessingInstruction:
        scanUntil(run, stack_.xml() ? "?>" : ">");
        break;
      case Mode::kRawText:
        scanRawText(run);
        break;
      case Mode::kPlaintext:
        run.pos = run.size();
        break;
    }
  }
  run.copyTo(run.pos);
  return run.pos;
}

Match TextScanner::hyphenTextAt(const Run& run, std::size_t at, WordRules& rules) const {
  const std::string_view rest = run.input.substr(at);
  const std::string_view hyphen = hyphenText_;
  if (!rest.starts_with(hyphen.substr(0, std::min(rest.size(), hyphen.size())))) return Match::kNo;
  if (rest.size() <= hyphen.size()) return run.atEnd ? Match::kNo : Match::kMore;
  TextChar next;
  if (!readChar(run, at + hyphen.size(), next)) return Match::kMore;
  return rules.infoOf(next.codePoint).inWord() ? Match::kYes : Match::kNo;
}

bool TextScanner::readChar(const Run& run, std::size_t at, TextChar& read) const {
  const auto b = static_cast<unsigned char>(run.input[at]);
  if (b < 0x80) {
    if (b == '&' && options_.markup) {
      const Reference reference = readReference(run.input.substr(at), run.atEnd);
      switch (reference.kind) {
        case Reference::Kind::kMore:
          return false;
        case Reference::Kind::kCharacter:
        case Reference::Kind::kSoftHyphen:
          read = {reference.codePoint, reference.length};
          return true;
        case Reference::Kind::kUnknown:
          // A name HTML does not define ends the word like the '&' it
          // begins with, and is never cut.
          read = {U'&', reference.length};
          return true;
        case Reference::Kind::kNone:
          break;
      }
    }
    read = {b, 1};
    return true;
  }
  const std::string_view rest = run.input.substr(at);
  if (!run.atEnd && rest.size() < 4 && incompleteUtf8Tail(rest) == rest.size()) return false;
  const DecodedChar decoded = decodeUtf8Char(rest);
  read = {decoded.codePoint, decoded.length};
  return true;
}

void TextScanner::scanText(Run& run) {
  WordRules* rules = currentRules();
  if (rules == nullptr) {
    // No hyphenation here: on to the next markup.
    const std::size_t next = run.input.find('<', run.pos);
    if (next == std::string_view::npos) {
      run.pos = run.size();
      return;
    }
    run.pos = next;
    if (!openMarkup(run) && !run.stalled) ++run.pos;  // a '<' of the text
    return;
  }
  while (run.pos < run.size()) {
    const auto b = static_cast<unsigned char>(run.input[run.pos]);
    if (isAsciiSpace(b)) {
      inToken_ = false;
      ++run.pos;
      continue;
    }
    if (b == '<' && options_.markup) {
      if (openMarkup(run)) {
        // A tag is read at once (most tags are short and whole; openMarkup
        // reads the plainest), and the text after it goes on here when it
        // is still text to hyphenate.
        if (mode_ == Mode::kTag) scanTag(run);
        if (mode_ != Mode::kText) return;
        rules = currentRules();
        if (rules == nullptr) return;
        continue;
      }
      if (run.stalled) return;
      // An ordinary '<' goes on below, as a character of the text.
    }
    if (!inToken_) {
      if (scanWordToken(run, *rules)) continue;
      if (scanPlainToken(run, *rules)) {
        if (run.stalled) return;
        continue;
      }
      classifyToken(run, *rules);
      if (run.stalled || mode_ != Mode::kText) return;
      inToken_ = true;
    }
    TextChar c;
    if (!readChar(run, run.pos, c)) return run.stallAt(run.pos);
    const CharInfo info = rules->infoOf(c.codePoint);
    if (info.inWord()) {
      if (!scanWord(run, *rules)) return;
      continue;
    }
    if (info.kind() == CharInfo::Kind::kSpace) inToken_ = false;
    run.pos += c.length;
  }
}

// The commonest tokens, each taken whole at once, as many as follow one
// another: a word of at most 64 ASCII letters that begins the token (or two
// joined by an apostrophe, "it's"), at most one closing mark (kClosingMark)
// after it, then an ASCII space, which is taken too, or in markup a '<' that
// opens markup, which is left for scanText. Only where the letters are A-Z
// and a-z (WordRules::plainLettersAreAsciiAlpha). Such a token is no URL
// unless it is "www." (beginsWithWww) and never technical, so its words are
// hyphenated as scanPlainToken would; the first token of any other kind is
// left to that, nothing of it taken.
bool TextScanner::scanWordToken(Run& run, WordRules& rules) {
  if (!rules.plainLettersAreAsciiAlpha()) return false;
  const auto* bytes = reinterpret_cast<const unsigned char*>(run.input.data());
  const std::uint8_t* letters = rules.plainLetters();
  // A hyphen text that begins with a closing mark is read by the general
  // path; 0x80 is no closing mark.
  const unsigned char hyphenFirst =
      hyphenText_.empty() ? 0x80 : static_cast<unsigned char>(hyphenText_[0]);
  const std::size_t size = run.size();
  bool took = false;
  // Token after token, as long as each is of this kind.
  for (std::size_t start = run.pos; start < size; start = run.pos) {
    // Most words are read from one block of the text, classified at once;
    // a longer word, one with an apostrophe and the last few bytes of the
    // input are read by readPlainLetters.
    std::size_t next;
    if (size - start > kBlock) {
      const LetterBlock block = classifyBlock(bytes + start);
      const auto n = static_cast<std::size_t>(std::countr_one(block.letters));
      if (n == 0) break;
      if (n < kBlock && bytes[start + n] != '\'') {
        // Most words are followed by a space, and in markup many by a tag
        // (opensMarkup's commonest case).
        next = start + n + 1;
        const unsigned char after = bytes[start + n];
        if (!isAsciiSpace(after)) {
          if (after == '<' && options_.markup && start + n + 2 < size &&
              isAsciiLetterOrSlash(bytes[start + n + 1])) {
            next = start + n;
          } else {
            const TokenEnd token = wordTokenEnd(run, start, start + n, hyphenFirst);
            if (!token.taken) break;
            next = token.next;
          }
        }
        if (rules.mayBreak(n)) hyphenateBlockWord(run, rules, start, n, block);
      } else {
        next = scanLongWordToken(run, rules, start, letters, hyphenFirst);
      }
    } else {
      if (bytes[start] >= 0x80 || (letters[bytes[start]] & WordRules::kPlainLetter) == 0) break;
      next = scanLongWordToken(run, rules, start, letters, hyphenFirst);
    }
    if (next == start) break;
    took = true;
    inToken_ = false;
    if (!isAsciiSpace(bytes[next - 1])) {
      run.pos = next;
      break;  // on to the markup
    }
    // The spaces before the next token, as scanText would take them.
    while (next < size && isAsciiSpace(bytes[next])) ++next;
    run.pos = next;
  }
  return took;
}

TextScanner::TokenEnd TextScanner::wordTokenEnd(const Run& run, std::size_t start, std::size_t end,
                                                unsigned char hyphenFirst) const {
  const auto* bytes = reinterpret_cast<const unsigned char*>(run.input.data());
  const std::size_t size = run.size();
  if (end == size) return {false, 0};
  if (bytes[end] < 0x80 && kClosingMark[bytes[end]]) {
    if (bytes[end] == hyphenFirst) return {false, 0};
    if (bytes[end] == '.' && beginsWithWww(run.input.substr(start, end + 1 - start))) {
      return {false, 0};
    }
    if (++end == size) return {false, 0};
  }
  if (isAsciiSpace(bytes[end])) return {true, end + 1};
  // Markup ends the token, and is read next.
  if (bytes[end] == '<' && options_.markup && opensMarkup(run, end) == Match::kYes) {
    return {true, end};
  }
  return {false, 0};
}

std::size_t TextScanner::scanLongWordToken(Run& run, WordRules& rules, std::size_t start,
                                           const std::uint8_t* letters, unsigned char hyphenFirst) {
  constexpr std::size_t kPlainLetters = 64;
  const auto* bytes = reinterpret_cast<const unsigned char*>(run.input.data());
  const std::size_t size = run.size();
  const std::size_t limit = std::min(size, start + kPlainLetters + 1);
  const PlainLetters word = readPlainLetters(bytes, start, limit, size, letters, true);
  std::size_t end = word.end;
  if (end - start > kPlainLetters || end == size) return start;
  // A second word after an apostrophe: "it's", "user's".
  std::size_t secondBegin = end;
  PlainLetters second{end, 0, 0};
  if (bytes[end] == '\'' && hyphenFirst != '\'' && end + 1 < size && bytes[end + 1] < 0x80 &&
      (letters[bytes[end + 1]] & WordRules::kPlainLetter) != 0) {
    secondBegin = end + 1;
    second = readPlainLetters(bytes, secondBegin, std::min(size, secondBegin + kPlainLetters + 1),
                              size, letters, true);
    end = second.end;
    if (end - secondBegin > kPlainLetters) return start;
  }
  const TokenEnd token = wordTokenEnd(run, start, end, hyphenFirst);
  if (!token.taken) return start;
  if (rules.mayBreak(word.end - start)) {
    hyphenateLetters(run, rules, start, word.end, word.firstCase, word.laterCase);
  }
  if (secondBegin != word.end && rules.mayBreak(second.end - secondBegin)) {
    hyphenateLetters(run, rules, secondBegin, second.end, second.firstCase, second.laterCase);
  }
  return token.next;
}

void TextScanner::hyphenateBlockWord(Run& run, WordRules& rules, std::size_t begin, std::size_t n,
                                     const LetterBlock& block) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(run.input.data());
  std::uint32_t breaks;
  if (!rules.cachedBreaks(bytes + begin, n, breaks)) {
    breaks = uncachedBlockWordBreaks(run, rules, begin, n, block);
  }
  // The word is followed by a space, a closing mark or markup: no hard
  // hyphen, so every break stands.
  for (; breaks != 0; breaks &= breaks - 1) {
    run.copyTo(begin + static_cast<std::size_t>(std::countr_zero(breaks)));
    run.putHyphen(options_.hyphen);
  }
}

std::uint32_t TextScanner::uncachedBlockWordBreaks(const Run& run, WordRules& rules,
                                                   std::size_t begin, std::size_t n,
                                                   const LetterBlock& block) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(run.input.data());
  // The case of the first letter, and the or of the others' (as
  // readPlainLetters gives them).
  const std::uint32_t later = ((std::uint32_t{1} << n) - 1) & ~1u;
  const std::uint8_t firstCase = rules.plainLetters()[bytes[begin]];
  const std::uint8_t laterCase =
      n < 2 ? 0
            : static_cast<std::uint8_t>(
                  WordRules::kPlainLetter | ((block.upper & later) != 0 ? CharInfo::kUpper : 0) |
                  ((block.letters & ~block.upper & later) != 0 ? CharInfo::kLower : 0));
  std::size_t found[kBlock];
  const std::size_t count = rules.findPlainWordBreaksOf(bytes + begin, n, run.size() - begin,
                                                        firstCase, laterCase, found);
  std::uint32_t breaks = 0;
  for (std::size_t k = 0; k < count; ++k) breaks |= std::uint32_t{1} << found[k];
  return breaks;
}

// The path of most other tokens: ASCII through and through, no reference, at most
// kPlainRuns words of at most kPlainLetters letters. One pass over the bytes
// finds the token's end, the marks of a URL and its words at once; then the
// words are hyphenated unless the token is a URL. Gives up, having taken
// nothing, at the first thing it does not handle, and the general path
// (classifyToken, then the words one by one) reads the token again.
bool TextScanner::scanPlainToken(Run& run, WordRules& rules) {
  constexpr std::size_t kPlainRuns = 16;
  constexpr std::size_t kPlainLetters = 64;
  struct LetterRun {
    std::size_t begin, end;
    std::uint8_t firstCase, laterCase;
  };
  LetterRun runs[kPlainRuns];
  std::size_t runCount = 0;
  bool sawAt = false, url = false;
  const std::uint8_t* letters = rules.plainLetters();
  const bool asciiAlpha = rules.plainLettersAreAsciiAlpha();
  const auto* bytes = reinterpret_cast<const unsigned char*>(run.input.data());
  const std::size_t start = run.pos;
  const std::size_t limit = std::min(run.size(), start + kLongestToken);
  // What may make the token technical: kSign, a mark of one; kDigit, a
  // digit, which is one in a token with letters.
  constexpr std::uint8_t kSign = 1, kDigit = 2;
  std::uint8_t technicalSigns = bytes[start] == '-' ? kSign : 0;
  std::size_t at = start;
  while (at < limit) {
    const std::uint8_t b = bytes[at];
    if (b >= 0x80) return false;
    const std::uint8_t letter = letters[b];
    if ((letter & WordRules::kPlainLetter) != 0) {
      if (runCount == kPlainRuns) return false;
      const PlainLetters word = readPlainLetters(bytes, at, limit, run.size(), letters, asciiAlpha);
      runs[runCount++] = {at, word.end, word.firstCase, word.laterCase};
      at = word.end;
      continue;
    }
    if (letter != 0) return false;  // kAskAgain
    if (!hyphenText_.empty() && b == static_cast<unsigned char>(hyphenText_[0])) return false;
    ++at;
    const std::uint8_t special = kTokenByte[b];
    if (special == 0) continue;
    if (special == kSpaceByte) {
      --at;
      break;
    }
    if (special == kTechnicalByte) {
      if (mayBeTechnical(b, at < limit ? bytes[at] : 0)) technicalSigns |= kSign;
      continue;
    }
    if (special == kDigitByte) {
      technicalSigns |= kDigit;
      continue;
    }
    if (options_.markup && b == '&') return false;  // a reference: the general path reads them
    if (options_.markup && b == '<') {
      const Match markup = opensMarkup(run, at - 1);
      if (markup == Match::kYes) {
        --at;
        break;
      }
      if (markup == Match::kMore) {
        run.stallAt(start);
        return true;
      }
      continue;  // a '<' of the text
    }
    if (b == '@') sawAt = true;
    url = url || (b == '.' && sawAt) ||
          (b == ':' && at + 2 <= limit && run.input.substr(at - 1, 3) == "://");
    if (at < limit && mayBeTechnical(b, bytes[at])) technicalSigns |= kSign;
  }
  if (at == limit && at - start == kLongestToken) return false;  // a long token
  if (at == run.size() && !run.atEnd) {
    run.stallAt(start);  // the token may go on in the next piece
    return true;
  }
  url = url || beginsWithWww(run.input.substr(start, at - start)) ||
        (technicalSigns != 0 && ((technicalSigns & kSign) != 0 || runCount != 0) &&
         leftWhole(run.input.substr(start, at - start)));
  if (!url) {
    for (std::size_t k = 0; k < runCount; ++k) {
      if (runs[k].end - runs[k].begin > kPlainLetters) return false;
    }
    for (std::size_t k = 0; k < runCount; ++k) {
      const LetterRun& word = runs[k];
      hyphenateLetters(run, rules, word.begin, word.end, word.firstCase, word.laterCase);
    }
  }
  run.pos = at;
  inToken_ = false;
  return true;
}

// Hyphenates the word of ASCII letters from byte `begin` of the input to
// `end`, at most 64 of them.
void TextScanner::hyphenateLetters(Run& run, WordRules& rules, std::size_t begin, std::size_t end,
                                   std::uint8_t firstCase, std::uint8_t laterCase) {
  std::size_t found[64];
  const auto* bytes = reinterpret_cast<const unsigned char*>(run.input.data());
  std::size_t count = rules.findPlainWordBreaks(bytes + begin, end - begin, run.size() - begin,
                                                firstCase, laterCase, found);
  // A break after the last letter (a hyphenator without a right minimum),
  // but not right before a hard hyphen. The word is followed by ASCII, if
  // anything, so '-' is the only one there can be.
  if (count != 0 && found[count - 1] == end - begin && end < run.size() && run.input[end] == '-') {
    --count;
  }
  for (std::size_t k = 0; k < count; ++k) {
    run.copyTo(begin + found[k]);
    run.putHyphen(options_.hyphen);
  }
}

void TextScanner::classifyToken(Run& run, WordRules& rules) {
  const std::size_t start = run.pos;
  const std::size_t limit = std::min(run.size(), start + kLongestToken);
  bool sawAt = false;
  bool mayBeTechnicalToken = run.input[start] == '-';
  std::size_t at = start;
  while (at < limit) {
    // Most bytes of a token are none of those that matter here.
    while (at < limit && kTokenByte[static_cast<unsigned char>(run.input[at])] == 0) ++at;
    if (at == limit) break;
    const auto b = static_cast<unsigned char>(run.input[at]);
    const auto next = static_cast<unsigned char>(at + 1 < limit ? run.input[at + 1] : 0);
    if (b < 0x80) {
      if (kAsciiSpace[b]) break;
      // A reference may name any character.
      mayBeTechnicalToken =
          mayBeTechnicalToken || mayBeTechnical(b, next) || (b == '&' && options_.markup);
      if (kTokenByte[b] >= kTechnicalByte) {
        ++at;
        continue;
      }
      if (b == '<' && options_.markup) {
        const Match markup = opensMarkup(run, at);
        if (markup == Match::kYes) break;
        if (markup == Match::kMore) return run.stallAt(start);
      }
      if (b == '@') sawAt = true;
      const bool url =
          (b == '.' && sawAt) || (b == ':' && at + 3 <= limit && run.input.substr(at, 3) == "://");
      if (url) {
        mode_ = Mode::kVerbatim;
        return;
      }
      ++at;
      continue;
    }
    TextChar c;
    if (!readChar(run, at, c)) return run.stallAt(start);
    const CharInfo info = rules.infoOf(c.codePoint);
    if (info.kind() == CharInfo::Kind::kSpace) break;
    mayBeTechnicalToken = mayBeTechnicalToken || info.digit();
    at += c.length;
  }
  // The token is seen whole, or as far as it is ever looked at; otherwise
  // its end, and a URL's mark, may be in the next piece.
  const bool seen = at < run.size() || at - start >= kLongestToken || run.atEnd;
  if (!seen) return run.stallAt(start);
  if (beginsWithWww(run.input.substr(start, std::min(at, limit) - start)) ||
      (mayBeTechnicalToken && leftWhole(run, start, at))) {
    mode_ = Mode::kVerbatim;
  }
}

bool TextScanner::leftWhole(std::string_view asciiToken) const {
  if (options_.technical) return false;
  TechnicalToken token;
  for (const char b : asciiToken) {
    token.add(static_cast<unsigned char>(b));
    if (token.technical()) return true;
  }
  return false;
}

bool TextScanner::leftWhole(const Run& run, std::size_t start, std::size_t end) const {
  if (options_.technical) return false;
  TechnicalToken token;
  TextChar c;
  for (std::size_t at = start; at < end && !token.technical() && readChar(run, at, c);) {
    token.add(c.codePoint);
    at += c.length;
  }
  return token.technical();
}

bool TextScanner::scanWord(Run& run, WordRules& rules) {
  const std::size_t start = run.pos;
  // Most words are a few ASCII letters: they are read a byte at a time
  // straight into the letters the patterns see, each byte its own offset.
  // The first byte of anything else inside the word sends the whole word
  // down the general path below.
  constexpr std::size_t kPlainLetters = 64;
  const auto* bytes = reinterpret_cast<const unsigned char*>(run.input.data());
  const std::size_t limit = std::min(run.size(), start + kPlainLetters);
  const PlainLetters letters = readPlainLetters(
      bytes, start, limit, run.size(), rules.plainLetters(), rules.plainLettersAreAsciiAlpha());
  std::size_t at = letters.end;
  bool plain;
  if (at == run.size()) {
    if (!run.atEnd) {
      run.stallAt(start);
      return false;
    }
    plain = true;
  } else if (at == limit) {
    plain = false;  // a long word
  } else {
    const auto b = static_cast<unsigned char>(run.input[at]);
    plain = b < 0x80 && !(b == '&' && options_.markup) && !rules.infoOf(b).inWord() &&
            !(!hyphenText_.empty() && b == static_cast<unsigned char>(hyphenText_[0]));
  }
  if (plain) {
    hyphenateLetters(run, rules, start, at, letters.firstCase, letters.laterCase);
    run.pos = at;
    return true;
  }

  word_.clear();
  at = start;
  bool beforeHardHyphen = false;
  for (;;) {
    if (at == run.size()) {
      if (!run.atEnd) {
        run.stallAt(start);
        return false;
      }
      break;
    }
    if (!word_.empty() && !hyphenText_.empty()) {
      // The caller's hyphen between letters: the word was hyphenated
      // before, and is left as it is, as a soft hyphen leaves it.
      const Match hyphen = hyphenTextAt(run, at, rules);
      if (hyphen == Match::kMore) {
        run.stallAt(start);
        return false;
      }
      if (hyphen == Match::kYes) {
        word_.push_back({0xAD, rules.infoOf(0xAD), at});
        at += hyphenText_.size();
        continue;
      }
    }
    TextChar c;
    if (!readChar(run, at, c)) {
      run.stallAt(start);
      return false;
    }
    const CharInfo info = rules.infoOf(c.codePoint);
    if (!info.inWord()) {
      beforeHardHyphen = info.kind() == CharInfo::Kind::kHardHyphen;
      break;
    }
    word_.push_back({c.codePoint, info, at});
    at += c.length;
    if (at - start > kLongestWord) {
      // No word is this long; it is copied as it is, to its end.
      run.pos = at;
      mode_ = Mode::kLongWord;
      return false;
    }
  }
  rules.findBreaks(word_, at, beforeHardHyphen, breaks_);
  for (const std::size_t b : breaks_) {
    run.copyTo(b);
    run.putHyphen(options_.hyphen);
  }
  run.pos = at;
  return true;
}

void TextScanner::scanVerbatim(Run& run) {
  WordRules* rules = currentRules();
  while (run.pos < run.size()) {
    const auto b = static_cast<unsigned char>(run.input[run.pos]);
    if (b < 0x80) {
      const Match markup = b == '<' && options_.markup ? opensMarkup(run, run.pos) : Match::kNo;
      if (markup == Match::kMore) return run.stallAt(run.pos);
      if (kAsciiSpace[b] || markup == Match::kYes) {
        mode_ = Mode::kText;
        inToken_ = false;
        return;
      }
      ++run.pos;
      continue;
    }
    TextChar c;
    if (!readChar(run, run.pos, c)) return run.stallAt(run.pos);
    if (rules != nullptr && rules->infoOf(c.codePoint).kind() == CharInfo::Kind::kSpace) {
      mode_ = Mode::kText;
      inToken_ = false;
      return;
    }
    run.pos += c.length;
  }
}

void TextScanner::scanLongWord(Run& run) {
  WordRules* rules = currentRules();
  while (run.pos < run.size()) {
    TextChar c;
    if (!readChar(run, run.pos, c)) return run.stallAt(run.pos);
    if (rules == nullptr || !rules->infoOf(c.codePoint).inWord()) {
      mode_ = Mode::kText;  // still in the token
      return;
    }
    run.pos += c.length;
  }
}

}  // namespace liang::internal
