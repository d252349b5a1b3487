#include "EpubCalls.hpp"

#include <pybind11/stl.h>

#include <cstdint>
#include <optional>
#include <string>

#include "Instances.hpp"
#include "PythonHyphenator.hpp"
#include "liang/Epub.hpp"

namespace py = pybind11;

namespace liang_python {

void addEpubCalls(py::module_& m) {
  using namespace pybind11::literals;
  // Paths as str or os.PathLike; the report as a dict. The GIL is released
  // while the book is read, hyphenated and written.
  m.def(
      "hyphenate_epub",
      [](const py::object& source, const py::object& destination, const py::object& lang,
         const std::string& hyphen, std::size_t minWord, std::optional<std::int64_t> leftMin,
         std::optional<std::int64_t> rightMin, bool capitalized, bool allCaps, bool mixedCase,
         bool technical) {
        const py::module_ os = py::module_::import("os");
        const std::string from = py::str(os.attr("fsdecode")(source));
        const std::string to = py::str(os.attr("fsdecode")(destination));
        liang::EpubOptions options;
        if (!lang.is_none()) {
          options.hyphenator =
              py::isinstance<PythonHyphenator>(lang)
                  ? initialised<PythonHyphenator>(lang, "liang.Hyphenator").hyphenator
                  : hyphenatorNamed(lang.ptr());
        }
        options.text.hyphen = hyphen;
        options.text.minWordLength = minWord;
        options.text.leftMin = leftMin.value_or(0);
        options.text.rightMin = rightMin.value_or(0);
        options.text.capitalized = capitalized;
        options.text.allCaps = allCaps;
        options.text.mixedCase = mixedCase;
        options.text.technical = technical;
        liang::EpubReport report;
        {
          py::gil_scoped_release unlocked;
          report = liang::hyphenateEpubFile(from, to, options);
        }
        py::dict result;
        result["language"] = report.language;
        result["documents"] = report.documents;
        result["encrypted"] = report.encrypted;
        result["utf16"] = report.utf16;
        return result;
      },
      "source"_a, "destination"_a, "lang"_a = py::none(), py::kw_only(), "hyphen"_a = "\u00ad",
      "min_word"_a = 0, "left_min"_a = py::none(), "right_min"_a = py::none(),
      "capitalized"_a = true, "all_caps"_a = true, "mixed_case"_a = false, "technical"_a = false);
}

}  // namespace liang_python
