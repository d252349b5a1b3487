// The package against the native liang tool: the same breaks on the words
// of ten languages, and the same running text on the sample documents.
import assert from "node:assert/strict";
import { readFileSync } from "node:fs";
import { describe, test } from "node:test";

import { load } from "liang";
import { languageWords, nativeText, nativeWords, skipWithoutTool } from "./support.mjs";

const languages = ["en-us", "de-1996", "fr", "ru", "hu", "pl", "nl", "el-monoton", "hi", "th"];

describe("words agree with the native tool", { skip: skipWithoutTool }, () => {
  for (const affix of languages) {
    test(affix, async () => {
      const language = await load(affix);
      const words = languageWords(affix);
      const expected = nativeWords(affix, words);
      // The tool hyphenates each word by the rules of running text, where
      // a combining mark stays with its letter, a hard hyphen ends a word and
      // a token that begins with one is left whole; the word function breaks
      // exactly the characters it is given, so it agrees on words of letters.
      for (let i = 0; i < words.length; ++i) {
        assert.equal(language.insertHyphens(words[i], { hyphen: "=" }), expected[i], words[i]);
        if (/^\p{L}+$/u.test(words[i])) {
          assert.equal(language.hyphenate(words[i]).join("="), expected[i], words[i]);
        }
      }
      // positions are where the pieces begin, in UTF-16 units.
      for (const word of words.slice(0, 200)) {
        const pieces = language.hyphenate(word);
        const positions = language.positions(word);
        let at = 0;
        assert.deepEqual(positions, pieces.slice(0, -1).map((p) => (at += p.length)));
      }
    });
  }
});

describe("words in the forms the engine takes apart agree with the native tool",
         { skip: skipWithoutTool }, () => {
  // Each word goes to the engine as UTF-16: a pair of surrogates is one
  // character, and the breaks come back as UTF-16 indices.
  test("letters beyond the BMP", async () => {
    const language = await load("en-us");
    const words = languageWords("en-us").filter((w) => /^\p{Ll}+$/u.test(w)).slice(0, 400)
      .map((w, i) => `${w.slice(0, i % 7)}\u{1D4B6}${w.slice(i % 7)}`); // U+1D4B6, a small letter
    const expected = nativeWords("en-us", words);
    for (let i = 0; i < words.length; ++i) {
      const pieces = language.hyphenate(words[i]);
      assert.equal(pieces.join("="), expected[i], words[i]);
      let at = 0;
      assert.deepEqual(language.positions(words[i]), pieces.slice(0, -1).map((p) => (at += p.length)));
    }
  });
  // The engine keeps the last hyphenator of a caller's minima: calls that
  // change language or minima, or go back to a language's own, must not
  // get another's.
  test("minima of the caller's, between calls that change them", async () => {
    const en = await load("en-us");
    const de = await load("de-1996");
    const letters = (affix) => languageWords(affix).filter((w) => /^\p{L}+$/u.test(w)).slice(0, 300);
    const [enWords, deWords] = [letters("en-us"), letters("de-1996")];
    const wide = ["--left", "3", "--right", "4"];
    const narrow = ["--left", "1", "--right", "1"];
    const expected = {
      enOwn: nativeWords("en-us", enWords), enWide: nativeWords("en-us", enWords, wide),
      deWide: nativeWords("de-1996", deWords, wide), deNarrow: nativeWords("de-1996", deWords, narrow),
    };
    for (let i = 0; i < 300; ++i) {
      assert.equal(en.hyphenate(enWords[i], { left: 3, right: 4 }).join("="), expected.enWide[i]);
      assert.equal(de.hyphenate(deWords[i], { left: 3, right: 4 }).join("="), expected.deWide[i]);
      assert.equal(en.hyphenate(enWords[i]).join("="), expected.enOwn[i]);
      assert.equal(de.hyphenate(deWords[i], { left: 1, right: 1 }).join("="), expected.deNarrow[i]);
    }
  });
});

// A long answer comes out of the engine in Latin-1 when all of it is
// Latin-1 (German), else in UTF-8 (Russian, and German with a character
// past U+00FF); a short one always in UTF-8.
describe("long text agrees with the native tool in either form of its answer",
         { skip: skipWithoutTool }, () => {
  const prose = (affix, extra = "") => {
    const words = languageWords(affix, 3000);
    const lines = [];
    for (let i = 0; i < words.length; i += 9) lines.push(`${words.slice(i, i + 9).join(" ")}.`);
    return `${lines.join("\n")}${extra}\n`;
  };
  for (const [name, affix, extra] of [["Latin-1", "de-1996", ""], ["UTF-8", "ru", ""],
                                      ["Latin-1 but for one character", "de-1996", " \u0101\u{1D4B6}"]]) {
    test(name, async () => {
      const language = await load(affix);
      const text = prose(affix, extra);
      assert.ok(text.length > 8192);
      assert.equal(language.insertHyphens(text, { hyphen: "=" }), nativeText(affix, text));
      assert.equal(language.insertHyphens(text, { hyphen: "\u00AD" }),
                   nativeText(affix, text).replaceAll("=", "\u00AD"));
    });
  }
});

test("a lone surrogate is U+FFFD to the engine, as TextEncoder makes it", async () => {
  const language = await load("en-us");
  for (const [lone, word] of [["\uD800", "hyphen\uD800ation"], ["\uDC00", "\uDC00hyphenation"],
                              ["\uDBFF", "hyphenation\uDBFF"]]) {
    const replaced = word.replace(lone, "\uFFFD");
    assert.deepEqual(language.positions(word), language.positions(replaced));
    assert.equal(language.hyphenate(word).join(""), word);
  }
});

const sample = (name) => readFileSync(new URL(`../../tests/data/${name}`, import.meta.url), "utf8");

describe("running text agrees with the native tool", { skip: skipWithoutTool }, () => {
  const cases = [
    ["plain text", "plain.txt", "en-us", {}, []],
    ["markup with lang, code and pre", "chapter.xhtml", "en-us", { html: true }, ["--html"]],
    ["minima and word length", "plain.txt", "en-us", { minWord: 6, left: 3, right: 4 },
      ["--min-word", "6", "--left", "3", "--right", "4"]],
    ["no capitals", "plain.txt", "en-us", { capitalized: false, allCaps: false },
      ["--no-capitalized", "--no-all-caps"]],
    ["German markup", "chapter.xhtml", "de", { html: true, minWord: 5 },
      ["--html", "--min-word", "5"]],
  ];
  for (const [name, file, affix, options, flags] of cases) {
    test(name, async () => {
      const text = sample(file);
      const language = await load(affix);
      // lang attributes reach only languages loaded, as in a build that
      // carries only those: load every one the document names.
      for (const [, tag] of text.matchAll(/\blang="([^"]+)"/g)) await load(tag).catch(() => {});
      assert.equal(language.insertHyphens(text, { hyphen: "=", ...options }),
                   nativeText(affix, text, flags));
    });
  }
});
