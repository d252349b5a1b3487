// A hyphenator assembled from pattern and exception text of one's own.
#include <liang/liang.hpp>

#include <iostream>

int main() {
  liang::Patterns patterns = liang::parsePatterns(U"a1b\n.c2\nb3.\n");
  liang::Exceptions exceptions = liang::parseExceptions(U"ta-ble\n");
  auto lower = [](char32_t c) -> char32_t { return c >= U'A' && c <= U'Z' ? c + 32 : c; };
  liang::Hyphenator mine(lower, patterns, exceptions, /*leftMin=*/1, /*rightMin=*/1);
  for (const liang::Word& piece : liang::hyphenate(mine, U"Table"))
    std::cout << piece.size() << ' ';
  std::cout << '\n';

  // Tries and dictionaries are values: extending or merging leaves the inputs as they were.
  liang::Patterns more = liang::insertPattern(U"hy3ph", patterns);
  liang::Patterns both = liang::merge(patterns, liang::parsePatterns(U"a3b\n"));
  liang::Exceptions all = liang::mergeAll({exceptions, liang::parseExceptions(U"as-so-ciate\n")});
  std::cout << liang::show(liang::parsePatterns(U"a1b")) << '\n';
  std::cout << (more == patterns) << (both == patterns) << (all == exceptions) << '\n';
}
