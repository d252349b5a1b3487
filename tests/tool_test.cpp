// The liang command-line tool, run as a separate process the way a shell runs it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "liang/liang.hpp"
#include "test_support.hpp"
#include "text_options_cases.hpp"

namespace {

using testing_support::withoutAll;

// The tool takes its default language from the locale: every test runs it
// under the C locale, whatever the environment of the run, unless it says
// otherwise (runToolInLocale).
class CLocale : public ::testing::Environment {
 public:
  void SetUp() override {
    ::unsetenv("LC_ALL");
    ::setenv("LANG", "C", 1);
  }
};
const ::testing::Environment* const kCLocale = ::testing::AddGlobalTestEnvironment(new CLocale);

struct ToolRun {
  int status = -1;
  std::string out;
  std::string err;
};

std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string shellQuoted(std::string_view arg) {
  std::string q = "'";
  for (const char c : arg) {
    if (c == '\'') {
      q += "'\\''";
    } else {
      q += c;
    }
  }
  return q + "'";
}

// Runs the tool with `args` and `input` on standard input. `stdoutPath`
// replaces the captured standard output (to test a failing one).
ToolRun runTool(const std::vector<std::string>& args, const std::string& input = "",
                const std::string& stdoutPath = "") {
  const std::filesystem::path dir = LIANG_TOOL_SCRATCH;
  std::filesystem::create_directories(dir);
  const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
  const std::filesystem::path in = dir / (name + ".in");
  const std::filesystem::path out = dir / (name + ".out");
  const std::filesystem::path err = dir / (name + ".err");
  std::ofstream(in, std::ios::binary) << input;
  std::string command = shellQuoted(LIANG_TOOL);
  // Appended piece by piece: GCC 12 warns falsely (-Wrestrict) about long
  // chains of std::string operator+.
  for (const std::string& arg : args) command.append(" ").append(shellQuoted(arg));
  command.append(" < ").append(shellQuoted(in.string()));
  command.append(" > ").append(shellQuoted(stdoutPath.empty() ? out.string() : stdoutPath));
  command.append(" 2> ").append(shellQuoted(err.string()));
  const int raw = std::system(command.c_str());
  ToolRun run;
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  run.out = stdoutPath.empty() ? readFile(out) : "";
  run.err = readFile(err);
  return run;
}

std::size_t lineCount(const std::string& text) {
  std::size_t lines = 0;
  for (const char c : text) lines += c == '\n';
  return lines;
}

// A one-line message on standard error, nothing on standard output.
void expectOneLineError(const ToolRun& run, int status, std::string_view mentions) {
  EXPECT_EQ(run.status, status);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(lineCount(run.err), 1u) << run.err;
  EXPECT_EQ(run.err.rfind("liang: ", 0), 0u) << run.err;
  EXPECT_NE(run.err.find(mentions), std::string::npos) << run.err;
}

TEST(ToolWords, OneLinePerWordJoinedBySeparator) {
  const ToolRun run = runTool({"hyphenation", "table", "cat"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "hy-phen-ation\nta-ble\ncat\n");
  EXPECT_EQ(run.err, "");
}

TEST(ToolWords, SeparatorAndSoftHyphen) {
  EXPECT_EQ(runTool({"-s", " | ", "hyphenation"}).out, "hy | phen | ation\n");
  EXPECT_EQ(runTool({"--sep=/", "hyphenation"}).out, "hy/phen/ation\n");
  EXPECT_EQ(runTool({"-s", "", "hyphenation"}).out, "hyphenation\n");
  EXPECT_EQ(runTool({"--soft", "hyphenation"}).out, "hy\u00ADphen\u00ADation\n");
}

TEST(ToolWords, LanguageByTagLocaleAffixOrName) {
  const std::string german =
      "Schiff\xC2\xAD"
      "fahrt";
  for (const char* lang : {"de", "de-DE", "de_DE.UTF-8", "de-1996", "German_1996", "german_1996"}) {
    const ToolRun run = runTool({"-l", lang, "-s", "\xC2\xAD", "Schifffahrt"});
    EXPECT_EQ(run.status, 0) << lang << run.err;
    EXPECT_EQ(run.out, german + "\n") << lang;
  }
  EXPECT_EQ(runTool({"-lfr", "anticonstitutionnellement"}).out,
            "an-ti-cons-ti-tu-tion-nel-le-ment\n");
  EXPECT_EQ(runTool({"--lang=ru", "переносимость"}).out, "пе-ре-но-си-мость\n");
  EXPECT_EQ(runTool({"--lang", "en-GB", "hyphenation"}).out,
            liang::insertHyphens(liang::english_GB(), "hyphenation", "-") + "\n");
}

TEST(ToolWords, WordsAfterDoubleDashAndIllFormedBytes) {
  // A word argument is one word whatever it holds, an ill-formed byte included.
  const std::string word =
      "hyph\xFF"
      "enation";
  std::string expected = "--list\n-\n";
  for (const std::string& piece : liang::hyphenate(liang::english_US(), word)) {
    expected += (expected.back() == '\n' ? "" : "-") + piece;
  }
  const ToolRun run = runTool({"--", "--list", "-", word});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, expected + "\n");
}

TEST(ToolWords, ArgumentsGoByTheRulesOfRunningText) {
  const ToolRun run = runTool({"well-known", "(computer)", "https://example.com/documentation",
                               "hy\u00ADphenation", "iPhone"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "well-known\n(com-puter)\nhttps://example.com/documentation\nhy\u00ADphenation\n"
            "iPhone\n");
  // Hyphenating twice changes nothing.
  const ToolRun once = runTool({"--soft"}, "prohibit hyphenation\n");
  EXPECT_EQ(runTool({}, once.out).out, once.out);
}

TEST(ToolOptions, MarkupAndTypography) {
  const std::string page =
      "<blockquote>Hyphenation</blockquote> <table border=1> <p class=\"hyphenation\">\n";
  EXPECT_EQ(runTool({"--html"}, page).out,
            "<blockquote>Hy-phen-ation</blockquote> <table border=1> <p class=\"hyphenation\">\n");
  EXPECT_EQ(runTool({"--min-word", "9", "computer", "hyphenation"}).out,
            "computer\nhy-phen-ation\n");
  EXPECT_EQ(runTool({"--left=4", "hyphenation"}).out, "hyphen-ation\n");
  EXPECT_EQ(runTool({"--left", "1", "--right", "7", "hyphenation"}).out, "hy-phenation\n");
  EXPECT_EQ(runTool({"--no-capitalized", "Hyphenation", "HYPHENATION"}).out,
            "Hyphenation\nHY-PHEN-ATION\n");
  EXPECT_EQ(runTool({"--no-all-caps", "Hyphenation", "HYPHENATION"}).out,
            "Hy-phen-ation\nHYPHENATION\n");
  const std::string line = "-A, --almost-all  /usr/share/doc  systemd.service(5)  Uint8Array\n";
  EXPECT_EQ(runTool({}, line).out, line);
  EXPECT_EQ(runTool({"--technical"}, line).out,
            "-A, --al-most-all  /usr/share/doc  sys-temd.ser-vice(5)  Uint8Ar-ray\n");
  EXPECT_EQ(runTool({"-l", "pt", "--technical"}, "palavra-passe\n").out, "pa-la-vra-passe\n");
}

// The three lines of issue 26, and the markup options.
TEST(ToolOptions, MarkupStructureAndWhatIsLeftAlone) {
  EXPECT_EQ(
      runTool({"--html", "-l", "en"},
              "<div lang=\"de\"><div class=\"x\">Wissenschaftler</div> Wissenschaftler</div>\n")
          .out,
      "<div lang=\"de\"><div class=\"x\">Wis-sen-schaft-ler</div> Wis-sen-schaft-ler</div>\n");
  const std::string code =
      "<span lang=\"en\"><code><span class=\"k\">int</span> representation</code></span>\n";
  EXPECT_EQ(runTool({"--html"}, code).out, code);
  EXPECT_EQ(runTool({"--html"},
                    "<svg:svg><svg:style>.a{}</svg:style></svg:svg><p>hyphenation computer</p>\n")
                .out,
            "<svg:svg><svg:style>.a{}</svg:style></svg:svg><p>hy-phen-ation com-puter</p>\n");
  // --xml: <code/> is empty; --skip and --skip-class add to what is left alone.
  EXPECT_EQ(runTool({"--xml"}, "<code/>computer").out, "<code/>com-puter");
  EXPECT_EQ(runTool({"--html"}, "<code/>computer").out, "<code/>computer");
  EXPECT_EQ(
      runTool({"--html", "--skip", "address,cite", "--skip=q"},
              "<address>computer</address><cite>computer</cite><q>computer</q><b>computer</b>")
          .out,
      "<address>computer</address><cite>computer</cite><q>computer</q><b>com-puter</b>");
  EXPECT_EQ(runTool({"--html", "--skip-class", "verbatim,raw"},
                    "<p class=raw>computer</p><p class=nohyphenate>computer</p><p>computer</p>")
                .out,
            "<p class=raw>computer</p><p class=nohyphenate>computer</p><p>com-puter</p>");
  expectOneLineError(runTool({"--html", "--skip"}), 2, "'--skip'");
  // Running the tool twice changes nothing, whatever the separator.
  for (const std::string sep : {"-", "|", "<wbr>"}) {
    const std::string once = runTool({"--html", "-s", sep}, code + "<p>hyphenation</p>").out;
    EXPECT_EQ(runTool({"--html", "-s", sep}, once).out, once) << sep;
  }
}

TEST(ToolOptions, ExceptionAndPatternFiles) {
  const std::filesystem::path dir = std::filesystem::path(LIANG_TOOL_SCRATCH) / "files";
  std::filesystem::create_directories(dir);
  // Written on Windows: CR LF line ends, which must not become letters.
  std::ofstream(dir / "exceptions.txt", std::ios::binary) << "hyphenation\r\nassoci-ate\r\n";
  std::ofstream(dir / "patterns.txt", std::ios::binary) << "u5t\r\n";
  const std::string exceptions = (dir / "exceptions.txt").string();
  const std::string patterns = (dir / "patterns.txt").string();
  // An entry replaces the language's own for its word (English lists
  // as-so-ciate; merged, the two would agree on no break at all).
  EXPECT_EQ(runTool({"--exceptions", exceptions, "hyphenation", "associate", "computer"}).out,
            "hyphenation\nassoci-ate\ncom-puter\n");
  // Merged patterns add breaks: "u5t" between u and t.
  EXPECT_EQ(runTool({"--patterns", patterns, "computer"}).out, "com-pu-ter\n");
  EXPECT_EQ(runTool({"--patterns", patterns, "--exceptions", exceptions, "computer", "table"}).out,
            "com-pu-ter\nta-ble\n");
}

// Each option of running text does what the library's option does: the
// tool's output, in stream mode and for word arguments, is insertHyphens with
// that one field of TextOptions set.
TEST(ToolOptions, EveryOptionReachesTheLibrary) {
  const std::map<std::string, std::vector<std::string>> argsOf = {
      {"hyphen", {"-s", "="}},
      {"markup", {"--html"}},
      {"minWordLength", {"--min-word", "9"}},
      {"leftMin", {"--left", "4"}},
      {"rightMin", {"--right=6"}},
      {"capitalized", {"--no-capitalized"}},
      {"allCaps", {"--no-all-caps"}},
      {"mixedCase", {"--mixed-case"}},
      {"technical", {"--technical"}},
      {"xml", {"--xml"}},
      {"skipElements", {"--html", "--skip", "em"}},
      {"skipClasses", {"--html", "--skip-class", "x"}},
  };
  const std::vector<testing_support::OptionCase>& cases = testing_support::optionCases();
  ASSERT_EQ(argsOf.size(), cases.size());
  const std::string sample = testing_support::kOptionsSample;
  for (const testing_support::OptionCase& c : cases) {
    const std::vector<std::string>& args = argsOf.at(c.field);
    const std::string expected = testing_support::optionCaseOutput(c);
    const ToolRun stream = runTool(args, sample + "\n");
    EXPECT_EQ(stream.status, 0) << c.field << stream.err;
    EXPECT_EQ(stream.out, expected + "\n") << c.field;
    // As arguments, each word on its own; markup has no word alone to show.
    liang::TextOptions probe;
    c.set(probe);
    if (probe.markup) continue;
    std::vector<std::string> withWords = args;
    std::string perWord;
    for (std::size_t start = 0; start <= sample.size();) {
      const std::size_t end = std::min(sample.find(' ', start), sample.size());
      const std::string word = sample.substr(start, end - start);
      if (word.find('<') == std::string::npos) {
        withWords.push_back(word);
        liang::TextOptions options = testing_support::baseOptions();
        c.set(options);
        perWord.append(liang::insertHyphens(liang::english_US(), word, options)).append("\n");
      }
      start = end + 1;
    }
    EXPECT_EQ(runTool(withWords).out, perWord) << c.field;
  }
}

TEST(ToolErrors, EmptyFileNamesCannotBeRead) {
  for (const std::vector<std::string>& args : {std::vector<std::string>{"--patterns", "", "word"},
                                               {"--patterns=", "word"},
                                               {"--exceptions", "", "word"},
                                               {"--exceptions="}}) {
    expectOneLineError(runTool(args, "text\n"), 2, "cannot read ''");
  }
}

// Memory that runs out is said in words, with status 1. The address space is
// limited by the shell, and a patterns file that never ends is read until it
// is spent; where no limit can be set (a sanitizer or an emulator reserves
// more than it allows), the test is skipped.
TEST(ToolErrors, OutOfMemoryIsSaidPlainly) {
  const std::filesystem::path dir = LIANG_TOOL_SCRATCH;
  std::filesystem::create_directories(dir);
  const std::string err = (dir / "out_of_memory.err").string();
  // Appended piece by piece, as in runTool.
  std::string limit = "ulimit -v 262144 2>/dev/null && exec ";
  limit.append(shellQuoted(LIANG_TOOL));
  std::string probe = "sh -c ";
  probe.append(shellQuoted(limit + " --version")).append(" >/dev/null 2>&1");
  const int probed = std::system(probe.c_str());
  if (!std::filesystem::exists("/dev/zero") || !WIFEXITED(probed) || WEXITSTATUS(probed) != 0) {
    GTEST_SKIP() << "the address space cannot be limited here";
  }
  std::string command = "sh -c ";
  command.append(shellQuoted(limit + " --patterns /dev/zero word"));
  command.append(" </dev/null >/dev/null 2>").append(shellQuoted(err));
  const int raw = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(raw)) << raw;
  EXPECT_EQ(WEXITSTATUS(raw), 1);
  EXPECT_EQ(readFile(err), "liang: out of memory\n");
}

TEST(ToolErrors, UnreadableFilesAndBadNumbersExitTwo) {
  expectOneLineError(runTool({"--exceptions", "/nonexistent/words.txt", "word"}), 2,
                     "'/nonexistent/words.txt'");
  expectOneLineError(runTool({"--patterns=/nonexistent/patterns.txt"}, "text"), 2,
                     "'/nonexistent/patterns.txt'");
  for (const char* number : {"0", "-1", "two", "3x", ""}) {
    expectOneLineError(runTool({"--min-word", number, "word"}), 2, "--min-word");
  }
  expectOneLineError(runTool({"--left=0", "word"}), 2, "--left");
  expectOneLineError(runTool({"--right"}), 2, "'--right'");
}

TEST(ToolErrors, UnknownLanguageNamesItAndPointsToList) {
  const ToolRun run = runTool({"-l", "xx-klingon", "word"});
  expectOneLineError(run, 2, "'xx-klingon'");
  EXPECT_NE(run.err.find("liang --list"), std::string::npos) << run.err;
  // Also in stream mode, before reading anything.
  expectOneLineError(runTool({"--lang=Elvish"}, "text\n"), 2, "'Elvish'");
}

TEST(ToolErrors, UsageErrorsExitTwo) {
  expectOneLineError(runTool({"--frobnicate"}), 2, "'--frobnicate'");
  expectOneLineError(runTool({"-x", "word"}), 2, "'-x'");
  expectOneLineError(runTool({"-l"}), 2, "'-l'");
  expectOneLineError(runTool({"word", "--sep"}), 2, "'--sep'");
}

TEST(ToolErrors, IoErrorsExitOne) {
  // Standard output that refuses the bytes.
  if (std::filesystem::exists("/dev/full")) {
    const ToolRun full = runTool({"hyphenation"}, "", "/dev/full");
    EXPECT_EQ(full.status, 1);
    EXPECT_NE(full.err.find("cannot write standard output"), std::string::npos) << full.err;
    const ToolRun fullStream = runTool({}, "some text\n", "/dev/full");
    EXPECT_EQ(fullStream.status, 1);
  }
  // Standard input that cannot be read: a directory.
  const std::string command = std::string("'") + LIANG_TOOL + "' < / > /dev/null 2>&1";
  const int raw = std::system(command.c_str());
  EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 1) << raw;
}

