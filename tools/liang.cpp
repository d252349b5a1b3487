// liang: hyphenate words or running text from the shell.
//
// With words as arguments, prints each one's pieces joined by a separator.
// Without, copies standard input to standard output with the separator put
// into every word. Input is read in fixed chunks and each chunk is written
// out as soon as it is settled, so any amount of text passes in constant
// memory, and an interactive user sees each line as it is typed.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "liang/internal/TextStream.hpp"
#include "liang/liang.hpp"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <unistd.h>
#endif

#ifndef LIANG_VERSION
#define LIANG_VERSION "unknown"
#endif

namespace {

constexpr int kUsageError = 2;
constexpr int kIoError = 1;
constexpr std::size_t kChunkBytes = 64 * 1024;

constexpr std::string_view kUsage =
    "usage: liang [-l LANG] [-s SEP | --soft] [WORD...]\n"
    "       liang --licence LANG | --list | --help | --version\n"
    "\n"
    "Hyphenates each WORD, printing its pieces joined by SEP, one word a line.\n"
    "Without WORDs, copies standard input to standard output with SEP put at\n"
    "every break of every word; all other bytes, ill-formed UTF-8 included,\n"
    "pass through unchanged.\n"
    "\n"
    "  -l, --lang LANG  language: a tag (de-CH, pt-BR, sr-Latn), a locale name\n"
    "                   (de_DE.UTF-8), an affix (de-1996), a name (German_Swiss)\n"
    "                   or an English name (german, greek, norwegian); default:\n"
    "                   the locale's language (LC_ALL, else LANG) when liang\n"
    "                   carries it, else en-us\n"
    "  -s, --sep SEP    separator, default \"-\"\n"
    "      --soft       use U+00AD SOFT HYPHEN as the separator (not with -s)\n"
    "      --licence LANG  print the licence of the language's patterns\n"
    "                   (also spelt --license)\n"
    "      --list       print the languages: affix, name, left and right minimum,\n"
    "                   and \"not-embedded\" for those this build left out\n"
    "      --help       print this help\n"
    "      --version    print the version\n"
    "\n"
    "Exit status: 0 on success, 1 on an input or output error, 2 on a usage error.\n";

void complain(std::string_view message) {
  std::fprintf(stderr, "liang: %.*s\n", static_cast<int>(message.size()), message.data());
}

// Writes to standard output; false (with errno set) when that failed.
bool writeOut(std::string_view bytes) {
  return bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size();
}

// Reads what standard input has at hand, up to `capacity` bytes, waiting
// only when it has nothing: 0 at the end, -1 on an error (errno set).
long readSome(char* into, std::size_t capacity) {
  for (;;) {
#ifdef _WIN32
    const long got = _read(0, into, static_cast<unsigned>(capacity));
#else
    const long got = static_cast<long>(::read(0, into, capacity));
#endif
    if (got >= 0 || errno != EINTR) return got;
  }
}

int ioFailure(std::string_view what) {
  complain(std::string(what) + ": " + std::strerror(errno));
  return kIoError;
}

int printList() {
  std::string out;
  char line[96];
  for (const liang::Language x : liang::enumFrom(liang::lowestLanguage())) {
    const liang::Hyphenator& h = liang::languageHyphenator(x);  // builds nothing
    const std::string name = liang::show(x);
    const std::string_view affix = liang::languageAffix(x);
    std::snprintf(line, sizeof line, "%-14.*s  %-22s  %lld %lld%s\n",
                  static_cast<int>(affix.size()), affix.data(), name.c_str(),
                  static_cast<long long>(liang::hyphenatorLeftMin(h)),
                  static_cast<long long>(liang::hyphenatorRightMin(h)),
                  liang::languageEmbedded(x) ? "" : "  not-embedded");
    out += line;
  }
  return writeOut(out) ? 0 : ioFailure("cannot write standard output");
}

int hyphenateWords(const liang::Hyphenator& h, const std::vector<std::string_view>& words,
                   std::string_view separator) {
  std::string out;
  for (const std::string_view word : words) {
    const std::vector<std::string> pieces = liang::hyphenate(h, word);
    for (std::size_t i = 0; i < pieces.size(); ++i) {
      if (i != 0) out += separator;
      out += pieces[i];
    }
    out += '\n';
    if (out.size() >= kChunkBytes) {
      if (!writeOut(out)) return ioFailure("cannot write standard output");
      out.clear();
    }
  }
  return writeOut(out) ? 0 : ioFailure("cannot write standard output");
}

int hyphenateStream(const liang::Hyphenator& h, std::string_view separator) {
  const std::unique_ptr<char[]> buffer(new char[kChunkBytes]);
  std::size_t filled = 0;  // bytes in `buffer` not yet written out
  std::string out;
  out.reserve(2 * kChunkBytes);
  for (bool atEnd = false; !atEnd;) {
    const std::size_t wanted = kChunkBytes - filled;
    const long got = readSome(buffer.get() + filled, wanted);
    if (got < 0) return ioFailure("cannot read standard input");
    atEnd = got == 0;
    filled += static_cast<std::size_t>(got);
    const std::string_view text(buffer.get(), filled);
    std::size_t used = liang::internal::appendHyphenatedText(h, text, separator, atEnd, out);
    if (used == 0 && filled == kChunkBytes) {
      // One word fills the whole buffer. Cut it at a character boundary and
      // hyphenate the parts apart: constant memory matters more than the
      // breaks of a 64 KiB "word".
      const std::size_t cut = filled - liang::internal::incompleteUtf8Tail(text);
      used = liang::internal::appendHyphenatedText(h, text.substr(0, cut), separator, true, out);
    }
    std::memmove(buffer.get(), buffer.get() + used, filled - used);
    filled -= used;
    if (!writeOut(out)) return ioFailure("cannot write standard output");
    out.clear();
    // A short read means the input is waiting on its writer, perhaps a
    // person at a terminal: show what is done. A full one means more is at
    // hand, and the output buffer flushes itself when full.
    if (static_cast<std::size_t>(got) < wanted && std::fflush(stdout) != 0) {
      return ioFailure("cannot write standard output");
    }
  }
  return 0;
}

// The language when -l is not given: the locale's (LC_ALL when set, else
// LANG; an empty one counts as unset, as for the C library) when liang
// carries that language, else American English. "C", "POSIX" and unknown
// languages name none, and a set LC_ALL that names none is not passed over
// for LANG: it overrides LANG in every program.
std::string_view defaultLanguage() {
  constexpr std::string_view kFallback = "en-us";
  const char* locale = std::getenv("LC_ALL");
  if (locale == nullptr || *locale == '\0') locale = std::getenv("LANG");
  if (locale == nullptr || *locale == '\0') return kFallback;
  const std::optional<liang::Language> language = liang::languageForTag(locale);
  if (!language || !liang::languageEmbedded(*language)) return kFallback;
  return locale;
}

struct Options {
  std::optional<std::string_view> language;  // -l, else defaultLanguage()
  std::string_view separator = "-";
  bool separatorGiven = false;  // -s, which --soft contradicts
  bool soft = false;
  std::optional<std::string_view> licence;
  std::vector<std::string_view> words;
  bool list = false;
  bool help = false;
  bool version = false;
};

enum class Value { kAbsent, kMissing, kTaken };

// Takes the value of an option that has one, given as "-l LANG", "-lLANG",
// "--lang LANG" or "--lang=LANG"; kAbsent when argv[i] is not that option.
Value takeValue(int argc, char** argv, int& i, std::string_view shortName,
                std::string_view longName, std::string_view& into) {
  const std::string_view arg = argv[i];
  if (arg == shortName || arg == longName) {
    if (i + 1 == argc) return Value::kMissing;
    into = argv[++i];
    return Value::kTaken;
  }
  if (arg.size() > shortName.size() && arg.substr(0, shortName.size()) == shortName &&
      arg[1] != '-') {
    into = arg.substr(shortName.size());
    return Value::kTaken;
  }
  if (arg.size() > longName.size() && arg.substr(0, longName.size()) == longName &&
      arg[longName.size()] == '=') {
    into = arg.substr(longName.size() + 1);
    return Value::kTaken;
  }
  return Value::kAbsent;
}

// "--licence LANG" or "--licence=LANG", spelt the British or the American way.
Value takeLicenceValue(int argc, char** argv, int& i, std::string_view& into) {
  // A long name in the place of the short one never matches there: the
  // short form is recognised only when its second character is not '-'.
  const Value british = takeValue(argc, argv, i, "--licence", "--licence", into);
  if (british != Value::kAbsent) return british;
  return takeValue(argc, argv, i, "--license", "--license", into);
}

// Reads the command line into `options`; a message when it is not usable.
std::optional<std::string> parseArguments(int argc, char** argv, Options& options) {
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      options.words.push_back(arg);  // "-" alone is a word too
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    std::string_view value;
    if (const Value v = takeValue(argc, argv, i, "-l", "--lang", value); v != Value::kAbsent) {
      if (v == Value::kMissing) return "option '" + std::string(arg) + "' needs a language";
      options.language = value;
    } else if (const Value w = takeValue(argc, argv, i, "-s", "--sep", options.separator);
               w != Value::kAbsent) {
      if (w == Value::kMissing) return "option '" + std::string(arg) + "' needs a separator";
      options.separatorGiven = true;
    } else if (arg == "--soft") {
      options.soft = true;
    } else if (const Value u = takeLicenceValue(argc, argv, i, value); u != Value::kAbsent) {
      if (u == Value::kMissing) return "option '" + std::string(arg) + "' needs a language";
      options.licence = value;
    } else if (arg == "--list") {
      options.list = true;
    } else if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (arg == "--version") {
      options.version = true;
    } else {
      return "unknown option '" + std::string(arg) + "'; see 'liang --help'";
    }
  }
  // Two separators asked for at once: which one was meant is a guess.
  if (options.soft && options.separatorGiven) return "options '--soft' and '-s' exclude each other";
  if (options.soft) options.separator = "\xC2\xAD";
  return std::nullopt;
}

