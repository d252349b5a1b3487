// Python strings for the library: the code points of a str without decoding
// (CPython stores them one, two or four bytes wide), its UTF-8 form, and
// back. A code point offset is a Python str index, so the offsets the
// library gives in code points are str indices as they are.
#ifndef LIANG_PYTHON_STRINGS_HPP_
#define LIANG_PYTHON_STRINGS_HPP_

#include <pybind11/pybind11.h>

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace liang_python {

// The code points of a str. A four-byte string is viewed in place; a one- or
// two-byte one is widened into inline storage when it is short (as words
// are) and onto the heap otherwise.
class CodePoints {
 public:
  explicit CodePoints(PyObject* text) {
    const Py_ssize_t length = PyUnicode_GET_LENGTH(text);
    const void* data = PyUnicode_DATA(text);
    const int kind = PyUnicode_KIND(text);
    if (kind == PyUnicode_4BYTE_KIND) {
      view_ = {static_cast<const char32_t*>(data), static_cast<std::size_t>(length)};
      return;
    }
    char32_t* out = inline_.data();
    if (static_cast<std::size_t>(length) > inline_.size()) {
      heap_.resize(static_cast<std::size_t>(length));
      out = heap_.data();
    }
    if (kind == PyUnicode_1BYTE_KIND) {
      const auto* narrow = static_cast<const Py_UCS1*>(data);
      for (Py_ssize_t k = 0; k < length; ++k) out[k] = narrow[k];
    } else {
      const auto* wide = static_cast<const Py_UCS2*>(data);
      for (Py_ssize_t k = 0; k < length; ++k) out[k] = wide[k];
    }
    view_ = {out, static_cast<std::size_t>(length)};
  }
  CodePoints(const CodePoints&) = delete;
  CodePoints& operator=(const CodePoints&) = delete;

  std::u32string_view view() const noexcept { return view_; }

 private:
  std::array<char32_t, 64> inline_;
  std::u32string heap_;
  std::u32string_view view_;
};

// `object` if it is a str; otherwise TypeError saying what `what` must be.
inline PyObject* requireStr(PyObject* object, const char* what) {
  if (!PyUnicode_Check(object)) {
    throw pybind11::type_error(std::string(what) + " must be str, not " + Py_TYPE(object)->tp_name);
  }
  return object;
}

// The UTF-8 bytes of a str, cached by CPython in the object itself, so they
// stay valid while the caller holds the str (also without the GIL). Lone
// surrogates, which have no UTF-8 form, raise UnicodeEncodeError.
inline std::string_view utf8Of(PyObject* text) {
  Py_ssize_t size = 0;
  const char* bytes = PyUnicode_AsUTF8AndSize(text, &size);
  if (bytes == nullptr) throw pybind11::error_already_set();
  return {bytes, static_cast<std::size_t>(size)};
}

// A str of the characters of `utf8` when all are Latin-1 (ASCII, and the
// two-byte sequences of U+0080..U+00FF: a word with soft hyphens), written
// straight into a one-byte str; null for any other text, which the general
// decoder takes.
inline PyObject* latin1StrOf(std::string_view utf8) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(utf8.data());
  const std::size_t size = utf8.size();
  std::size_t length = 0;
  unsigned char any = 0;
  for (std::size_t i = 0; i < size; ++length) {
    const unsigned char b = bytes[i];
    any |= b;
    if (b < 0x80) {
      ++i;
    } else if ((b == 0xC2 || b == 0xC3) && i + 1 < size && (bytes[i + 1] & 0xC0) == 0x80) {
      i += 2;
    } else {
      return nullptr;
    }
  }
  PyObject* result = PyUnicode_New(static_cast<Py_ssize_t>(length), any < 0x80 ? 0x7F : 0xFF);
  if (result == nullptr) throw pybind11::error_already_set();
  Py_UCS1* out = PyUnicode_1BYTE_DATA(result);
  for (std::size_t i = 0; i < size; ++out) {
    const unsigned char b = bytes[i];
    if (b < 0x80) {
      *out = b;
      ++i;
    } else {
      *out = static_cast<Py_UCS1>(((b & 0x1F) << 6) | (bytes[i + 1] & 0x3F));
      i += 2;
    }
  }
  return result;
}

// A str from UTF-8 that the library wrote. A short text of Latin-1 (a word
// and its soft hyphens, the commonest result) skips the general decoder,
// which takes several times as long on anything past ASCII.
inline pybind11::str strFromUtf8(std::string_view utf8) {
  constexpr std::size_t kShort = 256;
  if (utf8.size() <= kShort) {
    if (PyObject* latin1 = latin1StrOf(utf8)) {
      return pybind11::reinterpret_steal<pybind11::str>(latin1);
    }
  }
  PyObject* result =
      PyUnicode_DecodeUTF8(utf8.data(), static_cast<Py_ssize_t>(utf8.size()), "surrogateescape");
  if (result == nullptr) throw pybind11::error_already_set();
  return pybind11::reinterpret_steal<pybind11::str>(result);
}

}  // namespace liang_python

#endif  // LIANG_PYTHON_STRINGS_HPP_
