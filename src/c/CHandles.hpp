// The opaque types of the C interface (liang.h), defined for the library's
// own C++: the C interface itself, and tests that wrap a hyphenator made in
// C++ to see how a failure crosses into C.
#ifndef LIANG_C_CHANDLES_HPP_
#define LIANG_C_CHANDLES_HPP_

#include <cstddef>
#include <string>

#include "liang/Hyphenator.hpp"
#include "liang/Text.hpp"
#include "liang/liang.h"

// A hyphenator handle. A shared hyphenator's handle holds a copy of the C++
// shared one, which costs O(1) and shares all of its components.
struct liang_hyphenator {
  liang::Hyphenator hyphenator;
  bool shared;  // a handle of liang_language: liang_free leaves it alone
};

// A stream and the output it settled that the caller has not read yet.
struct liang_text_stream {
  liang::TextStream stream;
  std::string ready;  // unread output is ready[readFrom, size)
  std::size_t readFrom;
};

#endif  // LIANG_C_CHANDLES_HPP_
