// The scanner's markup: tags, comments, CDATA sections, declarations,
// processing instructions and raw-text elements, and the elements that
// switch the language or stop hyphenation.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "text/TextScanner.hpp"
#include "text/TextScannerRun.hpp"

namespace liang::internal {

Match TextScanner::opensMarkup(const Run& run, std::size_t at) const {
  switch (classifyMarkup(run.input.substr(at), run.atEnd).kind) {
    case MarkupKind::kNone:
      return Match::kNo;
    case MarkupKind::kMore:
      return Match::kMore;
    default:
      return Match::kYes;
  }
}

bool TextScanner::openMarkup(Run& run) {
  const MarkupStart start = classifyMarkup(run.input.substr(run.pos), run.atEnd);
  switch (start.kind) {
    case MarkupKind::kNone:
      return false;
    case MarkupKind::kMore:
      run.stallAt(run.pos);
      return false;
    case MarkupKind::kStartTag:
    case MarkupKind::kEndTag:
      tag_.begin(start.kind == MarkupKind::kEndTag);
      mode_ = Mode::kTag;
      break;
    case MarkupKind::kComment:
      mode_ = Mode::kComment;
      break;
    case MarkupKind::kCdata:
      mode_ = Mode::kCdata;
      break;
    case MarkupKind::kDeclaration:
      mode_ = Mode::kDeclaration;
      break;
    case MarkupKind::kProcessingInstruction:
      mode_ = Mode::kProcessingInstruction;
      break;
  }
  inToken_ = false;
  run.pos += start.openerLength;
  return true;
}

void TextScanner::scanTag(Run& run) {
  run.pos += tag_.read(run.input.substr(run.pos));
  if (tag_.done()) closeTag();
}

void TextScanner::closeTag() {
  mode_ = Mode::kText;
  const std::string_view name = tag_.name();
  if (tag_.isEndTag()) {
    for (std::size_t i = open_.size(); i-- > 0;) {
      if (std::string_view(open_[i].name.data(), open_[i].nameLength) == name) {
        open_.resize(i);
        break;
      }
    }
    return;
  }
  if (tag_.selfClosing() || isVoidElement(name)) return;
  const bool unhyphenated = isUnhyphenatedElement(name);
  if ((unhyphenated || tag_.hasLanguage()) && open_.size() < kDeepestElements) {
    const bool outerUnhyphenated = !open_.empty() && open_.back().unhyphenated;
    OpenElement element{};
    std::copy(name.begin(), name.end(), element.name.begin());
    element.nameLength = static_cast<std::uint8_t>(name.size());
    element.unhyphenated = unhyphenated || outerUnhyphenated;
    if (element.unhyphenated) {
      element.rules = nullptr;
    } else if (tag_.hasLanguage()) {
      element.rules = rulesForLanguage(tag_.language());
    } else {
      element.rules = currentRules();
    }
    open_.push_back(element);
  }
  if (isRawTextElement(name)) {
    rawTextName_.assign(name);
    mode_ = Mode::kRawText;
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
  for (;;) {
    const std::size_t next = run.input.find('<', run.pos);
    if (next == std::string_view::npos) {
      run.pos = run.size();
      return;
    }
    switch (matchEndTag(run.input.substr(next), rawTextName_, run.atEnd)) {
      case Match::kYes:
        run.pos = next;
        mode_ = Mode::kText;  // which reads the end tag
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
