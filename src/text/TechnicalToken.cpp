#include "text/TechnicalToken.hpp"

#include "text/Unicode.hpp"

namespace liang::internal {

TokenCharClass tokenCharClass(char32_t c) noexcept {
  if (c < 0x80) {
    if ((c | 0x20) >= U'a' && (c | 0x20) <= U'z') return TokenCharClass::kLetter;
    if (c >= U'0' && c <= U'9') return TokenCharClass::kDigit;
    return TokenCharClass::kOther;
  }
  switch (categoryOf(c)) {
    case CharCategory::kLetter:
      return TokenCharClass::kLetter;
    case CharCategory::kMark:
      return TokenCharClass::kMark;
    case CharCategory::kDigit:
      return TokenCharClass::kDigit;
    default:
      return TokenCharClass::kOther;
  }
}

void TechnicalToken::add(char32_t c, TokenCharClass kind) noexcept {
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
