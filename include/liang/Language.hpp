// liang: the 73 languages of the catalogue and their hyphenators.
//
// Language is the closed list of languages whose hyph-utf8 data the library
// carries inside itself. Beside naming, ordering, ordinal conversion,
// stepping and arithmetic ranges of members, this header offers each
// language's file code (its affix) and its Hyphenator, in two forms:
//  - loadHyphenator(x): a fresh, private hyphenator. It returns at once and
//    decompresses nothing; its character table, pattern trie and exception
//    dictionary are each inflated and parsed the first time they are needed.
//  - languageHyphenator(x), or the accessor named after the member with its
//    first letter lower-cased (english_US(), german_1996(), ...): the one
//    hyphenator of x shared by the whole process, made on first use and never
//    destroyed, so references to it stay valid until the process ends.
//
// Guarantees:
//  - Every operation is safe from any number of threads at once. A shared
//    hyphenator and each deferred component are built exactly once; a thread
//    that meets one being built waits for it. Once built, reading takes no
//    lock.
//  - The name, affix and minima of a member are constant tables indexed by
//    ordinal: constant time, nothing is searched by name.
//  - A range is lazy: it yields members front to back on demand, at one step
//    per member taken, so the endless zero-step ranges can be read in part.
//  - A component whose data cannot be had (a corrupt stream) fails on its
//    first use and on every later use with the same liang::Error; the other
//    components and the minima stay usable. The shipped data never fail.
#ifndef LIANG_LANGUAGE_HPP_
#define LIANG_LANGUAGE_HPP_

#include <compare>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <ranges>
#include <string>
#include <string_view>
#include <vector>

#include "liang/Hyphenator.hpp"
#include "liang/export.h"

namespace liang {
LIANG_PUBLIC_BEGIN

// Declaration order is the ordinal, 0 to 72: the alphabetical order of the
// names except that English_US comes before English_GB. Every operation
// takes one of these 73 values; another value forced in by a cast is outside
// their contract (toEnum is the checked way in from an integer).
enum class Language : std::int64_t {
  Afrikaans,               // 0
  Armenian,                // 1
  Assamese,                // 2
  Basque,                  // 3
  Bengali,                 // 4
  Bulgarian,               // 5
  Catalan,                 // 6
  Chinese,                 // 7
  Coptic,                  // 8
  Croatian,                // 9
  Czech,                   // 10
  Danish,                  // 11
  Dutch,                   // 12
  English_US,              // 13
  English_GB,              // 14
  Esperanto,               // 15
  Estonian,                // 16
  Ethiopic,                // 17
  Finnish,                 // 18
  French,                  // 19
  Friulan,                 // 20
  Galician,                // 21
  Georgian,                // 22
  German_1901,             // 23
  German_1996,             // 24
  German_Swiss,            // 25
  Greek_Ancient,           // 26
  Greek_Mono,              // 27
  Greek_Poly,              // 28
  Gujarati,                // 29
  Hindi,                   // 30
  Hungarian,               // 31
  Icelandic,               // 32
  Indonesian,              // 33
  Interlingua,             // 34
  Irish,                   // 35
  Italian,                 // 36
  Kannada,                 // 37
  Kurmanji,                // 38
  Latin,                   // 39
  Latin_Classic,           // 40
  Latvian,                 // 41
  Lithuanian,              // 42
  Malayalam,               // 43
  Marathi,                 // 44
  Mongolian,               // 45
  Norwegian_Bokmal,        // 46
  Norwegian_Nynorsk,       // 47
  Occitan,                 // 48
  Oriya,                   // 49
  Panjabi,                 // 50
  Piedmontese,             // 51
  Polish,                  // 52
  Portuguese,              // 53
  Romanian,                // 54
  Romansh,                 // 55
  Russian,                 // 56
  Sanskrit,                // 57
  Serbian_Cyrillic,        // 58
  Serbocroatian_Cyrillic,  // 59
  Serbocroatian_Latin,     // 60
  Slovak,                  // 61
  Slovenian,               // 62
  Spanish,                 // 63
  Swedish,                 // 64
  Tamil,                   // 65
  Telugu,                  // 66
  Thai,                    // 67
  Turkish,                 // 68
  Turkmen,                 // 69
  Ukrainian,               // 70
  Uppersorbian,            // 71
  Welsh,                   // 72
};

// Less, equal or greater as the ordinal of x is below, equal to or above y's.
std::strong_ordering compare(Language x, Language y) noexcept;

// The member's identifier, such as "Norwegian_Bokmal".
std::string show(Language x);

// show(x) followed by `rest`; the precedence is ignored (a name never needs
// parentheses).
std::string showsPrec(int precedence, Language x, std::string_view rest);

// "[" + the names separated by "," (no spaces) + "]" + `rest`.
std::string showList(const std::vector<Language>& xs, std::string_view rest);

// The ordinal, 0 to 72.
constexpr std::int64_t fromEnum(Language x) noexcept { return static_cast<std::int64_t>(x); }

// The member of ordinal n; throws Error unless 0 <= n <= 72.
Language toEnum(std::int64_t n);

// The next member; throws Error for Welsh.
Language succ(Language x);

// The previous member; throws Error for Afrikaans.
Language pred(Language x);

constexpr Language lowestLanguage() noexcept { return Language::Afrikaans; }
constexpr Language highestLanguage() noexcept { return Language::Welsh; }

// An arithmetic progression of members, produced on demand: the result of
// enumFrom, enumFromTo, enumFromThen and enumFromThenTo. A view (cheap to
// copy) whose iterators do not refer to it, so it is a borrowed range; begin()
// and end() have one type, so a finite one builds a container from the pair.
// An endless one (step zero) never reaches end(): take a prefix of it. (Not
// built on std::ranges::view_interface, which Clang 14 rejects with
// libstdc++ 12 for a class that is still incomplete.)
class LanguageRange : public std::ranges::view_base {
 public:
  class iterator {
   public:
    using iterator_concept = std::forward_iterator_tag;
    // Members are produced, not stored, so to the pre-C++20 iterator
    // categories this is an input iterator (as for std::views::iota).
    using iterator_category = std::input_iterator_tag;
    using value_type = Language;
    using difference_type = std::ptrdiff_t;
    using reference = Language;
    using pointer = void;

