// Words to hyphenate in a shipped language, made from its own data rather
// than from a dictionary on the machine: the letter runs of its patterns,
// joined by twos and threes, and the words of its exception list.
#ifndef LIANG_TESTS_LANGUAGE_WORDS_HPP_
#define LIANG_TESTS_LANGUAGE_WORDS_HPP_

#include <liang/liang.hpp>
#include "languages/Loader.hpp"

#include <cstddef>
#include <random>
#include <string>
#include <vector>

namespace test_words {

// The runs of characters other than digits, '.' and `separator` in `text`,
// one per whitespace-separated token.
inline std::vector<std::u32string> lettersOf(const std::u32string& text, char32_t separator) {
  std::vector<std::u32string> runs;
  std::u32string run;
  for (const char32_t c : text) {
    if (c == U'\n' || c == U' ' || c == U'\t' || c == U'\r') {
      if (!run.empty()) runs.push_back(run);
      run.clear();
    } else if (!(c >= U'0' && c <= U'9') && c != U'.' && c != separator) {
      run.push_back(c);
    }
  }
  if (!run.empty()) runs.push_back(run);
  return runs;
}

// `count` words of language `x` from pattern fragments, then every word of
// its exception list (none when it ships without one).
inline std::vector<std::u32string> wordsOf(liang::Language x, std::size_t count,
                                           std::mt19937& random) {
  const std::string stem = "hyph-" + std::string(liang::languageAffix(x));
  const std::vector<std::u32string> fragments =
      lettersOf(liang::internal::embeddedFileText(stem + ".pat.txt.gz"), U'\0');
  std::vector<std::u32string> words;
  for (std::size_t w = 0; w < count && !fragments.empty(); ++w) {
    std::u32string word;
    for (std::size_t k = 2 + random() % 2; k > 0; --k) {
      word += fragments[random() % fragments.size()];
    }
    words.push_back(word);
  }
  std::u32string exceptions;
  try {
    exceptions = liang::internal::embeddedFileText(stem + ".hyp.txt.gz");
  } catch (const liang::Error&) {
    return words;  // no exception list
  }
  for (std::u32string& word : lettersOf(exceptions, U'-')) words.push_back(std::move(word));
  return words;
}

}  // namespace test_words

#endif  // LIANG_TESTS_LANGUAGE_WORDS_HPP_
