// Running text, plain and marked up: insertHyphens and TextStream.
//
// Input: a selector byte (one of the 73 shared hyphenators, or one made of
// the patterns in the input), a chunking seed byte, an options byte (bit 0
// markup; bits 1, 2, 3 turn off capitalised and all-caps words and turn on
// mixed case; bits 4-6 the least word length; bit 7 XML's rules), a minima
// byte (two bits for each of the text's left and right minima, 0 for the
// hyphenator's own; bit 4 turns on technical tokens),
// the left and right minimum of a made hyphenator, then the hyphen, a NUL,
// the patterns of a made hyphenator, a NUL, and the text.
//
// Invariants:
//  - Every byte of the text comes out unchanged: the output with every
//    inserted hyphen removed is the text (checked with a hyphen that does not
//    occur in the text, so that removing it is exact).
//  - In markup, no hyphen falls inside a tag, comment or other markup, nor
//    inside a character reference; by XML's rules, none inside an element
//    left alone, as a model of the element structure of its own sees them
//    (ProtectedModel).
//  - No hyphen is put right before or after a hard hyphen (U+002D, U+2010,
//    U+2011), which already is a break.
//  - Fed in chunks of 1 to 64 bytes, cut anywhere, the text gives the same
//    output as in one piece.
//  - Hyphenating with soft hyphens twice gives what once gives: a word that
//    holds a soft hyphen is the author's.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.hpp"

namespace {

constexpr std::size_t kMaxInputBytes = 6144;
constexpr std::size_t kMaxHyphenBytes = 8;

// Whether offset `at` of `text` lies inside markup as a reader that knows
// nothing of quoting would see it: after a '<' that opens a tag, comment or
// declaration and before the next '>'. (Quoted '>' make it see a tag end
// early, which only makes the check weaker.)
bool insideMarkup(std::string_view text, std::size_t at) {
  const std::size_t open = text.rfind('<', at == 0 ? 0 : at - 1);
  if (open == std::string_view::npos || open + 1 >= text.size() || open >= at) return false;
  const char next = text[open + 1];
  const bool opens = (next >= 'a' && next <= 'z') || (next >= 'A' && next <= 'Z') || next == '/' ||
                     next == '!' || next == '?';
  return opens && text.substr(open, at - open).find('>') == std::string_view::npos;
}

// The length of the character reference at the start of `text` ("&#233;",
// "&#xE9;", "&name;"), or 0. Stricter than the library, which also reads a
// name that begins with a digit: a break it finds inside one of these is a
// fault whatever the rest of its reading.
std::size_t referenceLength(std::string_view text) {
  const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
  const auto isHex = [&](char c) {
    return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
  };
  const auto isLetter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
  std::size_t i = 1;
  const auto run = [&](auto accepts, std::size_t most) {
    const std::size_t start = i;
    while (i < text.size() && i - start < most && accepts(text[i])) ++i;
    return i - start;
  };
  if (text.size() < 3 || text[0] != '&') return 0;
  if (text[1] == '#') {
    ++i;
    const bool hex = i < text.size() && (text[i] == 'x' || text[i] == 'X');
    if (hex) ++i;
    if ((hex ? run(isHex, 8) : run(isDigit, 8)) == 0) return 0;
  } else {
    if (!isLetter(text[1])) return 0;
    run([&](char c) { return isLetter(c) || isDigit(c); }, 38);
  }
  return i < text.size() && text[i] == ';' ? i + 1 : 0;
}

// Whether offset `at` of `text` lies inside a character reference.
bool insideReference(std::string_view text, std::size_t at) {
  for (std::size_t amp = text.rfind('&', at == 0 ? 0 : at - 1);
       amp != std::string_view::npos && amp + 40 > at;
       amp = amp == 0 ? std::string_view::npos : text.rfind('&', amp - 1)) {
    if (amp < at && amp + referenceLength(text.substr(amp)) > at) return true;
  }
  return false;
}

// Whether `text` has a hard hyphen (U+002D, U+2010, U+2011) that ends just
// before `at`, or one that begins at `at`.
bool hardHyphenBeside(std::string_view text, std::size_t at) {
  const auto isHardHyphen = [](std::string_view s) {
    return s == "-" || s == "\u2010" || s == "\u2011";
  };
  const std::string_view before = text.substr(0, at), after = text.substr(at);
  return (!before.empty() && isHardHyphen(before.substr(before.size() - 1))) ||
         (before.size() >= 3 && isHardHyphen(before.substr(before.size() - 3))) ||
         isHardHyphen(after.substr(0, 1)) || isHardHyphen(after.substr(0, 3));
}

// XML's element structure, read independently of the library: for each
// byte, whether it lies inside an element left alone (one of
// liang::protectedElements() by local name, or one whose first class
// attribute holds nohyphenate or donthyphenate). A start tag is empty when a
// '/' follows its name or last attribute ("<a/>", "<a b='c' / >"), not when
// an attribute follows the '/' ("<a/ b>") or ends with one ("<a b=c/>").
class ProtectedModel {
 public:
  explicit ProtectedModel(std::string_view text) : text_(text), inside_(text.size(), false) {
    for (const std::string_view name : liang::protectedElements()) protected_.emplace_back(name);
    std::size_t i = 0;
    while (i < text_.size()) i = step(i);
  }
  bool inside(std::size_t at) const { return at < inside_.size() && inside_[at]; }

