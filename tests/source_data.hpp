// The data files as they stand in data/ (LIANG_SOURCE_DATA, which the test's
// build defines), for tests that check the embedded forms against them.
#ifndef LIANG_TESTS_SOURCE_DATA_HPP_
#define LIANG_TESTS_SOURCE_DATA_HPP_

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>

#include "languages/Loader.hpp"

namespace testing_support {

// The inflated content of the data file `name` ("hyph-hu.pat.txt.gz").
inline std::string sourceDataBytes(std::string_view name) {
  const std::string path = std::string(LIANG_SOURCE_DATA) + "/" + std::string(name);
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  const std::string compressed{std::istreambuf_iterator<char>(in),
                               std::istreambuf_iterator<char>()};
  return liang::internal::inflateGzip(compressed);
}

}  // namespace testing_support

#endif  // LIANG_TESTS_SOURCE_DATA_HPP_