    constexpr iterator() noexcept = default;

    constexpr Language operator*() const noexcept { return static_cast<Language>(ordinal_); }

    constexpr iterator& operator++() noexcept {
      ordinal_ += step_;
      ++index_;
      return *this;
    }
    constexpr iterator operator++(int) noexcept {
      iterator before = *this;
      ++*this;
      return before;
    }

    // Positions of one range are equal when as many members lie before
    // them. The end of an endless range sits at index kEndless, which no
    // position reaches.
    friend constexpr bool operator==(const iterator& a, const iterator& b) noexcept {
      return a.index_ == b.index_;
    }

   private:
    friend class LanguageRange;
    constexpr iterator(std::int64_t ordinal, std::int64_t step, std::int64_t index) noexcept
        : ordinal_(ordinal), step_(step), index_(index) {}

    std::int64_t ordinal_ = 0;  // of the member here
    std::int64_t step_ = 0;
    std::int64_t index_ = 0;  // members before this position
  };

  // The empty range.
  constexpr LanguageRange() noexcept = default;

  constexpr iterator begin() const noexcept { return iterator(first_, step_, 0); }
  // Only its index matters: an end is never read.
  constexpr iterator end() const noexcept { return iterator(first_, step_, count_); }

  // Whether no member is left.
  constexpr bool empty() const noexcept { return count_ == 0; }

  // Whether the range has no end (a step of zero that is not empty).
  constexpr bool endless() const noexcept { return count_ == kEndless; }

 private:
  static constexpr std::int64_t kEndless = -1;

  friend constexpr LanguageRange enumFromTo(Language x, Language z) noexcept;
  friend constexpr LanguageRange enumFromThenTo(Language x, Language y, Language z) noexcept;

  constexpr LanguageRange(std::int64_t first, std::int64_t step, std::int64_t count) noexcept
      : first_(first), step_(step), count_(count) {}

