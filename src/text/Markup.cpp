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

struct NamedReference {
  std::string_view name;
  char32_t first, second;
};

constexpr NamedReference kNamedReferences[] = {
#include "text/NamedReferences.inc"
};

const NamedReference* findNamedReference(std::string_view name) noexcept {
  const auto found =
      std::lower_bound(std::begin(kNamedReferences), std::end(kNamedReferences), name,
                       [](const NamedReference& r, std::string_view n) { return r.name < n; });
  return found != std::end(kNamedReferences) && found->name == name ? found : nullptr;
}

// Whether `c` may be part of a language subtag.
bool isSubtagChar(char c) noexcept { return isAsciiLetter(c) || isAsciiDigit(c); }

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
    const NamedReference* named = findNamedReference(body);
    if (named == nullptr) return {Reference::Kind::kUnknown, 0, length};
    if (named->first == 0xAD) return {Reference::Kind::kSoftHyphen, 0xAD, length};
    return {Reference::Kind::kCharacter, named->first, length};
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
  return {Reference::Kind::kCharacter, static_cast<char32_t>(value), length};
}

char TagReader::fold(char c) const noexcept { return xml_ ? c : lowerAscii(c); }

std::string_view TagReader::writtenName() const noexcept {
  return writtenLength_ <= kLongestName ? std::string_view(written_, writtenLength_)
                                        : std::string_view();
}

std::string_view TagReader::language() const noexcept { return {language_, languageLength_}; }

std::size_t TagReader::readName(std::string_view text, std::size_t i) noexcept {
  // The hashes and lengths are kept in locals here, which the stores of the
  // name's bytes would otherwise make the compiler reload byte after byte.
  // Until a name has an upper-case letter, its hashes as written are its
  // hashes in lower case: only these are made.
  if (mixedCase_) return readMixedCaseName(text, i);
  NameHash lowerWhole = lowerNameHash_, lowerLocal = lowerLocalHash_;
  std::size_t writtenLength = writtenLength_, localLength = localLength_;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '>' || c == '/' || isTagSpace(c)) break;
    if (c >= 'A' && c <= 'Z') break;
    lowerWhole.add(c);
    if (writtenLength < kLongestName) written_[writtenLength] = c;
    ++writtenLength;
    if (c == ':') {
      prefixed_ = true;
      lowerLocal = NameHash{};
      localLength = 0;
      continue;
    }
    lowerLocal.add(c);
    if (localLength < kLongestName) local_[localLength] = c;
    ++localLength;
  }
  lowerNameHash_ = lowerWhole;
  lowerLocalHash_ = lowerLocal;
  writtenLength_ = writtenLength;
  localLength_ = localLength;
  if (i == text.size() || !(text[i] >= 'A' && text[i] <= 'Z')) return i;
  if (!mixedCase_) {
    mixedCase_ = true;
    nameHash_ = lowerNameHash_;
    localHash_ = lowerLocalHash_;
  }
  return readMixedCaseName(text, i);
}

namespace {

// The bytes of a name that readPlainName takes: a-z and 0-9.
constexpr std::array<bool, 256> kPlainNameByte = [] {
  std::array<bool, 256> plain{};
  for (char c = 'a'; c <= 'z'; ++c) plain[static_cast<unsigned char>(c)] = true;
  for (char c = '0'; c <= '9'; ++c) plain[static_cast<unsigned char>(c)] = true;
  return plain;
}();

}  // namespace

std::size_t TagReader::readPlainName(std::string_view text) noexcept {
  // As readName would take these bytes: no upper-case letter, no prefix,
  // so every hash is the lower-case one and the local name is the name.
  if (state_ != State::kName || writtenLength_ != 0) return 0;
  NameHash hash = lowerNameHash_;
  std::size_t i = 0;
  const std::size_t limit = std::min(text.size(), kLongestName);
  for (; i < limit; ++i) {
    const char c = text[i];
    if (!kPlainNameByte[static_cast<unsigned char>(c)]) break;
    hash.add(c);
    written_[i] = c;
    local_[i] = c;
  }
  if (i == 0 || i == text.size() || text[i] != '>') return 0;
  lowerNameHash_ = lowerLocalHash_ = hash;
  writtenLength_ = localLength_ = i;
  state_ = State::kDone;
  return i + 1;
}

