#include "WordCalls.hpp"

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "Guarded.hpp"
#include "Instances.hpp"
#include "PythonHyphenator.hpp"
#include "Strings.hpp"
#include "liang/liang.hpp"

namespace py = pybind11;

namespace liang_python {

namespace {

// Past this many code points a word is long enough to be worth releasing
// the GIL for (some microseconds of work).
constexpr std::size_t kLongWord = 4096;

// The str indices at which the pieces of `word` after the first begin, as
// a new list.
PyObject* positionsList(const liang::Hyphenator& h, PyObject* word) {
  const CodePoints points(requireStr(word, "word"));
  std::array<std::size_t, 32> inlineBreaks;
  std::span<const std::size_t> breaks;
  std::vector<std::size_t> longBreaks;
  if (points.view().size() <= kLongWord) {
    const std::size_t count = liang::hyphenationPoints(h, points.view(), inlineBreaks);
    if (count <= inlineBreaks.size()) {
      breaks = std::span(inlineBreaks.data(), count);
    } else {
      longBreaks = liang::hyphenationPoints(h, points.view());
      breaks = longBreaks;
    }
  } else {
    // Whatever a caller calls a word: its code points stay put while the
    // str is held, so the GIL can go.
    py::gil_scoped_release release;
    longBreaks = liang::hyphenationPoints(h, points.view());
    breaks = longBreaks;
  }
  py::list result(breaks.size());
  for (std::size_t k = 0; k < breaks.size(); ++k) {
    PyObject* offset = PyLong_FromSize_t(breaks[k]);
    if (offset == nullptr) throw py::error_already_set();
    PyList_SET_ITEM(result.ptr(), static_cast<Py_ssize_t>(k), offset);
  }
  return result.release().ptr();
}

// The pieces of `word`, slices of it, as a new list.
PyObject* piecesList(const liang::Hyphenator& h, PyObject* word) {
  const py::list offsets = py::reinterpret_steal<py::list>(positionsList(h, word));
  const Py_ssize_t count = PyList_GET_SIZE(offsets.ptr());
  py::list pieces(static_cast<std::size_t>(count) + 1);
  Py_ssize_t begin = 0;
  for (Py_ssize_t k = 0; k <= count; ++k) {
    const Py_ssize_t end = k < count ? PyLong_AsSsize_t(PyList_GET_ITEM(offsets.ptr(), k))
                                     : PyUnicode_GET_LENGTH(word);
    PyObject* piece = PyUnicode_Substring(word, begin, end);
    if (piece == nullptr) throw py::error_already_set();
    PyList_SET_ITEM(pieces.ptr(), k, piece);
    begin = end;
  }
  return pieces.release().ptr();
}

// The arguments (word, lang=None) of a call, positional or by keyword.
struct WordArguments {
  PyObject* word = nullptr;
  PyObject* lang = nullptr;  // not given
};

WordArguments parseWordArguments(const char* function, PyObject* const* args, Py_ssize_t count,
                                 PyObject* keywordNames, bool takesLang) {
  WordArguments parsed;
  const Py_ssize_t most = takesLang ? 2 : 1;
  if (count > most) {
    throw py::type_error(std::string(function) + "() takes at most " + std::to_string(most) +
                         " arguments (" + std::to_string(count) + " given)");
  }
  if (count > 0) parsed.word = args[0];
  if (count > 1) parsed.lang = args[1];
  const Py_ssize_t keywords = keywordNames ? PyTuple_GET_SIZE(keywordNames) : 0;
  for (Py_ssize_t k = 0; k < keywords; ++k) {
    PyObject* name = PyTuple_GET_ITEM(keywordNames, k);
    PyObject** slot = nullptr;
    if (PyUnicode_CompareWithASCIIString(name, "word") == 0) {
      slot = &parsed.word;
    } else if (takesLang && PyUnicode_CompareWithASCIIString(name, "lang") == 0) {
      slot = &parsed.lang;
    } else {
      throw py::type_error(std::string(function) + "() got an unexpected keyword argument '" +
                           PyUnicode_AsUTF8(name) + "'");
    }
    if (*slot != nullptr) {
      throw py::type_error(std::string(function) + "() got multiple values for argument '" +
                           PyUnicode_AsUTF8(name) + "'");
    }
    *slot = args[count + k];
  }
  if (parsed.word == nullptr) {
    throw py::type_error(std::string(function) + "() missing required argument 'word'");
  }
  return parsed;
}

// The hyphenator of `self`, which the method descriptor has checked to be a
// liang.Hyphenator (or a subclass), and whose __init__ must have run.
const liang::Hyphenator& selfHyphenator(PyObject* self) {
  return initialised<PythonHyphenator>(self, "liang.Hyphenator").hyphenator;
}

PyObject* methodPositions(PyObject* self, PyObject* const* args, Py_ssize_t count,
                          PyObject* keywordNames) {
  return guarded([&] {
    const WordArguments parsed = parseWordArguments("positions", args, count, keywordNames, false);
    return positionsList(selfHyphenator(self), parsed.word);
  });
}

PyObject* methodHyphenate(PyObject* self, PyObject* const* args, Py_ssize_t count,
                          PyObject* keywordNames) {
  return guarded([&] {
    const WordArguments parsed = parseWordArguments("hyphenate", args, count, keywordNames, false);
    return piecesList(selfHyphenator(self), parsed.word);
  });
}

// The hyphenator of a module function's lang argument: American English
// when none is given (or None).
const liang::Hyphenator& hyphenatorOf(PyObject* lang) {
  if (lang == nullptr || lang == Py_None) return defaultHyphenator();
  return hyphenatorNamed(lang);
}

PyObject* functionPositions(PyObject*, PyObject* const* args, Py_ssize_t count,
                            PyObject* keywordNames) {
  return guarded([&] {
    const WordArguments parsed = parseWordArguments("positions", args, count, keywordNames, true);
    return positionsList(hyphenatorOf(parsed.lang), parsed.word);
  });
}

PyObject* functionHyphenate(PyObject*, PyObject* const* args, Py_ssize_t count,
                            PyObject* keywordNames) {
  return guarded([&] {
    const WordArguments parsed = parseWordArguments("hyphenate", args, count, keywordNames, true);
    return piecesList(hyphenatorOf(parsed.lang), parsed.word);
  });
}

// Method tables live as long as the module: CPython keeps pointers to them.
PyMethodDef methods[] = {
    {"positions", reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(methodPositions)),
     METH_FASTCALL | METH_KEYWORDS,
     "positions(word)\n--\n\nThe str indices at which the pieces after the first begin."},
    {"hyphenate", reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(methodHyphenate)),
     METH_FASTCALL | METH_KEYWORDS,
     "hyphenate(word)\n--\n\nThe pieces of word between which a hyphen may go; they join to "
     "word."},
};

