// liang.TextStream: running text in chunks, over liang::TextStream.
//
// Python hands over str chunks; the library reads and writes UTF-8. The
// output it settles may end inside a character's bytes, so the tail of an
// unfinished character waits here for the next call: every str returned is
// whole characters, and the pieces join to insert_hyphens of the whole text.
// One stream may be shared by threads: a mutex, taken without the GIL,
// keeps their calls apart; feed and finish release the GIL while they work.
#ifndef LIANG_PYTHON_PYTHONTEXTSTREAM_HPP_
#define LIANG_PYTHON_PYTHONTEXTSTREAM_HPP_

#include <pybind11/pybind11.h>

#include <mutex>
#include <string>

#include "PythonHyphenator.hpp"
#include "liang/liang.hpp"

namespace liang_python {

class PythonTextStream {
 public:
  PythonTextStream(const liang::Hyphenator& h, liang::TextOptions options);

  // The output settled by `chunk`, as a str.
  pybind11::str feed(const pybind11::object& chunk);
  // The rest of the output; the stream may then take a new text.
  pybind11::str finish();

 private:
  std::mutex mutex_;
  liang::TextStream stream_;
  // Output not yet returned: after a call, at most the start of a character.
  std::string unsettled_;
};

}  // namespace liang_python

#endif  // LIANG_PYTHON_PYTHONTEXTSTREAM_HPP_
