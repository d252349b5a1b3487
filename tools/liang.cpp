// liang: hyphenate words or running text from the shell.
//
// With words as arguments, prints each one hyphenated with a separator, one
// a line. Without, copies standard input to standard output with the
// separator put into every word. Both go by the library's running-text
// rules (liang/Text.hpp), plain or marked up. Input is read in fixed chunks
// and each chunk is written out as soon as it is settled, so any amount of
// text passes in constant memory, and an interactive user sees each line as
// it is typed.
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>
#include <new>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "liang/liang.hpp"

#ifdef LIANG_HAVE_EPUB
#include "EpubCommand.hpp"
#endif

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
    "usage: liang [-l LANG] [-s SEP | --soft] [--html] [OPTION...] [WORD...]\n"
    "       liang --epub IN.epub OUT.epub [-l LANG] [OPTION...]\n"
    "       liang --licence LANG | --list | --help | --version\n"
    "\n"
    "Hyphenates each WORD, printing it with SEP at every break, one a line.\n"
    "Without WORDs, copies standard input to standard output with SEP put at\n"
    "every break of every word; all other bytes, ill-formed UTF-8 included,\n"
    "pass through unchanged. URLs, e-mail addresses and words that already\n"
    "hold a soft hyphen or SEP (one that is no hyphen) between letters are\n"
    "left as they are.\n"
    "\n"
    "  -l, --lang LANG       language: a tag (de-CH, pt-BR, sr-Latn), a locale name\n"
    "                        (de_DE.UTF-8), an affix (de-1996), a name\n"
    "                        (German_Swiss) or an English name (german, greek,\n"
    "                        norwegian); default: the locale's language (LC_ALL,\n"
    "                        else LANG) when liang carries it, else en-us\n"
    "  -s, --sep SEP         separator, default \"-\"\n"
    "      --soft            use U+00AD SOFT HYPHEN as the separator (not with -s)\n"
    "      --html            the text is HTML, XHTML or XML: hyphenate text content\n"
    "                        only, follow lang attributes, and leave alone the\n"
    "                        content of @PROTECTED@\n"
    "      --xml             with --html implied: read markup by XML's rules, which\n"
    "                        otherwise apply when the text begins with an XML\n"
    "                        declaration or its first element has an xmlns\n"
    "      --skip NAME[,NAME...]\n"
    "                        leave the content of these elements alone too\n"
    "      --skip-class CLASS[,CLASS...]\n"
    "                        leave elements of these classes alone, besides\n"
    "                        nohyphenate and donthyphenate\n"
    "      --epub IN OUT     hyphenate the EPUB book IN into OUT (\"-\": standard\n"
    "                        input or output), its content documents as with\n"
    "                        --html, from the book's language (dc:language)\n"
    "                        unless -l is given, with --soft unless -s is given;\n"
    "                        every other entry is copied as it is\n"
    "      --min-word N      leave words of fewer than N letters alone\n"
    "      --left N          at least N letters before the first break\n"
    "      --right N         at least N letters after the last break\n"
    "      --no-capitalized  leave words that begin with a capital alone\n"
    "      --no-all-caps     leave words in capitals alone\n"
    "      --mixed-case      hyphenate words with a capital after a small letter\n"
    "                        (iPhone, camelCase) too\n"
    "      --technical       hyphenate technical tokens too: options, paths, file\n"
    "                        and domain names, identifiers (left whole by default)\n"
    "      --exceptions FILE add the words of FILE, one a line with '-' at each\n"
    "                        break, to the language's exceptions (replacing its own)\n"
    "      --patterns FILE   merge the patterns of FILE into the language's\n"
    "      --licence LANG    print the licence of the language's patterns\n"
    "                        (also spelt --license)\n"
    "      --list            print the languages: affix, name, left and right\n"
    "                        minimum, and \"not-embedded\" for those this build\n"
    "                        left out\n"
    "      --help            print this help\n"
    "      --version         print the version\n"
    "\n"
    "Exit status: 0 on success, 1 on an input or output error or when memory runs\n"
    "out, 2 on a usage error (an unknown option or language, a bad number, a file\n"
    "that cannot be read).\n";

