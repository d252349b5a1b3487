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
#include <span>
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

// A character reference: "&#233;", "&#xE9;", or a named one such as "&eacute;".
struct Reference {
  enum class Kind : std::uint8_t {
    kNone,        // no reference starts here: the '&' is a character of the text
    kMore,        // the text ends before it can be told
    kCharacter,   // a reference to `codePoint` (numeric, or one of HTML's names)
    kSoftHyphen,  // "&shy;", or a numeric reference to U+00AD
    kUnknown,     // a name HTML does not define: a reference to nothing known
  };
  Kind kind;
  char32_t codePoint;  // for a name that stands for two characters, the first
  std::size_t length;  // bytes, from '&' to ';'
};

// Reads the reference at the start of `text`, which begins with '&'. Names
// are HTML's (NamedReferences.inc), each with its ';'.
Reference readReference(std::string_view text, bool atEnd) noexcept;

// A 64-bit FNV-1a hash of names, by which elements and class names are
// compared whatever their length.
struct NameHash {
  static constexpr std::uint64_t kStart = 0xcbf29ce484222325ull;
  std::uint64_t value = kStart;
  constexpr void add(char c) noexcept {
    value = (value ^ static_cast<unsigned char>(c)) * 0x100000001b3ull;
  }
  static constexpr std::uint64_t of(std::string_view name) noexcept {
    NameHash h;
    for (const char c : name) h.add(c);
    return h.value;
  }
};

// A tag read byte by byte from the byte after its opener to its closing
// '>', quoted attribute values (which may hold '>') included. It keeps what
// the structure of the text needs: the element's name (hashed whole, its
// local name and the name as written when they are short enough to be one
// of the known elements), the value of a lang or xml:lang attribute, whether
// the class attribute holds one of the given classes, and whether there is
// an xmlns attribute. Everything else is only stepped over. In HTML,
// attribute names are read in any case; in XML, as written.
class TagReader {
 public:
  // Known names are shorter; longer ones are hashed only.
  static constexpr std::size_t kLongestName = 32;
  // A lang value is kept up to this length; past it, its subtags are only
  // checked for being well formed (see language()).
  static constexpr std::size_t kLongestLanguage = 128;

  // Starts a tag; `endTag` for "</name", `xml` for XML's attribute names.
  // `skipClasses` are hashes of class names (NameHash::of) that the class
  // attribute is matched against.
  void begin(bool endTag, bool xml, std::span<const std::uint64_t> skipClasses) noexcept {
    // Only the lengths and flags: the buffers are read up to their lengths.
    state_ = State::kName;
    endTag_ = endTag;
    xml_ = xml;
    selfClosing_ = prefixed_ = hasXmlns_ = skipClass_ = hasUpper_ = mixedCase_ = false;
    lowerNameHash_ = lowerLocalHash_ = NameHash{};
    writtenLength_ = localLength_ = attributeLength_ = valueLength_ = languageLength_ = 0;
    attributeKind_ = Attribute::kOther;
    seenLang_ = seenXmlLang_ = seenClass_ = false;
    hasLanguage_ = languageFromXml_ = false;
    skipClasses_ = skipClasses;
  }

  // Reads from `text` up to and including the tag's closing '>'; returns the
  // number of bytes taken. done() tells whether the '>' was among them.
  std::size_t read(std::string_view text) noexcept;

  // read() of a tag just begun whose name is small ASCII letters and digits
  // and ends it, '>' right after: the commonest tags ("p>", "em>"), taken at
  // once. Returns the bytes taken, the '>' included, or 0 (nothing taken)
  // for a tag of any other kind, which read() takes.
  std::size_t readPlainName(std::string_view text) noexcept;

