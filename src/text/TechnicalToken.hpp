// Technical tokens of running text: command-line options, paths, file and
// domain names, identifiers, hashes and versions, which a break would turn
// into something else ("--al-most-all", "/usr/sha-re/doc") and which are
// copied whole like URLs unless TextOptions::technical says otherwise.
//
// A whitespace-delimited token is technical when, its trailing sentence
// punctuation (a run of . , ; : ! ? at its end) aside, it
//  - begins with one or more '-' and then a letter ("-A", "--almost-all");
//  - holds '/' or '\' with a character on either side ("/usr/share/doc"),
//    '_', '=', '$', '#', '{', '}', "::", "()" or "](";
//  - holds a '.' between two letters, unless the letters on both sides are
//    single ones ("sources.list", "deb.debian.org"; not "U.S.A." or "z.B.");
//  - holds both a letter and a decimal digit ("Uint8Array", "x86_64").
// Letters are Unicode category L, digits Nd, each of any script; combining
// marks (M) belong to the character before them, so that text in NFD is
// judged as in NFC. The judgement depends on the characters alone, not on
// the language.
#ifndef LIANG_TEXT_TECHNICALTOKEN_HPP_
#define LIANG_TEXT_TECHNICALTOKEN_HPP_

#include <cstdint>

namespace liang::internal {

// What a character is to the rule above.
enum class TokenCharClass : std::uint8_t { kLetter, kMark, kDigit, kOther };

// The class of `c`, from Unicode's categories.
TokenCharClass tokenCharClassBeyondAscii(char32_t c) noexcept;
inline TokenCharClass tokenCharClass(char32_t c) noexcept {
  if (c >= 0x80) return tokenCharClassBeyondAscii(c);
  if ((c | 0x20) >= U'a' && (c | 0x20) <= U'z') return TokenCharClass::kLetter;
  if (c >= U'0' && c <= U'9') return TokenCharClass::kDigit;
  return TokenCharClass::kOther;
}

// Reads a token a character at a time, in order, and says whether it is
// technical. Holds a few flags; a token of any length passes in O(1) memory.
class TechnicalToken {
 public:
  void add(char32_t c) noexcept { add(c, tokenCharClass(c)); }
  void add(char32_t c, TokenCharClass kind) noexcept;

  // Whether the characters added so far make a technical token, taken as a
  // whole token: what is still waiting for a character after it (a '/' at
  // the end) does not count.
  bool technical() const noexcept { return technical_; }

 private:
  // Where the reading of a '.' stands: after a letter and a '.', waiting
  // for a letter; after a single letter, '.', letter, waiting for another.
  enum class Dot : std::uint8_t { kNone, kAwaitLetter, kAwaitSecondLetter };

  bool technical_ = false;
  bool onlyDashes_ = true;       // nothing but '-' so far
  bool anyChar_ = false;         // a character has been added
  bool waitingForCore_ = false;  // a '/', '\' or "::" that one more character (no
                                 // sentence punctuation) makes count
  bool sawLetter_ = false;
  bool sawDigit_ = false;
  Dot dot_ = Dot::kNone;
  bool dotAfterLongRun_ = false;  // the '.' waited on follows two letters or more
  bool lastIsLetter_ = false;     // of the characters other than marks
  bool lastButOneIsLetter_ = false;
  char32_t last_ = 0;  // the character before, marks included
};

inline void TechnicalToken::add(char32_t c, TokenCharClass kind) noexcept {
  if (technical_) return;
  const bool first = !anyChar_;
  anyChar_ = true;
  const bool sentencePunctuation =
      c == U'.' || c == U',' || c == U';' || c == U':' || c == U'!' || c == U'?';
  // A character that is no sentence punctuation puts what came before it
  // inside the token proper.
  if (waitingForCore_ && !sentencePunctuation) {
    technical_ = true;
    return;
  }
  if (onlyDashes_ && c != U'-') {
    onlyDashes_ = false;
    if (!first && kind == TokenCharClass::kLetter) {
      technical_ = true;  // an option: "-A", "--almost-all"
      return;
    }
  }
  switch (c) {
    case U'_':
    case U'=':
    case U'$':
    case U'#':
    case U'{':
    case U'}':
      technical_ = true;
      return;
    case U'/':
    case U'\\':
      waitingForCore_ = !first;  // nothing was waiting: '/' is no punctuation
      break;
    case U':':
      waitingForCore_ = waitingForCore_ || last_ == U':';
      break;
    case U')':
      technical_ = last_ == U'(';
      break;
    case U'(':
      technical_ = last_ == U']';
      break;
    default:
      break;
  }
  last_ = c;
  if (kind == TokenCharClass::kLetter) sawLetter_ = true;
  if (kind == TokenCharClass::kDigit) sawDigit_ = true;
  technical_ = technical_ || (sawLetter_ && sawDigit_);
  if (kind == TokenCharClass::kMark) return;  // it belongs to the character before
  const bool letter = kind == TokenCharClass::kLetter;
  switch (dot_) {
    case Dot::kAwaitLetter:
      technical_ = technical_ || (letter && dotAfterLongRun_);
      dot_ = letter ? Dot::kAwaitSecondLetter : Dot::kNone;
      break;
    case Dot::kAwaitSecondLetter:
      technical_ = technical_ || letter;
      dot_ = Dot::kNone;
      break;
    case Dot::kNone:
      break;
  }
  if (c == U'.' && lastIsLetter_) {
    dot_ = Dot::kAwaitLetter;
    dotAfterLongRun_ = lastButOneIsLetter_;
  }
  lastButOneIsLetter_ = lastIsLetter_;
  lastIsLetter_ = letter;
}

}  // namespace liang::internal

#endif  // LIANG_TEXT_TECHNICALTOKEN_HPP_