// The help, with the elements that markup mode leaves alone, from the
// library, wrapped under the option that names them.
std::string usage() {
  std::string text(kUsage);
  std::string list;
  std::size_t column = 30;  // where "content of " leaves the line
  const std::span<const std::string_view> names = liang::protectedElements();
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::string piece = std::string(names[i]) + (i + 1 < names.size() ? "," : "");
    if (i > 0) {
      if (column + 1 + piece.size() > 79) {
        list += "\n" + std::string(24, ' ');
        column = 24;
      } else {
        list += ' ';
        ++column;
      }
    }
    list += piece;
    column += piece.size();
  }
  text.replace(text.find("@PROTECTED@"), 11, list);
  return text;
}

// Adds the names of a comma-separated list to `into`.
void addNames(std::string_view list, std::vector<std::string>& into) {
  while (!list.empty()) {
    const std::size_t comma = list.find(',');
    const std::string_view name = list.substr(0, comma);
    if (!name.empty()) into.emplace_back(name);
    if (comma == std::string_view::npos) break;
    list.remove_prefix(comma + 1);
  }
}

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

// Words on the command line go by the rules of running text too, so that
// "well-known" and "(computer)" come out as they would inside a sentence.
int hyphenateWords(const liang::Hyphenator& h, const std::vector<std::string_view>& words,
                   const liang::TextOptions& options) {
  std::string out;
  for (const std::string_view word : words) {
    out += liang::insertHyphens(h, word, options);
    out += '\n';
    if (out.size() >= kChunkBytes) {
      if (!writeOut(out)) return ioFailure("cannot write standard output");
      out.clear();
    }
  }
  return writeOut(out) ? 0 : ioFailure("cannot write standard output");
}

int hyphenateStream(const liang::Hyphenator& h, const liang::TextOptions& options) {
  const std::unique_ptr<char[]> buffer(new char[kChunkBytes]);
  liang::TextStream stream(h, options);
  std::string out;
  out.reserve(2 * kChunkBytes);
  for (;;) {
    const long got = readSome(buffer.get(), kChunkBytes);
    if (got < 0) return ioFailure("cannot read standard input");
    if (got == 0) break;
    stream.feed(std::string_view(buffer.get(), static_cast<std::size_t>(got)), out);
    if (!writeOut(out)) return ioFailure("cannot write standard output");
    out.clear();
    // A short read means the input is waiting on its writer, perhaps a
    // person at a terminal: show what is done. A full one means more is at
    // hand, and the output buffer flushes itself when full.
    if (static_cast<std::size_t>(got) < kChunkBytes && std::fflush(stdout) != 0) {
      return ioFailure("cannot write standard output");
    }
  }
  stream.finish(out);
  return writeOut(out) ? 0 : ioFailure("cannot write standard output");
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
  // Given or not: an empty name is a file that cannot be read, not no file.
  std::optional<std::string_view> exceptionsFile;
  std::optional<std::string_view> patternsFile;
  liang::TextOptions text;
  std::vector<std::string_view> words;
  bool list = false;
  bool epub = false;
  bool help = false;
  bool version = false;
};

enum class Value { kAbsent, kMissing, kTaken };