TEST(ToolInfo, ListHasTheSeventyThreeLanguages) {
  const ToolRun run = runTool({"--list"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(lineCount(run.out), 73u);
  std::istringstream lines(run.out);
  std::string affix, name;
  long left = 0, right = 0;
  for (const liang::Language x : liang::enumFrom(liang::lowestLanguage())) {
    ASSERT_TRUE(lines >> affix >> name >> left >> right);
    EXPECT_EQ(affix, liang::languageAffix(x));
    EXPECT_EQ(name, liang::show(x));
    EXPECT_EQ(left, liang::hyphenatorLeftMin(liang::languageHyphenator(x)));
    EXPECT_EQ(right, liang::hyphenatorRightMin(liang::languageHyphenator(x)));
  }
}

TEST(ToolInfo, HelpAndVersion) {
  const ToolRun help = runTool({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out.rfind("usage: liang", 0), 0u) << help.out;
  EXPECT_EQ(help.err, "");
  const ToolRun version = runTool({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, std::string("liang ") + LIANG_VERSION + "\n");
}

TEST(ToolStream, MultiLanguageSampleWithIllFormedBytes) {
  const std::string sample =
      "Hyphenation of computer programs.\n"
      "Die Donaudampfschifffahrt, une \xC3\xA9l\xC3\xA9gance anticonstitutionnelle,\r\n"
      "\xD0\xBF\xD0\xB5\xD1\x80\xD0\xB5\xD0\xBD\xD0\xBE\xD1\x81\xD0\xB8\xD0\xBC\xD0\xBE\xD1\x81"
      "\xD1\x82\xD1\x8C and 42 examples at https://example.org/documentation\n"
      "ill\xFF"
      "formed \xC3 bytes \xE2\x82 pass\xED\xA0\x80through\n"
      "\n"
      "no final line feed";
  for (const std::string lang : {"en-US", "de", "fr", "ru"}) {
    const liang::Hyphenator& h = liang::languageHyphenator(*liang::languageForTag(lang));
    const ToolRun run = runTool({"-l", lang}, sample);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, liang::insertHyphens(h, sample, "-")) << lang;
    EXPECT_EQ(withoutAll(run.out, "-"), withoutAll(sample, "-"));
    const ToolRun soft = runTool({"-l", lang, "--soft"}, sample);
    EXPECT_EQ(soft.out, liang::insertHyphens(h, sample)) << lang;
  }
  EXPECT_NE(runTool({"-l", "ru"}, sample).out.find("пе-ре-но-си-мость"), std::string::npos);
}

TEST(ToolStream, EmptyInputGivesEmptyOutput) {
  const ToolRun run = runTool({});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "");
}

TEST(ToolStream, TextLongerThanTheBufferAndLongLines) {
  // Several megabytes in lines far longer than the tool's read buffer, with
  // multi-byte characters straddling every possible chunk boundary.
  std::string text;
  for (int i = 0; text.size() < 3'000'000; ++i) {
    text += "hyphenation \xC3\xA9l\xC3\xA9gance computer";
    text += (i % 5000 == 4999) ? "\n" : ", ";
  }
  const ToolRun run = runTool({"-l", "fr"}, text);
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(run.out == liang::insertHyphens(liang::french(), text, "-"));
}

TEST(ToolStream, WordLongerThanTheBufferPassesThrough) {
  std::string text = "start ";
  for (int i = 0; i < 100'000; ++i) text += "ab\xC3\xA9";
  text += " end\n";
  const ToolRun run = runTool({"-l", "fr", "-s", "\x01"}, text);
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(withoutAll(run.out, "\x01") == text);
}

// runTool with LC_ALL and LANG set as given (nullptr: unset).
ToolRun runToolInLocale(const char* lcAll, const char* lang, const std::vector<std::string>& args,
                        const std::string& input = "") {
  const auto put = [](const char* name, const char* value) {
    if (value == nullptr) {
      ::unsetenv(name);
    } else {
      ::setenv(name, value, 1);
    }
  };
  put("LC_ALL", lcAll);
  put("LANG", lang);
  const ToolRun run = runTool(args, input);
  put("LC_ALL", nullptr);
  put("LANG", "C");
  return run;
}

// Words whose breaks differ between each two of the languages below.
const std::string kManyLanguages =
    "anticonstitutionnellement Donaudampfschifffahrtsgesellschaft "
    "\xD0\xBF\xD0\xB5\xD1\x80\xD0\xB5\xD0\xBD\xD0\xBE\xD1\x81\xD0\xB8\xD0\xBC\xD0\xBE\xD1\x81"
    "\xD1\x82\xD1\x8C Sprachwissenschaft\n";

TEST(ToolLanguage, PlainEnglishNames) {
  const std::vector<std::pair<std::string, std::string>> namesAndAffixes = {
      {"german", "de-1996"},   {"English", "en-us"},         {"british", "en-gb"},
      {"greek", "el-monoton"}, {"norwegian", "nb"},          {"swiss german", "de-ch-1901"},
      {"russian", "ru"},       {"serbo-croatian", "sh-latn"}};
  for (const auto& [name, affix] : namesAndAffixes) {
    const ToolRun byName = runTool({"-l", name}, kManyLanguages);
    EXPECT_EQ(byName.status, 0) << name << byName.err;
    EXPECT_EQ(byName.out, runTool({"-l", affix}, kManyLanguages).out) << name;
  }
}

TEST(ToolLanguage, DefaultComesFromTheLocale) {
  struct LocaleCase {
    const char* lcAll;
    const char* lang;
    std::string affix;  // the language the tool should take
  };
  const std::vector<LocaleCase> cases = {
      {nullptr, "fr_FR.UTF-8", "fr"},
      {"", "fr_FR.UTF-8", "fr"},  // an empty LC_ALL counts as unset
      {"de_CH.UTF-8", "fr_FR.UTF-8", "de-ch-1901"},
      {"ru_RU.UTF-8", nullptr, "ru"},
      {"nb_NO", nullptr, "nb"},
      {"C", "fr_FR.UTF-8", "en-us"},  // LC_ALL wins even when it names no language
      {nullptr, "C.UTF-8", "en-us"},
      {nullptr, "POSIX", "en-us"},
      {nullptr, "ja_JP.UTF-8", "en-us"},
      {nullptr, "", "en-us"},
      {nullptr, nullptr, "en-us"},
  };
  for (const LocaleCase& c : cases) {
    const std::string label = std::string("LC_ALL=") + (c.lcAll ? c.lcAll : "(unset)") +
                              " LANG=" + (c.lang ? c.lang : "(unset)");
    const ToolRun run = runToolInLocale(c.lcAll, c.lang, {}, kManyLanguages);
    EXPECT_EQ(run.status, 0) << label << run.err;
    EXPECT_EQ(run.out, runTool({"-l", c.affix}, kManyLanguages).out) << label;
  }
  // -l beats the locale.
  EXPECT_EQ(runToolInLocale("fr_FR.UTF-8", nullptr, {"-l", "ru"}, kManyLanguages).out,
            runTool({"-l", "ru"}, kManyLanguages).out);
  const ToolRun help = runTool({"--help"});
  EXPECT_NE(help.out.find("LC_ALL"), std::string::npos);
  EXPECT_NE(help.out.find("LANG"), std::string::npos);
}

TEST(ToolErrors, SoftHyphenAndSeparatorTogetherAreAUsageError) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--soft", "-s", "=", "word"},
        {"-s=", "--soft", "word"},
        {"--sep=/", "--soft"},
        {"--soft", "--sep", "-"}}) {
    expectOneLineError(runTool(args, "text\n"), 2, "'--soft'");
  }
}

TEST(ToolInfo, LicencePrintsThePatternsLicence) {
  for (const auto& [name, language] :
       {std::pair<std::string, liang::Language>{"fr", liang::Language::French},
        {"german", liang::Language::German_1996},
        {"Hungarian", liang::Language::Hungarian},
        {"zh-Latn-pinyin", liang::Language::Chinese}}) {
    const ToolRun run = runTool({"--licence", name});
    EXPECT_EQ(run.status, 0) << name << run.err;
    EXPECT_EQ(run.out, liang::languageLicence(language)) << name;
    EXPECT_EQ(run.err, "");
  }
  EXPECT_EQ(runTool({"--license=cs"}).out, liang::languageLicence(liang::Language::Czech));
  expectOneLineError(runTool({"--licence", "klingon"}), 2, "'klingon'");
  expectOneLineError(runTool({"--licence"}), 2, "'--licence'");
}

TEST(ToolInfo, ListMarksNothingWhenEveryLanguageIsEmbedded) {
  const ToolRun run = runTool({"--list"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out.find("not-embedded"), std::string::npos);
}

}  // namespace
