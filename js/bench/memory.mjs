// The engine's heap over 10 million calls: hyphenate, positions and
// insertHyphens on words and short texts of two languages. Prints the bytes
// in use by malloc and the wasm memory's size before and after. Not in CI
// (the test suite checks the same over 60,000 calls).
//   node memory.mjs [calls=10000000]
import { engine, heapInUse, load } from "../lib/index.js";

const calls = Number(process.argv[2] ?? 1e7);
const en = await load("en-us");
const hu = await load("hu");
const words = ["hyphenation", "Representation", "megszentségteleníthetetlenség", "x", ""];
const e = await engine();
const memory = () => e.exports.memory.buffer.byteLength;
// settle: each language builds its full pattern index (prepare), the
// buffers grow once
en.prepare();
hu.prepare();
for (let i = 0; i < 1000; ++i) {
  for (const language of [en, hu]) {
    language.hyphenate(words[i % 5]);
    language.insertHyphens(`${words[i % 5]} text`, { html: (i & 1) === 0 });
  }
}
const before = [await heapInUse(), memory()];
const started = performance.now();
for (let i = 0; i < calls; ++i) {
  const language = i & 1 ? en : hu;
  const word = words[i % words.length];
  if (i % 3 === 0) language.hyphenate(word);
  else if (i % 3 === 1) language.positions(word);
  else language.insertHyphens(`${word} and ${word}`, { html: (i & 4) !== 0 });
}
const seconds = (performance.now() - started) / 1000;
const after = [await heapInUse(), memory()];
console.log(`${calls} calls in ${seconds.toFixed(1)} s: heap in use ${before[0]} -> ${after[0]} B, ` +
            `wasm memory ${before[1]} -> ${after[1]} B`);
