// liang.hyphenate_epub: whole EPUB books (liang/Epub.hpp), in the module
// when the build has liang::epub.
#ifndef LIANG_PYTHON_EPUBCALLS_HPP_
#define LIANG_PYTHON_EPUBCALLS_HPP_

#include <pybind11/pybind11.h>

namespace liang_python {

// Adds hyphenate_epub to the module.
void addEpubCalls(pybind11::module_& m);

}  // namespace liang_python

#endif  // LIANG_PYTHON_EPUBCALLS_HPP_
