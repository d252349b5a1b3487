// Running out of memory during a language's first use is no verdict on the
// language: for every k, the first use with its k-th allocation failing
// either fails for want of memory or succeeds, and the same use then
// succeeds, exactly, through C++ and through C.
//
// A language is used for the first time once per process, so each k runs in
// a child process forked from one that has not used the language (ctest runs
// each case alone); the expected output comes from a hyphenator loaded
// afresh, which shares nothing with the language's shared one.
#include <gtest/gtest.h>
#include <liang/liang.h>
#include <sys/wait.h>
#include <unistd.h>
#include <liang/liang.hpp>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "allocation_hooks.hpp"
#include "languages/Loader.hpp"

namespace {

using allocation_hooks::FailOneAllocation;
using liang::Language;

// How a child ends.
enum Outcome : int {
  kRecovered = 0,         // the k-th allocation failed, and the use then succeeded exactly
  kNoSuchAllocation = 1,  // the use made fewer than k allocations
  kWrongOutput = 2,
  kStillFailing = 3,
  kCrashed = 4,
};

// `use` gives its output, or throws std::bad_alloc when it ran out of memory.
using Use = std::function<std::vector<std::string>()>;

Outcome childOutcome(std::uint64_t k, const Use& use, const std::vector<std::string>& expected) {
  bool failed = false;
  {
    const FailOneAllocation failing(k);
    try {
      (void)use();
    } catch (const std::bad_alloc&) {
    }
    failed = failing.failed();
  }
  if (!failed) return kNoSuchAllocation;
  try {
    if (use() != expected) return kWrongOutput;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "k = %llu: the use fails after the failure: %s\n",
                 static_cast<unsigned long long>(k), e.what());
    return kStillFailing;
  }
  return kRecovered;
}

// Runs `use` in a child process for k = 1, 2, ... until it makes fewer than
// k allocations; every child must recover. Gives the largest k tried.
std::uint64_t everyFailurePointRecovers(const Use& use, const std::vector<std::string>& expected) {
  constexpr std::uint64_t kMost = 200000;  // far above any first use
  for (std::uint64_t k = 1; k <= kMost; ++k) {
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) std::_Exit(childOutcome(k, use, expected));
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child) {
      ADD_FAILURE() << "fork or waitpid failed";
      return k;
    }
    const int outcome = WIFEXITED(status) ? WEXITSTATUS(status) : kCrashed;
    if (outcome == kNoSuchAllocation) return k;
    if (outcome != kRecovered) {
      ADD_FAILURE() << "k = " << k << ": outcome " << outcome;
      return k;
    }
  }
  ADD_FAILURE() << "more than " << kMost << " allocations";
  return kMost;
}

// Words of the language's exception file and of its patterns alone.
const std::vector<std::u32string> kIndonesianWords = {U"beranda", U"Berandal", U"kebudayaan",
                                                      U"pemerintahan"};

std::vector<std::string> pieces(const liang::Hyphenator& h,
                                const std::vector<std::u32string>& words) {
  std::vector<std::string> out;
  for (const std::u32string& word : words) {
    std::string joined;
    for (const liang::Word& piece : liang::hyphenate(h, word)) {
      for (const char32_t c : piece) joined += static_cast<char>(c < 0x80 ? c : '?');
      joined += '|';
    }
    out.push_back(joined);
  }
  return out;
}

TEST(FirstUseFailure, TheSharedHyphenatorOfALanguageRecoversFromEveryFailedAllocation) {
  const std::vector<std::string> expected =
      pieces(liang::loadHyphenator(Language::Indonesian), kIndonesianWords);
  ASSERT_EQ(expected[0], "be|ran|da|");  // the exception file's own entry
  const std::uint64_t tried = everyFailurePointRecovers(
      [] { return pieces(liang::languageHyphenator(Language::Indonesian), kIndonesianWords); },
      expected);
  EXPECT_GT(tried, 20u);  // the load, the three files, the plan
}

// The failure of the last C call: std::bad_alloc when the C interface says
// it ran out of memory, else the message.
[[noreturn]] void throwLastError() {
  const std::string message = liang_last_error();
  if (message.find("bad_alloc") != std::string::npos ||
      message.find("memory") != std::string::npos) {
    throw std::bad_alloc();
  }
  throw std::runtime_error(message);
}

// Through C: liang_language, then a word and a text.
TEST(FirstUseFailure, TheCInterfaceRecoversFromEveryFailedAllocation) {
  constexpr std::string_view kWord = "software";
  constexpr std::string_view kText = "o software e o hardware, alcunhamente";
  const liang::Hyphenator fresh = liang::loadHyphenator(Language::Portuguese);
  const std::vector<std::string> expected = {liang::insertHyphens(fresh, kWord, "-"),
                                             liang::insertHyphens(fresh, kText, "-")};
  ASSERT_EQ(expected[0], "soft-ware");
  const std::uint64_t tried = everyFailurePointRecovers(
      [&]() -> std::vector<std::string> {
        const liang_hyphenator* h = liang_language("pt");
        if (h == nullptr) throwLastError();
        char out[128];
        std::vector<std::string> outputs;
        if (liang_hyphenate(h, kWord.data(), kWord.size(), "-", out, sizeof out) < 0) {
          throwLastError();
        }
        outputs.emplace_back(out);
        if (liang_insert_hyphens(h, kText.data(), kText.size(), "-", out, sizeof out) < 0) {
          throwLastError();
        }
        outputs.emplace_back(out);
        return outputs;
      },
      expected);
  EXPECT_GT(tried, 20u);
}

// zlib runs out of memory as the rest of the library does: with
// std::bad_alloc, never Error, at every allocation of an inflation.
TEST(FirstUseFailure, InflatingRunsOutOfMemoryAsBadAlloc) {
  const liang::internal::EmbeddedFile* file =
      liang::internal::findEmbeddedFile("hyph-id.pat.txt.gz", liang::internal::embeddedFiles());
  ASSERT_NE(file, nullptr);
  const std::string whole = liang::internal::inflateGzip(file->bytes);
  std::uint64_t k = 1;
  for (;; ++k) {
    const FailOneAllocation failing(k);
    try {
      EXPECT_EQ(liang::internal::inflateGzip(file->bytes), whole);
    } catch (const std::bad_alloc&) {
    } catch (const std::exception& e) {
      ADD_FAILURE() << "k = " << k << ": " << e.what();
    }
    if (!failing.failed()) break;
  }
  EXPECT_GE(k, 3u);  // zlib's state, its window or the output
}

}  // namespace