std::size_t TagReader::readMixedCaseName(std::string_view text, std::size_t i) noexcept {
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '>' || c == '/' || isTagSpace(c)) break;
    const bool isUpper = c >= 'A' && c <= 'Z';
    const char lower = isUpper ? static_cast<char>(c + 32) : c;
    nameHash_.add(c);
    lowerNameHash_.add(lower);
    if (writtenLength_ < kLongestName) written_[writtenLength_] = c;
    ++writtenLength_;
    if (c == ':') {
      prefixed_ = true;
      localHash_ = lowerLocalHash_ = NameHash{};
      localLength_ = 0;
      hasUpper_ = false;
      continue;
    }
    hasUpper_ = hasUpper_ || isUpper;
    localHash_.add(c);
    lowerLocalHash_.add(lower);
    if (localLength_ < kLongestName) local_[localLength_] = c;
    ++localLength_;
  }
  return i;
}

void TagReader::startAttribute(char first) noexcept {
  selfClosing_ = false;
  attributeLength_ = 0;
  attribute_[attributeLength_++] = fold(first);
  state_ = State::kAttributeName;
}

void TagReader::endAttributeName() noexcept {
  const std::string_view name(attribute_, attributeLength_);
  attributeKind_ = Attribute::kOther;
  valueLength_ = valueCut_ = subtagLength_ = 0;
  valueOverflow_ = valueBad_ = valueRestIgnored_ = false;
  inClassToken_ = false;
  classToken_ = NameHash{};
  if (name == "lang" && !seenLang_) {
    attributeKind_ = Attribute::kLang;
  } else if (name == "xml:lang" && !seenXmlLang_) {
    attributeKind_ = Attribute::kXmlLang;
  } else if (name == "class" && !seenClass_) {
    attributeKind_ = Attribute::kClass;
  } else if (name == "xmlns" || name.starts_with("xmlns:")) {
    hasXmlns_ = true;
  }
}

void TagReader::valueChar(char c) noexcept {
  switch (attributeKind_) {
    case Attribute::kOther:
      return;
    case Attribute::kClass:
      if (isTagSpace(c)) {
        endClassToken();
      } else {
        classToken_.add(c);
        inClassToken_ = true;
      }
      return;
    case Attribute::kLang:
    case Attribute::kXmlLang:
      break;
  }
  if (!valueOverflow_) {
    if (valueLength_ < kLongestLanguage) {
      value_[valueLength_++] = c;
      return;
    }
    // Too long to keep: what is kept ends at the last separator, and the
    // subtags from there on are only checked.
    valueOverflow_ = true;
    const std::string_view kept(value_, valueLength_);
    const std::size_t separator = kept.find_last_of("-_");
    if (separator == std::string_view::npos) {
      valueBad_ = true;
    } else {
      valueCut_ = separator;
      subtagLength_ = valueLength_ - separator - 1;
    }
  }
  if (valueBad_ || valueRestIgnored_) return;
  if (c == '-' || c == '_') {
    valueBad_ = subtagLength_ == 0 || subtagLength_ > 8;
    subtagLength_ = 0;
  } else if (isSubtagChar(c)) {
    ++subtagLength_;
  } else if (c == '.' || c == '@') {
    // A locale's encoding or modifier: the tag ends before it.
    valueBad_ = subtagLength_ == 0 || subtagLength_ > 8;
    valueRestIgnored_ = true;
  } else {
    valueBad_ = true;
  }
}

