// Hyphenates many texts in one process, for differential.py and
// handbook_differential.py: standard input holds records separated by NUL
// bytes, each a language tag, a 0x01 byte and a text; standard output gets,
// for each, the text hyphenated with "|" (or --sep SEP) at each break, in
// markup mode (or plain with --plain), in the language that languageForTag
// reads in the tag, or "\x02" when liang carries none for it; records again
// separated by NUL bytes.
//     markup_driver [--plain] [--sep SEP]
#include <cstdio>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

#include "liang/liang.hpp"

int main(int argc, char** argv) {
  std::string input{std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>()};
  std::string out;
  liang::TextOptions options;
  options.markup = true;
  options.hyphen = std::string("|");
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--plain") {
      options.markup = false;
    } else if (arg == "--sep" && i + 1 < argc) {
      options.hyphen = argv[++i];
    } else {
      std::fprintf(stderr, "usage: markup_driver [--plain] [--sep SEP]\n");
      return 2;
    }
  }
  std::string_view rest = input;
  while (!rest.empty()) {
    const std::size_t end = rest.find('\0');
    const std::string_view record = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    const std::size_t split = record.find('\x01');
    if (split == std::string_view::npos) return 2;
    const std::optional<liang::Language> language = liang::languageForTag(record.substr(0, split));
    if (!language || !liang::languageEmbedded(*language)) {
      out += "\x02";
    } else {
      out += liang::insertHyphens(liang::languageHyphenator(*language), record.substr(split + 1),
                                  options);
    }
    out += '\0';
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  return std::fflush(stdout) == 0 ? 0 : 1;
}
