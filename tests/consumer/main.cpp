// A program that uses liang the way an outside project does: through
// <liang/liang.hpp> and the liang::liang target (or pkg-config's flags).
#include <liang/liang.hpp>

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

int main() {
  const std::optional<liang::Language> language = liang::languageForTag("en-US");
  if (!language) return 1;
  const liang::Hyphenator& h = liang::languageHyphenator(*language);
  std::string joined;
  for (const std::string& piece : liang::hyphenate(h, std::string_view("hyphenation"))) {
    joined += (joined.empty() ? "" : "-") + piece;
  }
  const std::string text = liang::insertHyphens(liang::german_1996(), "Silbentrennung", "-");
  std::printf("%s %s\n", joined.c_str(), text.c_str());
  return joined == "hy-phen-ation" && text == "Sil-ben-tren-nung" ? 0 : 1;
}
