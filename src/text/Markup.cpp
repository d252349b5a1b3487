#include "text/Markup.hpp"

#include <algorithm>
#include <array>
#include <cstring>

namespace liang::internal {

namespace {

bool isAsciiLetter(char c) noexcept { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isAsciiDigit(char c) noexcept { return c >= '0' && c <= '9'; }
char lowerAscii(char c) noexcept { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }
bool isTagSpace(char c) noexcept {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

// Whether `text` begins with `prefix`, ASCII letters compared in any case;
// kMore when `text` is a shorter beginning of it.
Match startsWithIgnoringCase(std::string_view text, std::string_view prefix) noexcept {
  const std::size_t n = std::min(text.size(), prefix.size());
  for (std::size_t i = 0; i < n; ++i) {
    if (lowerAscii(text[i]) != lowerAscii(prefix[i])) return Match::kNo;
  }
  return n == prefix.size() ? Match::kYes : Match::kMore;
}

bool isOneOf(std::string_view name, std::initializer_list<std::string_view> names) noexcept {
  // No element named below is longer than "textarea": most names of a page
  // (p, a, em, span, div) are turned away after a comparison or two.
  if (name.empty() || name.size() > 8) return false;
  for (const std::string_view candidate : names) {
    if (candidate.size() == name.size() && candidate[0] == name[0] && candidate == name)
      return true;
  }
  return false;
}

}  // namespace

MarkupStart classifyMarkup(std::string_view text, bool atEnd) noexcept {
  const auto more = [&](MarkupKind otherwise) {
    return MarkupStart{atEnd ? otherwise : MarkupKind::kMore, 0};
  };
  if (text.size() < 2) return more(MarkupKind::kNone);
  const char second = text[1];
  if (isAsciiLetter(second)) return {MarkupKind::kStartTag, 1};
  if (second == '/') {
    if (text.size() < 3) return more(MarkupKind::kNone);
    // "</" and no letter is no end tag, but HTML reads it as a comment that
    // runs to the next '>' ("</ p>", "</3>"): no text of the page, so it is
    // passed through like a declaration.
    return isAsciiLetter(text[2]) ? MarkupStart{MarkupKind::kEndTag, 2}
                                  : MarkupStart{MarkupKind::kDeclaration, 2};
  }
  if (second == '?') return {MarkupKind::kProcessingInstruction, 2};
  if (second != '!') return {MarkupKind::kNone, 0};
  switch (startsWithIgnoringCase(text, "<!--")) {
    case Match::kYes:
      return {MarkupKind::kComment, 4};
    case Match::kMore:
      return more(MarkupKind::kDeclaration);
    case Match::kNo:
      break;
  }
  // CDATA is case-sensitive in XML, but nothing else could begin so.
  switch (startsWithIgnoringCase(text, "<![CDATA[")) {
    case Match::kYes:
      return {MarkupKind::kCdata, 9};
    case Match::kMore:
      return more(MarkupKind::kDeclaration);
    case Match::kNo:
      break;
  }
  return {MarkupKind::kDeclaration, 2};
}

std::size_t findTerminator(std::string_view text, std::string_view terminator,
                           std::size_t& keep) noexcept {
  keep = 0;
  const std::size_t found = text.find(terminator);
  if (found != std::string_view::npos) return found + terminator.size();
  // The longest end of `text` that begins the terminator must wait.
  for (std::size_t k = std::min(terminator.size() - 1, text.size()); k > 0; --k) {
    if (text.substr(text.size() - k) == terminator.substr(0, k)) {
      keep = k;
      break;
    }
  }
  return std::string_view::npos;
}

Reference readReference(std::string_view text, bool atEnd) noexcept {
  // Longer than any reference worth reading: "&#x10FFFF;" is 10 bytes and
  // HTML's longest name 31.
  constexpr std::size_t kLongest = 40;
  const Reference none{Reference::Kind::kNone, 0, 0};
  const std::size_t semicolon = text.substr(0, kLongest).find(';');
  if (semicolon == std::string_view::npos) {
    // Complete unless the text may still bring the ';'.
    const bool couldGoOn = !atEnd && text.size() < kLongest;
    if (!couldGoOn) return none;
    // Only characters that a reference may hold so far.
    for (std::size_t i = 1; i < text.size(); ++i) {
      const char c = text[i];
      if (!isAsciiLetter(c) && !isAsciiDigit(c) && !(i == 1 && c == '#')) return none;
    }
    return {Reference::Kind::kMore, 0, 0};
  }
  const std::string_view body = text.substr(1, semicolon - 1);
  const std::size_t length = semicolon + 1;
  if (body.empty()) return none;
  if (body[0] != '#') {
    if (!std::all_of(body.begin(), body.end(),
                     [](char c) { return isAsciiLetter(c) || isAsciiDigit(c); })) {
      return none;
    }
    if (body == "shy") return {Reference::Kind::kSoftHyphen, 0xAD, length};
    return {Reference::Kind::kNamed, 0, length};
  }
  std::string_view digits = body.substr(1);
  int base = 10;
  if (!digits.empty() && (digits[0] == 'x' || digits[0] == 'X')) {
    base = 16;
    digits.remove_prefix(1);
  }
  if (digits.empty() || digits.size() > 8) return none;
  std::uint32_t value = 0;
  for (const char c : digits) {
    std::uint32_t digit;
    if (isAsciiDigit(c)) {
      digit = static_cast<std::uint32_t>(c - '0');
    } else if (base == 16 && lowerAscii(c) >= 'a' && lowerAscii(c) <= 'f') {
      digit = static_cast<std::uint32_t>(lowerAscii(c) - 'a' + 10);
    } else {
      return none;
    }
    value = value * static_cast<std::uint32_t>(base) + digit;
  }
  if (value == 0xAD) return {Reference::Kind::kSoftHyphen, 0xAD, length};
  return {Reference::Kind::kNumeric, static_cast<char32_t>(value), length};
}

void TagReader::begin(bool endTag) noexcept {
  // Only the lengths and flags: the buffers are read up to their lengths.
  state_ = State::kName;
  endTag_ = endTag;
  selfClosing_ = false;
  nameLength_ = attributeLength_ = valueLength_ = languageLength_ = 0;
  hasLanguage_ = languageFromXml_ = false;
}

std::string_view TagReader::name() const noexcept {
  const std::string_view whole(name_, nameLength_);
  const std::size_t colon = whole.rfind(':');
  return colon == std::string_view::npos ? whole : whole.substr(colon + 1);
}

bool TagReader::attributeIs(std::string_view lowerName) const noexcept {
  return std::string_view(attribute_, attributeLength_) == lowerName;
}

void TagReader::startAttribute(char first) noexcept {
  selfClosing_ = false;
  attributeLength_ = 0;
  valueLength_ = 0;
  attribute_[attributeLength_++] = lowerAscii(first);
  state_ = State::kAttributeName;
}

void TagReader::endValue() noexcept {
  const bool xml = attributeIs("xml:lang");
  if ((xml || attributeIs("lang")) && (xml || !languageFromXml_)) {
    hasLanguage_ = true;
    languageFromXml_ = xml;
    std::memcpy(language_, value_, valueLength_);
    languageLength_ = valueLength_;
  }
  state_ = State::kBeforeAttribute;
}

std::size_t TagReader::read(std::string_view text) noexcept {
  std::size_t i = 0;
  while (i < text.size() && state_ != State::kDone) {
    const char c = text[i++];
    switch (state_) {
      case State::kName:
        if (c == '>') {
          state_ = State::kDone;
        } else if (isTagSpace(c)) {
          state_ = State::kBeforeAttribute;
        } else if (c == '/') {
          selfClosing_ = true;
          state_ = State::kBeforeAttribute;
        } else if (nameLength_ < kLongestName) {
          name_[nameLength_++] = lowerAscii(c);
        }
        break;
      case State::kBeforeAttribute:
        if (c == '>') {
          state_ = State::kDone;
        } else if (c == '/') {
          selfClosing_ = true;
        } else if (!isTagSpace(c)) {
          startAttribute(c);
        }
        break;
      case State::kAttributeName:
        if (c == '>') {
          state_ = State::kDone;
        } else if (c == '=') {
          state_ = State::kBeforeValue;
        } else if (isTagSpace(c)) {
          state_ = State::kAfterAttributeName;
        } else if (c == '/') {
          selfClosing_ = true;
          state_ = State::kBeforeAttribute;
        } else if (attributeLength_ < kLongestName) {
          attribute_[attributeLength_++] = lowerAscii(c);
        }
        break;
      case State::kAfterAttributeName:
        if (c == '>') {
          state_ = State::kDone;
        } else if (c == '=') {
          state_ = State::kBeforeValue;
        } else if (c == '/') {
          selfClosing_ = true;
          state_ = State::kBeforeAttribute;
        } else if (!isTagSpace(c)) {
          startAttribute(c);
        }
        break;
      case State::kBeforeValue:
        if (c == '>') {
          endValue();
          state_ = State::kDone;
        } else if (c == '"' || c == '\'') {
          quote_ = c;
          state_ = State::kQuotedValue;
        } else if (!isTagSpace(c)) {
          value_[valueLength_++] = c;
          state_ = State::kUnquotedValue;
        }
        break;
      case State::kQuotedValue: {
        // Only a language is kept; any other value (a URL, a class list) is
        // stepped over to its closing quote at once.
        const bool kept = attributeIs("lang") || attributeIs("xml:lang");
        const std::size_t close = text.find(quote_, i - 1);
        const std::size_t end = close == std::string_view::npos ? text.size() : close;
        for (std::size_t k = i - 1; kept && k < end && valueLength_ < kLongestLanguage; ++k) {
          value_[valueLength_++] = text[k];
        }
        i = end;
        if (close != std::string_view::npos) {
          ++i;
          endValue();
        }
        break;
      }
      case State::kUnquotedValue:
        if (c == '>') {
          endValue();
          state_ = State::kDone;
        } else if (isTagSpace(c)) {
          endValue();
        } else if (valueLength_ < kLongestLanguage) {
          value_[valueLength_++] = c;
        }
        break;
      case State::kDone:
        break;
    }
  }
  return i;
}

bool isRawTextElement(std::string_view lowerName) noexcept {
  return isOneOf(lowerName, {"script", "style", "textarea"});
}

bool isUnhyphenatedElement(std::string_view lowerName) noexcept {
  return isOneOf(lowerName, {"pre", "code", "kbd", "samp", "var", "textarea", "math", "svg",
                             "script", "style", "title"});
}

bool isVoidElement(std::string_view lowerName) noexcept {
  return isOneOf(lowerName, {"area", "base", "br", "col", "embed", "hr", "img", "input", "link",
                             "meta", "param", "source", "track", "wbr"});
}

Match matchEndTag(std::string_view text, std::string_view lowerName, bool atEnd) noexcept {
  const std::size_t needed = 2 + lowerName.size() + 1;
  const std::size_t have = std::min(text.size(), needed);
  if (startsWithIgnoringCase(text.substr(0, have), "</") == Match::kNo) return Match::kNo;
  if (have > 2 && startsWithIgnoringCase(text.substr(2, std::min(have, needed - 1) - 2),
                                         lowerName) == Match::kNo) {
    return Match::kNo;
  }
  if (text.size() < needed) return atEnd ? Match::kNo : Match::kMore;
  const char after = text[needed - 1];
  return isTagSpace(after) || after == '/' || after == '>' ? Match::kYes : Match::kNo;
}

}  // namespace liang::internal
