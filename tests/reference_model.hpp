// A deliberately naive model of the trie and of hyphenate, written straight
// from the algorithm's definition: node maps, lists built in full, unbounded
// arithmetic. The tests compare the library against it on random inputs.
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
#include <vector>

namespace reference {

struct Node {
  liang::Scores scores;
  std::map<char32_t, std::unique_ptr<Node>> children;
};

inline bool isDigit(char32_t c) { return c >= U'0' && c <= U'9'; }

inline void insert(Node& root, std::u32string_view line) {
  Node* node = &root;
  for (char32_t c : line) {
    if (isDigit(c)) continue;
    auto& child = node->children[c];
    if (!child) child = std::make_unique<Node>();
    node = child.get();
  }
  node->scores = liang::scorePattern(line);
}

inline std::vector<std::u32string> lines(std::u32string_view text) {
  std::vector<std::u32string> result;
  std::u32string current;
  for (char32_t c : text) {
    if (c == U'\n') {
      result.push_back(current);
      current.clear();
    } else {
      current.push_back(c);
    }
  }
  if (!current.empty()) result.push_back(current);
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

// The pieces by the literal algorithm; `raw` is the chosen score list.
// Minima must be small enough for the zeros to be built.
inline std::vector<std::u32string> cut(std::u32string_view word, const liang::Scores& raw,
                                       std::int64_t left, std::int64_t right) {
  const auto n = static_cast<std::int64_t>(word.size());
  liang::Scores trimmed;
  if (n < left + right) {
    trimmed.assign(word.size() + 1, 0);
  } else {
    const std::int64_t d = n - left - right + 1;
    if (left > 0) trimmed.assign(static_cast<std::size_t>(left), 0);
    const std::int64_t from = std::max<std::int64_t>(left, 0);
    for (std::int64_t k = 0; k < d && from + k < static_cast<std::int64_t>(raw.size()); ++k) {
      trimmed.push_back(raw[static_cast<std::size_t>(from + k)]);
    }
  }
  std::vector<std::u32string> pieces;
  std::u32string current;
  std::size_t next = 1;  // the first entry is dropped
  for (std::size_t i = 0; i < word.size(); ++i) {
    if (next >= trimmed.size()) {
      current += word.substr(i);
      pieces.push_back(current);
      return pieces;
    }
    current.push_back(word[i]);
    if (trimmed[next++] % 2 != 0) {
      pieces.push_back(current);
      current.clear();
    }
  }
  pieces.push_back(current);
  return pieces;
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
