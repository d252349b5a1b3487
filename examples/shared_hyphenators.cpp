// The shared hyphenators of the built-in languages, with code points and UTF-8.
#include <liang/liang.hpp>

#include <iostream>

int main() {
  for (const liang::Word& piece : liang::hyphenate(liang::english_US(), U"hyphenation")) {
    std::cout << piece.size() << ' ';
  }
  std::cout << '\n';
  for (const std::string& piece :
       liang::hyphenate(liang::german_1996(), std::string_view("Silbentrennung"))) {
    std::cout << piece << ' ';
  }
  std::cout << '\n';
  for (std::size_t point :
       liang::hyphenationPoints(liang::english_US(), std::string_view("computer"))) {
    std::cout << point << ' ';
  }
  std::cout << '\n'
            << liang::insertHyphens(liang::english_US(), "Hyphenation is tricky.", "-") << '\n';
  std::optional<liang::Language> swiss = liang::languageForTag("de-CH");
  std::cout << (swiss ? liang::show(*swiss) : "none") << '\n';
}
