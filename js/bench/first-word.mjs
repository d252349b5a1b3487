// Time to the first word in a fresh Node process: import, load the
// language, hyphenate one word; each library in its own process, best of
// five runs. Not part of CI.
//   cd js/bench && npm install && node first-word.mjs
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

console.log("first word in a fresh process, ms (best of 11)");
for (const [lang, word] of Object.entries(words)) {
  const row = [];
  for (const [name, program] of Object.entries(programs)) {
    const script = `const started = performance.now(); ${program(lang, word)}
      console.log(performance.now() - started);`;
    let best = Infinity;
    for (let i = 0; i < 11; ++i) {
      const out = execFileSync(process.execPath, ["--input-type=module", "-e", script],
                               { cwd: new URL(".", import.meta.url), encoding: "utf8" });
      best = Math.min(best, Number(out));
    }
    row.push(`${name} ${best.toFixed(1)}`);
  }
  console.log(`${lang}: ${row.join(", ")}`);
}
