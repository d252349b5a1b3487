// What one call of each word form costs, in instructions: the figures that
// the load of a shared machine does not move.
//
//   call_costs FORM [--words=FILE] [--max-words=N] [--any-words]
//
// FORM is one of:
//   hyphenate      hyphenate(h, u32string_view): the pieces of each word
//   points32       hyphenationPoints(h, u32string_view): a vector
//   points8        hyphenationPoints(h, string_view): a vector, UTF-8
//   span32         hyphenationPoints(h, u32string_view, span): no allocation
//   span8          hyphenationPoints(h, string_view, span): the same, UTF-8
//   insert         insertHyphens(h, string_view): each word a text of its own
//   insert_html    the same, with TextOptions::markup
//   nothing        the loop alone, for the overhead of the harness
//
// over the lowercase words of FILE (default /usr/share/dict/american-english,
// every 10th word, at most N (default 10000)), or with --any-words over its
// lines as they are (capitals, apostrophes, letters past ASCII: what a
// caller hands a word at a time), with english_US(), prepared
// and warmed by one pass first. Run it under
//   valgrind --tool=callgrind --toggle-collect='*countedPass*' call_costs FORM
// and Ir / calls is the instructions a call; it prints the calls and the
// characters of the pass (bench/run.sh divides).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "liang/Hyphenator.hpp"
#include "liang/Language.hpp"
#include "liang/Text.hpp"

namespace {

struct Words {
  std::string bytes;  // the words one after another
  std::u32string wide;
  std::vector<std::string_view> utf8;
  std::vector<std::u32string_view> chars;
};

// The code points of a line of the word list, which is well-formed UTF-8.
std::u32string decoded(std::string_view bytes) {
  std::u32string chars;
  for (std::size_t i = 0; i < bytes.size();) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t c = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t k = 1; k < length && i + k < bytes.size(); ++k) {
      c = (c << 6) | (static_cast<unsigned char>(bytes[i + k]) & 0x3F);
    }
    chars.push_back(c);
    i += length;
  }
  return chars;
}

Words load(const std::string& path, std::size_t most, bool anyWords) {
  std::ifstream in(path);
  if (!in) {
    std::fprintf(stderr, "call_costs: cannot read %s\n", path.c_str());
    std::exit(2);
  }
  std::vector<std::string> lines;
  std::size_t seen = 0;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || (!anyWords && !std::all_of(line.begin(), line.end(),
                                                   [](char c) { return c >= 'a' && c <= 'z'; }))) {
      continue;
    }
    if (seen++ % 10 == 0 && lines.size() < most) lines.push_back(line);
  }
  Words w;
  std::vector<std::size_t> lengths;
  for (const std::string& line : lines) {
    w.bytes += line;
    const std::u32string chars = decoded(line);
    w.wide += chars;
    lengths.push_back(chars.size());
  }
  std::size_t at = 0, wideAt = 0;
  for (std::size_t k = 0; k < lines.size(); ++k) {
    w.utf8.emplace_back(w.bytes.data() + at, lines[k].size());
    w.chars.emplace_back(w.wide.data() + wideAt, lengths[k]);
    at += lines[k].size();
    wideAt += lengths[k];
  }
  return w;
}

using Pass = std::uint64_t (*)(const liang::Hyphenator&, const Words&);

std::uint64_t passHyphenate(const liang::Hyphenator& h, const Words& w) {
  std::uint64_t sum = 0;
  for (const std::u32string_view word : w.chars) sum += liang::hyphenate(h, word).size();
  return sum;
}

std::uint64_t passPoints32(const liang::Hyphenator& h, const Words& w) {
  std::uint64_t sum = 0;
  for (const std::u32string_view word : w.chars) sum += liang::hyphenationPoints(h, word).size();
  return sum;
}

std::uint64_t passPoints8(const liang::Hyphenator& h, const Words& w) {
  std::uint64_t sum = 0;
  for (const std::string_view word : w.utf8) sum += liang::hyphenationPoints(h, word).size();
  return sum;
}

std::uint64_t passSpan32(const liang::Hyphenator& h, const Words& w) {
  std::size_t points[64];
  std::uint64_t sum = 0;
  for (const std::u32string_view word : w.chars) sum += liang::hyphenationPoints(h, word, points);
  return sum;
}

std::uint64_t passSpan8(const liang::Hyphenator& h, const Words& w) {
  std::size_t points[64];
  std::uint64_t sum = 0;
  for (const std::string_view word : w.utf8) sum += liang::hyphenationPoints(h, word, points);
  return sum;
}

std::uint64_t passInsert(const liang::Hyphenator& h, const Words& w) {
  std::uint64_t sum = 0;
  for (const std::string_view word : w.utf8) sum += liang::insertHyphens(h, word).size();
  return sum;
}

std::uint64_t passInsertHtml(const liang::Hyphenator& h, const Words& w) {
  liang::TextOptions options;
  options.markup = true;
  std::uint64_t sum = 0;
  for (const std::string_view word : w.utf8) sum += liang::insertHyphens(h, word, options).size();
  return sum;
}

std::uint64_t passNothing(const liang::Hyphenator&, const Words& w) {
  std::uint64_t sum = 0;
  for (const std::string_view word : w.utf8) sum += word.size();
  return sum;
}

// The one pass that callgrind counts (--toggle-collect='*countedPass*').
__attribute__((noinline)) std::uint64_t countedPass(Pass pass, const liang::Hyphenator& h,
                                                    const Words& w) {
  return pass(h, w);
}

}  // namespace

int main(int argc, char** argv) {
  struct Form {
    const char* name;
    Pass pass;
  };
  constexpr Form kForms[] = {
      {"hyphenate", passHyphenate},    {"points32", passPoints32}, {"points8", passPoints8},
      {"span32", passSpan32},          {"span8", passSpan8},       {"insert", passInsert},
      {"insert_html", passInsertHtml}, {"nothing", passNothing}};
  std::string path = "/usr/share/dict/american-english";
  std::size_t most = 10000;
  bool anyWords = false;
  const Form* form = nullptr;
  for (int k = 1; k < argc; ++k) {
    const std::string_view argument(argv[k]);
    if (argument.starts_with("--words=")) {
      path = argument.substr(8);
    } else if (argument.starts_with("--max-words=")) {
      most = std::stoul(std::string(argument.substr(12)));
    } else if (argument == "--any-words") {
      anyWords = true;
    } else {
      for (const Form& f : kForms) {
        if (argument == f.name) form = &f;
      }
      if (form == nullptr) {
        std::fprintf(stderr,
                     "usage: %s FORM [--words=FILE] [--max-words=N] [--any-words]; FORM:", argv[0]);
        for (const Form& f : kForms) std::fprintf(stderr, " %s", f.name);
        std::fprintf(stderr, "\n");
        return 2;
      }
    }
  }
  if (form == nullptr) {
    std::fprintf(stderr, "call_costs: no FORM given\n");
    return 2;
  }
  const Words words = load(path, most, anyWords);
  const liang::Hyphenator& h = liang::english_US();
  liang::prepare(h);
  const std::uint64_t warm = form->pass(h, words);
  const std::uint64_t counted = countedPass(form->pass, h, words);
  std::printf("form %s calls %zu chars %zu checksum %llu\n", form->name, words.utf8.size(),
              words.wide.size(), static_cast<unsigned long long>(counted));
  return warm == counted ? 0 : 1;
}
