// Hyphenopoly's first use in this fresh Node process: configuring it for one
// language (which reads and instantiates that language's .wasm, whose trie
// ships prebuilt) and hyphenating one word, in the process's CPU time (all
// its threads: the WebAssembly compilers included) and in wall time.
//
//   node first_use.mjs LANG WORD   (after npm install here)
//
// Prints "hyphenopoly LANG CPU_NANOSECONDS WALL_NANOSECONDS HYPHENATED".
// The module is imported before the clock starts, as liang's library is
// loaded before fresh_first_use starts its own.
import { readFileSync } from "node:fs";
import hyphenopoly from "hyphenopoly";

const [lang, word] = process.argv.slice(2);
const cpuBefore = process.cpuUsage();
const wallBefore = process.hrtime.bigint();
const hyphenators = hyphenopoly.config({
  sync: true,
  require: [lang],
  hyphen: "-",
  minWordLength: 4,
  loaderSync: (file, patternDir) => readFileSync(new URL(file, patternDir)),
});
const hyphenated = hyphenators.get(lang)(word);
const wall = process.hrtime.bigint() - wallBefore;
const cpu = process.cpuUsage(cpuBefore);
console.log(`hyphenopoly ${lang} ${(cpu.user + cpu.system) * 1000} ${wall} ${hyphenated}`);
