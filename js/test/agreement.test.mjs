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
