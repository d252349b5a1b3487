// The fields of TextOptions, each set alone to a value that changes the
// output of one sample text in its own way: the cases against which every
// interface (C, Python, the tool) checks that its options reach the library
// as the C++ options do. Since each case's output differs from the default
// output and from every other case's, an interface that drops a field or
// swaps two of them fails.
#ifndef LIANG_TESTS_TEXT_OPTIONS_CASES_HPP_
#define LIANG_TESTS_TEXT_OPTIONS_CASES_HPP_

#include <liang/liang.hpp>

#include <string>
#include <vector>

namespace testing_support {

// American English; one line, no tab, so that it passes through line-based
// test programs. Each part answers to one option: the code element to
// markup, "computer" (8 letters) to the minimum word length, the breaks near
// each end of "hyphenation" and "computer" to the minima, the capitalised,
// all-capital and mixed-case words to their flags, the path to the rule for
// technical tokens, the em element and the class x to the elements and
// classes left alone, and the pre written as an empty element (which opens
// one in HTML, up to its end tag, and is empty in XML) to XML's rules. Every
// element closes on the line, so the sample repeated is its output repeated.
inline const std::string kOptionsSample =
    "<code> hyphenation </code> HYPHENATION Hyphenation hyphenation computer "
    "camelCaseHyphenation associate /usr/share/documentation <em> formation </em> "
    "<span class=\"x\"> information </span> <pre/> representation </pre>";

struct OptionCase {
  const char* field;  // the TextOptions member
  void (*set)(liang::TextOptions&);
};

// The options every case starts from: the defaults, with "-" for a hyphen.
inline liang::TextOptions baseOptions() {
  liang::TextOptions options;
  options.hyphen.assign(1, '-');  // not = "-": GCC 12 warns falsely (-Wrestrict) on that
  return options;
}

inline const std::vector<OptionCase>& optionCases() {
  static const std::vector<OptionCase> cases = {
      {"hyphen", [](liang::TextOptions& o) { o.hyphen.assign(1, '='); }},
      {"markup", [](liang::TextOptions& o) { o.markup = true; }},
      {"minWordLength", [](liang::TextOptions& o) { o.minWordLength = 9; }},
      {"leftMin", [](liang::TextOptions& o) { o.leftMin = 4; }},
      {"rightMin", [](liang::TextOptions& o) { o.rightMin = 6; }},
      {"capitalized", [](liang::TextOptions& o) { o.capitalized = false; }},
      {"allCaps", [](liang::TextOptions& o) { o.allCaps = false; }},
      {"mixedCase", [](liang::TextOptions& o) { o.mixedCase = true; }},
      {"technical", [](liang::TextOptions& o) { o.technical = true; }},
      // The markup fields act in markup only: their cases turn it on too.
      {"xml",
       [](liang::TextOptions& o) {
         o.markup = true;
         o.xml = true;
       }},
      {"skipElements",
       [](liang::TextOptions& o) {
         o.markup = true;
         o.skipElements = {"em"};
       }},
      {"skipClasses",
       [](liang::TextOptions& o) {
         o.markup = true;
         o.skipClasses = {"nohyphenate", "donthyphenate", "x"};
       }},
  };
  // A field added to TextOptions stops this line compiling until it has a
  // case above, and every interface a test of it.
  [[maybe_unused]] const auto& [hyphen, markup, minWordLength, leftMin, rightMin, capitalized,
                                allCaps, mixedCase, technical, xml, skipElements, skipClasses] =
      baseOptions();
  return cases;
}

// The C++ output of the sample under the case's options.
inline std::string optionCaseOutput(const OptionCase& c) {
  liang::TextOptions options = baseOptions();
  c.set(options);
  return liang::insertHyphens(liang::english_US(), kOptionsSample, options);
}

}  // namespace testing_support

#endif  // LIANG_TESTS_TEXT_OPTIONS_CASES_HPP_