  std::int64_t first_ = 0;
  std::int64_t step_ = 0;
  std::int64_t count_ = 0;  // number of members, or kEndless
};

// The progression x, y, y + (y - x), ... that stops at z: rising while the
// terms are at most z, falling while they are at least z. Endless when x == y
// and z does not come before x; empty when z lies behind x.
constexpr LanguageRange enumFromThenTo(Language x, Language y, Language z) noexcept {
  const std::int64_t first = fromEnum(x);
  const std::int64_t step = fromEnum(y) - first;
  const std::int64_t bound = fromEnum(z);
  if (step >= 0 ? bound < first : bound > first) return LanguageRange(first, step, 0);
  if (step == 0) return LanguageRange(first, 0, LanguageRange::kEndless);
  // bound lies on the side the progression runs to: the terms first + k*step
  // with 0 <= k <= |bound - first| / |step| are the ones within it.
  const std::int64_t span = step > 0 ? bound - first : first - bound;
  const std::int64_t stride = step > 0 ? step : -step;
  return LanguageRange(first, step, span / stride + 1);
}

// The members from x up to z, both included; empty when z comes before x.
constexpr LanguageRange enumFromTo(Language x, Language z) noexcept {
  const std::int64_t first = fromEnum(x);
  const std::int64_t last = fromEnum(z);
  return LanguageRange(first, 1, last >= first ? last - first + 1 : 0);
}

// The members from x up to Welsh; never empty.
constexpr LanguageRange enumFrom(Language x) noexcept { return enumFromTo(x, highestLanguage()); }

// The progression x, y, ... run to the end of the enumeration in its
// direction (Welsh when rising, Afrikaans when falling); endless when x == y.
constexpr LanguageRange enumFromThen(Language x, Language y) noexcept {
  return enumFromThenTo(x, y, fromEnum(x) <= fromEnum(y) ? highestLanguage() : lowestLanguage());
}

// The code under which the language's files are stored, such as "en-us";
// ASCII. The text is a constant shared by every caller.
std::string_view languageAffix(Language x) noexcept;

// The licence and credits of x's patterns, as published with them: the
// text of its embedded .lic file (UTF-8, free prose). Several languages'
// patterns are under the GPL or the LGPL, so a program that ships them
// shows this. Inflates the file on each call. Throws Error "Could not find
// hyph-<affix>.lic.txt.gz" when the library was built without x (see
// languageEmbedded).
std::string languageLicence(Language x);

// Whether this build of the library carries x's data. A build may leave
// languages out (the LIANG_LANGUAGES option); using one of them fails with
// Error "Could not find hyph-<affix>..." on first use. A binary search of
// the embedded files; allocates nothing.
bool languageEmbedded(Language x) noexcept;

// A fresh, private hyphenator for x: its components are built on first use,
// independently of every other hyphenator. Decompresses nothing itself.
Hyphenator loadHyphenator(Language x);

// The hyphenator of x shared by the whole process: the very instance that
// x's named accessor returns. Built on first use; never destroyed.
const Hyphenator& languageHyphenator(Language x);

// The shared hyphenator of each language, named after its member.
const Hyphenator& afrikaans();
const Hyphenator& armenian();
const Hyphenator& assamese();
const Hyphenator& basque();
const Hyphenator& bengali();
const Hyphenator& bulgarian();
const Hyphenator& catalan();
const Hyphenator& chinese();
const Hyphenator& coptic();
const Hyphenator& croatian();
const Hyphenator& czech();
const Hyphenator& danish();
const Hyphenator& dutch();
const Hyphenator& english_US();
const Hyphenator& english_GB();
const Hyphenator& esperanto();
const Hyphenator& estonian();
const Hyphenator& ethiopic();
const Hyphenator& finnish();
const Hyphenator& french();
const Hyphenator& friulan();
const Hyphenator& galician();
const Hyphenator& georgian();
const Hyphenator& german_1901();
const Hyphenator& german_1996();
const Hyphenator& german_Swiss();
const Hyphenator& greek_Ancient();
const Hyphenator& greek_Mono();
const Hyphenator& greek_Poly();
const Hyphenator& gujarati();
const Hyphenator& hindi();
const Hyphenator& hungarian();
const Hyphenator& icelandic();
const Hyphenator& indonesian();
const Hyphenator& interlingua();
const Hyphenator& irish();
const Hyphenator& italian();
const Hyphenator& kannada();
const Hyphenator& kurmanji();
const Hyphenator& latin();
const Hyphenator& latin_Classic();
const Hyphenator& latvian();
const Hyphenator& lithuanian();
const Hyphenator& malayalam();
const Hyphenator& marathi();
const Hyphenator& mongolian();
const Hyphenator& norwegian_Bokmal();
const Hyphenator& norwegian_Nynorsk();
const Hyphenator& occitan();
const Hyphenator& oriya();
const Hyphenator& panjabi();
const Hyphenator& piedmontese();
const Hyphenator& polish();
const Hyphenator& portuguese();
const Hyphenator& romanian();
const Hyphenator& romansh();
const Hyphenator& russian();
const Hyphenator& sanskrit();
const Hyphenator& serbian_Cyrillic();
const Hyphenator& serbocroatian_Cyrillic();
const Hyphenator& serbocroatian_Latin();
const Hyphenator& slovak();
const Hyphenator& slovenian();
const Hyphenator& spanish();
const Hyphenator& swedish();
const Hyphenator& tamil();
const Hyphenator& telugu();
const Hyphenator& thai();
const Hyphenator& turkish();
const Hyphenator& turkmen();
const Hyphenator& ukrainian();
const Hyphenator& uppersorbian();
const Hyphenator& welsh();

LIANG_PUBLIC_END
}  // namespace liang

// The iterators hold no reference to their range, so they outlive it safely.
template <>
inline constexpr bool std::ranges::enable_borrowed_range<liang::LanguageRange> = true;

#endif  // LIANG_LANGUAGE_HPP_
