// liang --epub IN OUT: a whole EPUB book hyphenated from the shell, through
// liang::epub (liang/Epub.hpp). "-" reads standard input or writes standard
// output.
#ifndef LIANG_TOOLS_EPUBCOMMAND_HPP_
#define LIANG_TOOLS_EPUBCOMMAND_HPP_

#include <string_view>

#include "liang/liang.hpp"

struct EpubCommand {
  std::string_view source, destination;
  // The language each content document starts in; nullptr: the book's own.
  const liang::Hyphenator* hyphenator = nullptr;
  liang::TextOptions text;
};

// Hyphenates the book; says what it left alone, or why it failed, on
// standard error. The exit status: 0, 1 on an input or output error, 2 on a
// book liang cannot take (not a zip, no container.xml, no package document,
// every content document encrypted, no language).
int runEpub(const EpubCommand& command);

#endif  // LIANG_TOOLS_EPUBCOMMAND_HPP_
