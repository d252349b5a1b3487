// Pieces of the diagnostic renderings of tries and dictionaries.
#ifndef LIANG_CORE_RENDER_HPP_
#define LIANG_CORE_RENDER_HPP_

#include <charconv>
#include <cstdint>
#include <span>
#include <string>

namespace liang::internal {

inline void appendInteger(std::string& out, std::int64_t value) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  out.append(buffer, result.ptr);
}

// "[0,1,0]"; "[]" for the empty list.
template <class List>
void appendScoreList(std::string& out, const List& scores) {
  out.push_back('[');
  for (std::size_t k = 0; k < scores.size(); ++k) {
    if (k != 0) out.push_back(',');
    appendInteger(out, scores[k]);
  }
  out.push_back(']');
}

// "[a,b,c]" of the renderings of a sequence.
template <class T, class Render>
std::string renderList(const std::vector<T>& values, Render render) {
  std::string out = "[";
  for (std::size_t k = 0; k < values.size(); ++k) {
    if (k != 0) out.push_back(',');
    out += render(values[k]);
  }
  out.push_back(']');
  return out;
}

}  // namespace liang::internal

#endif  // LIANG_CORE_RENDER_HPP_