void TagReader::endClassToken() noexcept {
  if (!inClassToken_) return;
  for (const std::uint64_t skip : skipClasses_) {
    if (skip == classToken_.value) skipClass_ = true;
  }
  inClassToken_ = false;
  classToken_ = NameHash{};
}

void TagReader::endValue() noexcept {
  switch (attributeKind_) {
    case Attribute::kOther:
      break;
    case Attribute::kClass:
      endClassToken();
      seenClass_ = true;
      break;
    case Attribute::kLang:
    case Attribute::kXmlLang: {
      const bool xml = attributeKind_ == Attribute::kXmlLang;
      (xml ? seenXmlLang_ : seenLang_) = true;
      if (xml || !languageFromXml_) {
        hasLanguage_ = true;
        languageFromXml_ = xml;
        std::size_t length = valueLength_;
        if (valueOverflow_) {
          if (!valueRestIgnored_ && (subtagLength_ == 0 || subtagLength_ > 8)) valueBad_ = true;
          length = valueCut_;
        }
        if (valueBad_) {
          // A value that is no language tag: "!" names none.
          language_[0] = '!';
          languageLength_ = 1;
        } else {
          std::memcpy(language_, value_, length);
          languageLength_ = length;
        }
      }
      break;
    }
  }
  attributeKind_ = Attribute::kOther;
  state_ = State::kBeforeAttribute;
}

std::size_t TagReader::read(std::string_view text) noexcept {
  std::size_t i = 0;
  while (i < text.size() && state_ != State::kDone) {
    if (state_ == State::kName) {
      i = readName(text, i);
      if (i == text.size()) break;
    }
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
        if (c == '=') {
          endAttributeName();
          state_ = State::kBeforeValue;
        } else if (isTagSpace(c)) {
          endAttributeName();
          state_ = State::kAfterAttributeName;
        } else if (c == '>' || c == '/') {
          // An attribute without a value, such as "lang" alone: lang="".
          endAttributeName();
          endValue();
          if (c == '>') state_ = State::kDone;
          selfClosing_ = c == '/';
        } else if (attributeLength_ < kLongestName) {
          attribute_[attributeLength_++] = fold(c);
        } else {
          attributeLength_ = kLongestName;  // no name we look for is this long
          attribute_[0] = '\0';
        }
        break;
      case State::kAfterAttributeName:
        if (c == '=') {
          state_ = State::kBeforeValue;
        } else if (c == '>' || c == '/') {
          endValue();
          if (c == '>') state_ = State::kDone;
          selfClosing_ = c == '/';
        } else if (!isTagSpace(c)) {
          endValue();
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
          valueChar(c);
          state_ = State::kUnquotedValue;
        }
        break;
      case State::kQuotedValue: {
        // Most values (a URL, an id) are stepped over to their closing
        // quote at once.
        const std::size_t close = text.find(quote_, i - 1);
        const std::size_t end = close == std::string_view::npos ? text.size() : close;
        if (attributeKind_ != Attribute::kOther) {
          for (std::size_t k = i - 1; k < end; ++k) valueChar(text[k]);
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
        } else {
          valueChar(c);
        }
        break;
      case State::kDone:
        break;
    }
  }
  return i;
}

Match matchEndTag(std::string_view text, std::string_view name, bool atEnd) noexcept {
  const std::size_t needed = 2 + name.size() + 1;
  const std::size_t have = std::min(text.size(), needed);
  if (startsWithIgnoringCase(text.substr(0, have), "</") == Match::kNo) return Match::kNo;
  if (have > 2 &&
      startsWithIgnoringCase(text.substr(2, std::min(have, needed - 1) - 2), name) == Match::kNo) {
    return Match::kNo;
  }
  if (text.size() < needed) return atEnd ? Match::kNo : Match::kMore;
  const char after = text[needed - 1];
  return isTagSpace(after) || after == '/' || after == '>' ? Match::kYes : Match::kNo;
}

}  // namespace liang::internal
