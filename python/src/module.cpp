// liang._liang: the C++ library seen from Python (pybind11).
//
// A word arrives as a Python str, whose storage already holds code points
// one, two or four bytes wide. The library takes code points, so a word is
// handed over without any decoding: a four-byte string is viewed in place,
// a narrower one widened on the stack. Offsets that come back are code
// point offsets, which are exactly Python's str indices, non-BMP characters
// included. Running text goes the other way, through the UTF-8 form that
// CPython caches in the str, because the running-text functions take UTF-8.
//
// The GIL is held while Python objects are read or made and released for
// the work that may be long: building a language's components on the first
// use of a Hyphenator, and insert_hyphens. A single word takes well under a
// microsecond, less than releasing and retaking the GIL would cost, so word
// functions keep it. Every C++ object reached without the GIL is immutable.
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "liang/liang.hpp"

namespace py = pybind11;

namespace {

// The code points of a Python str. A UCS-4 string is viewed in place; a
// Latin-1 or UCS-2 one is widened into inline storage when it is short (as
// words are) and onto the heap otherwise.
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
    for (Py_ssize_t k = 0; k < length; ++k) out[k] = PyUnicode_READ(kind, data, k);
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

// The str `object`, or TypeError naming what was given instead.
PyObject* requireStr(const py::handle& object, const char* what) {
  if (!PyUnicode_Check(object.ptr())) {
    throw py::type_error(std::string(what) + " must be str, not " + Py_TYPE(object.ptr())->tp_name);
  }
  return object.ptr();
}

// The UTF-8 bytes of a str, cached by CPython in the object itself, so they
// stay valid while the caller holds the str (also without the GIL). Lone
// surrogates, which have no UTF-8 form, raise UnicodeEncodeError.
std::string_view utf8Of(PyObject* text) {
  Py_ssize_t size = 0;
  const char* bytes = PyUnicode_AsUTF8AndSize(text, &size);
  if (bytes == nullptr) throw py::error_already_set();
  return {bytes, static_cast<std::size_t>(size)};
}

py::str strFromUtf8(const std::string& utf8) {
  PyObject* result =
      PyUnicode_DecodeUTF8(utf8.data(), static_cast<Py_ssize_t>(utf8.size()), "surrogateescape");
  if (result == nullptr) throw py::error_already_set();
  return py::reinterpret_steal<py::str>(result);
}

std::u32string codePointsOf(const py::handle& text, const char* what) {
  const CodePoints points(requireStr(text, what));
  return std::u32string(points.view());
}

// A minimum as Python gives it: None for the hyphenator's own (0 in
// TextOptions), otherwise at least 1.
std::int64_t minimumOption(const std::optional<std::int64_t>& value, const char* name) {
  if (!value) return 0;
  if (*value < 1) throw py::value_error(std::string(name) + " must be at least 1");
  return *value;
}

std::optional<liang::Language> languageNamed(const std::string& name) {
  return liang::languageForName(name);
}

liang::Language requireLanguage(const std::string& name) {
  const auto language = languageNamed(name);
  if (!language) throw py::key_error("unknown language: '" + name + "'");
  return *language;
}

// Builds the components a hyphenator builds on first use (character table,
// trie, dictionary), so that the first word does not pay for them; called
// without the GIL, so other threads run meanwhile.
void buildComponents(const liang::Hyphenator& h) {
  (void)liang::hyphenatorChars(h)(U'a');
  (void)liang::hyphenatorPatterns(h);
  (void)liang::hyphenatorExceptions(h);
}

// A hyphenator as Python holds it: the record (O(1) to copy, immutable) and
// the language it came from, if any.
struct PythonHyphenator {
  liang::Hyphenator hyphenator;
  std::optional<liang::Language> language;

