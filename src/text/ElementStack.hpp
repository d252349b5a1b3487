// The elements open at a point of a marked-up text, as far as hyphenating
// its text needs: which language the text is in and whether it is left
// alone. An end tag closes the innermost open element of its name and those
// opened inside it, and is ignored when none is open; in HTML, an end tag
// looks no further than browsers do (past a table cell for </div>, say), and
// the implied ends of p, li, dd, dt, td, th, tr, option and headings apply.
//
// Memory is bounded without a cliff: nested elements of one name, language
// and protection are kept as one run with a count, so a thousand nested
// divs are one entry; up to kStoredRuns runs are kept. Past them, elements
// are only counted, by total and by a hash of their name, so that their end
// tags still close them; and when one of them changes the language or
// stops hyphenation, the text stays unhyphenated until the depth is back
// under the bound. So no text is hyphenated in a language it is not in, and
// no protected content ever is.
#ifndef LIANG_TEXT_ELEMENTSTACK_HPP_
#define LIANG_TEXT_ELEMENTSTACK_HPP_

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace liang::internal {

class WordRules;

class ElementStack {
 public:
  static constexpr std::size_t kStoredRuns = 1024;

  // An element as the stack sees it.
  struct Element {
    std::uint64_t name;   // NameHash of its whole name
    std::uint32_t flags;  // ElementFlag (0 in XML, where no name is special)
  };

  // Forgets every open element; `xml` chooses XML's rules or HTML's.
  void reset(bool xml) noexcept;
  void setXml(bool xml) noexcept { xml_ = xml; }
  bool xml() const noexcept { return xml_; }

  // The rules of the text at this point: those of the innermost open
  // element, `outer` outside any, or null where nothing is hyphenated.
  WordRules* rules(WordRules* outer) const noexcept {
    if (muted_) return nullptr;
    return runs_.empty() ? outer : runs_.back().rules;
  }
  bool isProtected() const noexcept { return muted_ || (!runs_.empty() && runs_.back().protect); }

  // Applies HTML's implied ends for a start tag of `element` (nothing in
  // XML). Called before the element's language is worked out, since it
  // depends on the elements that stay open. False when HTML ignores the
  // tag (a cell or row outside any table): then it opens nothing.
  bool startTag(const Element& element) noexcept;
  // Opens the element whose start tag was read: its content's rules (null:
  // no hyphenation) and whether it or an element around it is protected.
  void open(const Element& element, WordRules* rules, bool protect);
  // An end tag.
  void endTag(const Element& element) noexcept;

 private:
  struct Run {
    std::uint64_t name;
    std::uint32_t flags;
    std::uint32_t count;  // nested elements alike
    WordRules* rules;
    bool protect;
  };
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  static constexpr std::size_t kBuckets = 64;

  // The index of the innermost run of `name` (or, with `anyOf`, of any
  // flag in it) above the first run with a flag of `boundary`; kNone.
  std::size_t find(std::uint64_t name, std::uint32_t anyOf, std::uint32_t boundary) const noexcept;
  // Closes the innermost element of run `index` and everything inside it.
  void closeRun(std::size_t index) noexcept;
  void closeIn(std::uint64_t name, std::uint32_t anyOf, std::uint32_t boundary) noexcept;
  void closeParagraph() noexcept;
  void clearOverflow() noexcept;

  bool xml_ = false;
  std::vector<Run> runs_;
  // Past kStoredRuns: open elements counted, all and by their name's bucket.
  std::uint64_t overflow_ = 0;
  std::array<std::uint64_t, kBuckets> overflowByName_{};
  bool muted_ = false;
};

}  // namespace liang::internal

#endif  // LIANG_TEXT_ELEMENTSTACK_HPP_
