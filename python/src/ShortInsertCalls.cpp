#include "ShortInsertCalls.hpp"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "Instances.hpp"
#include "PythonHyphenator.hpp"
#include "liang/liang.hpp"

namespace py = pybind11;

namespace liang_python {

namespace {

// The pybind11 functions the fronts hand every other call to; they live as
// long as the module.
PyObject* fullMethod = nullptr;
PyObject* fullFunction = nullptr;

// The options of a call that gives none: those the pybind11 function makes
// of its own defaults.
const liang::TextOptions& defaultOptions() {
  static const liang::TextOptions options = [] {
    TextArguments defaults;
    defaults.hyphen = py::str("\u00ad");
    return textOptions(defaults);
  }();
  return options;
}

// The text's hyphens inserted with the default options, or nothing when the
// call is not one the front takes; never a Python error.
std::optional<py::str> shortCall(const liang::Hyphenator* hyphenator, PyObject* text) {
  if (!PyUnicode_CheckExact(text)) return std::nullopt;
  Py_ssize_t bytes = 0;
  if (PyUnicode_AsUTF8AndSize(text, &bytes) == nullptr) {
    PyErr_Clear();  // not encodable: the full call raises its own error
    return std::nullopt;
  }
  if (static_cast<std::size_t>(bytes) > kSliceBytes) return std::nullopt;
  try {
    return insertHyphens(*hyphenator, py::reinterpret_borrow<py::object>(text), defaultOptions());
  } catch (py::error_already_set&) {
    PyErr_Clear();
  } catch (...) {
  }
  return std::nullopt;
}

// The call handed on to `full`, with `self` first when there is one.
PyObject* handOn(PyObject* full, PyObject* self, PyObject* const* args, std::size_t count,
                 PyObject* keywordNames) {
  if (self == nullptr) return PyObject_Vectorcall(full, args, count, keywordNames);
  const Py_ssize_t keywords = keywordNames ? PyTuple_GET_SIZE(keywordNames) : 0;
  std::vector<PyObject*> withSelf(count + static_cast<std::size_t>(keywords) + 1);
  withSelf[0] = self;
  for (std::size_t k = 0; k + 1 < withSelf.size(); ++k) withSelf[k + 1] = args[k];
  return PyObject_Vectorcall(full, withSelf.data(), count + 1, keywordNames);
}

// The hyphenator a lang argument names, when the front can find it without
// raising: the default for none, a name of a known language.
const liang::Hyphenator* hyphenatorOfLang(PyObject* lang) {
  if (lang == nullptr || lang == Py_None) return &defaultHyphenator();
  if (!PyUnicode_CheckExact(lang)) return nullptr;
  try {
    return &hyphenatorNamed(lang);
  } catch (py::error_already_set&) {
    PyErr_Clear();
  } catch (...) {
  }
  return nullptr;
}

PyObject* methodInsertHyphens(PyObject* self, PyObject* const* args, Py_ssize_t countAndFlag,
                              PyObject* keywordNames) {
  const std::size_t count = PyVectorcall_NARGS(countAndFlag);
  if (count == 1 && keywordNames == nullptr) {
    try {
      const PythonHyphenator& h = initialised<PythonHyphenator>(self, "liang.Hyphenator");
      if (auto result = shortCall(&h.hyphenator, args[0])) return result->release().ptr();
    } catch (py::error_already_set&) {
      PyErr_Clear();
    } catch (...) {
    }
  }
  return handOn(fullMethod, self, args, count, keywordNames);
}

PyObject* functionInsertHyphens(PyObject*, PyObject* const* args, Py_ssize_t countAndFlag,
                                PyObject* keywordNames) {
  const std::size_t count = PyVectorcall_NARGS(countAndFlag);
  PyObject* lang = count == 2 ? args[1] : nullptr;
  bool takes = count >= 1 && count <= 2;
  if (keywordNames != nullptr) {
    // lang by keyword is as common as by position; any other keyword is an
    // option.
    takes = takes && count == 1 && PyTuple_GET_SIZE(keywordNames) == 1 &&
            PyUnicode_CompareWithASCIIString(PyTuple_GET_ITEM(keywordNames, 0), "lang") == 0;
    if (takes) lang = args[1];
  }
  if (takes) {
    if (const liang::Hyphenator* h = hyphenatorOfLang(lang)) {
      if (auto result = shortCall(h, args[0])) return result->release().ptr();
    }
  }
  return handOn(fullFunction, nullptr, args, count, keywordNames);
}

// Named as pybind11 names them, documented by pybind11's own functions.
PyMethodDef method = {
    "insert_hyphens",
    reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(methodInsertHyphens)),
    METH_FASTCALL | METH_KEYWORDS, nullptr};
PyMethodDef function = {
    "insert_hyphens",
    reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(functionInsertHyphens)),
    METH_FASTCALL | METH_KEYWORDS, nullptr};

}  // namespace

void addShortInsertCalls(py::module_& module, py::handle hyphenatorClass) {
  fullMethod = py::object(hyphenatorClass.attr("insert_hyphens")).release().ptr();
  fullFunction = py::object(module.attr("insert_hyphens")).release().ptr();
  // CPython keeps the pointers: the texts live as long as the module.
  static const std::string methodDoc = py::str(py::handle(fullMethod).attr("__doc__"));
  static const std::string functionDoc = py::str(py::handle(fullFunction).attr("__doc__"));
  method.ml_doc = methodDoc.c_str();
  function.ml_doc = functionDoc.c_str();
  auto* type = reinterpret_cast<PyTypeObject*>(hyphenatorClass.ptr());
  py::object descriptor = py::reinterpret_steal<py::object>(PyDescr_NewMethod(type, &method));
  if (!descriptor) throw py::error_already_set();
  hyphenatorClass.attr("insert_hyphens") = descriptor;
  py::object callable = py::reinterpret_steal<py::object>(
      PyCFunction_NewEx(&function, nullptr, module.attr("__name__").ptr()));
  if (!callable) throw py::error_already_set();
  module.attr("insert_hyphens") = callable;
}

}  // namespace liang_python
