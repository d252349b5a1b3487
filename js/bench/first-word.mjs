// Time to the first word in a fresh Node process: import, load the
// language, hyphenate one word; each library in its own process. The
// processes take turns, so that a busy machine slows every library alike;
// each figure is the median of the runs, in CPU time (every thread of the
// process, which includes V8 compiling in the background) and in wall time.
// Not part of CI.
//   cd js/bench && npm install && node first-word.mjs [runs]
import { execFileSync } from "node:child_process";

const programs = {
  liang: (lang, word) => `const { load } = await import("../lib/index.js");
    const l = await load(${JSON.stringify(lang)}); l.hyphenate(${JSON.stringify(word)});`,
  hypher: (lang, word) => `const { createRequire } = await import("node:module");
    const require = createRequire(import.meta.url); const Hypher = require("hypher");
    const h = new Hypher(require("hyphenation.${lang}")); h.hyphenate(${JSON.stringify(word)});`,
  hyphen: (lang, word) => `const { createRequire } = await import("node:module");
    const require = createRequire(import.meta.url);
    require("hyphen/${lang}").hyphenateSync(${JSON.stringify(word)});`,
};
const words = { "en-us": "hyphenation", hu: "megszentségteleníthetetlenség" };
const runs = Number(process.argv[2] ?? 15);

const median = (values) => {
  const sorted = [...values].sort((a, b) => a - b);
  const middle = sorted.length >> 1;
  return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
};

console.log(`first word in a fresh process, ms, median of ${runs}: CPU (wall)`);
for (const [lang, word] of Object.entries(words)) {
  const samples = Object.fromEntries(Object.keys(programs).map((name) => [name, []]));
  for (let i = 0; i < runs; ++i) {
    for (const [name, program] of Object.entries(programs)) {
      const script = `const cpu = process.cpuUsage(); const started = performance.now();
        ${program(lang, word)}
        const used = process.cpuUsage(cpu);
        console.log((used.user + used.system) / 1000, performance.now() - started);`;
      const out = execFileSync(process.execPath, ["--input-type=module", "-e", script],
                               { cwd: new URL(".", import.meta.url), encoding: "utf8" });
      samples[name].push(out.trim().split(" ").map(Number));
    }
  }
  const row = Object.entries(samples).map(([name, s]) =>
    `${name} ${median(s.map((x) => x[0])).toFixed(1)} (${median(s.map((x) => x[1])).toFixed(1)})`);
  console.log(`${lang}: ${row.join(", ")}`);
}
