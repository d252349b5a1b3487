// The one walk that turns a line of letters and score marks into a score
// list: the digits of a pattern line, the hyphens of an exception entry.
#ifndef LIANG_CORE_SCOREMARKS_HPP_
#define LIANG_CORE_SCOREMARKS_HPP_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "liang/Types.hpp"

namespace liang::internal {

// Whether `c` is a score digit of a pattern line rather than a letter.
inline bool isPatternDigit(char32_t c) noexcept { return c >= U'0' && c <= U'9'; }

// The score list of `line`, where `markScore(c)` is the score of a mark c
// and nullopt for any other character. A mark scores the boundary at its
// place and consumes the character after it unexamined, even another mark;
// any other character scores its own boundary 0; the boundary after the
// last character scores 0 unless a mark ends the line. Hence the pattern
// "a12b" scores 0, 1, 0, 0 and the entry "a--b" 0, 1, 0.
template <class MarkScore>
Scores scoreMarks(std::u32string_view line, MarkScore markScore) {
  Scores scores(line.size() + 1);  // the most a line can have
  std::size_t count = 0;
  std::size_t i = 0;
  while (true) {
    if (i == line.size()) {
      scores[count++] = 0;
      break;
    }
    if (const std::optional<std::int64_t> score = markScore(line[i])) {
      scores[count++] = *score;
      if (i + 1 == line.size()) break;
      i += 2;
    } else {
      scores[count++] = 0;
      i += 1;
    }
  }
  scores.resize(count);
  return scores;
}

}  // namespace liang::internal

#endif  // LIANG_CORE_SCOREMARKS_HPP_
