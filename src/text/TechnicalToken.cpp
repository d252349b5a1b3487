#include "text/TechnicalToken.hpp"

#include "text/Unicode.hpp"

namespace liang::internal {

TokenCharClass tokenCharClassBeyondAscii(char32_t c) noexcept {
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

}  // namespace liang::internal
