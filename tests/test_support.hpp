// Helpers shared by the test files.
#ifndef LIANG_TESTS_TEST_SUPPORT_HPP_
#define LIANG_TESTS_TEST_SUPPORT_HPP_

#include <liang/liang.hpp>

#include <string>

namespace testing_support {

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
