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
// (WordCalls.hpp) keep it, and so does insert_hyphens of a text of at most
// kHeldGilBytes. Every C++ object reached without the GIL is
// immutable, or guarded by a mutex. A long insert_hyphens takes the GIL back
// between slices to run signal handlers. Every member reaches its C++ object
// through Instances.hpp, so an instance whose __init__ never ran raises
// TypeError rather than reading storage that holds no object.
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Guarded.hpp"
#include "Instances.hpp"
#include "PythonHyphenator.hpp"
#ifdef LIANG_PYTHON_EPUB
#include "EpubCalls.hpp"
#endif
#include "PythonTextStream.hpp"
#include "ShortInsertCalls.hpp"
#include "WordCalls.hpp"
#include "liang/liang.hpp"

namespace py = pybind11;
using liang_python::PythonHyphenator;
using liang_python::PythonTextStream;
using liang_python::TextArguments;

namespace {

const PythonHyphenator& hyphenatorOf(py::handle self) {
  return liang_python::initialised<PythonHyphenator>(self, "liang.Hyphenator");
}

PythonTextStream& streamOf(py::handle self) {
  return liang_python::initialised<PythonTextStream>(self, "liang.TextStream");
}

py::object sameHyphenator(py::handle self) {
  (void)hyphenatorOf(self);
  return py::reinterpret_borrow<py::object>(self);
}

// How a language's hyphenator pickles, at every protocol: a call of the
// class with its affix and minima, so it can go to another process (and
// copy.copy works the same way). One made from text has nothing to name it
// by, and refuses.
py::tuple reduceHyphenator(py::handle self) {
  const PythonHyphenator& h = hyphenatorOf(self);
  if (!h.language) throw py::type_error("a liang.Hyphenator made from text cannot be pickled");
  py::object make =
      py::module_::import("functools")
          .attr("partial")(py::type::of(self),
                           py::arg("left_min") = liang::hyphenatorLeftMin(h.hyphenator),
                           py::arg("right_min") = liang::hyphenatorRightMin(h.hyphenator));
  // A Python subclass's attributes go along, as pickle does for any object.
  py::object state = py::none();
  if (py::hasattr(self, "__dict__") && py::len(self.attr("__dict__")) > 0) {
    state = self.attr("__dict__");
  }
  return py::make_tuple(make, py::make_tuple(std::string(liang::languageAffix(*h.language))),
                        state);
}

// The third item of __reduce__ (a subclass's attributes) once the object is
// made; or, from pickles of earlier versions, which made the object bare and
// gave it (affix, left_min, right_min), the whole object.
void restoreHyphenator(py::handle self, const py::object& state) {
  if (py::isinstance<py::dict>(state)) {
    self.attr("__dict__").attr("update")(state);
    return;
  }
  if (!py::isinstance<py::tuple>(state) || py::len(state) != 3) {
    throw py::type_error("not the state of a liang.Hyphenator");
  }
  const auto earlier = py::reinterpret_borrow<py::tuple>(state);
  self.attr("__init__")(earlier[0], py::arg("left_min") = earlier[1],
                        py::arg("right_min") = earlier[2]);
}

// __setstate__ as a plain CPython method: pybind11 takes any function of
// that name for a constructor, and ignores it on an object already made.
PyObject* setState(PyObject* self, PyObject* state) noexcept {
  return liang_python::guarded([&] {
    restoreHyphenator(self, py::reinterpret_borrow<py::object>(state));
    Py_INCREF(Py_None);
    return Py_None;
  });
}

// Lives as long as the module: CPython keeps a pointer to it.
PyMethodDef setStateMethod = {"__setstate__", setState, METH_O,
                              "Restores a pickled liang.Hyphenator's state."};

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
                            bool mixedCase, bool technical, bool xml, std::vector<std::string> skip,
                            std::optional<std::vector<std::string>> skipClass) {
  return {std::move(hyphen), html,      minWord,   leftMin, rightMin,        capitalized,
          allCaps,           mixedCase, technical, xml,     std::move(skip), std::move(skipClass)};
}

