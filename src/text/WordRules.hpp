// The words of running text in one language: which characters belong to a
// word, and where a word found in text may break.
//
// A word is a maximal run of letters: characters of Unicode category L or M,
// and characters that fold to a letter of the language's patterns (the
// apostrophe of French, the joiners of the Indic scripts). A soft hyphen
// inside a word does not end it. A combining mark that is no letter of the
// patterns belongs to the letter before it: no break falls before it, and a
// letter and its marks are matched as their canonical composition, so text
// in NFD breaks like the same text in NFC.
//
// Hard hyphens (U+002D, U+2010, U+2011) are never letters, even where the
// patterns spell with them (Portuguese, Russian, Ukrainian, Afrikaans,
// Turkmen): a hyphen already is a break, so each part of "guarda-chuva"
// breaks as it would alone, and no break is put right before a hyphen. A
// letter that the language's table does not fold but whose lowercase (one
// code point) is a letter of the patterns is matched as that lowercase: the
// capital sharp s of German, U+1E9E, as U+00DF.
#ifndef LIANG_TEXT_WORDRULES_HPP_
#define LIANG_TEXT_WORDRULES_HPP_

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "liang/Hyphenator.hpp"
#include "liang/Text.hpp"
#include "text/BreakCache.hpp"
#include "text/Unicode.hpp"

namespace liang::internal {

// What one character is to the words of a language.
class CharInfo {
 public:
  enum class Kind : std::uint8_t {
    kLetter,      // a letter of a word
    kMark,        // a combining mark that joins the letter before it
    kSoftHyphen,  // U+00AD: inside a word, and the author's own break
    kSpace,       // ends a word and a whitespace-delimited token
    kOther,       // ends a word: digits, punctuation, symbols
    kHardHyphen,  // ends a word, and no break goes right before it
  };

  constexpr CharInfo() noexcept = default;
  constexpr CharInfo(Kind kind, bool upper, bool lower, std::uint8_t more = 0) noexcept
      : bits_(static_cast<std::uint8_t>(kKnown | static_cast<std::uint8_t>(kind) |
                                        (upper ? kUpper : 0) | (lower ? kLower : 0) | more)) {}

  // The CharInfo whose bits() are `bits`.
  static constexpr CharInfo fromBits(std::uint8_t bits) noexcept {
    CharInfo info;
    info.bits_ = bits;
    return info;
  }
  std::uint8_t bits() const noexcept { return bits_; }

  bool known() const noexcept { return (bits_ & kKnown) != 0; }
  Kind kind() const noexcept { return static_cast<Kind>(bits_ & kKindMask); }
  bool inWord() const noexcept { return kind() <= Kind::kSoftHyphen; }
  bool upper() const noexcept { return (bits_ & kUpper) != 0; }
  bool lower() const noexcept { return (bits_ & kLower) != 0; }
  // kUpper and kLower, to be or-ed over the letters of a word.
  std::uint8_t caseBits() const noexcept { return bits_ & (kUpper | kLower); }
  // A decimal digit (Unicode Nd), of any script.
  bool digit() const noexcept { return (bits_ & kDigit) != 0; }
  // A letter matched as its lowercase (singleLowercase), which the patterns
  // know where the letter itself is unknown to the language's table.
  bool lowered() const noexcept { return (bits_ & kLowered) != 0; }

  static constexpr std::uint8_t kUpper = 0x08;
  static constexpr std::uint8_t kLower = 0x10;
  static constexpr std::uint8_t kDigit = 0x20;
  static constexpr std::uint8_t kLowered = 0x40;

 private:
  static constexpr std::uint8_t kKindMask = 0x07;
  static constexpr std::uint8_t kKnown = 0x80;
  std::uint8_t bits_ = 0;
};

// The case of a word's letters, as the options need it.
struct WordCase {
  bool firstUpper = false;
  bool anyUpper = false;
  bool anyLower = false;
  bool upperAfterLower = false;  // camelCase, iPhone

  void add(CharInfo letter, bool first) noexcept {
    upperAfterLower = upperAfterLower || (letter.upper() && anyLower);
    firstUpper = firstUpper || (first && letter.upper());
    anyUpper = anyUpper || letter.upper();
    anyLower = anyLower || letter.lower();
  }
};

// A character of a word found in text, and where its bytes begin.
struct WordChar {
  char32_t codePoint;
  CharInfo info;
  std::size_t offset;
};

class WordRules {
 public:
  // `h` already carries the minima the text is to be hyphenated with.
  WordRules(Hyphenator h, const TextOptions& options);
  // The same on the caller's hyphenator, which outlives the rules: no copy
  // of it, which a one-word text would pay for in full.
  struct Borrowed {};
  WordRules(const Hyphenator& h, const TextOptions& options, Borrowed);
  WordRules(const WordRules&) = delete;
  WordRules& operator=(const WordRules&) = delete;