// Takes the value of an option that has one, given as "-l LANG", "-lLANG",
// "--lang LANG" or "--lang=LANG" (an option without a short name has only
// the long forms); kAbsent when argv[i] is not that option.
Value takeValue(int argc, char** argv, int& i, std::string_view shortName,
                std::string_view longName, std::string_view& into) {
  const std::string_view arg = argv[i];
  if ((!shortName.empty() && arg == shortName) || arg == longName) {
    if (i + 1 == argc) return Value::kMissing;
    into = argv[++i];
    return Value::kTaken;
  }
  if (!shortName.empty() && arg.size() > shortName.size() &&
      arg.substr(0, shortName.size()) == shortName && arg[1] != '-') {
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

// A count given to an option: a whole number from 1 up.
std::optional<std::int64_t> positiveNumber(std::string_view text) {
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 1) return std::nullopt;
  return value;
}

// "--licence LANG" or "--licence=LANG", spelt the British or the American way.
Value takeLicenceValue(int argc, char** argv, int& i, std::string_view& into) {
  const Value british = takeValue(argc, argv, i, "", "--licence", into);
  if (british != Value::kAbsent) return british;
  return takeValue(argc, argv, i, "", "--license", into);
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
    // Options with a value: (short name, long name, what the value is, where it goes).
    std::string_view language, number, exceptionsFile, patternsFile, skip, skipClass;
    const struct {
      std::string_view shortName, longName, what;
      std::string_view* into;
    } valued[] = {
        {"-l", "--lang", "a language", &language},
        {"-s", "--sep", "a separator", &options.separator},
        {"", "--exceptions", "a file", &exceptionsFile},
        {"", "--patterns", "a file", &patternsFile},
        {"", "--min-word", "a number", &number},
        {"", "--left", "a number", &number},
        {"", "--right", "a number", &number},
        {"", "--skip", "element names", &skip},
        {"", "--skip-class", "class names", &skipClass},
    };
    bool taken = false;
    for (const auto& option : valued) {
      const Value v = takeValue(argc, argv, i, option.shortName, option.longName, *option.into);
      if (v == Value::kAbsent) continue;
      if (v == Value::kMissing) {
        return "option '" + std::string(arg) + "' needs " + std::string(option.what);
      }
      if (option.into == &language) options.language = language;
      if (option.into == &exceptionsFile) options.exceptionsFile = exceptionsFile;
      if (option.into == &patternsFile) options.patternsFile = patternsFile;
      if (option.shortName == "-s") options.separatorGiven = true;
      if (option.into == &skip) addNames(skip, options.text.skipElements);
      if (option.into == &skipClass) addNames(skipClass, options.text.skipClasses);
      if (option.into == &number) {
        const std::optional<std::int64_t> value = positiveNumber(number);
        if (!value) {
          return "option '" + std::string(option.longName) + "' needs a number from 1 up, not '" +
                 std::string(number) + "'";
        }
        if (option.longName == "--min-word") {
          options.text.minWordLength = static_cast<std::size_t>(*value);
        } else if (option.longName == "--left") {
          options.text.leftMin = *value;
        } else {
          options.text.rightMin = *value;
        }
      }
      taken = true;
      break;
    }
    if (taken) continue;
    std::string_view value;
    if (arg == "--soft") {
      options.soft = true;
    } else if (const Value u = takeLicenceValue(argc, argv, i, value); u != Value::kAbsent) {
      if (u == Value::kMissing) return "option '" + std::string(arg) + "' needs a language";
      options.licence = value;
    } else if (arg == "--html") {
      options.text.markup = true;
    } else if (arg == "--xml") {
      options.text.markup = options.text.xml = true;
    } else if (arg == "--no-capitalized") {
      options.text.capitalized = false;
    } else if (arg == "--no-all-caps") {
      options.text.allCaps = false;
    } else if (arg == "--mixed-case") {
      options.text.mixedCase = true;
    } else if (arg == "--technical") {
      options.text.technical = true;
    } else if (arg == "--epub") {
      options.epub = true;
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

// The whole of a file, with the carriage return of each CR LF dropped, so
// that files written on Windows read like any other; nothing when it cannot
// be read (errno set).
std::optional<std::string> readTextFile(std::string_view path) {
  std::FILE* file = std::fopen(std::string(path).c_str(), "rb");
  if (file == nullptr) return std::nullopt;
  std::string text;
  char block[1 << 16];
  std::size_t got;
  while ((got = std::fread(block, 1, sizeof block, file)) > 0) text.append(block, got);
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) return std::nullopt;
  std::string unixText;
  unixText.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    unixText.push_back(text[i]);
  }
  return unixText;
}

// The language's hyphenator with a caller's patterns merged into its trie
// and a caller's exception words in place of its own for the same words.
std::optional<liang::Hyphenator> withCallerData(const liang::Hyphenator& h, const Options& options,
                                                std::string& problem) {
  liang::Patterns patterns = liang::hyphenatorPatterns(h);
  liang::Exceptions exceptions = liang::hyphenatorExceptions(h);
  if (options.patternsFile) {
    const std::optional<std::string> text = readTextFile(*options.patternsFile);
    if (!text) {
      problem = "cannot read '" + std::string(*options.patternsFile) + "': " + std::strerror(errno);
      return std::nullopt;
    }
    patterns = liang::merge(patterns, liang::parsePatterns(std::string_view(*text)));
  }
  if (options.exceptionsFile) {
    const std::optional<std::string> text = readTextFile(*options.exceptionsFile);
    if (!text) {
      problem =
          "cannot read '" + std::string(*options.exceptionsFile) + "': " + std::strerror(errno);
      return std::nullopt;
    }
    exceptions =
        liang::replaceExceptions(liang::parseExceptions(std::string_view(*text)), exceptions);
  }
  return liang::Hyphenator(liang::hyphenatorChars(h), std::move(patterns), std::move(exceptions),
                           liang::hyphenatorLeftMin(h), liang::hyphenatorRightMin(h));
}

// The language a user named, or nothing after saying why.
std::optional<liang::Language> namedLanguage(std::string_view name) {
  const std::optional<liang::Language> language = liang::languageForName(name);
  if (!language) {
    complain("unknown language '" + std::string(name) + "'; 'liang --list' shows the languages");
  }
  return language;
}

// --epub IN OUT: the book's own language unless -l names one, soft
// hyphens unless -s gives a separator.
int epubCommand(Options& options) {
  if (options.words.size() != 2) {
    complain("option '--epub' needs a book and where to write it: liang --epub IN.epub OUT.epub");
    return kUsageError;
  }
#ifdef LIANG_HAVE_EPUB
  if (!options.language && (options.patternsFile || options.exceptionsFile)) {
    complain("with '--epub', '--patterns' and '--exceptions' need the language named by -l");
    return kUsageError;
  }
  std::optional<liang::Hyphenator> h;
  if (options.language) {
    const std::optional<liang::Language> language = namedLanguage(*options.language);
    if (!language) return kUsageError;
    if (!liang::languageEmbedded(*language)) {
      complain("this build of liang leaves out " + liang::show(*language) +
               "; 'liang --list' shows the languages it carries");
      return kUsageError;
    }
    h = liang::languageHyphenator(*language);
    std::string problem;
    if (options.patternsFile || options.exceptionsFile) {
      h = withCallerData(*h, options, problem);
      if (!h) {
        complain(problem);
        return kUsageError;
      }
    }
  }
  EpubCommand command;
  command.source = options.words[0];
  command.destination = options.words[1];
  command.hyphenator = h ? &*h : nullptr;
  command.text = options.text;
  command.text.hyphen = options.separatorGiven ? options.separator : "\xC2\xAD";
  return runEpub(command);
#else
  complain("this build of liang has no EPUB support (it was built without libzip)");
  return kUsageError;
#endif
}

int run(int argc, char** argv) {
  Options options;
  if (const std::optional<std::string> problem = parseArguments(argc, argv, options)) {
    complain(*problem);
    return kUsageError;
  }
  if (options.help) return writeOut(usage()) ? 0 : ioFailure("cannot write standard output");
  if (options.version) {
    return writeOut("liang " LIANG_VERSION "\n") ? 0 : ioFailure("cannot write standard output");
  }
  if (options.list) return printList();
  if (options.epub) return epubCommand(options);
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
  options.text.hyphen = options.separator;
  std::optional<liang::Hyphenator> h = liang::languageHyphenator(*language);
  if (options.patternsFile || options.exceptionsFile) {
    std::string problem;
    h = withCallerData(*h, options, problem);
    if (!h) {
      complain(problem);
      return kUsageError;
    }
  }
  if (!options.words.empty()) return hyphenateWords(*h, options.words, options.text);
  return hyphenateStream(*h, options.text);
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
  } catch (const std::bad_alloc&) {
    // Said plainly: the exception's own text is an implementation's name.
    complain("out of memory");
    return kIoError;
  } catch (const std::exception& e) {
    complain(e.what());
    return kIoError;
  }
  if (std::fflush(stdout) != 0) return ioFailure("cannot write standard output");
  return status;
}
