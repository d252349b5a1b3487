// The edge of the functions the extension hands CPython itself (vectorcall
// word calls, __setstate__), outside pybind11's dispatch: a C++ exception
// becomes the Python error it stands for, as pybind11 makes it for the
// functions it wraps.
#ifndef LIANG_PYTHON_GUARDED_HPP_
#define LIANG_PYTHON_GUARDED_HPP_

#include <pybind11/pybind11.h>

#include <exception>
#include <new>

#include "PythonHyphenator.hpp"
#include "liang/liang.hpp"

namespace liang_python {

// Runs `body`, returning what it returns, or nullptr with the Python error
// set when it throws.
template <class Body>
PyObject* guarded(Body body) noexcept {
  try {
    return body();
  } catch (pybind11::error_already_set& e) {
    e.restore();
  } catch (const pybind11::builtin_exception& e) {
    e.set_error();
  } catch (const liang::Error& e) {
    PyErr_SetString(errorClass, e.what());
  } catch (const std::bad_alloc&) {
    PyErr_NoMemory();
  } catch (const std::exception& e) {
    PyErr_SetString(PyExc_RuntimeError, e.what());
  }
  return nullptr;
}

}  // namespace liang_python

#endif  // LIANG_PYTHON_GUARDED_HPP_
