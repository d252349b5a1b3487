// What the tests share: the native liang tool, the peer of every agreement
// test, and words made from a language's own data.
import { spawnSync } from "node:child_process";
import { existsSync, readFileSync } from "node:fs";
import { gunzipSync } from "node:zlib";

// The native tool: LIANG_TOOL, else the tool preset's build. null when
// neither exists (the agreement tests are then skipped, except in CI, which
// sets LIANG_TOOL and so fails instead).
export const tool = (() => {
  const path = process.env.LIANG_TOOL ??
    new URL("../../build/tool/tools/liang", import.meta.url).pathname;
  if (existsSync(path)) return path;
  if (process.env.LIANG_TOOL) throw new Error(`LIANG_TOOL=${path} does not exist`);
  return null;
})();

export const skipWithoutTool = tool ? false : "the native liang tool is not built";

function run(args, input) {
  const result = spawnSync(tool, args, { input, encoding: "utf8", maxBuffer: 1 << 28 });
  if (result.status !== 0) throw new Error(`liang ${args.join(" ")}: ${result.stderr}`);
  return result.stdout;
}

// The native tool's breaks of each word, with "=" at each; `flags` are
// its options (--left ...).
export function nativeWords(language, words, flags = []) {
  const lines = [];
  for (let i = 0; i < words.length; i += 2000) {
    const chunk = words.slice(i, i + 2000);
    lines.push(...run(["-l", language, "-s", "=", ...flags, "--", ...chunk], "").split("\n")
      .slice(0, chunk.length));
  }
  return lines;
}

// The native tool's running text: `flags` are its options (--html ...).
export function nativeText(language, text, flags = []) {
  return run(["-l", language, "-s", "=", ...flags], text);
}

export function dataText(affix, kind) {
  const file = new URL(`../../data/hyph-${affix}.${kind}.txt.gz`, import.meta.url);
  return gunzipSync(readFileSync(file)).toString("utf8");
}

// A deterministic generator (mulberry32).
export function random(seed) {
  let a = seed >>> 0;
  return () => {
    a = (a + 0x6d2b79f5) >>> 0;
    let t = a;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
}

// Words of a language from its own data, as the C++ tests make them: the
// letter runs of its patterns joined by twos and threes (some capitalised
// or in capitals), and the words of its exception list.
export function languageWords(affix, count = 3000) {
  const runs = dataText(affix, "pat").split(/\s+/)
    .map((p) => p.replace(/[0-9.]/g, "")).filter((r) => r.length > 0);
  const next = random(affix.length * 7919 + count);
  const pick = () => runs[Math.floor(next() * runs.length)];
  const words = [];
  for (let i = 0; i < count; ++i) {
    let word = pick() + pick() + (next() < 0.5 ? pick() : "");
    const shape = next();
    if (shape < 0.1) word = word.toUpperCase();
    else if (shape < 0.25) word = word[0].toUpperCase() + word.slice(1);
    words.push(word);
  }
  for (const entry of dataText(affix, "hyp").split(/\s+/)) {
    if (entry) words.push(entry.replace(/-/g, ""));
  }
  return words;
}