// The hyphenator that a lang argument names: a liang.Hyphenator itself, a
// name, or None for the default.
const liang::Hyphenator& hyphenatorFor(const py::object& lang) {
  if (lang.is_none()) return liang_python::defaultHyphenator();
  if (py::isinstance<PythonHyphenator>(lang)) return hyphenatorOf(lang).hyphenator;
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
          [](py::handle self, const py::object& text, py::object hyphen, bool html,
             std::int64_t minWord, std::optional<std::int64_t> leftMin,
             std::optional<std::int64_t> rightMin, bool capitalized, bool allCaps, bool mixedCase,
             bool technical, bool xml, std::vector<std::string> skip,
             std::optional<std::vector<std::string>> skipClass) {
            return hyphenatorOf(self).insertHyphens(
                text, textArguments(std::move(hyphen), html, minWord, leftMin, rightMin,
                                    capitalized, allCaps, mixedCase, technical, xml,
                                    std::move(skip), std::move(skipClass)));
          },
          "text"_a, py::kw_only(), "hyphen"_a = "\u00ad", "html"_a = false, "min_word"_a = 0,
          "left_min"_a = py::none(), "right_min"_a = py::none(), "capitalized"_a = true,
          "all_caps"_a = true, "mixed_case"_a = false, "technical"_a = false, "xml"_a = false,
          "skip"_a = std::vector<std::string>(), "skip_class"_a = py::none())
      .def(
          "with_minima",
          [](py::handle self, std::int64_t left, std::int64_t right) {
            const PythonHyphenator& h = hyphenatorOf(self);
            if (left < 1 || right < 1) throw py::value_error("minima must be at least 1");
            return PythonHyphenator{liang::withMinima(h.hyphenator, left, right), h.language};
          },
          "left_min"_a, "right_min"_a)
      .def("prepare",
           [](py::handle self) {
             const PythonHyphenator& h = hyphenatorOf(self);
             py::gil_scoped_release release;  // a full index takes milliseconds
             liang::prepare(h.hyphenator);
           })
      .def_property_readonly(
          "left_min",
          [](py::handle self) { return liang::hyphenatorLeftMin(hyphenatorOf(self).hyphenator); })
      .def_property_readonly(
          "right_min",
          [](py::handle self) { return liang::hyphenatorRightMin(hyphenatorOf(self).hyphenator); })
      .def_property_readonly("language",
                             [](py::handle self) { return affixOf(hyphenatorOf(self).language); })
      .def("__repr__", [](py::handle self) { return hyphenatorOf(self).repr(); })
      .def("__reduce__", &reduceHyphenator)
      // Immutable, so a copy is the object itself, as for a str.
      .def("__copy__", &sameHyphenator)
      .def(
          "__deepcopy__", [](py::handle self, py::handle) { return sameHyphenator(self); },
          "memo"_a);
  liang_python::addWordMethods(hyphenator);
  {
    py::object restore = py::reinterpret_steal<py::object>(
        PyDescr_NewMethod(reinterpret_cast<PyTypeObject*>(hyphenator.ptr()), &setStateMethod));
    if (!restore) throw py::error_already_set();
    hyphenator.attr("__setstate__") = restore;
  }

  liang_python::addWordFunctions(m);
  m.def(
      "insert_hyphens",
      [](const py::object& text, const py::object& lang, py::object hyphen, bool html,
         std::int64_t minWord, std::optional<std::int64_t> leftMin,
         std::optional<std::int64_t> rightMin, bool capitalized, bool allCaps, bool mixedCase,
         bool technical, bool xml, std::vector<std::string> skip,
         std::optional<std::vector<std::string>> skipClass) {
        const PythonHyphenator h{hyphenatorFor(lang), std::nullopt};
        return h.insertHyphens(
            text,
            textArguments(std::move(hyphen), html, minWord, leftMin, rightMin, capitalized, allCaps,
                          mixedCase, technical, xml, std::move(skip), std::move(skipClass)));
      },
      "text"_a, "lang"_a = "en-us", py::kw_only(), "hyphen"_a = "\u00ad", "html"_a = false,
      "min_word"_a = 0, "left_min"_a = py::none(), "right_min"_a = py::none(),
      "capitalized"_a = true, "all_caps"_a = true, "mixed_case"_a = false, "technical"_a = false,
      "xml"_a = false, "skip"_a = std::vector<std::string>(), "skip_class"_a = py::none());
  liang_python::addShortInsertCalls(m, hyphenator);
  py::class_<PythonTextStream>(m, "TextStream")
      .def(py::init([](const py::object& lang, py::object hyphen, bool html, std::int64_t minWord,
                       std::optional<std::int64_t> leftMin, std::optional<std::int64_t> rightMin,
                       bool capitalized, bool allCaps, bool mixedCase, bool technical, bool xml,
                       std::vector<std::string> skip,
                       std::optional<std::vector<std::string>> skipClass) {
             const liang::Hyphenator& h = hyphenatorFor(lang);
             return std::make_unique<PythonTextStream>(
                 h, liang_python::textOptions(textArguments(
                        std::move(hyphen), html, minWord, leftMin, rightMin, capitalized, allCaps,
                        mixedCase, technical, xml, std::move(skip), std::move(skipClass))));
           }),
           "lang"_a = "en-us", py::kw_only(), "hyphen"_a = "\u00ad", "html"_a = false,
           "min_word"_a = 0, "left_min"_a = py::none(), "right_min"_a = py::none(),
           "capitalized"_a = true, "all_caps"_a = true, "mixed_case"_a = false,
           "technical"_a = false, "xml"_a = false, "skip"_a = std::vector<std::string>(),
           "skip_class"_a = py::none())
      .def(
          "feed",
          [](py::handle self, const py::object& chunk) { return streamOf(self).feed(chunk); },
          "chunk"_a)
      .def("finish", [](py::handle self) { return streamOf(self).finish(); })
      // A stream's state is in the middle of a text: nothing to rebuild it from.
      .def("__reduce__", [](py::handle self) -> py::object {
        (void)streamOf(self);
        throw py::type_error("a liang.TextStream cannot be pickled");
      });

  m.def("languages", &languages);
  m.def(
      "language_for_tag",
      [](const std::string& tag) { return affixOf(liang::languageForTag(tag)); }, "tag"_a);
  m.def(
      "language_for_name",
      [](const std::string& name) { return affixOf(liang::languageForName(name)); }, "name"_a);

#ifdef LIANG_PYTHON_TEST_HOOKS
  // Only in the tests' build: raises liang::Error with `message`, so that
  // they can check what a library failure looks like in Python.
  m.def(
      "_raise_library_error", [](const std::string& message) { throw liang::Error(message); },
      "message"_a);
#endif
#ifdef LIANG_PYTHON_EPUB
  liang_python::addEpubCalls(m);
#endif
}
