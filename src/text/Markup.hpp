// Reading HTML, XHTML and XML as they stream past, as far as hyphenating
// their text needs: where markup begins and what kind it is, the name and the
// language attribute of a tag, and character references.
//
// Nothing here builds a tree or checks well-formedness: every byte of the
// input goes to the output as it came, and these pieces only say which bytes
// are text. Each reader takes its input in pieces of any size and keeps a
// bounded state.
#ifndef LIANG_TEXT_MARKUP_HPP_
#define LIANG_TEXT_MARKUP_HPP_

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace liang::internal {

// What a '<' at the start of some text opens.
enum class MarkupKind : std::uint8_t {
  kNone,                   // not markup: a '<' of the text ("a < b")
  kMore,                   // the text ends before it can be told
  kStartTag,               // "<name"
  kEndTag,                 // "</name"
  kComment,                // "<!--"
  kCdata,                  // "<![CDATA["
  kDeclaration,            // "<!DOCTYPE ...>", any other "<!", and "</" without a name
  kProcessingInstruction,  // "<?"
};

struct MarkupStart {
  MarkupKind kind;
  std::size_t openerLength;  // the bytes of "<", "</", "<!--", ... that open it
};

// Tells what `text`, which begins with '<', opens. With `atEnd` the text is
// all there is, so kMore never comes back.
MarkupStart classifyMarkup(std::string_view text, bool atEnd) noexcept;

// Where a construct that ends with `terminator` ("-->", "]]>", "?>", ">")
// ends in `text`: the offset just past the terminator, or npos when `text`
// does not hold it. A partial terminator at the very end is left for the
// next piece: `keep` says how many bytes at the end must wait for it.
std::size_t findTerminator(std::string_view text, std::string_view terminator,
                           std::size_t& keep) noexcept;

// A character reference: "&#233;", "&#xE9;", or a named one such as "&shy;".
struct Reference {
  enum class Kind : std::uint8_t {
    kNone,        // no reference starts here: the '&' is a character of the text
    kMore,        // the text ends before it can be told
    kNumeric,     // a numeric reference to `codePoint`
    kSoftHyphen,  // "&shy;", or a numeric reference to U+00AD
    kNamed,       // any other named reference
  };
  Kind kind;
  char32_t codePoint;
  std::size_t length;  // bytes, from '&' to ';'
};

// Reads the reference at the start of `text`, which begins with '&'.
Reference readReference(std::string_view text, bool atEnd) noexcept;

// A tag read byte by byte from the byte after its opener to its closing
// '>', quoted attribute values (which may hold '>') included. It keeps the
// element's name and the value of a lang or xml:lang attribute, each cut to
// a bounded length; everything else is only stepped over.
class TagReader {
 public:
  static constexpr std::size_t kLongestName = 32;
  static constexpr std::size_t kLongestLanguage = 64;

  // Starts a tag; `endTag` for "</name".
  void begin(bool endTag) noexcept;

  // Reads from `text` up to and including the tag's closing '>'; returns the
  // number of bytes taken. done() tells whether the '>' was among them.
  std::size_t read(std::string_view text) noexcept;

  bool done() const noexcept { return state_ == State::kDone; }
  bool isEndTag() const noexcept { return endTag_; }
  // "<br/>": closed where it opens.
  bool selfClosing() const noexcept { return selfClosing_; }
  // The element's local name in lower case, without a namespace prefix
  // ("svg:svg" gives "svg").
  std::string_view name() const noexcept;
  // Whether the tag has a lang or xml:lang attribute (xml:lang wins), and its value.
  bool hasLanguage() const noexcept { return hasLanguage_; }
  std::string_view language() const noexcept { return {language_, languageLength_}; }

 private:
  enum class State : std::uint8_t {
    kName,
    kBeforeAttribute,
    kAttributeName,
    kAfterAttributeName,
    kBeforeValue,
    kQuotedValue,
    kUnquotedValue,
    kDone,
  };

  void startAttribute(char first) noexcept;
  void endValue() noexcept;
  bool attributeIs(std::string_view lowerName) const noexcept;

  State state_ = State::kDone;
  bool endTag_ = false;
  bool selfClosing_ = false;
  char quote_ = 0;
  char name_[kLongestName] = {};
  std::size_t nameLength_ = 0;
  char attribute_[kLongestName] = {};
  std::size_t attributeLength_ = 0;
  char value_[kLongestLanguage] = {};
  std::size_t valueLength_ = 0;
  bool hasLanguage_ = false;
  bool languageFromXml_ = false;
  char language_[kLongestLanguage] = {};
  std::size_t languageLength_ = 0;
};

// Elements whose content is raw text, not markup: it runs to the element's
// end tag whatever it holds ("<script>if (a < b)</script>").
bool isRawTextElement(std::string_view lowerName) noexcept;

// Elements whose content is never hyphenated: code, preformatted text,
// formulas, graphics, form fields, scripts and styles, and the document's
// title, which is never broken into lines (a window shows it whole, and
// some show a soft hyphen in it).
bool isUnhyphenatedElement(std::string_view lowerName) noexcept;

// HTML's void elements, which have no content and no end tag ("<br>").
bool isVoidElement(std::string_view lowerName) noexcept;

// Whether `text` begins with "</" and `lowerName` in any case, followed by
// a character that ends a tag name. kMore when `text` is too short to tell.
enum class Match : std::uint8_t { kNo, kYes, kMore };
Match matchEndTag(std::string_view text, std::string_view lowerName, bool atEnd) noexcept;

}  // namespace liang::internal

#endif  // LIANG_TEXT_MARKUP_HPP_