 private:
  struct Open {
    std::string name;
    bool protect;
  };

  static bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
  }
  static bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
  static char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }
  bool protectedNow() const { return !open_.empty() && open_.back().protect; }

  // Past the next `end` from `from`, or the end of the text.
  std::size_t past(std::size_t from, std::string_view end) const {
    const std::size_t found = text_.find(end, from);
    return found == std::string_view::npos ? text_.size() : found + end.size();
  }

  std::size_t step(std::size_t i) {
    const std::string_view rest = text_.substr(i);
    if (rest[0] != '<' || rest.size() < 2) {
      inside_[i] = protectedNow();
      return i + 1;
    }
    if (isLetter(rest[1])) return tag(i + 1, false);
    if (rest[1] == '/')
      return rest.size() > 2 && isLetter(rest[2]) ? tag(i + 2, true) : past(i, ">");
    if (rest.starts_with("<!-->")) return i + 5;
    if (rest.starts_with("<!--->")) return i + 6;
    if (rest.starts_with("<!--")) return past(i + 4, "-->");
    if (rest.starts_with("<![CDATA[")) return past(i + 9, "]]>");
    if (rest[1] == '?') return past(i + 2, "?>");
    if (rest[1] == '!') return past(i + 2, ">");
    inside_[i] = protectedNow();
    return i + 1;
  }

  // A tag whose name begins at `i`; returns where it ends.
  std::size_t tag(std::size_t i, bool end) {
    std::string name;
    while (i < text_.size() && !isSpace(text_[i]) && text_[i] != '/' && text_[i] != '>') {
      name += text_[i++];
    }
    bool slash = false, skipClass = false, sawClass = false;
    while (i < text_.size() && text_[i] != '>') {
      const char c = text_[i];
      if (isSpace(c)) {
        ++i;
        continue;
      }
      if (c == '/') {
        slash = true;
        ++i;
        continue;
      }
      slash = false;  // "<a/ b>" is not empty: only a '/' after the last attribute counts
      std::string attribute(1, text_[i++]);  // whatever it is, even '='
      while (i < text_.size() && !isSpace(text_[i]) && text_[i] != '=' && text_[i] != '>' &&
             text_[i] != '/') {
        attribute += text_[i++];
      }
      while (i < text_.size() && isSpace(text_[i])) ++i;
      if (i >= text_.size() || text_[i] != '=') continue;
      ++i;
      while (i < text_.size() && isSpace(text_[i])) ++i;
      std::string value;
      if (i < text_.size() && (text_[i] == '"' || text_[i] == '\'')) {
        const std::size_t close = text_.find(text_[i], i + 1);
        const std::size_t stop = close == std::string_view::npos ? text_.size() : close;
        value = text_.substr(i + 1, stop - i - 1);
        i = stop == text_.size() ? stop : stop + 1;
      } else {
        while (i < text_.size() && !isSpace(text_[i]) && text_[i] != '>') value += text_[i++];
      }
      if (attribute == "class" && !sawClass) {
        sawClass = true;
        std::size_t at = 0;
        while (at < value.size()) {
          while (at < value.size() && isSpace(value[at])) ++at;
          std::size_t stop = at;
          while (stop < value.size() && !isSpace(value[stop])) ++stop;
          const std::string_view token = std::string_view(value).substr(at, stop - at);
          if (token == "nohyphenate" || token == "donthyphenate") skipClass = true;
          at = stop;
        }
      }
    }
    if (i < text_.size()) ++i;  // the '>'
    if (end) {
      for (std::size_t k = open_.size(); k-- > 0;) {
        if (open_[k].name == name) {
          open_.resize(k);
          break;
        }
      }
      return i;
    }
    if (slash) return i;
    const std::string local =
        name.substr(name.rfind(':') == std::string::npos ? 0 : name.rfind(':') + 1);
    bool listed = false;
    for (const std::string& p : protected_) listed = listed || p == local;
    open_.push_back({name, protectedNow() || listed || skipClass});
    static const std::string_view kRaw[] = {"script", "style",   "textarea", "title",   "xmp",
                                            "iframe", "noembed", "noframes", "noscript"};
    bool raw = false;
    for (const std::string_view r : kRaw) raw = raw || r == local;
    if (!raw || name.size() > 32) return i;
    // Raw text: to "</name" in any case and a byte that ends a name.
    for (std::size_t at = i; at < text_.size(); ++at) {
      bool ends = text_.substr(at, 2) == "</" && at + 2 + name.size() < text_.size();
      for (std::size_t k = 0; ends && k < name.size(); ++k) {
        ends = lower(text_[at + 2 + k]) == lower(name[k]);
      }
      if (ends) {
        const char after = text_[at + 2 + name.size()];
        if (isSpace(after) || after == '/' || after == '>') {
          open_.pop_back();
          return past(at, ">");
        }
      }
      inside_[at] = true;
    }
    return text_.size();
  }

  std::string_view text_;
  std::vector<bool> inside_;
  std::vector<std::string> protected_;
  std::vector<Open> open_;
};

