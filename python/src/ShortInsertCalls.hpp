// insert_hyphens for the call programs make once per word or text node:
// the text alone (and, for the module's function, lang), every option at its
// default.
//
// pybind11's dispatch of insert_hyphens, with its dozen keyword options,
// costs several times what the library spends on a word. A front through
// CPython's vectorcall protocol takes such a call straight to the library
// with the default options, built once; any other call -- an option given, a
// text that is not a str or long enough to be sliced, a lang that names
// nothing -- goes on, untouched, to the pybind11 function, which gives the
// same result or raises the same error as it always did.
#ifndef LIANG_PYTHON_SHORTINSERTCALLS_HPP_
#define LIANG_PYTHON_SHORTINSERTCALLS_HPP_

#include <pybind11/pybind11.h>

namespace liang_python {

// Puts the front before liang.Hyphenator.insert_hyphens and the module's
// insert_hyphens, both already defined through pybind11.
void addShortInsertCalls(pybind11::module_& module, pybind11::handle hyphenatorClass);

}  // namespace liang_python

#endif  // LIANG_PYTHON_SHORTINSERTCALLS_HPP_
