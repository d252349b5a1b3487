// Speed of liang against hypher and npm hyphen in Node: the same process,
// the same words, each library with its own minima (liang's equal hypher's
// for these languages; hyphen fixes 2 and 2) and used as its README says
// (hyphen: the per-language hyphenateSync with minWordLength 0, so that it
// hyphenates every word as the others do). Not part of CI.
//   cd js/bench && npm install && node bench.mjs [textMegabytes=40] [text] [patterns]
// ("text": the running text only; "patterns": per word on words made of
// pattern fragments rather than Debian's word lists, see words.mjs)
// Prints ns per word (per-word calls) and the running-text time, both in
// CPU time.
//
// Per word: every library first hyphenates a set of warm-up words (the JIT
// settles, liang and hypher build what they build on first use), then is
// timed on other words, each once per round, best of five rounds. hyphen
// keeps every word it has hyphenated in a cache of its hyphenator, so each
// round gets a fresh hyphenator warmed up on the warm-up words only; the
// cached figure, a word hyphenated before, is shown too. hyphen also keeps
// each word's breaks in the exceptions object of the patterns it was made
// from (its third entry), shared by every hyphenator made from them: a
// fresh one is made from a copy of the patterns whose exceptions are as
// the module shipped them.
import { createRequire } from "node:module";

import { load } from "../lib/index.js";
import { benchWords } from "./words.mjs";

const require = createRequire(import.meta.url);
const Hypher = require("hypher");
const hyphenContract = require("hyphen/export-contract.js");
const peers = { "en-us": "en-us", "de-1996": "de-1996", ru: "ru", hu: "hu" };
const hypherPatterns = { "en-us": "en-us", "de-1996": "de", ru: "ru", hu: "hu" };
const kRounds = 5;

// Milliseconds of CPU time of this process: the machines that run this are
// often shared, and a wall clock would count the time others took.
function cpu() {
  const { user, system } = process.cpuUsage();
  return (user + system) / 1000;
}

function pass(words, f) {
  const started = cpu();
  for (const w of words) f(w);
  return cpu() - started;
}

// Best time per word over the rounds; fresh() gives the function of a round.
function perWord(warmUp, words, fresh) {
  let best = Infinity;
  for (let round = 0; round < kRounds; ++round) {
    const f = fresh();
    pass(warmUp, f);
    best = Math.min(best, pass(words, f));
  }
  return (best * 1e6) / words.length;
}

const flags = process.argv.slice(3);
const textOnly = flags.includes("text");
const kind = flags.includes("patterns") ? "patterns" : "dictionary";

// The words (words.mjs): distinct, lowercase, warm-up words apart from the
// timed ones.
const wordSets = new Map();
for (const affix of textOnly ? [] : Object.keys(peers)) {
  const { source, words } = benchWords(affix, 60000, kind);
  console.log(`${affix}: ${words.length} words from ${source}`);
  wordSets.set(affix, [words.slice(0, 15000), words.slice(15000)]);
}

if (!textOnly) {
  console.log("per word, ns (lower is better); hyphen: fresh words, and (cached) words seen before");
  console.log("language  liang  hypher  hyphen (cached)  hypher/liang  hyphen/liang");
}
for (const [affix, peer] of textOnly ? [] : Object.entries(peers)) {
  const liang = await load(affix);
  const hypher = new Hypher(require(`hyphenation.${hypherPatterns[affix]}`));
  const patterns = require(`hyphen/patterns/${peer}.js`);
  const shippedExceptions = { ...patterns[2] };
  const [warmUp, words] = wordSets.get(affix);
  const options = { minWordLength: 0 };
  const l = perWord(warmUp, words, () => (w) => liang.hyphenate(w));
  const a = perWord(warmUp, words, () => (w) => hypher.hyphenate(w));
  const b = perWord(warmUp, words, () => {
    const { hyphenateSync } =
      hyphenContract([patterns[0], patterns[1], { ...shippedExceptions }]);
    return (w) => hyphenateSync(w, options);
  });
  const { hyphenateSync: cachedSync } = require(`hyphen/${peer}`);
  const cached = perWord(words, words, () => (w) => cachedSync(w, options));
  console.log(`${affix.padEnd(9)} ${l.toFixed(0).padStart(5)} ${a.toFixed(0).padStart(7)} ` +
              `${b.toFixed(0).padStart(7)} ${`(${cached.toFixed(0)})`.padStart(8)} ` +
              `${(a / l).toFixed(1).padStart(13)} ${(b / l).toFixed(1).padStart(13)}`);
}

// Running text: prose of English words (the same words as above),
// sentences of 5 to 16 words.
const megabytes = Number(process.argv[2] ?? 40);
const { words } = benchWords("en-us", 50000, kind);
const parts = [];
let size = 0;
for (let i = 0; size < megabytes * 1e6; ++i) {
  const sentence = [];
  for (let j = 0; j < 5 + (i % 12); ++j) sentence.push(words[(i * 7 + j * 13) % words.length]);
  const s = sentence.join(" ");
  const line = `${s[0].toUpperCase()}${s.slice(1)}. `;
  parts.push(line);
  size += line.length;
}
const text = parts.join("");
const en = await load("en-us");
const hyphenEn = require("hyphen/en-us");
// Best of three calls each (the first also grows the engine's memory, and
// fills hyphen's cache).
function best(f) {
  let fastest = Infinity;
  let out = null;
  for (let round = 0; round < 3; ++round) {
    const started = cpu();
    out = f();
    fastest = Math.min(fastest, cpu() - started);
  }
  return [fastest, out];
}
const [liangMs, ours] = best(() => en.insertHyphens(text));
const [hyphenMs, theirs] = best(() => hyphenEn.hyphenateSync(text));
console.log(`running text, ${(text.length / 1e6).toFixed(1)} M characters: liang ` +
            `${liangMs.toFixed(0)} ms, hyphen hyphenateSync ${hyphenMs.toFixed(0)} ms, ` +
            `${(hyphenMs / liangMs).toFixed(1)}x; outputs ${ours.length} and ${theirs.length} characters`);
