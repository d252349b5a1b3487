#include "text/ElementStack.hpp"

#include <cstddef>

#include "text/Elements.hpp"

namespace liang::internal {

namespace {

// What bounds the scope that an end tag, or a start tag's implied end,
// looks in (HTML's "has an element in scope" and its variants).
constexpr std::uint32_t kDefaultScope = kScope;
constexpr std::uint32_t kButton = kScope | kButtonScope;
constexpr std::uint32_t kListItemScope = kScope | kListScope;

}  // namespace

void ElementStack::reset(bool xml) noexcept {
  xml_ = xml;
  runs_.clear();
  clearOverflow();
}

void ElementStack::clearOverflow() noexcept {
  overflow_ = 0;
  overflowByName_.fill(0);
  muted_ = false;
}

std::size_t ElementStack::find(std::uint64_t name, std::uint32_t anyOf,
                               std::uint32_t boundary) const noexcept {
  for (std::size_t i = runs_.size(); i-- > 0;) {
    const Run& run = runs_[i];
    if (anyOf != 0 ? (run.flags & anyOf) != 0 : run.name == name) return i;
    if ((run.flags & boundary) != 0) return kNone;
  }
  return kNone;
}

void ElementStack::closeRun(std::size_t index) noexcept {
  if (overflow_ != 0 || muted_) clearOverflow();  // all opened inside
  // Only ever shrinks: erase, which needs no path to grow the vector.
  if (index + 1 < runs_.size()) {
    runs_.erase(runs_.begin() + static_cast<std::ptrdiff_t>(index) + 1, runs_.end());
  }
  if (--runs_.back().count == 0) runs_.pop_back();
}

void ElementStack::closeIn(std::uint64_t name, std::uint32_t anyOf,
                           std::uint32_t boundary) noexcept {
  const std::size_t at = find(name, anyOf, boundary);
  if (at != kNone) closeRun(at);
}

void ElementStack::closeParagraph() noexcept { closeIn(0, kParagraph, kButton); }

bool ElementStack::startTag(const Element& element) noexcept {
  const std::uint32_t flags = element.flags;
  if (xml_ || flags == 0 || overflow_ != 0) return true;
  if ((flags & kTablePart) != 0 && find(0, kTable, 0) == kNone) return false;
  if ((flags & kClosesP) != 0) closeParagraph();
  if ((flags & (kListItem | kDefinition)) != 0) {
    // The nearest li (or dd, dt) ends, unless a special element other than
    // address, div and p stands between.
    const std::uint32_t kind = flags & (kListItem | kDefinition);
    for (std::size_t i = runs_.size(); i-- > 0;) {
      if ((runs_[i].flags & kind) != 0) {
        closeRun(i);
        break;
      }
      if ((runs_[i].flags & (kSpecial | kPassedByItems)) == kSpecial) break;
    }
  }
  if ((flags & kHeading) != 0 && !runs_.empty() && (runs_.back().flags & kHeading) != 0) {
    closeRun(runs_.size() - 1);
  }
  if ((flags & kCell) != 0) closeIn(0, kCell, kTableScope | kRow);
  if ((flags & kRow) != 0) closeIn(0, kRow, kTableScope);
  if ((flags & (kOption | kOptgroup)) != 0 && !runs_.empty() &&
      (runs_.back().flags & kOption) != 0) {
    closeRun(runs_.size() - 1);
  }
  if ((flags & kOptgroup) != 0 && !runs_.empty() && (runs_.back().flags & kOptgroup) != 0) {
    closeRun(runs_.size() - 1);
  }
  return true;
}

void ElementStack::open(const Element& element, WordRules* rules, bool protect) {
  if (overflow_ == 0 && !runs_.empty()) {
    Run& top = runs_.back();
    if (top.name == element.name && top.rules == rules && top.protect == protect &&
        top.count < UINT32_MAX) {
      ++top.count;
      return;
    }
  }
  if (overflow_ == 0 && runs_.size() < kStoredRuns) {
    runs_.push_back({element.name, element.flags, 1, rules, protect});
    return;
  }
  ++overflow_;
  ++overflowByName_[element.name % kBuckets];
  const bool same =
      !runs_.empty() && runs_.back().rules == rules && runs_.back().protect == protect;
  if (!same) muted_ = true;
}

void ElementStack::endTag(const Element& element) noexcept {
  // The commonest end tag closes the element on top, which every rule
  // below finds first: the same name has the same flags.
  if (overflow_ == 0 && !runs_.empty() && runs_.back().name == element.name &&
      (element.flags & (kVoid | kKeptOpen)) == 0) {
    return closeRun(runs_.size() - 1);
  }
  if (overflow_ != 0) {
    std::uint64_t& named = overflowByName_[element.name % kBuckets];
    if (named != 0) {
      --named;
      if (--overflow_ == 0) clearOverflow();
      return;
    }
  }
  if (xml_) return closeIn(element.name, 0, 0);
  const std::uint32_t flags = element.flags;
  if ((flags & (kVoid | kKeptOpen)) != 0) return;
  if ((flags & kParagraph) != 0) return closeParagraph();
  if ((flags & kListItem) != 0) return closeIn(element.name, 0, kListItemScope);
  if ((flags & kHeading) != 0) return closeIn(0, kHeading, kDefaultScope);
  if ((flags & kTableScopedEnd) != 0) return closeIn(element.name, 0, kTableScope);
  if ((flags & (kScopedEnd | kDefinition)) != 0) {
    return closeIn(element.name, 0, kDefaultScope);
  }
  // Any other end tag closes its element unless a special one is nearer.
  closeIn(element.name, 0, kSpecial);
}

}  // namespace liang::internal
