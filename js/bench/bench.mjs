// Speed of liang against hypher and npm hyphen in Node: the same process,
// the same words, each library with its own minima (liang's equal the
// peers' for these languages). Not part of CI.
//   cd js/bench && npm install && node bench.mjs [textMegabytes=40]
// Prints ns per word (per-word calls) and the running-text time.
import { createRequire } from "node:module";

import { load } from "../lib/index.js";
import { languageWords } from "../test/support.mjs";

const require = createRequire(import.meta.url);
const Hypher = require("hypher");
const peers = { "en-us": "en-us", "de-1996": "de", ru: "ru", hu: "hu" };

function time(words, f, minimum = 400) {
  for (let i = 0; i < 2; ++i) for (const w of words) f(w); // warm up
  let calls = 0;
  const started = performance.now();
  let elapsed = 0;
  while (elapsed < minimum) {
    for (const w of words) f(w);
    calls += words.length;
    elapsed = performance.now() - started;
  }
  return (elapsed * 1e6) / calls;
}

console.log("per word, ns (lower is better)");
console.log("language  liang  hypher  hyphen  hypher/liang  hyphen/liang");
for (const [affix, peer] of Object.entries(peers)) {
  const liang = await load(affix);
  const hypher = new Hypher(require(`hyphenation.${peer}`));
  const hyphen = require(`hyphen/${peer}`);
  const words = languageWords(affix, 20000).map((w) => w.toLowerCase());
  const l = time(words, (w) => liang.hyphenate(w));
  const a = time(words, (w) => hypher.hyphenate(w));
  const b = time(words, (w) => hyphen.hyphenateSync(w, { minWordLength: 0 }));
  console.log(`${affix.padEnd(9)} ${l.toFixed(0).padStart(5)} ${a.toFixed(0).padStart(7)} ` +
              `${b.toFixed(0).padStart(7)} ${(a / l).toFixed(1).padStart(13)} ` +
              `${(b / l).toFixed(1).padStart(13)}`);
}

// Running text: prose of words of the language, sentences of 5 to 16 words.
const megabytes = Number(process.argv[2] ?? 40);
const words = languageWords("en-us", 50000).map((w) => w.toLowerCase());
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
let started = performance.now();
const ours = en.insertHyphens(text);
const liangMs = performance.now() - started;
started = performance.now();
const theirs = hyphenEn.hyphenateSync(text);
const hyphenMs = performance.now() - started;
console.log(`running text, ${(text.length / 1e6).toFixed(1)} M characters: liang ` +
            `${liangMs.toFixed(0)} ms, hyphen hyphenateSync ${hyphenMs.toFixed(0)} ms, ` +
            `${(hyphenMs / liangMs).toFixed(1)}x; outputs ${ours.length} and ${theirs.length} characters`);
