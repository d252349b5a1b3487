// liang.Hyphenator as the extension holds it, and the hyphenators that the
// module's functions find by name.
//
// A PythonHyphenator is immutable, like the liang::Hyphenator it wraps (O(1)
// to copy; copies share the components), so any number of threads may use
// one, with or without the GIL. Making one for a language builds the
// language's components without the GIL: the first word then costs no more
// than the next, and other threads run meanwhile.
#ifndef LIANG_PYTHON_PYTHONHYPHENATOR_HPP_
#define LIANG_PYTHON_PYTHONHYPHENATOR_HPP_

#include <pybind11/pybind11.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "liang/liang.hpp"

namespace liang_python {

// The running-text options of insert_hyphens, as Python passes them.
struct TextArguments {
  pybind11::object hyphen;
  bool html = false;
  std::int64_t minWord = 0;
  std::optional<std::int64_t> leftMin;
  std::optional<std::int64_t> rightMin;
  bool capitalized = true;
  bool allCaps = true;
  bool mixedCase = false;
  bool technical = false;
  bool xml = false;
  std::vector<std::string> skip;
  std::optional<std::vector<std::string>> skipClass;  // none: the default classes
};

// The library's options for `arguments`; ValueError for a minimum below 1
// or a negative min_word, TypeError for a hyphen that is not a str.
liang::TextOptions textOptions(const TextArguments& arguments);

// Running text longer than this is hyphenated in slices of this size, with
// a look for signals (Ctrl-C) between them.
constexpr std::size_t kSliceBytes = std::size_t{1} << 18;
// Text up to this long is hyphenated with the GIL held: it takes less time
// than letting other threads run and taking the GIL back. Longer text
// releases it.
constexpr std::size_t kHeldGilBytes = 64;

struct PythonHyphenator {
  liang::Hyphenator hyphenator;
  std::optional<liang::Language> language;  // none for one made from text

  // The language `name` names (KeyError naming it when none), with minima
  // replaced where given (ValueError below 1).
  static PythonHyphenator forLanguage(const std::string& name, std::optional<std::int64_t> leftMin,
                                      std::optional<std::int64_t> rightMin);

  // From pattern and exception text, folded as `foldAs` folds (none: not at all).
  static PythonHyphenator fromText(const pybind11::object& patterns,
                                   const pybind11::object& exceptions, std::int64_t leftMin,
                                   std::int64_t rightMin, const std::optional<std::string>& foldAs);

  // Running text; the GIL is released while the library works, and a long
  // text is interrupted by a signal whose handler raises.
  pybind11::str insertHyphens(const pybind11::object& text, const TextArguments& options) const;

  std::string repr() const;
};

// insert_hyphens of `text` (a str; TypeError otherwise) by `hyphenator`
// with `options`, as PythonHyphenator::insertHyphens does it.
pybind11::str insertHyphens(const liang::Hyphenator& hyphenator, const pybind11::object& text,
                            const liang::TextOptions& options);

// The shared hyphenator of the language `name` (a str) names, remembered by
// name, so that the module's functions find it in one lookup; KeyError
// naming it when none fits. Needs the GIL.
const liang::Hyphenator& hyphenatorNamed(PyObject* name);

// American English, the language of the module's functions when none is
// named; built on the first call. Needs the GIL.
const liang::Hyphenator& defaultHyphenator();

// The liang::Error class as Python sees it (liang.Error), once registered.
extern PyObject* errorClass;

}  // namespace liang_python

#endif  // LIANG_PYTHON_PYTHONHYPHENATOR_HPP_
