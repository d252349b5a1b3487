// A deliberately naive model of the trie and of hyphenate, written straight
// from the algorithm's definition: node maps, lists built in full, unbounded
// arithmetic. The tests and the fuzz targets compare the library against it.
#ifndef LIANG_TESTS_REFERENCE_MODEL_HPP_
#define LIANG_TESTS_REFERENCE_MODEL_HPP_

#include <liang/liang.hpp>

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace reference {

struct Node {
  liang::Scores scores;
  std::map<char32_t, std::unique_ptr<Node>> children;
};

inline bool isDigit(char32_t c) { return c >= U'0' && c <= U'9'; }

// The letters of a pattern line: the line without its digits.
inline std::u32string lettersOf(std::u32string_view line) {
  std::u32string letters;
  for (char32_t c : line) {
    if (!isDigit(c)) letters.push_back(c);
  }
  return letters;
}

// A line's score list by the walk as written, where `markScore(c)` is the
// score of a mark c and nullopt for any other character: a mark scores the
// boundary before the character after it, which is consumed unscored; every
// other character scores 0; the end of the line scores 0 unless the line
// ends in a mark.
template <class MarkScore>
liang::Scores scoreLine(std::u32string_view line, MarkScore markScore) {
  liang::Scores scores;
  std::size_t i = 0;
  for (;;) {
    if (i == line.size()) {
      scores.push_back(0);
      return scores;
    }
    if (const std::optional<std::int64_t> score = markScore(line[i])) {
      scores.push_back(*score);
      if (i + 1 == line.size()) return scores;
      i += 2;
    } else {
      scores.push_back(0);
      ++i;
    }
  }
}

// A pattern line's scores: a digit is a mark of its value.
inline liang::Scores scorePattern(std::u32string_view line) {
  return scoreLine(line, [](char32_t c) -> std::optional<std::int64_t> {
    if (!isDigit(c)) return std::nullopt;
    return c - U'0';
  });
}

// An exception entry's scores: a "-" is a mark of 1.
inline liang::Scores scoreEntry(std::u32string_view entry) {
  return scoreLine(entry, [](char32_t c) -> std::optional<std::int64_t> {
    if (c != U'-') return std::nullopt;
    return 1;
  });
}

inline void insert(Node& root, std::u32string_view line) {
  Node* node = &root;
  for (char32_t c : lettersOf(line)) {
    auto& child = node->children[c];
    if (!child) child = std::make_unique<Node>();
    node = child.get();
  }
  node->scores = scorePattern(line);
}

// Lines by the line rule: split at LF, no line after a final LF.
inline std::vector<std::u32string> lines(std::u32string_view text) {
  std::vector<std::u32string> result;
  while (!text.empty()) {
    const std::size_t end = text.find(U'\n');
    result.emplace_back(text.substr(0, end));
    if (end == std::u32string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return result;
}

// Lines inserted bottom to top, as the text format defines.
inline std::unique_ptr<Node> parse(std::u32string_view text) {
  auto root = std::make_unique<Node>();
  auto all = lines(text);
  for (auto it = all.rbegin(); it != all.rend(); ++it) insert(*root, *it);
  return root;
}

inline liang::Scores combine(const liang::Scores& x, const liang::Scores& y) {
  liang::Scores result = x.size() >= y.size() ? x : y;
  for (std::size_t k = 0; k < std::min(x.size(), y.size()); ++k) result[k] = std::max(x[k], y[k]);
  return result;
}

inline liang::Scores lookup(std::u32string_view word, const Node& root) {
  std::u32string s(word.size() + 2, U'.');
  std::copy(word.begin(), word.end(), s.begin() + 1);
  const std::size_t length = s.size();
  liang::Scores table = root.scores;  // T(L)
  for (std::size_t i = length; i-- > 0;) {
    liang::Scores match = root.scores;
    const Node* node = &root;
    for (std::size_t j = i; j < length; ++j) {
      auto it = node->children.find(s[j]);
      if (it == node->children.end()) break;
      node = it->second.get();
      match = combine(match, node->scores);
    }
    liang::Scores shifted{0};
    shifted.insert(shifted.end(), table.begin(), table.end());
    table = combine(match, shifted);
  }
  return liang::Scores(table.begin() + 1, table.end() - 1);
}

// The pieces that hyphenate must give for `word` when the chosen raw score
// list is `raw`, by the algorithm as written: too short a word stays whole,
// the list is trimmed to the minima, and the word is cut after each odd
// entry. Empty where hyphenate fails instead: the trimmed list is empty.
// Exact for any pair of 64-bit minima: a sum that overflows lies beyond
// any word's length on the side of its operands' sign.
inline std::vector<std::u32string> cut(std::u32string_view word, const liang::Scores& raw,
                                       std::int64_t leftMin, std::int64_t rightMin) {
  const auto n = static_cast<std::int64_t>(word.size());
  std::int64_t sum = 0;
  const bool sumOverflows = __builtin_add_overflow(leftMin, rightMin, &sum);
  if (n == 0 || (sumOverflows ? leftMin > 0 : n < sum)) return {std::u32string(word)};
  const std::int64_t first = std::max<std::int64_t>(leftMin, 0);
  const std::int64_t available =
      std::max<std::int64_t>(static_cast<std::int64_t>(raw.size()) - first, 0);
  // d = n - L - R + 1, at least 1 here; past `available` its size does not matter.
  std::int64_t d = 0;
  if (sumOverflows || __builtin_sub_overflow(n + 1, sum, &d)) d = available;
  const std::int64_t trimmedLength = first + std::min(d, available);
  if (trimmedLength == 0) return {};
  const auto trimmed = [&](std::int64_t p) -> std::int64_t {
    return p < first ? 0 : raw[static_cast<std::size_t>(p)];
  };
  std::vector<std::u32string> pieces;
  std::u32string current;
  for (std::size_t i = 0; i < word.size(); ++i) {
    const auto entry = static_cast<std::int64_t>(i) + 1;  // entry 0 is dropped
    if (entry >= trimmedLength) {
      current += word.substr(i);
      pieces.push_back(current);
      return pieces;
    }
    current.push_back(word[i]);
    if (trimmed(entry) % 2 != 0) {
      pieces.push_back(current);
      current.clear();
    }
  }
  pieces.push_back(current);
  return pieces;
}

// The model's trie rebuilt through the public node constructor. Recurses
// once per letter of the longest pattern, which the callers' sizes bound.
inline liang::Patterns assemble(const Node& node) {
  std::map<char32_t, liang::Patterns> children;
  for (const auto& [key, child] : node.children) children.emplace(key, assemble(*child));
  return liang::Patterns(node.scores, std::move(children));
}

// Random pattern text over a small alphabet, so that patterns collide,
// share prefixes, use "." at the edges and sometimes carry odd shapes.
// Without `letterless`, every line has a letter, so the root keeps an empty
// score list (the shape of real pattern files).
inline std::u32string randomPatternText(std::mt19937& random, std::size_t lineCount,
                                        bool letterless = true) {
  const std::u32string letters = U"abc.";
  std::u32string text;
  for (std::size_t line = 0; line < lineCount; ++line) {
    const std::size_t length = random() % 6;
    bool hasLetter = false;
    for (std::size_t k = 0; k < length; ++k) {
      if (random() % 3 == 0) {
        text.push_back(static_cast<char32_t>(U'0' + random() % 10));
      } else {
        text.push_back(letters[random() % letters.size()]);
        hasLetter = true;
      }
    }
    if (!letterless && !hasLetter) text.push_back(letters[random() % letters.size()]);
    text.push_back(U'\n');
  }
  return text;
}

inline std::u32string randomWord(std::mt19937& random, std::size_t maxLength) {
  const std::u32string letters = U"abc.";
  std::u32string word;
  const std::size_t length = random() % (maxLength + 1);
  for (std::size_t k = 0; k < length; ++k) word.push_back(letters[random() % letters.size()]);
  return word;
}

}  // namespace reference

#endif  // LIANG_TESTS_REFERENCE_MODEL_HPP_
