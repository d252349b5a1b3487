// The C++ answers for the Python tests: reads lines "LANGUAGE<TAB>WORD" (UTF-8)
// and prints, for each, the pieces of the word joined by TAB, as the library's
// UTF-8 hyphenate gives them; an unknown language prints "?". The Python
// tests check that the extension, which hands the library code points taken
// straight from Python's string storage, agrees with this path.
//
// With the argument "options" it prints instead the running-text cases of
// text_options_cases.hpp: "sample<TAB>TEXT", "default<TAB>OUTPUT", then
// "FIELD<TAB>OUTPUT" for each field of TextOptions set alone, so that the
// tests can check each keyword against the C++ option.
#include <iostream>
#include <string>
#include <string_view>

#include "liang/liang.hpp"
#include "text_options_cases.hpp"

namespace {

void printOptionCases() {
  namespace ts = testing_support;
  std::cout << "sample\t" << ts::kOptionsSample << '\n';
  std::cout << "default\t"
            << liang::insertHyphens(liang::english_US(), ts::kOptionsSample, ts::baseOptions())
            << '\n';
  for (const ts::OptionCase& c : ts::optionCases()) {
    std::cout << c.field << '\t' << ts::optionCaseOutput(c) << '\n';
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::string_view(argv[1]) == "options") {
    printOptionCases();
    return 0;
  }
  std::ios::sync_with_stdio(false);
  std::string line;
  while (std::getline(std::cin, line)) {
    const std::size_t tab = line.find('\t');
    const std::string_view name = std::string_view(line).substr(0, tab);
    const std::string_view word =
        tab == std::string::npos ? std::string_view() : std::string_view(line).substr(tab + 1);
    const auto language = liang::languageForName(name);
    if (!language) {
      std::cout << "?\n";
      continue;
    }
    const auto pieces = liang::hyphenate(liang::languageHyphenator(*language), word);
    for (std::size_t k = 0; k < pieces.size(); ++k) std::cout << (k ? "\t" : "") << pieces[k];
    std::cout << '\n';
  }
}
