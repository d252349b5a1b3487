// The pinned calls, the errors, many languages at once and the heap.
import assert from "node:assert/strict";
import { cpSync, mkdirSync, mkdtempSync, readFileSync, rmSync, symlinkSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { describe, test } from "node:test";
import { gunzipSync, gzipSync } from "node:zlib";

import { heapInUse, languages, load } from "liang";
import { languageWords, nativeWords, skipWithoutTool } from "./support.mjs";

describe("the pinned calls", () => {
  test("load, hyphenate, positions, insertHyphens", async () => {
    const de = await load("de");
    assert.deepEqual(de.hyphenate("Silbentrennung"), ["Sil", "ben", "tren", "nung"]);
    assert.deepEqual(de.positions("Silbentrennung"), [3, 6, 10]);
    assert.equal(de.insertHyphens("Silbentrennung", { hyphen: "-" }), "Sil-ben-tren-nung");
    assert.equal(de.insertHyphens("Silbentrennung"), "Sil\u00ADben\u00ADtren\u00ADnung");
    assert.equal(de.insertHyphens("Silbentrennung", {
      hyphen: "\u00AD", html: false, minWord: 0, left: 2, right: 2, capitalized: true,
      allCaps: true,
    }), "Sil\u00ADben\u00ADtren\u00ADnung");
    assert.equal(de.insertHyphens("Silbentrennung", { capitalized: false }), "Silbentrennung");
    assert.equal(de.tag, "de-1996");
    assert.equal(await load("German"), de, "a language is loaded once");
    assert.equal(await load("de_DE.UTF-8"), de);
  });

  test("positions count UTF-16 units", async () => {
    const en = await load("en-us");
    const word = "\u{1D4D7}hyphenation"; // a letter outside the BMP, two units
    const pieces = en.hyphenate(word);
    assert.equal(pieces.join(""), word);
    let at = 0;
    assert.deepEqual(en.positions(word), pieces.slice(0, -1).map((p) => (at += p.length)));
    assert.deepEqual(en.hyphenate(""), [""]);
  });

  test("languages() lists all 73 with their minima", () => {
    const all = languages();
    assert.equal(all.length, 73);
    assert.deepEqual(all.find((l) => l.tag === "de-1996"),
                     { tag: "de-1996", name: "German_1996", left: 2, right: 2 });
    assert.equal(new Set(all.map((l) => l.tag)).size, 73);
    all[0].tag = "changed"; // a copy: the catalogue stays as it is
    assert.notEqual(languages()[0].tag, "changed");
  });
});

describe("errors", () => {
  test("an unknown language rejects with an Error that names it", async () => {
    await assert.rejects(load("klingon"), (e) => e instanceof Error && !(e instanceof TypeError) &&
                                               e.message.includes("klingon"));
    await assert.rejects(load("ja"), /"ja"/);
  });
  test("bad arguments throw TypeError", async () => {
    const en = await load("en");
    await assert.rejects(load(42), TypeError);
    for (const call of [
      () => en.hyphenate(42), () => en.positions(null), () => en.insertHyphens(undefined),
      () => en.insertHyphens("x", { hyphen: 1 }), () => en.insertHyphens("x", { left: -1 }),
      () => en.insertHyphens("x", { minWord: 1.5 }), () => en.insertHyphens("x", { html: "yes" }),
      () => en.insertHyphens("x", "options"), () => en.hyphenate("x", { right: -2 }),
    ]) {
      assert.throws(call, TypeError);
    }
  });
});

// A copy of the package whose data/ holds the given files, imported afresh
// (an engine of its own).
async function packageWith(files) {
  const dir = mkdtempSync(join(tmpdir(), "liang-"));
  const own = (path) => new URL(`../${path}`, import.meta.url);
  cpSync(own("lib"), join(dir, "lib"), { recursive: true });
  mkdirSync(join(dir, "dist"));
  symlinkSync(own("dist/liang.wasm").pathname, join(dir, "dist", "liang.wasm"));
  mkdirSync(join(dir, "data"));
  for (const [name, bytes] of Object.entries(files)) writeFileSync(join(dir, "data", name), bytes);
  return { module: await import(join(dir, "lib", "index.js")), remove: () => rmSync(dir, { recursive: true }) };
}

test("a language file is read raw or gzip alike, and a damaged one rejects naming it", async () => {
  const file = (tag) => readFileSync(new URL(`../data/${tag}.liang`, import.meta.url));
  const hu = gunzipSync(file("hu")); // gzip in the package, as a large file
  const en = file("en-us"); // raw in the package
  assert.notEqual(hu[0], 0x1f);
  assert.equal(en[0] === 0x1f && en[1] === 0x8b, false);
  const { module, remove } = await packageWith({
    "hu.liang": hu, "en-us.liang": gzipSync(en), "de-1996.liang": file("de-1996").subarray(0, 1000),
    "ru.liang": Buffer.concat([file("ru"), Buffer.from([0])]), "fr.liang": Buffer.alloc(3),
  });
  try {
    const words = { hu: "megszentségteleníthetetlenség", "en-us": "hyphenation" };
    for (const [tag, word] of Object.entries(words)) {
      assert.deepEqual((await module.load(tag)).hyphenate(word), (await load(tag)).hyphenate(word));
    }
    for (const tag of ["de-1996", "ru", "fr"]) {
      await assert.rejects(module.load(tag), new RegExp(`the language file .*${tag}\\.liang is damaged`));
    }
    await assert.rejects(module.load("it"), /could not|ENOENT/); // no file at all
  } finally {
    remove();
  }
});

describe("many languages at once", { skip: skipWithoutTool }, () => {
  test("all 73 loaded together, each hyphenating as the native tool", async () => {
    const all = await Promise.all(languages().map((l) => load(l.tag)));
    const samples = all.map((l) => languageWords(l.tag, 20));
    // interleaved, so that each call must find its own language
    for (let round = 0; round < 20; ++round) {
      for (let i = 0; i < all.length; ++i) {
        const word = samples[i][round];
        samples[i][round] = [word, all[i].insertHyphens(word, { hyphen: "=" })];
      }
    }
    for (let i = 0; i < all.length; ++i) {
      const words = samples[i].slice(0, 20).map(([w]) => w);
      assert.deepEqual(samples[i].slice(0, 20).map(([, h]) => h), nativeWords(all[i].tag, words),
                       all[i].tag);
    }
  });
});

test("the engine frees what it allocates", async () => {
  const en = await load("en-us");
  en.prepare(); // the full pattern index, otherwise built after many words
  const words = ["hyphenation", "Representation", "x", "", "antidisestablishmentarianism".repeat(8)];
  const text = "Hyphenation of <b>documentation</b> &amp; representation. ".repeat(50);
  const round = () => {
    for (let i = 0; i < 20000; ++i) {
      en.hyphenate(words[i % words.length]);
      if (i % 100 === 0) en.insertHyphens(text, { html: i % 200 === 0 });
    }
    assert.throws(() => en.insertHyphens(text, { left: -1 }), TypeError);
  };
  round(); // the first round settles the buffers
  const before = await heapInUse();
  round();
  round();
  assert.equal(await heapInUse(), before);
});

// Words go into the engine as UTF-8 that JavaScript writes itself; it must
// be TextEncoder's, lone surrogates (U+FFFD) included.
test("words are written into the engine as TextEncoder writes them", async () => {
  const { engine } = await import("../lib/index.js");
  const e = await engine();
  const samples = ["", "abc", "Grüße", "Ünnep", "ő\u0301", "сло́во", "ﬁ", "日本語",
    "\u{1F600}x\u{10FFFF}", "a\uD800b", "\uDC00", "x\uD83D", "\uD83D\uDE00\uDE00",
    "\u07FF\u0800\uFFFF", "é".repeat(300)];
  const encoder = new TextEncoder();
  for (const text of samples) {
    const size = e.write(text);
    e.refresh();
    assert.deepEqual(e.heap.slice(e.scratch, e.scratch + size), encoder.encode(text), text);
  }
});

// Long texts go in through TextEncoder, short ones as JavaScript writes
// them, and the hyphen is kept between calls: a long text must come out as
// its lines, each hyphenated alone, with one hyphen and then another.
test("long and short texts, and a hyphen that changes", async () => {
  const de = await load("de");
  const lines = [];
  for (let i = 0; lines.join("\n").length < 100000; ++i) {
    lines.push(`Größenordnung ${i} der Silbentrennung 🙂 für Übungsaufgaben \uD800 im Straßenbahnverkehr`);
  }
  for (const hyphen of ["=", "\u00AD", "=", "--"]) {
    const whole = de.insertHyphens(lines.join("\n"), { hyphen });
    assert.equal(whole, lines.map((line) => de.insertHyphens(line, { hyphen })).join("\n"));
    assert.ok(whole.includes(`Grö${hyphen}ßen`), hyphen);
  }
});