  bool done() const noexcept { return state_ == State::kDone; }
  bool isEndTag() const noexcept { return endTag_; }
  // "<br/>": closed where it opens.
  bool selfClosing() const noexcept { return selfClosing_; }
  // The hash of the whole name, prefix included, and of the local name
  // ("svg:style" gives "style"): as written for XML, in lower case for HTML.
  std::uint64_t nameHash(bool xml) const noexcept {
    return xml && mixedCase_ ? nameHash_.value : lowerNameHash_.value;
  }
  std::uint64_t localHash(bool xml) const noexcept {
    return xml && mixedCase_ ? localHash_.value : lowerLocalHash_.value;
  }
  bool prefixed() const noexcept { return prefixed_; }
  // Whether the local name has an upper-case ASCII letter.
  bool localHasUpper() const noexcept { return hasUpper_; }
  // The local name and the whole name, as written; empty when longer than
  // kLongestName.
  std::string_view localName() const noexcept {
    return localLength_ <= kLongestName ? std::string_view(local_, localLength_)
                                        : std::string_view();
  }
  std::string_view writtenName() const noexcept;
  // Whether the tag has a lang or xml:lang attribute (xml:lang wins, and
  // the first of each counts), and its value: whole, or, past
  // kLongestLanguage bytes, up to the last separator before it when the rest
  // is well-formed subtags, else a value that names no language.
  bool hasLanguage() const noexcept { return hasLanguage_; }
  std::string_view language() const noexcept;
  bool hasXmlns() const noexcept { return hasXmlns_; }
  // Whether the class attribute holds one of the classes given to begin().
  bool hasSkipClass() const noexcept { return skipClass_; }

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
  enum class Attribute : std::uint8_t { kOther, kLang, kXmlLang, kClass };

  char fold(char c) const noexcept;
  // Reads name bytes from `text` at `i` to the first that ends the name.
  std::size_t readName(std::string_view text, std::size_t i) noexcept;
  // The same from the first upper-case letter of the name on.
  std::size_t readMixedCaseName(std::string_view text, std::size_t i) noexcept;
  void startAttribute(char first) noexcept;
  void endAttributeName() noexcept;
  void valueChar(char c) noexcept;
  void endValue() noexcept;
  void endClassToken() noexcept;

  State state_ = State::kDone;
  bool endTag_ = false;
  bool xml_ = false;
  bool selfClosing_ = false;
  bool prefixed_ = false;
  bool hasXmlns_ = false;
  bool skipClass_ = false;
  bool hasUpper_ = false;   // in the local name
  bool mixedCase_ = false;  // an upper-case letter in the name: nameHash_, localHash_ kept
  char quote_ = 0;
  NameHash nameHash_, localHash_, lowerNameHash_, lowerLocalHash_;
  char written_[kLongestName] = {};
  std::size_t writtenLength_ = 0;  // may pass kLongestName: then not kept
  char local_[kLongestName] = {};
  std::size_t localLength_ = 0;  // likewise
  char attribute_[kLongestName] = {};
  std::size_t attributeLength_ = 0;
  Attribute attributeKind_ = Attribute::kOther;
  bool seenLang_ = false, seenXmlLang_ = false, seenClass_ = false;
  // The value being read when it is a language.
  char value_[kLongestLanguage] = {};
  std::size_t valueLength_ = 0;
  std::size_t valueCut_ = 0;      // past kLongestLanguage: where the kept part ends
  std::size_t subtagLength_ = 0;  // of the subtag being read past the cut
  bool valueOverflow_ = false, valueBad_ = false, valueRestIgnored_ = false;
  NameHash classToken_;
  bool inClassToken_ = false;
  std::span<const std::uint64_t> skipClasses_;
  bool hasLanguage_ = false;
  bool languageFromXml_ = false;
  char language_[kLongestLanguage] = {};
  std::size_t languageLength_ = 0;
};

// Whether `text` begins with "</" and `name` in any case, followed by a
// character that ends a tag name. kMore when `text` is too short to tell.
enum class Match : std::uint8_t { kNo, kYes, kMore };
Match matchEndTag(std::string_view text, std::string_view name, bool atEnd) noexcept;

}  // namespace liang::internal

#endif  // LIANG_TEXT_MARKUP_HPP_
