#include "text/WordRules.hpp"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <new>
#include <utility>

#include "core/BreakPlan.hpp"
#include "core/Breaks.hpp"
#include "core/PatternLetters.hpp"
#include "text/Unicode.hpp"

namespace liang::internal {

namespace {

// The fewest letters a word needs before it can break: left + right minimum
// (at least 1), when both are ordinary; 1 otherwise, which asks about every
// word.
std::size_t fewestLettersToBreak(const Hyphenator& h) {
  constexpr std::int64_t kOrdinary = std::int64_t{1} << 20;
  const std::int64_t left = hyphenatorLeftMin(h), right = hyphenatorRightMin(h);
  if (left < 0 || right < 0 || left > kOrdinary || right > kOrdinary) return 1;
  return std::max<std::size_t>(static_cast<std::size_t>(left + right), 1);
}

}  // namespace

WordRules::WordRules(Hyphenator h, const TextOptions& options)
    : owned_(std::move(h)),
      hyphenator_(*owned_),
      options_(options),
      fewestLettersToBreak_(fewestLettersToBreak(hyphenator_)) {}

WordRules::WordRules(const Hyphenator& h, const TextOptions& options, Borrowed)
    : hyphenator_(h), options_(options), fewestLettersToBreak_(fewestLettersToBreak(h)) {}

bool WordRules::foldsToPatternLetter(char32_t c) const {
  // The edge mark "." is the patterns' own notation, never a letter of a text.
  const char32_t folded = hyphenatorChars(hyphenator_)(c);
  return folded != U'.' && isPatternLetter(hyphenatorPatterns(hyphenator_), folded);
}

CharInfo WordRules::lookUp(char32_t c) const {
  using Kind = CharInfo::Kind;
  const bool upper = isUppercase(c), lower = isLowercase(c);
  if (c == 0xAD) return {Kind::kSoftHyphen, false, false};
  // A space ends a word whatever the patterns say: tokens are cut at spaces
  // before anything else is looked at, and a word never spans two of them.
  const CharCategory category = categoryOf(c);
  if (category == CharCategory::kSpace) return {Kind::kSpace, false, false};
  // In markup '<' and '&' begin markup and references, whatever the patterns
  // say: a word that took them in would run into a tag.
  if (options_.markup && (c == U'<' || c == U'&')) return {Kind::kOther, false, false};
  // Patterns that spell compounds with their hyphen would break right beside
  // it ("palavra--passe"), where the hyphen already is a break.
  if (c == U'-' || c == 0x2010 || c == 0x2011) return {Kind::kHardHyphen, false, false};
  // A letter of the patterns is a letter of the word, whatever its category:
  // French and Italian patterns spell elisions with an apostrophe, the Indic
  // ones use zero-width joiners, and their vowel signs are marks that must
  // be matched as letters of their own.
  if (foldsToPatternLetter(c)) return {Kind::kLetter, upper, lower};
  switch (category) {
    case CharCategory::kLetter: {
      // A capital the table lacks (U+1E9E in German) is matched as its
      // lowercase when the patterns know that.
      const char32_t lowercase = singleLowercase(c);
      const bool lowered = lowercase != c && foldsToPatternLetter(lowercase);
      return {Kind::kLetter, upper, lower, lowered ? CharInfo::kLowered : std::uint8_t{0}};
    }
    case CharCategory::kMark:
      return {Kind::kMark, false, false};
    case CharCategory::kDigit:
      return {Kind::kOther, false, false, CharInfo::kDigit};
    case CharCategory::kSpace:
      return {Kind::kSpace, false, false};
    case CharCategory::kOther:
      break;
  }
  return {Kind::kOther, false, false};
}

const std::uint8_t* WordRules::sharedTable() const {
  const DerivedTables& tables = HyphenatorAccess::derivedTables(hyphenator_);
  return tables
      .get(options_.markup ? 1 : 0,
           [this] {
             DerivedTables::Table table{};
             static_assert(DerivedTables::Table().size() == kLatin1 + 128);
             for (char32_t c = 0; c < kLatin1; ++c) {
               // A caller's folding function may fail on some character:
               // that failure belongs to a text that holds it, so here the
               // character is only left unknown, for infoOf to ask again
               // (and fail) where the text holds it.
               std::uint8_t plain = kAskAgain;
               try {
                 const CharInfo info = lookUp(c);
                 table[c] = info.bits();
                 const bool letter = info.kind() == CharInfo::Kind::kLetter;
                 // A letter matched as another is the general path's.
                 const bool lowered = letter && info.lowered();
                 plain = lowered  ? kAskAgain
                         : letter ? static_cast<std::uint8_t>(kPlainLetter | info.caseBits())
                                  : std::uint8_t{0};
               } catch (...) {
               }
               if (c < 128) table[kLatin1 + c] = plain;
             }
             return table;
           })
      .data();
}

bool WordRules::leftAlone(std::size_t letters, const WordCase& letterCase) const noexcept {
  if (letters < options_.minWordLength) return true;
  if (letterCase.upperAfterLower) return !options_.mixedCase;  // names and identifiers
  if (letterCase.anyUpper && !letterCase.anyLower && letters >= 2) return !options_.allCaps;
  if (letterCase.firstUpper) return !options_.capitalized;
  return false;
}

std::size_t WordRules::findLongLetterBreaks(std::u32string_view letters, std::uint8_t firstCase,
                                            std::uint8_t laterCase, std::size_t* found) {
  WordCase letterCase;
  if ((laterCase & CharInfo::kUpper) == 0) {
    letterCase.firstUpper = letterCase.anyUpper = (firstCase & CharInfo::kUpper) != 0;
    letterCase.anyLower = ((firstCase | laterCase) & CharInfo::kLower) != 0;
  } else {
    for (std::size_t i = 0; i < letters.size(); ++i) letterCase.add(infoOf(letters[i]), i == 0);
  }
  if (leftAlone(letters.size(), letterCase)) return 0;
  return collectBreaks(hyphenator_, letters, found);
}

std::size_t WordRules::findPlainWordBreaksOf(const unsigned char* word, std::size_t n,
                                             std::size_t room, std::uint8_t firstCase,
                                             std::uint8_t laterCase, std::size_t* found) {
  constexpr std::size_t kMostLetters = 64;
  bool cacheable = n <= BreakCache::kLongestWord && cacheAllowed_;
  if (cacheable && pausedFor_ != 0) {
    --pausedFor_;
    cacheable = false;
  }
  if (cacheable && cache_ == nullptr && ++wordsUncached_ >= kWordsBeforeCache) {
    try {
      cache_ = std::make_unique<BreakCache>();
    } catch (const std::bad_alloc&) {
      cacheAllowed_ = false;  // the words are found as they were without it
    }
  }
  BreakCache::Key key{};
  const bool cached = cacheable && cache_ != nullptr;
  if (cached) {
    // findPlainWordBreaks has looked and missed, or the cache is new.
    key = BreakCache::keyOf(word, n, room);
    countLookUp(false);
  }
  char32_t letters[kMostLetters];
  for (std::size_t i = 0; i < n; ++i) letters[i] = word[i];
  const std::size_t count =
      findLongLetterBreaks(std::u32string_view(letters, n), firstCase, laterCase, found);
  if (cached) {
    std::uint32_t breaks = 0;
    for (std::size_t k = 0; k < count; ++k) breaks |= std::uint32_t{1} << found[k];
    cache_->store(key, breaks);
  }
  return count;
}

void WordRules::prepareForLongText() noexcept {
  if (prepared_) return;
  prepared_ = true;
  try {
    prepare(hyphenator_);
  } catch (...) {
    // Built as the words need it, as without this call; a failure there
    // is the text's to report.
  }
}

void WordRules::endRound() noexcept {
  if (roundHits_ < kCacheRound / 8) pausedFor_ = kCachePause;
  roundLookUps_ = roundHits_ = 0;
}

bool WordRules::plainLettersMatchAsciiAlpha() {
  static constexpr std::array<std::uint8_t, 128> kAlpha = [] {
    std::array<std::uint8_t, 128> alpha{};
    for (char c = 'A'; c <= 'Z'; ++c) {
      alpha[static_cast<unsigned char>(c)] = kPlainLetter | CharInfo::kUpper;
      alpha[static_cast<unsigned char>(c + 32)] = kPlainLetter | CharInfo::kLower;
    }
    return alpha;
  }();
  return std::memcmp(plainLetters(), kAlpha.data(), kAlpha.size()) == 0;
}

void WordRules::findBreaks(std::span<const WordChar> chars, std::size_t end, bool beforeHardHyphen,
                           std::vector<std::size_t>& breaks) {
  using Kind = CharInfo::Kind;
  breaks.clear();
  matched_.clear();
  starts_.clear();
  firstChar_.clear();
  WordCase letterCase;
  bool anyMarks = false;
  for (std::size_t i = 0; i < chars.size(); ++i) {
    const WordChar& ch = chars[i];
    switch (ch.info.kind()) {
      case Kind::kSoftHyphen:
        return;  // the author has said where the word breaks
      case Kind::kMark:
        if (!matched_.empty()) {
          anyMarks = true;
          continue;
        }
        break;  // a mark that begins the word stands for itself
      default:
        break;
    }
    letterCase.add(ch.info, matched_.empty());
    matched_.push_back(ch.info.lowered() ? singleLowercase(ch.codePoint) : ch.codePoint);
    starts_.push_back(ch.offset);
    firstChar_.push_back(i);
  }
  const std::size_t n = matched_.size();
  if (n == 0 || leftAlone(n, letterCase)) return;
  if (anyMarks) {
    firstChar_.push_back(chars.size());
    std::u32string cluster;
    for (std::size_t k = 0; k < n; ++k) {
      if (firstChar_[k + 1] - firstChar_[k] < 2) continue;
      cluster.clear();
      for (std::size_t i = firstChar_[k]; i < firstChar_[k + 1]; ++i) {
        cluster.push_back(chars[i].codePoint);
      }
      matched_[k] = matchedAs(composedFirst(cluster));
    }
  }
  found_.resize(n);
  std::size_t count = collectBreaks(hyphenator_, matched_, found_.data());
  // A break after the last letter (a hyphenator without a right minimum)
  // puts the hyphen right after the word: not before a hard hyphen.
  if (beforeHardHyphen && count != 0 && found_[count - 1] == n) --count;
  starts_.push_back(end);
  for (std::size_t k = 0; k < count; ++k) breaks.push_back(starts_[found_[k]]);
}

}  // namespace liang::internal
