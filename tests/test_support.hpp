// Helpers shared by the test files.
#ifndef LIANG_TESTS_TEST_SUPPORT_HPP_
#define LIANG_TESTS_TEST_SUPPORT_HPP_

#include <liang/liang.hpp>

#include <string>
#include <string_view>
#include <vector>

namespace testing_support {

// The pieces with `separator` between them.
inline std::string join(const std::vector<std::string>& pieces, std::string_view separator) {
  std::string out;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    if (i != 0) out += separator;
    out += pieces[i];
  }
  return out;
}

// `text` with every occurrence of `hyphen` taken out.
inline std::string withoutAll(std::string text, std::string_view hyphen) {
  for (std::size_t at = text.find(hyphen); at != std::string::npos; at = text.find(hyphen, at)) {
    text.erase(at, hyphen.size());
  }
  return text;
}

// The message of the liang::Error that `action` throws, or "(no error)".
std::string errorOf(auto&& action) {
  try {
    action();
  } catch (const liang::Error& error) {
    return error.what();
  }
  return "(no error)";
}

}  // namespace testing_support

#endif  // LIANG_TESTS_TEST_SUPPORT_HPP_
