#include "EpubCommand.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "liang/Epub.hpp"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

constexpr int kIoError = 1;
constexpr int kBookError = 2;

void say(const std::string& message) { std::fprintf(stderr, "liang: %s\n", message.c_str()); }

// All of standard input; false (errno set) on an error.
bool readStandardInput(std::string& bytes) {
  char block[1 << 16];
  for (;;) {
#ifdef _WIN32
    const long got = _read(0, block, static_cast<unsigned>(sizeof block));
#else
    const long got = static_cast<long>(::read(0, block, sizeof block));
#endif
    if (got == 0) return true;
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.append(block, static_cast<std::size_t>(got));
  }
}

// All of a file; false (errno set) on an error.
bool readFile(std::string_view path, std::string& bytes) {
  std::FILE* file = std::fopen(std::string(path).c_str(), "rb");
  if (file == nullptr) return false;
  char block[1 << 16];
  std::size_t got;
  while ((got = std::fread(block, 1, sizeof block, file)) > 0) bytes.append(block, got);
  const bool ok = std::ferror(file) == 0;
  std::fclose(file);
  return ok;
}

void reportNotes(const liang::EpubReport& report) {
  for (const std::string& entry : report.encrypted) {
    say("note: '" + entry + "' is encrypted (META-INF/encryption.xml); copied unchanged");
  }
  for (const std::string& entry : report.utf16) {
    say("note: '" + entry + "' is in UTF-16; copied unchanged");
  }
}

// One line that names the book and what is wrong with it.
int failure(const EpubCommand& command, const liang::EpubError& error) {
  std::string message;
  // The messages of files that cannot be read or written name them already.
  const std::string_view what = error.what();
  if (error.failure() != liang::EpubFailure::kUnwritable && what.rfind("cannot read '", 0) != 0) {
    message = command.source == "-" ? "standard input" : std::string(command.source);
    message += ": ";
  }
  message += error.what();
  if (error.failure() == liang::EpubFailure::kNoLanguage) message += "; name one with -l";
  say(message);
  return error.failure() == liang::EpubFailure::kUnwritable ? kIoError : kBookError;
}

// Standard input or output stands for either end: the book in memory.
int runThroughMemory(const EpubCommand& command, const liang::EpubOptions& options) {
  std::string book, out;
  if (command.source == "-") {
    if (!readStandardInput(book)) {
      say(std::string("cannot read standard input: ") + std::strerror(errno));
      return kIoError;
    }
  } else if (!readFile(command.source, book)) {
    say("cannot read '" + std::string(command.source) + "': " + std::strerror(errno));
    return kBookError;
  }
  const liang::EpubReport report = liang::hyphenateEpub(book, out, options);
  reportNotes(report);
  if (command.destination != "-") {
    liang::writeEpubFile(std::string(command.destination), out);
    return 0;
  }
  if (std::fwrite(out.data(), 1, out.size(), stdout) != out.size() || std::fflush(stdout) != 0) {
    say(std::string("cannot write standard output: ") + std::strerror(errno));
    return kIoError;
  }
  return 0;
}

}  // namespace

int runEpub(const EpubCommand& command) {
  liang::EpubOptions options;
  options.text = command.text;
  if (command.hyphenator != nullptr) options.hyphenator = *command.hyphenator;
  try {
    if (command.source == "-" || command.destination == "-") {
      return runThroughMemory(command, options);
    }
    reportNotes(liang::hyphenateEpubFile(std::string(command.source),
                                         std::string(command.destination), options));
    return 0;
  } catch (const liang::EpubError& error) {
    return failure(command, error);
  }
}
