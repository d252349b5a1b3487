// The words the per-word benchmarks time: those of Debian's word list for
// the language, as the native benchmark (bench/languages_bench.cpp) takes
// them -- /usr/share/dict (wamerican, wngerman) or the stems of a hunspell
// dictionary (hunspell-ru, hunspell-hu) -- lowercased, letters only, each
// once, in an order shuffled with a fixed seed (a word list is sorted, and
// neighbours in it share the walk's first steps, which running text does
// not). Where no list is installed, or with `patterns`, the words that the
// tests make of the language's own pattern fragments (test/support.mjs):
// every word of them ends deep in the pattern trie, which makes them the
// hardest case for a walk over a large trie, and no language's real words.
import { existsSync, readFileSync } from "node:fs";

import { languageWords, random } from "../test/support.mjs";

const lists = {
  "en-us": "/usr/share/dict/american-english",
  "de-1996": "/usr/share/dict/ngerman",
  ru: "/usr/share/hunspell/ru_RU.dic",
  hu: "/usr/share/hunspell/hu_HU.dic",
};

// At most `most` words spread evenly over `words`.
function spread(words, most) {
  if (words.length <= most) return words;
  return Array.from({ length: most }, (_, k) => words[Math.floor((k * words.length) / most)]);
}

// { source, words }: at most `most` distinct lowercase words of `affix`.
// `kind`: "dictionary" (the default; patterns where there is none) or
// "patterns".
export function benchWords(affix, most = 60000, kind = "dictionary") {
  const list = lists[affix];
  if (kind === "patterns" || !list || !existsSync(list)) {
    const words = [...new Set(languageWords(affix, most).map((w) => w.toLowerCase()))];
    return { source: "pattern fragments", words: words.slice(0, most) };
  }
  const hunspell = list.endsWith(".dic");
  const unique = new Set();
  for (let line of readFileSync(list, "utf8").split("\n")) {
    // A hunspell stem ends at its flags ("/...") or morphology (a tab).
    if (hunspell) line = line.split(/[/\t]/)[0];
    const word = line.trim().toLowerCase();
    if (word.length >= 2 && /^\p{L}+$/u.test(word)) unique.add(word);
  }
  const words = spread([...unique], most);
  const next = random(affix.length * 7919 + words.length);
  for (let i = words.length - 1; i > 0; --i) {
    const j = Math.floor(next() * (i + 1));
    [words[i], words[j]] = [words[j], words[i]];
  }
  // Fresh strings, made in the order they are timed, as a text's words are
  // when it is split as it is read: the list's own strings lie where its
  // lines did, and shuffled, every word would be a cache miss for every
  // library (some 100 ns a word).
  return { source: list, words: JSON.parse(JSON.stringify(words)) };
}