  // What `c` is in this language. The answers for U+0000..U+00FF are made
  // once per hyphenator and kind of text (on the first call, which builds
  // the trie if it is not built) and shared by every WordRules of it; a few
  // hundred others are kept once found.
  CharInfo infoOf(char32_t c) {
    if (c < kLatin1) {
      const CharInfo kept = CharInfo::fromBits(table()[c]);
      return kept.known() ? kept : lookUp(c);  // unknown: the fold failed on it
    }
    if (others_ == nullptr) others_ = std::make_unique<OtherInfos>();
    CachedInfo& kept = (*others_)[c % others_->size()];
    if (kept.codePoint != c || !kept.info.known()) kept = {c, lookUp(c)};
    return kept.info;
  }

  // For each ASCII byte, whether the fast path of plain words may take it as
  // a letter (kPlainLetter), or'ed with its CharInfo::caseBits(); 0 when it
  // is no letter (in markup, '<' and '&' never are);
  // kAskAgain when the folding function failed on it, for the general path
  // to ask again where the text holds it. Shared like infoOf's answers.
  static constexpr std::uint8_t kPlainLetter = 0x01;
  static constexpr std::uint8_t kAskAgain = 0x40;
  const std::uint8_t* plainLetters() { return table() + kLatin1; }

  // The byte offsets where the word of `chars` breaks, into `breaks`, each
  // the offset of the character a piece begins with; `end` is the offset
  // just past the word, and `beforeHardHyphen` whether a hard hyphen follows
  // it, which drops a break after the last letter. A word that the author
  // hyphenated, or that the options leave alone, has none.
  void findBreaks(std::span<const WordChar> chars, std::size_t end, bool beforeHardHyphen,
                  std::vector<std::size_t>& breaks);

  // The breaks of a word of letters only, no mark or soft hyphen among them,
  // as the numbers of the letters that pieces begin with, into `found`
  // (room for letters.size()); returns how many. `firstCase` is the first
  // letter's CharInfo::caseBits(), `laterCase` the or of the others': a word
  // with no capital after its first letter, the most common kind, needs no
  // further look at its case. The path of plain words; unlike findBreaks,
  // it may give a break after the last letter whatever follows the word.
  std::size_t findLetterBreaks(std::u32string_view letters, std::uint8_t firstCase,
                               std::uint8_t laterCase, std::size_t* found) {
    // Most words of running text are too short to break at all: they cost
    // no call.
    if (letters.size() < fewestLettersToBreak_) return 0;
    return findLongLetterBreaks(letters, firstCase, laterCase, found);
  }

  // Whether a word of `letters` letters may break at all: most words of
  // running text are too short to.
  bool mayBreak(std::size_t letters) const noexcept { return letters >= fewestLettersToBreak_; }

  // findLetterBreaks of the word of the `n` (at most 64) ASCII letters at
  // `word`, of which plainLetters() says kPlainLetter, as the text holds
  // them; `room` bytes from `word` may be read (room >= n). A short word's
  // breaks are kept in a BreakCache, made once the text has shown enough
  // words to pay for it, and looked up there when the word comes again.
  std::size_t findPlainWordBreaks(const unsigned char* word, std::size_t n, std::size_t room,
                                  std::uint8_t firstCase, std::uint8_t laterCase,
                                  std::size_t* found) {
    if (n < fewestLettersToBreak_) return 0;
    // A word found in the cache costs no call.
    if (cache_ != nullptr && pausedFor_ == 0 && n <= BreakCache::kLongestWord) {
      std::uint32_t breaks;
      if (cache_->find(BreakCache::keyOf(word, n, room), breaks)) {
        countLookUp(true);
        std::size_t count = 0;
        for (; breaks != 0; breaks &= breaks - 1) {
          found[count++] = static_cast<std::size_t>(std::countr_zero(breaks));
        }
        return count;
      }
    }
    return findPlainWordBreaksOf(word, n, room, firstCase, laterCase, found);
  }

  // The breaks of the cache for the word of the `n` (mayBreak, at most
  // BreakCache::kLongestWord) ASCII letters at `word`, of which kLongestWord
  // bytes may be read, as findPlainWordBreaks would give them (bit p: a
  // break before letter p); false when the cache is not in use or does not
  // hold the word, and then findPlainWordBreaksOf gives its breaks. The
  // scanner's commonest path: the key is read straight from the text.
  bool cachedBreaks(const unsigned char* word, std::size_t n, std::uint32_t& breaks) noexcept {
    if (cache_ == nullptr || pausedFor_ != 0) return false;
    if (!cache_->find(BreakCache::keyOfBlock(word, n), breaks)) return false;
    countLookUp(true);
    return true;
  }

