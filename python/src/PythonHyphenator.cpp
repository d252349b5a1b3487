#include "PythonHyphenator.hpp"

#include <memory>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "Strings.hpp"

namespace py = pybind11;

namespace liang_python {

PyObject* errorClass = nullptr;

namespace {

// A minimum as Python gives it: None for the hyphenator's own (0 in
// TextOptions), otherwise at least 1.
std::int64_t minimumOption(const std::optional<std::int64_t>& value, const char* name) {
  if (!value) return 0;
  if (*value < 1) throw py::value_error(std::string(name) + " must be at least 1");
  return *value;
}

// The language `name` names; KeyError otherwise, with the whole name in its
// message (made as a str, since a C string would end at a NUL in the name).
liang::Language requireLanguage(std::string_view name) {
  const auto language = liang::languageForName(name);
  if (!language) {
    const py::str spelled = strFromUtf8(name);
    const py::str message = py::str("unknown language: {!r}").format(spelled);
    PyErr_SetObject(PyExc_KeyError, message.ptr());
    throw py::error_already_set();
  }
  return *language;
}

// Builds the components a hyphenator builds on first use (character table,
// trie, dictionary). Called without the GIL.
void buildComponents(const liang::Hyphenator& h) {
  (void)liang::hyphenatorChars(h)(U'a');
  (void)liang::hyphenatorPatterns(h);
  (void)liang::hyphenatorExceptions(h);
}

const liang::Hyphenator& sharedAndBuilt(liang::Language language) {
  py::gil_scoped_release release;
  const liang::Hyphenator& shared = liang::languageHyphenator(language);
  buildComponents(shared);
  return shared;
}

std::u32string codePointsOf(const py::object& text, const char* what) {
  const CodePoints points(requireStr(text.ptr(), what));
  return std::u32string(points.view());
}

}  // namespace

PythonHyphenator PythonHyphenator::forLanguage(const std::string& name,
                                               std::optional<std::int64_t> leftMin,
                                               std::optional<std::int64_t> rightMin) {
  const liang::Language language = requireLanguage(name);
  const std::int64_t left = minimumOption(leftMin, "left_min");
  const std::int64_t right = minimumOption(rightMin, "right_min");
  const liang::Hyphenator& shared = sharedAndBuilt(language);
  if (left == 0 && right == 0) return {shared, language};
  return {liang::withMinima(shared, left ? left : liang::hyphenatorLeftMin(shared),
                            right ? right : liang::hyphenatorRightMin(shared)),
          language};
}

PythonHyphenator PythonHyphenator::fromText(const py::object& patterns,
                                            const py::object& exceptions, std::int64_t leftMin,
                                            std::int64_t rightMin,
                                            const std::optional<std::string>& foldAs) {
  const std::u32string patternText = codePointsOf(patterns, "patterns");
  const std::u32string exceptionText = codePointsOf(exceptions, "exceptions");
  const std::optional<liang::Language> foldLanguage =
      foldAs ? std::optional(requireLanguage(*foldAs)) : std::nullopt;
  py::gil_scoped_release release;
  liang::CharFold fold;
  if (foldLanguage) {
    fold = liang::hyphenatorChars(liang::languageHyphenator(*foldLanguage));
    (void)fold(U'a');  // the table, built now rather than by the first word
  }
  return {liang::Hyphenator(std::move(fold), liang::parsePatterns(patternText),
                            liang::parseExceptions(exceptionText), leftMin, rightMin),
          std::nullopt};
}

liang::TextOptions textOptions(const TextArguments& arguments) {
  if (arguments.minWord < 0) throw py::value_error("min_word must not be negative");
  liang::TextOptions options;
  options.hyphen = std::string(utf8Of(requireStr(arguments.hyphen.ptr(), "hyphen")));
  options.markup = arguments.html;
  options.minWordLength = static_cast<std::size_t>(arguments.minWord);
  options.leftMin = minimumOption(arguments.leftMin, "left_min");
  options.rightMin = minimumOption(arguments.rightMin, "right_min");
  options.capitalized = arguments.capitalized;
  options.allCaps = arguments.allCaps;
  options.mixedCase = arguments.mixedCase;
  options.technical = arguments.technical;
  options.xml = arguments.xml;
  options.skipElements = arguments.skip;
  if (arguments.skipClass) options.skipClasses = *arguments.skipClass;
  return options;
}

py::str PythonHyphenator::insertHyphens(const py::object& text,
                                        const TextArguments& arguments) const {
  (void)requireStr(text.ptr(), "text");  // a TypeError for the text comes first
  return liang_python::insertHyphens(hyphenator, text, textOptions(arguments));
}

py::str insertHyphens(const liang::Hyphenator& hyphenator, const py::object& text,
                      const liang::TextOptions& options) {
  const std::string_view utf8 = utf8Of(requireStr(text.ptr(), "text"));
  std::string out;
  if (utf8.size() <= kHeldGilBytes) {
    // A word or two: letting other threads run would cost more than the
    // call itself.
    out = liang::insertHyphens(hyphenator, utf8, options);
  } else if (utf8.size() <= kSliceBytes) {
    py::gil_scoped_release release;
    out = liang::insertHyphens(hyphenator, utf8, options);
  } else {
    // Through a stream, whose output is the same, a slice at a time: between
    // slices the GIL comes back and Python's signal handlers run, so Ctrl-C
    // stops a long text within a slice's time (some milliseconds).
    liang::TextStream stream(hyphenator, options);
    out.reserve(utf8.size() + utf8.size() / 8);
    // The last look comes after finish, so a signal during the last slice
    // interrupts the call too.
    for (std::size_t at = 0; at <= utf8.size(); at += kSliceBytes) {
      {
        py::gil_scoped_release release;
        if (at < utf8.size()) {
          stream.feed(utf8.substr(at, kSliceBytes), out);
        } else {
          stream.finish(out);
        }
      }
      if (PyErr_CheckSignals() != 0) throw py::error_already_set();
    }
  }
  return strFromUtf8(out);
}

std::string PythonHyphenator::repr() const {
  const std::string minima = "left_min=" + std::to_string(liang::hyphenatorLeftMin(hyphenator)) +
                             ", right_min=" + std::to_string(liang::hyphenatorRightMin(hyphenator));
  if (language) {
    return "liang.Hyphenator('" + std::string(liang::languageAffix(*language)) + "', " + minima +
           ")";
  }
  return "<liang.Hyphenator from text, " + minima + ">";
}

namespace {

struct NameHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view name) const noexcept {
    return std::hash<std::string_view>()(name);
  }
};

// Names as callers spelled them. Spellings are unbounded where languages are
// not, so past a bound the table starts afresh rather than grow. Used only
// with the GIL held; never destroyed, so it outlives every call.
using NameTable =
    std::unordered_map<std::string, const liang::Hyphenator*, NameHash, std::equal_to<>>;
constexpr std::size_t kMostNames = 256;

}  // namespace

const liang::Hyphenator& hyphenatorNamed(PyObject* name) {
  static NameTable& table = *new NameTable();
  const std::string_view spelled = utf8Of(requireStr(name, "lang"));
  if (const auto found = table.find(spelled); found != table.end()) return *found->second;
  const liang::Hyphenator& shared = sharedAndBuilt(requireLanguage(spelled));
  if (table.size() >= kMostNames) table.clear();
  table.emplace(std::string(spelled), &shared);
  return shared;
}

const liang::Hyphenator& defaultHyphenator() {
  // Not a static local: its initialiser would release the GIL while holding
  // the initialisation guard, and a second thread, holding the GIL, would
  // wait on the guard for ever. A race here only builds the same pointer twice.
  static const liang::Hyphenator* english = nullptr;
  if (english == nullptr) english = &sharedAndBuilt(liang::Language::English_US);
  return *english;
}

}  // namespace liang_python