  static PythonHyphenator forLanguage(const std::string& name, std::optional<std::int64_t> left,
                                      std::optional<std::int64_t> right) {
    const liang::Language language = requireLanguage(name);
    const std::int64_t leftMin = minimumOption(left, "left_min");
    const std::int64_t rightMin = minimumOption(right, "right_min");
    py::gil_scoped_release release;
    const liang::Hyphenator& shared = liang::languageHyphenator(language);
    buildComponents(shared);
    if (leftMin == 0 && rightMin == 0) return {shared, language};
    return {liang::withMinima(shared, leftMin ? leftMin : liang::hyphenatorLeftMin(shared),
                              rightMin ? rightMin : liang::hyphenatorRightMin(shared)),
            language};
  }

  static PythonHyphenator fromText(const py::object& patterns, const py::object& exceptions,
                                   std::int64_t leftMin, std::int64_t rightMin,
                                   const std::optional<std::string>& foldAs) {
    const std::u32string patternText = codePointsOf(patterns, "patterns");
    const std::u32string exceptionText = codePointsOf(exceptions, "exceptions");
    const std::optional<liang::Language> foldLanguage =
        foldAs ? std::optional(requireLanguage(*foldAs)) : std::nullopt;
    py::gil_scoped_release release;
    liang::CharFold fold;
    if (foldLanguage) {
      const liang::Hyphenator& model = liang::languageHyphenator(*foldLanguage);
      fold = liang::hyphenatorChars(model);
      (void)fold(U'a');  // the table, built now rather than by the first word
    }
    return {liang::Hyphenator(std::move(fold), liang::parsePatterns(patternText),
                              liang::parseExceptions(exceptionText), leftMin, rightMin),
            std::nullopt};
  }

  py::list positions(const py::object& word) const {
    const CodePoints points(requireStr(word, "word"));
    std::array<std::size_t, 32> inlineBreaks;
    std::span<const std::size_t> breaks;
    std::vector<std::size_t> longBreaks;
    const std::size_t count = liang::hyphenationPoints(hyphenator, points.view(), inlineBreaks);
    if (count <= inlineBreaks.size()) {
      breaks = std::span(inlineBreaks.data(), count);
    } else {
      longBreaks = liang::hyphenationPoints(hyphenator, points.view());
      breaks = longBreaks;
    }
    py::list result(breaks.size());
    for (std::size_t k = 0; k < breaks.size(); ++k) {
      PyObject* offset = PyLong_FromSize_t(breaks[k]);
      if (offset == nullptr) throw py::error_already_set();
      PyList_SET_ITEM(result.ptr(), static_cast<Py_ssize_t>(k), offset);
    }
    return result;
  }

  py::list hyphenate(const py::object& word) const {
    const py::list offsets = positions(word);
    const Py_ssize_t count = PyList_GET_SIZE(offsets.ptr());
    py::list pieces(static_cast<std::size_t>(count) + 1);
    Py_ssize_t begin = 0;
    for (Py_ssize_t k = 0; k <= count; ++k) {
      const Py_ssize_t end = k < count ? PyLong_AsSsize_t(PyList_GET_ITEM(offsets.ptr(), k))
                                       : PyUnicode_GET_LENGTH(word.ptr());
      PyObject* piece = PyUnicode_Substring(word.ptr(), begin, end);
      if (piece == nullptr) throw py::error_already_set();
      PyList_SET_ITEM(pieces.ptr(), k, piece);
      begin = end;
    }
    return pieces;
  }

  py::str insertHyphens(const py::object& text, const py::object& hyphen, bool html,
                        std::int64_t minWord, std::optional<std::int64_t> leftMin,
                        std::optional<std::int64_t> rightMin, bool capitalized,
                        bool allCaps) const {
    const std::string_view utf8 = utf8Of(requireStr(text, "text"));
    if (minWord < 0) throw py::value_error("min_word must not be negative");
    liang::TextOptions options;
    options.hyphen = std::string(utf8Of(requireStr(hyphen, "hyphen")));
    options.markup = html;
    options.minWordLength = static_cast<std::size_t>(minWord);
    options.leftMin = minimumOption(leftMin, "left_min");
    options.rightMin = minimumOption(rightMin, "right_min");
    options.capitalized = capitalized;
    options.allCaps = allCaps;
    std::string out;
    {
      py::gil_scoped_release release;
      out = liang::insertHyphens(hyphenator, utf8, options);
    }
    return strFromUtf8(out);
  }