  // findPlainWordBreaks of a word that is not in the cache (cachedBreaks
  // has looked, or the cache is not in use).
  std::size_t findPlainWordBreaksOf(const unsigned char* word, std::size_t n, std::size_t room,
                                    std::uint8_t firstCase, std::uint8_t laterCase,
                                    std::size_t* found);

  // Whether plainLetters() takes exactly the ASCII letters A-Z and a-z, each
  // with its case: then a block of text may be read by LetterBlocks.hpp.
  bool plainLettersAreAsciiAlpha() {
    if (asciiAlpha_ == Tristate::kUnknown) {
      asciiAlpha_ = plainLettersMatchAsciiAlpha() ? Tristate::kYes : Tristate::kNo;
    }
    return asciiAlpha_ == Tristate::kYes;
  }

  // Whether findPlainWordBreaks may keep breaks in a BreakCache; on by
  // default. Off, every word's breaks are found afresh.
  void useBreakCache(bool use) noexcept {
    cacheAllowed_ = use;
    if (!use) cache_.reset();
  }
  // Whether a BreakCache has been made (and so holds BreakCache::kBytes).
  bool hasBreakCache() const noexcept { return cache_ != nullptr; }
  // Whether the cache is left aside for now: it pays where the text repeats
  // its words, and where it does not (a list of words, each once) looking
  // in it only costs. When fewer than one look-up in eight of a round of
  // kCacheRound finds its word, the next kCachePause words are found
  // without it.
  bool breakCachePaused() const noexcept { return pausedFor_ != 0; }
  static constexpr std::uint32_t kCacheRound = 1024;
  static constexpr std::uint32_t kCachePause = 16384;

  // Builds ahead of time, once, what a long text builds as it goes
  // (liang::prepare): the whole automaton at once, rather than the first
  // thousands of words scored the slow way before it is built. A failure
  // is left for the words that need what failed to meet it.
  void prepareForLongText() noexcept;

  // The words findPlainWordBreaks looks at before it makes its cache: a
  // short text does not pay for one.
  static constexpr std::size_t kWordsBeforeCache = 64;

 private:
  static constexpr char32_t kLatin1 = 0x100;
  struct CachedInfo {
    char32_t codePoint = 0;
    CharInfo info;
  };

  CharInfo lookUp(char32_t c) const;
  bool foldsToPatternLetter(char32_t c) const;
  // `c` as the patterns are to match it.
  char32_t matchedAs(char32_t c) { return infoOf(c).lowered() ? singleLowercase(c) : c; }
  // The shared table of this hyphenator and kind of text: the CharInfo bits
  // of U+0000..U+00FF (0 where the fold failed), then plainLetters().
  const std::uint8_t* table() {
    if (table_ == nullptr) table_ = sharedTable();
    return table_;
  }
  const std::uint8_t* sharedTable() const;
  bool leftAlone(std::size_t letters, const WordCase& letterCase) const noexcept;
  std::size_t findLongLetterBreaks(std::u32string_view letters, std::uint8_t firstCase,
                                   std::uint8_t laterCase, std::size_t* found);
  bool plainLettersMatchAsciiAlpha();
  void countLookUp(bool hit) noexcept {
    roundHits_ += hit ? 1 : 0;
    if (++roundLookUps_ == kCacheRound) endRound();
  }
  void endRound() noexcept;

  std::optional<Hyphenator> owned_;  // the rules' own copy, unless borrowed
  const Hyphenator& hyphenator_;     // *owned_, or the caller's
  const TextOptions& options_;
  std::size_t fewestLettersToBreak_;  // no word of fewer letters breaks
  const std::uint8_t* table_ = nullptr;
  // Made for the first character past U+00FF: a text of Latin-1 alone, and
  // a short one above all, does not pay for clearing it.
  using OtherInfos = std::array<CachedInfo, 512>;
  std::unique_ptr<OtherInfos> others_;
  enum class Tristate : std::uint8_t { kUnknown, kNo, kYes };
  Tristate asciiAlpha_ = Tristate::kUnknown;
  bool cacheAllowed_ = true;
  bool prepared_ = false;          // prepareForLongText has run
  std::size_t wordsUncached_ = 0;  // words looked at before cache_ was made
  std::unique_ptr<BreakCache> cache_;
  std::uint32_t roundLookUps_ = 0, roundHits_ = 0;  // of the current round
  std::uint32_t pausedFor_ = 0;                     // words still to find without the cache
  // Working memory of findBreaks, kept between words.
  std::u32string matched_;
  std::vector<std::size_t> starts_;
  std::vector<std::size_t> firstChar_;
  std::vector<std::size_t> found_;
};

}  // namespace liang::internal

#endif  // LIANG_TEXT_WORDRULES_HPP_
