// The word calls -- positions and hyphenate, as Hyphenator methods and as the
// module's functions -- through CPython's vectorcall protocol.
//
// A word costs the library well under 0.1 µs, and pybind11's general
// dispatch (overloads, argument casters, keyword matching) several times
// that. These calls are what programs make once per word, so they parse
// their few arguments themselves; everything else goes through pybind11.
#ifndef LIANG_PYTHON_WORDCALLS_HPP_
#define LIANG_PYTHON_WORDCALLS_HPP_

#include <pybind11/pybind11.h>

namespace liang_python {

// Adds positions and hyphenate to the class liang.Hyphenator.
void addWordMethods(pybind11::handle hyphenatorClass);

// Adds positions(word, lang="en-us") and hyphenate(word, lang="en-us") to the module.
void addWordFunctions(pybind11::module_& module);

}  // namespace liang_python

#endif  // LIANG_PYTHON_WORDCALLS_HPP_