// A byte that `text` does not hold, to mark insertions unambiguously.
std::string markerFor(std::string_view text) {
  for (int b = 1; b < 256; ++b) {
    if (text.find(static_cast<char>(b)) == std::string_view::npos) {
      return std::string(1, static_cast<char>(b));
    }
  }
  return {};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxInputBytes) return 0;
  fuzz::Input input(data, size);
  const std::uint8_t selector = input.byte();
  std::uint32_t chunking = input.byte() * 2654435761u + 1;
  const std::uint8_t flags = input.byte();
  const std::uint8_t minima = input.byte();
  const std::int64_t leftMin = input.minimum();
  const std::int64_t rightMin = input.minimum();
  std::string_view hyphen = input.field();
  if (hyphen.size() > kMaxHyphenBytes) hyphen = hyphen.substr(0, kMaxHyphenBytes);
  const std::u32string patternText = fuzz::codePoints(input.field());
  const std::string_view text = input.rest();

  const liang::Hyphenator made(fuzz::chooseFold(selector), liang::parsePatterns(patternText),
                               liang::emptyExceptions(), leftMin, rightMin);
  const liang::Hyphenator& h =
      selector < 146 ? liang::languageHyphenator(static_cast<liang::Language>(selector % 73))
                     : made;
  liang::TextOptions options;
  options.markup = (flags & 1) != 0;
  options.xml = (flags & 128) != 0;
  options.capitalized = (flags & 2) == 0;
  options.allCaps = (flags & 4) == 0;
  options.mixedCase = (flags & 8) != 0;
  options.minWordLength = (flags >> 4) & 7;
  options.technical = (minima & 16) != 0;
  options.leftMin = minima & 3;
  options.rightMin = (minima >> 2) & 3;

  // Nothing changes but the insertions, and none lands inside markup.
  const std::string marker = markerFor(text);
  if (!marker.empty()) {
    options.hyphen = marker;
    const std::string marked = liang::insertHyphens(h, text, options);
    const bool modelled = options.markup && options.xml;
    const ProtectedModel model(modelled ? text : std::string_view());
    std::string unmarked;
    std::size_t inputAt = 0;
    for (const char c : marked) {
      if (c == marker[0]) {
        FUZZ_CHECK(!hardHyphenBeside(text, inputAt));
        if (options.markup) {
          FUZZ_CHECK(!insideMarkup(text, inputAt));
          FUZZ_CHECK(!insideReference(text, inputAt));
          FUZZ_CHECK(!model.inside(inputAt));
        }
        continue;
      }
      unmarked.push_back(c);
      ++inputAt;
    }
    FUZZ_CHECK(unmarked == text);
  }

  options.hyphen = hyphen;
  const std::string whole = liang::insertHyphens(h, text, options);

  // Chunks of 1 to 64 bytes, cut anywhere: inside words, UTF-8 sequences,
  // tags and references alike.
  liang::TextStream stream(h, options);
  std::string out;
  std::size_t at = 0;
  while (at < text.size()) {
    chunking = chunking * 1103515245u + 12345u;
    const std::size_t length = std::min<std::size_t>(1 + (chunking >> 16) % 64, text.size() - at);
    stream.feed(text.substr(at, length), out);
    at += length;
  }
  stream.finish(out);
  FUZZ_CHECK(out == whole);

  options.hyphen = std::string("\xC2\xAD");
  const std::string once = liang::insertHyphens(h, text, options);
  FUZZ_CHECK(liang::insertHyphens(h, once, options) == once);
  return 0;
}
