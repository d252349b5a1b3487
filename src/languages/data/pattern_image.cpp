// The pattern trie's image, written from pattern text (see pattern_image.hpp).
#include "pattern_image.hpp"

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/PatternImageFormat.hpp"

namespace liang_embed {
namespace {

using liang::internal::kPatternImageMagic;
using liang::internal::kPatternImageScoresPerByte;

// Strict UTF-8: nothing for an ill-formed sequence, a surrogate or an
// overlong form, which the library decodes leniently instead.
std::optional<std::u32string> decodeStrictly(const std::string& bytes) {
  std::u32string out;
  for (std::size_t i = 0; i < bytes.size();) {
    const auto b = static_cast<std::uint8_t>(bytes[i]);
    const int length = b < 0x80                ? 1
                       : b >= 0xC2 && b < 0xE0 ? 2
                       : b >= 0xE0 && b < 0xF0 ? 3
                       : b >= 0xF0 && b < 0xF5 ? 4
                                               : 0;
    if (length == 0 || i + length > bytes.size()) return std::nullopt;
    char32_t c = length == 1 ? b : b & (0x7F >> length);
    for (int k = 1; k < length; ++k) {
      const auto next = static_cast<std::uint8_t>(bytes[i + k]);
      if ((next & 0xC0) != 0x80) return std::nullopt;
      c = (c << 6) | (next & 0x3F);
    }
    constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kLeast[length] || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) return std::nullopt;
    out.push_back(c);
    i += length;
  }
  return out;
}

struct Node {
  std::map<char32_t, std::uint32_t> children;
  std::optional<std::vector<int>> scores;  // the first line's to reach the node
};

// One line read by the digit rule: a digit scores the boundary at its place
// and consumes the character after it (a letter but for another digit);
// any other character is a letter scoring its own boundary 0; the boundary
// after the last character scores 0 unless a digit ends the line.
void readLine(std::u32string_view line, std::u32string& letters, std::vector<int>& scores) {
  letters.clear();
  scores.clear();
  const auto isDigit = [](char32_t c) { return c >= U'0' && c <= U'9'; };
  for (std::size_t i = 0;;) {
    if (i == line.size()) {
      scores.push_back(0);
      return;
    }
    if (isDigit(line[i])) {
      scores.push_back(static_cast<int>(line[i] - U'0'));
      if (i + 1 == line.size()) return;
      if (!isDigit(line[i + 1])) letters.push_back(line[i + 1]);
      i += 2;
    } else {
      scores.push_back(0);
      letters.push_back(line[i]);
      i += 1;
    }
  }
}

// The trie of every line, split at line feeds (a final line feed ends the
// last line and starts none); the upper of two lines of equal letters wins.
// Nothing when a line's score list is not one longer than its letters.
std::optional<std::vector<Node>> buildTrie(std::u32string_view text) {
  std::vector<Node> nodes(1);
  std::u32string letters;
  std::vector<int> scores;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t stop = text.find(U'\n', start);
    if (stop == std::u32string_view::npos) stop = text.size();
    readLine(text.substr(start, stop - start), letters, scores);
    start = stop + 1;
    if (scores.size() != letters.size() + 1) return std::nullopt;
    std::uint32_t node = 0;
    for (const char32_t c : letters) {
      const auto [it, added] =
          nodes[node].children.emplace(c, static_cast<std::uint32_t>(nodes.size()));
      node = it->second;
      if (added) nodes.emplace_back();
    }
    if (!nodes[node].scores) nodes[node].scores = scores;
  }
  return nodes;
}

void appendVarint(std::string& out, std::uint32_t value) {
  for (; value >= 0x80; value >>= 7) out.push_back(static_cast<char>((value & 0x7F) | 0x80));
  out.push_back(static_cast<char>(value));
}

}  // namespace

std::optional<std::string> patternImage(const std::string& text) {
  const std::optional<std::u32string> decoded = decodeStrictly(text);
  if (!decoded) return std::nullopt;
  const std::optional<std::vector<Node>> trie = buildTrie(*decoded);
  if (!trie || (trie->size() == 1 && !(*trie)[0].scores)) return std::nullopt;
  const std::vector<Node>& nodes = *trie;

  std::string nodeColumn, letterColumn, scoreColumn;
  std::uint64_t scoreEntries = 0;
  std::vector<std::uint32_t> order{0};  // breadth first, children by letter
  for (std::size_t k = 0; k < order.size(); ++k) {
    const Node& node = nodes[order[k]];
    char32_t previous = 0;
    for (const auto& [letter, child] : node.children) {
      appendVarint(letterColumn, letter - previous);
      previous = letter;
      order.push_back(child);
    }
    std::uint32_t mark = 0;
    if (node.scores) {
      const std::vector<int>& scores = *node.scores;
      scoreEntries += scores.size();
      std::uint32_t gap = 0;
      mark = 1;
      for (const int score : scores) {
        if (score == 0) {
          ++gap;
          continue;
        }
        if (gap > 15 || ++mark > 15) return std::nullopt;
        scoreColumn.push_back(static_cast<char>((gap << 4) | static_cast<std::uint32_t>(score)));
        gap = 0;
      }
    }
    appendVarint(nodeColumn, static_cast<std::uint32_t>(node.children.size() << 4) | mark);
  }
  std::string image(kPatternImageMagic);
  appendVarint(image, static_cast<std::uint32_t>(nodes.size()));
  appendVarint(image, static_cast<std::uint32_t>(scoreEntries));
  appendVarint(image, static_cast<std::uint32_t>(nodeColumn.size()));
  appendVarint(image, static_cast<std::uint32_t>(letterColumn.size()));
  image += nodeColumn;
  image += letterColumn;
  image += scoreColumn;
  if (scoreEntries > kPatternImageScoresPerByte * image.size()) return std::nullopt;
  return image;
}

}  // namespace liang_embed