  std::string repr() const {
    if (language) {
      return "liang.Hyphenator('" + std::string(liang::languageAffix(*language)) +
             "', left_min=" + std::to_string(liang::hyphenatorLeftMin(hyphenator)) +
             ", right_min=" + std::to_string(liang::hyphenatorRightMin(hyphenator)) + ")";
    }
    return "<liang.Hyphenator from text, left_min=" +
           std::to_string(liang::hyphenatorLeftMin(hyphenator)) +
           ", right_min=" + std::to_string(liang::hyphenatorRightMin(hyphenator)) + ">";
  }
};

py::list languages() {
  py::list result;
  for (const liang::Language language : liang::enumFrom(liang::lowestLanguage())) {
    const liang::Hyphenator& h = liang::languageHyphenator(language);
    result.append(py::make_tuple(std::string(liang::languageAffix(language)), liang::show(language),
                                 liang::hyphenatorLeftMin(h), liang::hyphenatorRightMin(h)));
  }
  return result;
}

std::optional<std::string> languageForTag(const std::string& tag) {
  const auto language = liang::languageForTag(tag);
  if (!language) return std::nullopt;
  return std::string(liang::languageAffix(*language));
}

std::optional<std::string> languageForName(const std::string& name) {
  const auto language = languageNamed(name);
  if (!language) return std::nullopt;
  return std::string(liang::languageAffix(*language));
}

}  // namespace

PYBIND11_MODULE(_liang, m) {
  m.doc() = "liang's C++ core; import the package liang instead.";
  m.attr("__version__") = LIANG_VERSION;

  // str(error) is the library's message exactly. A ValueError, since the
  // library fails on what it is given (malformed pattern scores, mostly).
  py::register_exception<liang::Error>(m, "Error", PyExc_ValueError);

  using namespace pybind11::literals;

  py::class_<PythonHyphenator>(m, "Hyphenator")
      .def(py::init(&PythonHyphenator::forLanguage), "lang"_a = "en-us", py::kw_only(),
           "left_min"_a = py::none(), "right_min"_a = py::none())
      .def_static("from_text", &PythonHyphenator::fromText, "patterns"_a, "exceptions"_a = "",
                  "left_min"_a = 1, "right_min"_a = 1, "fold_as"_a = py::none())
      .def("positions", &PythonHyphenator::positions, "word"_a)
      .def("hyphenate", &PythonHyphenator::hyphenate, "word"_a)
      .def("insert_hyphens", &PythonHyphenator::insertHyphens, "text"_a, py::kw_only(),
           "hyphen"_a = "\u00ad", "html"_a = false, "min_word"_a = 0, "left_min"_a = py::none(),
           "right_min"_a = py::none(), "capitalized"_a = true, "all_caps"_a = true)
      .def(
          "with_minima",
          [](const PythonHyphenator& self, std::int64_t left, std::int64_t right) {
            if (left < 1 || right < 1) throw py::value_error("minima must be at least 1");
            return PythonHyphenator{liang::withMinima(self.hyphenator, left, right), self.language};
          },
          "left_min"_a, "right_min"_a)
      .def_property_readonly(
          "left_min",
          [](const PythonHyphenator& self) { return liang::hyphenatorLeftMin(self.hyphenator); })
      .def_property_readonly(
          "right_min",
          [](const PythonHyphenator& self) { return liang::hyphenatorRightMin(self.hyphenator); })
      .def_property_readonly("language",
                             [](const PythonHyphenator& self) -> std::optional<std::string> {
                               if (!self.language) return std::nullopt;
                               return std::string(liang::languageAffix(*self.language));
                             })
      .def("__repr__", &PythonHyphenator::repr);

  // For the tests: raises liang::Error with `message`, so that they can check
  // what a library failure looks like in Python.
  m.def(
      "_raise_library_error", [](const std::string& message) { throw liang::Error(message); },
      "message"_a);

  m.def("languages", &languages);
  m.def("language_for_tag", &languageForTag, "tag"_a);
  m.def("language_for_name", &languageForName, "name"_a);
}
