// liang._liang: the C++ library seen from Python (pybind11). The package
// liang re-exports it; its type stubs are liang/_liang.pyi.
//
// Words reach the library as code points read straight from Python's str
// storage (Strings.hpp), so offsets are str indices, non-BMP characters
// included; running text goes through the UTF-8 form CPython caches in the
// str. The GIL is held while Python objects are read or made, and released
// for the work that may be long: building a language's components on its
// first use, insert_hyphens, TextStream (PythonTextStream.hpp) and words of
// thousands of characters. An ordinary word takes well under a microsecond,
// less than releasing and retaking the GIL would cost, so the word calls
// (WordCalls.hpp) keep it. Every C++ object reached without the GIL is
// immutable, or guarded by a mutex.
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "PythonHyphenator.hpp"
#ifdef LIANG_PYTHON_EPUB
#include "EpubCalls.hpp"
#endif
#include "PythonTextStream.hpp"
#include "WordCalls.hpp"
#include "liang/liang.hpp"

namespace py = pybind11;
using liang_python::PythonHyphenator;
using liang_python::PythonTextStream;
using liang_python::TextArguments;

namespace {

py::list languages() {
  py::list result;
  for (const liang::Language language : liang::enumFrom(liang::lowestLanguage())) {
    const liang::Hyphenator& h = liang::languageHyphenator(language);
    result.append(py::make_tuple(std::string(liang::languageAffix(language)), liang::show(language),
                                 liang::hyphenatorLeftMin(h), liang::hyphenatorRightMin(h)));
  }
  return result;
}

std::optional<std::string> affixOf(const std::optional<liang::Language>& language) {
  if (!language) return std::nullopt;
  return std::string(liang::languageAffix(*language));
}

TextArguments textArguments(py::object hyphen, bool html, std::int64_t minWord,
                            std::optional<std::int64_t> leftMin,
                            std::optional<std::int64_t> rightMin, bool capitalized, bool allCaps,
                            bool mixedCase) {
  return {std::move(hyphen), html, minWord, leftMin, rightMin, capitalized, allCaps, mixedCase};
}

// The hyphenator that a lang argument names: a liang.Hyphenator itself, a
// name, or None for the default.
const liang::Hyphenator& hyphenatorFor(const py::object& lang) {
  if (lang.is_none()) return liang_python::defaultHyphenator();
  if (py::isinstance<PythonHyphenator>(lang))
    return lang.cast<const PythonHyphenator&>().hyphenator;
  return liang_python::hyphenatorNamed(lang.ptr());
}

}  // namespace

