// The exception dictionary: words whose breaks are given outright.

#include "liang/Exception.hpp"

#include <algorithm>
#include <charconv>
#include <optional>
#include <utility>

#include "core/ExceptionTable.hpp"
#include "core/Lines.hpp"
#include "core/Render.hpp"
#include "core/ScoreMarks.hpp"
#include "core/Utf8.hpp"

namespace liang {
namespace {

using internal::ExceptionsAccess;
using internal::ExceptionTable;
using Entries = ExceptionTable::Entries;

constexpr char32_t kBreakMark = U'-';

Word keyOf(std::u32string_view entry) {
  Word key;
  key.reserve(entry.size());
  for (char32_t c : entry) {
    if (c != kBreakMark) key.push_back(c);
  }
  return key;
}

// Adds one entry in place; a word already present keeps the element-wise
// minimum, so only breaks that every entry for it agrees on survive.
void addInPlace(Entries& entries, Word key, Scores scores) {
  auto [it, inserted] = entries.try_emplace(std::move(key), std::move(scores));
  if (!inserted &&
      !std::equal(it->second.begin(), it->second.end(), scores.begin(), scores.end())) {
    it->second = zipMin(it->second, scores);
  }
}

Exceptions publish(Entries&& entries) {
  if (entries.empty()) return Exceptions();
  return ExceptionsAccess::make(std::make_shared<const ExceptionTable>(std::move(entries)));
}

void appendQuotedWord(std::string& out, std::u32string_view word) {
  out.push_back('"');
  for (char32_t c : word) {
    if (c == U'"' || c == U'\\') {
      out.push_back('\\');
      out.push_back(static_cast<char>(c));
    } else if (c < 0x20 || c == 0x7F || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
      // Controls and non-characters as \x{HEX}, so the rendering stays one
      // line of well-formed UTF-8.
      char hex[16];
      auto result = std::to_chars(hex, hex + sizeof hex, static_cast<std::uint32_t>(c), 16);
      out += "\\x{";
      out.append(hex, result.ptr);
      out.push_back('}');
    } else {
      internal::appendUtf8(out, c);
    }
  }
  out.push_back('"');
}

}  // namespace

bool operator==(const Exceptions& a, const Exceptions& b) {
  const ExceptionTable* x = ExceptionsAccess::table(a);
  const ExceptionTable* y = ExceptionsAccess::table(b);
  if (x == y) return true;
  if (x == nullptr || y == nullptr) return false;  // published tables are never empty
  return x->entries() == y->entries();
}

Exceptions emptyExceptions() noexcept { return Exceptions(); }

Scores scoreException(std::u32string_view entry) {
  // A "-" scores 1, so "a--b" has one score more than its two letters would.
  return internal::scoreMarks(entry, [](char32_t c) -> std::optional<std::int64_t> {
    if (c != kBreakMark) return std::nullopt;
    return 1;
  });
}

Exceptions addException(std::u32string_view entry, const Exceptions& d) {
  Entries entries;
  if (const ExceptionTable* old = ExceptionsAccess::table(d)) entries = old->entries();
  addInPlace(entries, keyOf(entry), scoreException(entry));
  return publish(std::move(entries));
}

std::optional<Scores> lookupException(std::u32string_view word, const Exceptions& d) {
  if (const Scores* scores = internal::findException(d, word)) return *scores;
  return std::nullopt;
}

Exceptions parseExceptions(std::u32string_view text) {
  Entries entries;
  internal::forEachLine(text, [&](std::u32string_view line) {
    addInPlace(entries, keyOf(line), scoreException(line));
  });
  return publish(std::move(entries));
}

Exceptions parseExceptions(std::string_view utf8Text) {
  return parseExceptions(internal::decodeUtf8(utf8Text));
}

Scores zipMin(const Scores& a, const Scores& b) {
  const std::size_t length = std::min(a.size(), b.size());
  Scores result(length);
  for (std::size_t k = 0; k < length; ++k) result[k] = std::min(a[k], b[k]);
  return result;
}

Exceptions merge(const Exceptions& a, const Exceptions& b) {
  const ExceptionTable* x = ExceptionsAccess::table(a);
  const ExceptionTable* y = ExceptionsAccess::table(b);
  if (x == nullptr || x == y) return x == nullptr ? b : a;
  if (y == nullptr) return a;
  const ExceptionTable& larger = x->entries().size() >= y->entries().size() ? *x : *y;
  const ExceptionTable& smaller = &larger == x ? *y : *x;
  Entries entries = larger.entries();
  for (const auto& [word, scores] : smaller.entries()) addInPlace(entries, word, scores);
  return publish(std::move(entries));
}

Exceptions replaceExceptions(const Exceptions& replacements, const Exceptions& d) {
  const ExceptionTable* x = ExceptionsAccess::table(replacements);
  const ExceptionTable* y = ExceptionsAccess::table(d);
  if (x == nullptr || x == y) return d;
  if (y == nullptr) return replacements;
  Entries entries = y->entries();
  for (const auto& [word, scores] : x->entries()) entries.insert_or_assign(word, scores);
  return publish(std::move(entries));
}

Exceptions mergeAll(const std::vector<Exceptions>& ds) {
  Exceptions result;
  for (auto it = ds.rbegin(); it != ds.rend(); ++it) result = merge(*it, result);
  return result;
}

Exceptions mergeAll(const Exceptions& first, const std::vector<Exceptions>& rest) {
  return merge(first, mergeAll(rest));
}

Exceptions mergeTimes(std::int64_t n, const Exceptions& d) {
  if (n <= 0) throw Error("mergeTimes: the count must be positive, not " + std::to_string(n));
  return d;  // merge is idempotent
}

std::string show(const Exceptions& d, int precedence) {
  std::vector<std::pair<std::u32string_view, const Scores*>> entries;
  if (const ExceptionTable* table = ExceptionsAccess::table(d)) {
    entries.reserve(table->entries().size());
    for (const auto& [word, scores] : table->entries()) entries.emplace_back(word, &scores);
  }
  std::sort(entries.begin(), entries.end());
  std::string out;
  if (precedence > 10) out.push_back('(');
  out += "Exceptions (fromList [";
  for (std::size_t k = 0; k < entries.size(); ++k) {
    if (k != 0) out.push_back(',');
    out.push_back('(');
    appendQuotedWord(out, entries[k].first);
    out.push_back(',');
    internal::appendScoreList(out, *entries[k].second);
    out.push_back(')');
  }
  out += "])";
  if (precedence > 10) out.push_back(')');
  return out;
}

std::string show(const std::vector<Exceptions>& ds) {
  return internal::renderList(ds, [](const Exceptions& d) { return show(d, 0); });
}

}  // namespace liang
