// The merge family, show and == on fuzzed tries and dictionaries.
//
// Input: a mode byte, a count for mergeTimes (see Input::minimum), then
// three pattern texts and three exception texts, separated by NUL bytes.
// The mode decides whether the second trie is parsed or assembled by
// insertPattern, whose tries share structure with earlier versions.
//
// Invariants, for both kinds of value: merge is commutative, associative
// and idempotent, and the empty value is its identity; mergeAll folds merge
// from the right; mergeTimes(n, x) == x for n >= 1 and throws for n <= 0;
// show wraps in parentheses above precedence 10 and lists sequences in
// brackets; equal values show alike. A merged trie is, node for node, the
// model's merge of the two tries (scores combined by the larger entry), and
// looks words up as that model does; a merged dictionary holds every word
// of both, a word of both with the zipMin of its two lists.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "FuzzSupport.hpp"
#include "reference_model.hpp"

namespace {

using liang::Exceptions;
using liang::Patterns;
using liang::Scores;

constexpr std::size_t kMaxInputBytes = 6144;
constexpr std::size_t kMaxWordLength = 48;
constexpr std::size_t kMaxWords = 64;

std::unique_ptr<reference::Node> clone(const reference::Node& node) {
  auto copy = std::make_unique<reference::Node>();
  copy->scores = node.scores;
  for (const auto& [key, child] : node.children) copy->children.emplace(key, clone(*child));
  return copy;
}

std::unique_ptr<reference::Node> modelMerge(const reference::Node& a, const reference::Node& b) {
  auto merged = clone(a);
  merged->scores = reference::combine(a.scores, b.scores);
  for (const auto& [key, child] : b.children) {
    auto it = merged->children.find(key);
    if (it == merged->children.end()) {
      merged->children.emplace(key, clone(*child));
    } else {
      it->second = modelMerge(*a.children.at(key), *child);
    }
  }
  return merged;
}

template <class T>
void checkAlgebra(const T& a, const T& b, const T& c, const T& empty, std::int64_t count) {
  const T ab = liang::merge(a, b);
  FUZZ_CHECK(ab == liang::merge(b, a));
  FUZZ_CHECK(liang::show(ab) == liang::show(liang::merge(b, a)));
  const T abc = liang::merge(ab, c);
  FUZZ_CHECK(abc == liang::merge(a, liang::merge(b, c)));
  FUZZ_CHECK(abc == liang::merge(liang::merge(a, c), b));
  FUZZ_CHECK(liang::merge(a, a) == a);
  FUZZ_CHECK(liang::merge(ab, a) == ab);
  FUZZ_CHECK(liang::merge(a, empty) == a);
  FUZZ_CHECK(liang::merge(empty, a) == a);

  FUZZ_CHECK(liang::mergeAll(std::vector<T>{}) == empty);
  FUZZ_CHECK(liang::mergeAll(std::vector<T>{a}) == a);
  FUZZ_CHECK(liang::mergeAll(std::vector<T>{a, b, c}) == abc);
  FUZZ_CHECK(liang::mergeAll(std::vector<T>{c, b, a, b}) == abc);

  bool threw = false;
  try {
    FUZZ_CHECK(liang::mergeTimes(count, a) == a);
  } catch (const liang::Error&) {
    threw = true;
  }
  FUZZ_CHECK(threw == (count <= 0));

  const std::string shownA = liang::show(a), shownB = liang::show(b);
  FUZZ_CHECK(liang::show(a, 11) == "(" + shownA + ")");
  FUZZ_CHECK(liang::show(a, 10) == shownA);
  FUZZ_CHECK(liang::show(std::vector<T>{a, b}) == "[" + shownA + "," + shownB + "]");
  FUZZ_CHECK(liang::show(std::vector<T>{}) == "[]");
  if (a == b) FUZZ_CHECK(shownA == shownB);
  FUZZ_CHECK(a == a);
  FUZZ_CHECK((a == b) == (b == a));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxInputBytes) return 0;
  fuzz::Input input(data, size);
  const std::uint8_t mode = input.byte();
  const std::int64_t count = input.minimum();
  std::u32string patternTexts[3], exceptionTexts[3];
  for (auto& text : patternTexts) text = fuzz::codePoints(input.field());
  for (auto& text : exceptionTexts) text = fuzz::codePoints(input.field());

  // Patterns.
  Patterns tries[3];
  for (int k = 0; k < 3; ++k) tries[k] = liang::parsePatterns(patternTexts[k]);
  if (mode & 1) {
    const auto lines = reference::lines(patternTexts[1]);
    Patterns built;
    for (auto it = lines.rbegin(); it != lines.rend(); ++it)
      built = liang::insertPattern(*it, built);
    FUZZ_CHECK(built == tries[1]);
    tries[1] = built;
  }
  checkAlgebra(tries[0], tries[1], tries[2], liang::emptyPatterns(), count);
  // show renders every node with its scores and its keys in decimal, so it
  // tells tries apart exactly when == does.
  FUZZ_CHECK((tries[0] == tries[1]) == (liang::show(tries[0]) == liang::show(tries[1])));

  const auto modelA = reference::parse(patternTexts[0]);
  const auto modelB = reference::parse(patternTexts[1]);
  const auto modelMerged = modelMerge(*modelA, *modelB);
  const Patterns merged = liang::merge(tries[0], tries[1]);
  FUZZ_CHECK(merged == reference::assemble(*modelMerged));
  std::vector<std::u32string> words;
  for (const auto& text : {patternTexts[0], patternTexts[1]}) {
    for (const auto& line : reference::lines(text)) words.push_back(reference::lettersOf(line));
  }
  if (words.size() > kMaxWords) words.resize(kMaxWords);
  for (std::u32string& word : words) {
    if (word.size() > kMaxWordLength) word.resize(kMaxWordLength);
    FUZZ_CHECK(liang::lookupPattern(word, merged) == reference::lookup(word, *modelMerged));
  }

  // Exceptions.
  Exceptions ds[3];
  for (int k = 0; k < 3; ++k) ds[k] = liang::parseExceptions(exceptionTexts[k]);
  checkAlgebra(ds[0], ds[1], ds[2], liang::emptyExceptions(), count);
  FUZZ_CHECK(liang::mergeAll(ds[0], {ds[1], ds[2]}) == liang::mergeAll({ds[0], ds[1], ds[2]}));
  FUZZ_CHECK(liang::mergeAll(ds[0], {}) == ds[0]);

  const Exceptions mergedDs = liang::merge(ds[0], ds[1]);
  std::set<std::u32string> keys;
  for (int k = 0; k < 2; ++k) {
    for (const auto& line : reference::lines(exceptionTexts[k]))
      keys.insert(fuzz::withoutBreakMarks(line));
  }
  // A word with a "-" is the key of no entry, in either input or the merge.
  keys.insert(U"\x10FFFF-not-a-key");
  for (const auto& key : keys) {
    const std::optional<Scores> inA = liang::lookupException(key, ds[0]);
    const std::optional<Scores> inB = liang::lookupException(key, ds[1]);
    const std::optional<Scores> inMerged = liang::lookupException(key, mergedDs);
    if (inA && inB) {
      FUZZ_CHECK(inMerged && *inMerged == liang::zipMin(*inA, *inB));
    } else if (inA || inB) {
      FUZZ_CHECK(inMerged && *inMerged == (inA ? *inA : *inB));
    } else {
      FUZZ_CHECK(!inMerged);
    }
  }
  return 0;
}