PYBIND11_MODULE(_liang, m) {
  using namespace pybind11::literals;
  m.doc() = "liang's C++ core; import the package liang instead.";
  m.attr("__version__") = LIANG_VERSION;

  // str(error) is the library's message exactly. A ValueError, since the
  // library fails on what it is given (malformed pattern scores, mostly).
  liang_python::errorClass =
      py::register_exception<liang::Error>(m, "Error", PyExc_ValueError).ptr();

  py::class_<PythonHyphenator> hyphenator(m, "Hyphenator");
  hyphenator
      .def(py::init(&PythonHyphenator::forLanguage), "lang"_a = "en-us", py::kw_only(),
           "left_min"_a = py::none(), "right_min"_a = py::none())
      .def_static("from_text", &PythonHyphenator::fromText, "patterns"_a, "exceptions"_a = "",
                  "left_min"_a = 1, "right_min"_a = 1, "fold_as"_a = py::none())
      .def(
          "insert_hyphens",
          [](const PythonHyphenator& self, const py::object& text, py::object hyphen, bool html,
             std::int64_t minWord, std::optional<std::int64_t> leftMin,
             std::optional<std::int64_t> rightMin, bool capitalized, bool allCaps, bool mixedCase) {
            return self.insertHyphens(
                text, textArguments(std::move(hyphen), html, minWord, leftMin, rightMin,
                                    capitalized, allCaps, mixedCase));
          },
          "text"_a, py::kw_only(), "hyphen"_a = "\u00ad", "html"_a = false, "min_word"_a = 0,
          "left_min"_a = py::none(), "right_min"_a = py::none(), "capitalized"_a = true,
          "all_caps"_a = true, "mixed_case"_a = false)
      .def(
          "with_minima",
          [](const PythonHyphenator& self, std::int64_t left, std::int64_t right) {
            if (left < 1 || right < 1) throw py::value_error("minima must be at least 1");
            return PythonHyphenator{liang::withMinima(self.hyphenator, left, right), self.language};
          },
          "left_min"_a, "right_min"_a)
      .def("prepare",
           [](const PythonHyphenator& self) {
             py::gil_scoped_release release;  // a full index takes milliseconds
             liang::prepare(self.hyphenator);
           })
      .def_property_readonly(
          "left_min",
          [](const PythonHyphenator& self) { return liang::hyphenatorLeftMin(self.hyphenator); })
      .def_property_readonly(
          "right_min",
          [](const PythonHyphenator& self) { return liang::hyphenatorRightMin(self.hyphenator); })
      .def_property_readonly("language",
                             [](const PythonHyphenator& self) { return affixOf(self.language); })
      .def("__repr__", &PythonHyphenator::repr)
      // A language's hyphenator pickles as its affix and minima (so it can go
      // to another process); one made from text has nothing to name it by.
      .def(py::pickle(
          [](const PythonHyphenator& self) {
            if (!self.language) {
              throw py::type_error("a Hyphenator made from text cannot be pickled");
            }
            return py::make_tuple(std::string(liang::languageAffix(*self.language)),
                                  liang::hyphenatorLeftMin(self.hyphenator),
                                  liang::hyphenatorRightMin(self.hyphenator));
          },
          [](const py::tuple& state) {
            if (state.size() != 3) throw py::value_error("not the state of a liang.Hyphenator");
            return PythonHyphenator::forLanguage(state[0].cast<std::string>(),
                                                 state[1].cast<std::int64_t>(),
                                                 state[2].cast<std::int64_t>());
          }));
  liang_python::addWordMethods(hyphenator);

  liang_python::addWordFunctions(m);
  m.def(
      "insert_hyphens",
      [](const py::object& text, const py::object& lang, py::object hyphen, bool html,
         std::int64_t minWord, std::optional<std::int64_t> leftMin,
         std::optional<std::int64_t> rightMin, bool capitalized, bool allCaps, bool mixedCase) {
        const PythonHyphenator h{hyphenatorFor(lang), std::nullopt};
        return h.insertHyphens(text, textArguments(std::move(hyphen), html, minWord, leftMin,
                                                   rightMin, capitalized, allCaps, mixedCase));
      },
      "text"_a, "lang"_a = "en-us", py::kw_only(), "hyphen"_a = "\u00ad", "html"_a = false,
      "min_word"_a = 0, "left_min"_a = py::none(), "right_min"_a = py::none(),
      "capitalized"_a = true, "all_caps"_a = true, "mixed_case"_a = false);
  py::class_<PythonTextStream>(m, "TextStream")
      .def(py::init([](const py::object& lang, py::object hyphen, bool html, std::int64_t minWord,
                       std::optional<std::int64_t> leftMin, std::optional<std::int64_t> rightMin,
                       bool capitalized, bool allCaps, bool mixedCase) {
             const liang::Hyphenator& h = hyphenatorFor(lang);
             return std::make_unique<PythonTextStream>(
                 h, liang_python::textOptions(textArguments(std::move(hyphen), html, minWord,
                                                            leftMin, rightMin, capitalized, allCaps,
                                                            mixedCase)));
           }),
           "lang"_a = "en-us", py::kw_only(), "hyphen"_a = "\u00ad", "html"_a = false,
           "min_word"_a = 0, "left_min"_a = py::none(), "right_min"_a = py::none(),
           "capitalized"_a = true, "all_caps"_a = true, "mixed_case"_a = false)
      .def("feed", &PythonTextStream::feed, "chunk"_a)
      .def("finish", &PythonTextStream::finish);

  m.def("languages", &languages);
  m.def(
      "language_for_tag",
      [](const std::string& tag) { return affixOf(liang::languageForTag(tag)); }, "tag"_a);
  m.def(
      "language_for_name",
      [](const std::string& name) { return affixOf(liang::languageForName(name)); }, "name"_a);

  // For the tests: raises liang::Error with `message`, so that they can check
  // what a library failure looks like in Python.
  m.def(
      "_raise_library_error", [](const std::string& message) { throw liang::Error(message); },
      "message"_a);
#ifdef LIANG_PYTHON_EPUB
  liang_python::addEpubCalls(m);
#endif
}
