// The one line rule of every text format the library reads.
//
// A text splits at each line feed, which belongs to no line; a final line
// feed opens no further line; an empty text has no lines; a carriage return
// is an ordinary character.
#ifndef LIANG_CORE_LINES_HPP_
#define LIANG_CORE_LINES_HPP_

#include <cstddef>
#include <string_view>

namespace liang::internal {

// Calls `visit(line)` for each line of `text`, top to bottom.
template <class Char, class Visit>
void forEachLine(std::basic_string_view<Char> text, Visit&& visit) {
  while (!text.empty()) {
    const std::size_t end = text.find(Char('\n'));
    if (end == std::basic_string_view<Char>::npos) {
      visit(text);
      return;
    }
    visit(text.substr(0, end));
    text.remove_prefix(end + 1);
  }
}

}  // namespace liang::internal

#endif  // LIANG_CORE_LINES_HPP_