// The language a user named, or nothing after saying why.
std::optional<liang::Language> namedLanguage(std::string_view name) {
  const std::optional<liang::Language> language = liang::languageForName(name);
  if (!language) {
    complain("unknown language '" + std::string(name) + "'; 'liang --list' shows the languages");
  }
  return language;
}

int run(int argc, char** argv) {
  Options options;
  if (const std::optional<std::string> problem = parseArguments(argc, argv, options)) {
    complain(*problem);
    return kUsageError;
  }
  if (options.help) return writeOut(kUsage) ? 0 : ioFailure("cannot write standard output");
  if (options.version) {
    return writeOut("liang " LIANG_VERSION "\n") ? 0 : ioFailure("cannot write standard output");
  }
  if (options.list) return printList();
  if (options.licence) {
    const std::optional<liang::Language> licensed = namedLanguage(*options.licence);
    if (!licensed) return kUsageError;
    return writeOut(liang::languageLicence(*licensed)) ? 0
                                                       : ioFailure("cannot write standard output");
  }
  const std::optional<liang::Language> language =
      namedLanguage(options.language.value_or(defaultLanguage()));
  if (!language) return kUsageError;
  // Said before any input is read, rather than at the first word.
  if (!liang::languageEmbedded(*language)) {
    complain("this build of liang leaves out " + liang::show(*language) +
             "; 'liang --list' shows the languages it carries");
    return kUsageError;
  }
  const liang::Hyphenator& h = liang::languageHyphenator(*language);
  if (!options.words.empty()) return hyphenateWords(h, options.words, options.separator);
  return hyphenateStream(h, options.separator);
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  // Bytes in, the same bytes out: no CR/LF translation.
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  static char outputBuffer[kChunkBytes];
  std::setvbuf(stdout, outputBuffer, _IOFBF, sizeof outputBuffer);
  int status = 0;
  try {
    status = run(argc, argv);
  } catch (const std::exception& e) {
    complain(e.what());
    return kIoError;
  }
  if (std::fflush(stdout) != 0) return ioFailure("cannot write standard output");
  return status;
}