PyMethodDef functions[] = {
    {"positions", reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(functionPositions)),
     METH_FASTCALL | METH_KEYWORDS,
     "positions(word, lang='en-us')\n--\n\nThe str indices at which the pieces after the first "
     "begin."},
    {"hyphenate", reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(functionHyphenate)),
     METH_FASTCALL | METH_KEYWORDS,
     "hyphenate(word, lang='en-us')\n--\n\nThe pieces of word between which a hyphen may go; "
     "they join to word."},
};

}  // namespace

void addWordMethods(py::handle hyphenatorClass) {
  auto* type = reinterpret_cast<PyTypeObject*>(hyphenatorClass.ptr());
  for (PyMethodDef& method : methods) {
    py::object descriptor = py::reinterpret_steal<py::object>(PyDescr_NewMethod(type, &method));
    if (!descriptor) throw py::error_already_set();
    hyphenatorClass.attr(method.ml_name) = descriptor;
  }
}

void addWordFunctions(py::module_& module) {
  for (PyMethodDef& function : functions) {
    py::object callable = py::reinterpret_steal<py::object>(
        PyCFunction_NewEx(&function, nullptr, module.attr("__name__").ptr()));
    if (!callable) throw py::error_already_set();
    module.attr(function.ml_name) = callable;
  }
}

}  // namespace liang_python
