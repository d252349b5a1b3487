#include "PythonTextStream.hpp"

#include <cstddef>
#include <string_view>
#include <utility>

#include "Strings.hpp"

namespace py = pybind11;

namespace liang_python {

namespace {

// How many bytes at the start of `utf8` form whole characters: all of them,
// unless the last few begin a sequence that the bytes do not finish.
std::size_t wholeCharacterBytes(std::string_view utf8) {
  const std::size_t size = utf8.size();
  // A sequence is at most 4 bytes: look back at most 3 for its lead byte.
  for (std::size_t back = 1; back <= 3 && back <= size; ++back) {
    const auto byte = static_cast<unsigned char>(utf8[size - back]);
    if ((byte & 0xC0) == 0x80) continue;  // a continuation byte: look further back
    const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
    return length > back ? size - back : size;
  }
  return size;
}

}  // namespace

PythonTextStream::PythonTextStream(const liang::Hyphenator& h, liang::TextOptions options)
    : stream_(h, std::move(options)) {}

py::str PythonTextStream::feed(const py::object& chunk) {
  const std::string_view utf8 = utf8Of(requireStr(chunk.ptr(), "chunk"));
  std::string settled;
  {
    py::gil_scoped_release release;
    const std::lock_guard<std::mutex> lock(mutex_);
    stream_.feed(utf8, unsettled_);
    const std::size_t whole = wholeCharacterBytes(unsettled_);
    settled.assign(unsettled_, 0, whole);
    unsettled_.erase(0, whole);
  }
  return strFromUtf8(settled);
}

py::str PythonTextStream::finish() {
  std::string rest;
  {
    py::gil_scoped_release release;
    const std::lock_guard<std::mutex> lock(mutex_);
    stream_.finish(unsettled_);
    rest.swap(unsettled_);
  }
  return strFromUtf8(rest);
}

}  // namespace liang_python
