// liang: the pattern trie of Liang's method.
//
// A Patterns value is one node of a trie -- a score list and a map from code
// point to child -- and a trie is its root. Pattern text holds one pattern per
// line: letters with single digits between them, such as "a1b", ".ach4" or
// "n2t."; a digit scores the boundary at its place.
//
// Guarantees:
//  - Patterns is an immutable value. Copying is O(1) and copies share all
//    structure; insertPattern and merge leave their inputs unchanged and share
//    the subtrees they do not touch.
//  - Any number of threads may use one trie at once without locking. The
//    compact lookup form of a trie assembled by insertPattern, merge or the
//    node constructor is built once, on its first lookup, and then shared.
//    A trie of more than 4,096 nodes is hyphenated by walking it until it
//    has served about a quarter as many words as it has nodes; the call that
//    reaches that count builds its automaton, which serves every later one
//    (prepare, in Hyphenator.hpp, builds both ahead of time). Neither build
//    keeps a failure (for want of memory): a lookup form that fails throws
//    to the caller that needed it and is built again by the next; an
//    automaton that fails leaves the walk to serve, exactly, and is tried
//    again at twice the count.
//  - No operation recurses on the input: a pattern line of a million letters
//    parses, looks up, merges, compares, renders and is destroyed safely.
//  - parsePatterns runs in time linear in the text; lookupPattern in time
//    linear in the word length times the depth of the longest matching path,
//    with no allocation besides its result.
#ifndef LIANG_PATTERN_HPP_
#define LIANG_PATTERN_HPP_

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "liang/Types.hpp"
#include "liang/export.h"

namespace liang {

namespace internal {
class PatternNodes;
struct PatternsAccess;
}  // namespace internal

LIANG_PUBLIC_BEGIN

class Patterns {
 public:
  // The empty trie, same as emptyPatterns(). Allocates nothing.
  Patterns() noexcept = default;

  // One node from its score list and its children, in field order.
  Patterns(Scores scores, std::map<char32_t, Patterns> children);

  // Same tree shape, same keys, same score lists.
  friend bool operator==(const Patterns& a, const Patterns& b);

 private:
  friend struct internal::PatternsAccess;
  explicit Patterns(std::shared_ptr<const internal::PatternNodes> nodes) noexcept
      : nodes_(std::move(nodes)) {}

  // The node store whose node 0 is this trie's root; null for the empty trie.
  std::shared_ptr<const internal::PatternNodes> nodes_;
};

// Declared again out here: a friend declaration alone takes no visibility
// from LIANG_PUBLIC_BEGIN, so the shared library would not export it.
bool operator==(const Patterns& a, const Patterns& b);

// The trie with an empty score list and no children.
Patterns emptyPatterns() noexcept;

// The score list of one pattern line: a digit scores the boundary at its
// place, every other boundary scores 0.
Scores scorePattern(std::u32string_view line);

// `trie` with the pattern of `line` added; its score list replaces any that
// the node of those letters had.
Patterns insertPattern(std::u32string_view line, const Patterns& trie);

// The trie of every line of `text` (split at line feeds). When two lines
// have the same letters, the upper line decides. Never fails.
Patterns parsePatterns(std::u32string_view text);
// The same from UTF-8 text, decoded as the embedded files are: an ill-formed
// byte is the character of its value (U+0080..U+00FF).
Patterns parsePatterns(std::string_view utf8Text);

// The score of every boundary of `word`: entry p is the boundary before
// character p; n or n + 1 entries for a word of n characters.
Scores lookupPattern(std::u32string_view word, const Patterns& trie);

// One trie holding the patterns of both; equal letter paths combine their
// score lists by the larger entry. Commutative, associative, idempotent.
Patterns merge(const Patterns& a, const Patterns& b);

// The merge of all tries, folded from the right; empty input gives the empty trie.
Patterns mergeAll(const std::vector<Patterns>& tries);

// The merge of n copies of `trie` (which is `trie` itself); throws Error for n <= 0.
Patterns mergeTimes(std::int64_t n, const Patterns& trie);

// Diagnostic rendering, UTF-8, such as
//   Patterns [] (fromList [(97,Patterns [0,1] (fromList []))])
// wrapped in parentheses when `precedence` is above 10.
std::string show(const Patterns& trie, int precedence = 0);

// The bracketed, comma-separated renderings of the tries.
std::string show(const std::vector<Patterns>& tries);

// All elements but the last, and the last; nothing for an empty sequence.
template <class T>
std::optional<std::pair<std::vector<T>, T>> unsnoc(std::vector<T> xs) {
  if (xs.empty()) return std::nullopt;
  T last = std::move(xs.back());
  xs.pop_back();
  return std::pair<std::vector<T>, T>(std::move(xs), std::move(last));
}

LIANG_PUBLIC_END
}  // namespace liang

#endif  // LIANG_PATTERN_HPP_
