// liang built with LIANG_LANGUAGES="en-us;DE-1996": those two work, and any
// other language fails on first use with the loader's message.
#include <liang/liang.hpp>

#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

namespace {

int failures = 0;

void check(bool ok, std::string_view what) {
  if (!ok) {
    std::printf("FAILED: %.*s\n", static_cast<int>(what.size()), what.data());
    ++failures;
  }
}

// The message of the liang::Error that `use` throws; "" when it throws none.
std::string errorOf(const std::function<void()>& use) {
  try {
    use();
  } catch (const liang::Error& e) {
    return e.what();
  }
  return "";
}

}  // namespace

int main() {
  for (const liang::Language x : liang::enumFrom(liang::lowestLanguage())) {
    const bool chosen = x == liang::Language::English_US || x == liang::Language::German_1996;
    check(liang::languageEmbedded(x) == chosen, "languageEmbedded(" + liang::show(x) + ")");
  }
  check(liang::insertHyphens(liang::english_US(), "hyphenation", "-") == "hy-phen-ation",
        "English_US hyphenates");
  check(liang::insertHyphens(liang::german_1996(), "Silbentrennung", "-") == "Sil-ben-tren-nung",
        "German_1996 hyphenates");
  check(liang::languageLicence(liang::Language::German_1996).find("dehyphn") != std::string::npos,
        "German_1996 has its licence");

  check(errorOf([] { liang::languageLicence(liang::Language::French); }) ==
            "Could not find hyph-fr.lic.txt.gz",
        "French's licence is missing");
  // The shared hyphenator fails on its first use and on every later one.
  for (int attempt = 0; attempt < 2; ++attempt) {
    const std::string message =
        errorOf([] { liang::hyphenate(liang::french(), std::string_view("constitution")); });
    check(message.rfind("Could not find hyph-fr.", 0) == 0, "French fails: " + message);
  }
  check(errorOf([] { liang::hyphenatorPatterns(liang::loadHyphenator(liang::Language::Welsh)); }) ==
            "Could not find hyph-cy.pat.txt.gz",
        "Welsh patterns are missing");
  // In markup, a quotation in a language left out is left alone, as one in a
  // language liang does not carry: it does not fail the whole text.
  liang::TextOptions markup;
  markup.markup = true;
  markup.hyphen = std::string("-");
  std::string page;
  const std::string failure = errorOf([&] {
    page = liang::insertHyphens(liang::english_US(),
                                "hyphenation <q lang=\"fr\">constitution</q> hyphenation", markup);
  });
  check(failure.empty() && page == "hy-phen-ation <q lang=\"fr\">constitution</q> hy-phen-ation",
        "a French quotation is left alone: " + failure + page);
  // Making a hyphenator, and reading its minima, costs no file.
  check(liang::hyphenatorLeftMin(liang::english_GB()) == 2, "English_GB's minima are known");
  std::printf("%d failures\n", failures);
  return failures == 0 ? 0 : 1;
}
