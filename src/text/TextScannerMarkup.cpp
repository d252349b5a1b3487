// The scanner's markup: tags, comments, CDATA sections, declarations,
// processing instructions and raw-text elements, and the elements that
// switch the language or stop hyphenation (kept by ElementStack).

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "text/Elements.hpp"
#include "text/TextScanner.hpp"
#include "text/TextScannerRun.hpp"

namespace liang::internal {

namespace {

bool isXmlSpace(char c) noexcept { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool isAsciiLetter(char c) noexcept { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

}  // namespace

Match TextScanner::opensMarkup(const Run& run, std::size_t at) const {
  // A tag ("<p", "</p", "</ "): a letter or '/' after the '<', and a byte
  // after that, which classifyMarkup would take for markup too.
  if (at + 2 < run.size() && (isAsciiLetter(run.input[at + 1]) || run.input[at + 1] == '/')) {
    return Match::kYes;
  }
  switch (classifyMarkup(run.input.substr(at), run.atEnd).kind) {
    case MarkupKind::kNone:
      return Match::kNo;
    case MarkupKind::kMore:
      return Match::kMore;
    default:
      return Match::kYes;
  }
}

bool TextScanner::xmlDeclaration(Run& run) const {
  const std::string_view rest = run.input.substr(run.pos);
  constexpr std::string_view kOpener = "<?xml";
  if (rest.size() <= kOpener.size()) {
    if (!run.atEnd && kOpener.starts_with(rest)) run.stallAt(run.pos);
    return false;
  }
  return rest.starts_with(kOpener) &&
         (isXmlSpace(rest[kOpener.size()]) || rest[kOpener.size()] == '?');
}

bool TextScanner::openMarkup(Run& run) {
  // The commonest markup first: a start or end tag, told as classifyMarkup
  // tells it.
  if (run.pos + 2 < run.size()) {
    const char second = run.input[run.pos + 1];
    const bool start = isAsciiLetter(second);
    if (start || (second == '/' && isAsciiLetter(run.input[run.pos + 2]))) {
      tag_.begin(!start, stack_.xml(), skipClasses_);
      mode_ = Mode::kTag;
      inToken_ = false;
      run.pos += start ? 1 : 2;
      // A tag of a plain name alone is read here, whole.
      if (const std::size_t taken = tag_.readPlainName(run.input.substr(run.pos))) {
        run.pos += taken;
        closeTag();
      }
      return true;
    }
  }
  const MarkupStart start = classifyMarkup(run.input.substr(run.pos), run.atEnd);
  std::size_t opener = start.openerLength;
  switch (start.kind) {
    case MarkupKind::kNone:
      return false;
    case MarkupKind::kMore:
      run.stallAt(run.pos);
      return false;
    case MarkupKind::kStartTag:
    case MarkupKind::kEndTag:
      tag_.begin(start.kind == MarkupKind::kEndTag, stack_.xml(), skipClasses_);
      mode_ = Mode::kTag;
      break;
    case MarkupKind::kComment: {
      // "<!-->" and "<!--->" are whole comments.
      const std::string_view after = run.input.substr(run.pos + opener);
      if (after.size() < 2 && !run.atEnd && std::string_view("->").starts_with(after)) {
        run.stallAt(run.pos);
        return false;
      }
      if (after.starts_with(">") || after.starts_with("->")) {
        run.pos += opener + (after[0] == '>' ? 1 : 2);
        inToken_ = false;
        return true;
      }
      mode_ = Mode::kComment;
      break;
    }
    case MarkupKind::kCdata:
      mode_ = Mode::kCdata;
      break;
    case MarkupKind::kDeclaration:
      mode_ = Mode::kDeclaration;
      break;
    case MarkupKind::kProcessingInstruction:
      if (!xmlDecided_) {
        if (xmlDeclaration(run)) {
          xmlDecided_ = true;
          stack_.setXml(true);
        } else if (run.stalled) {
          return false;
        }
      }
      mode_ = Mode::kProcessingInstruction;
      break;
  }
  inToken_ = false;
  run.pos += opener;
  return true;
}

void TextScanner::scanTag(Run& run) {
  run.pos += tag_.read(run.input.substr(run.pos));
  if (tag_.done()) closeTag();
}

bool TextScanner::skipped() const noexcept {
  const bool xml = stack_.xml();
  const std::vector<std::uint64_t>& names = xml ? skipWritten_ : skipLower_;
  const std::uint64_t whole = tag_.nameHash(xml), local = tag_.localHash(xml);
  return std::any_of(names.begin(), names.end(),
                     [&](std::uint64_t n) { return n == whole || n == local; });
}

void TextScanner::closeTag() {
  mode_ = Mode::kText;
  if (!xmlDecided_ && !tag_.isEndTag()) {
    // The first element: XML's rules when it declares a namespace.
    xmlDecided_ = true;
    stack_.setXml(tag_.hasXmlns());
  }
  const bool xml = stack_.xml();
  // HTML's names are matched in lower case; a prefixed name in HTML is no
  // element HTML knows, though its local name still says what it holds.
  char lower[TagReader::kLongestName];
  std::string_view local = tag_.localName();
  std::uint32_t flags;
  if (!xml && tag_.localHasUpper()) {
    std::transform(local.begin(), local.end(), lower,
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    local = std::string_view(lower, local.size());
    flags = elementFlags(local, tag_.localHash(xml));
  } else {
    flags = knownElementFlags(local, tag_.localHash(xml));
  }
  ElementStack::Element element{tag_.nameHash(xml), xml || tag_.prefixed() ? 0u : flags};
  if (tag_.isEndTag() && rawTextEnd_) {
    // The end of raw text closes its element, in whatever case it is written.
    rawTextEnd_ = false;
    element = rawTextElement_;
  }
  if (tag_.isEndTag()) {
    stack_.endTag(element);
    return;
  }
  if (!stack_.startTag(element)) return;
  if (xml ? tag_.selfClosing() : (element.flags & kVoid) != 0) return;
  openElement(element, flags);
}

std::uint32_t TextScanner::knownElementFlags(std::string_view local, std::uint64_t hash) {
  // A name of at most eight bytes, none of them zero, is a number of its
  // own: its bytes as they lie in memory, the others zero. A longer one is
  // looked up every time.
  if (local.empty() || local.size() > 8) return elementFlags(local, hash);
  std::uint64_t name;
  std::memcpy(&name, local.data(), sizeof name);
  const std::size_t unused = 64 - 8 * local.size();
  name &= std::endian::native == std::endian::little ? ~std::uint64_t{0} >> unused
                                                     : ~std::uint64_t{0} << unused;
  KnownElement& known = knownElements_[static_cast<std::size_t>(hash % knownElements_.size())];
  if (known.name != name) known = {name, elementFlags(local, hash)};
  return known.flags;
}

void TextScanner::openElement(const ElementStack::Element& element, std::uint32_t flags) {
  const bool protect = stack_.isProtected() || (flags & kProtected) != 0 || tag_.hasSkipClass() ||
                       (!skipLower_.empty() && skipped());
  WordRules* rules = nullptr;
  if (!protect) rules = tag_.hasLanguage() ? rulesForLanguage(tag_.language()) : currentRules();
  stack_.open(element, rules, protect);
  const bool xml = stack_.xml();
  if ((flags & kRawText) != 0 && (xml || !tag_.prefixed())) {
    // Runs to the end tag of the name as written, prefix included.
    const std::string_view name = tag_.writtenName();
    if (name.empty()) return;
    std::copy(name.begin(), name.end(), rawTextName_.begin());
    rawTextLength_ = name.size();
    rawTextElement_ = element;
    mode_ = Mode::kRawText;
  } else if ((element.flags & kPlaintext) != 0) {
    mode_ = Mode::kPlaintext;
  }
}

void TextScanner::scanUntil(Run& run, std::string_view terminator) {
  std::size_t keep = 0;
  const std::size_t end = findTerminator(run.input.substr(run.pos), terminator, keep);
  if (end != std::string_view::npos) {
    run.pos += end;
    mode_ = Mode::kText;
    inToken_ = false;
    return;
  }
  if (run.atEnd || keep == 0) {
    run.pos = run.size();
    return;
  }
  run.stallAt(run.size() - keep);
}

void TextScanner::scanRawText(Run& run) {
  const std::string_view name(rawTextName_.data(), rawTextLength_);
  for (;;) {
    const std::size_t next = run.input.find('<', run.pos);
    if (next == std::string_view::npos) {
      run.pos = run.size();
      return;
    }
    switch (matchEndTag(run.input.substr(next), name, run.atEnd)) {
      case Match::kYes:
        run.pos = next;
        mode_ = Mode::kText;  // which reads the end tag
        rawTextEnd_ = true;
        inToken_ = false;
        return;
      case Match::kMore:
        return run.stallAt(next);
      case Match::kNo:
        run.pos = next + 1;
        break;
    }
  }
}

}  // namespace liang::internal
