// liang/hyphen/<language> against npm hyphen itself, on the examples of
// hyphen's README: the same four functions, options and results.
import assert from "node:assert/strict";
import { createRequire } from "node:module";
import { describe, test } from "node:test";

import * as liangDe from "liang/hyphen/de";
import * as liangEn from "liang/hyphen/en";

const require = createRequire(import.meta.url);
const hyphenEn = require("hyphen/en");
const hyphenDe = require("hyphen/de");

const king = "A certain king had a beautiful garden";
const konig = "Ein gewisser König hatte einen wunderschönen Garten";
const examples = [
  ["en", king, undefined],
  ["en", `<blockquote>${king}</blockquote>`, undefined],
  ["de", konig, undefined],
  ["en", king, { hyphenChar: "-" }],
  ["en", king, { minWordLength: 4, hyphenChar: "|" }],
  ["en", king, { exceptions: ["gar-den", "cert-ain", "beauti-ful"], hyphenChar: "-" }],
  ["de", `<p title="Wunderschönen">${konig}</p>`, { hyphenChar: "-" }],
];

describe("the hyphen drop-in gives npm hyphen's results", () => {
  for (const [code, text, options] of examples) {
    const [ours, theirs] = code === "en" ? [liangEn, hyphenEn] : [liangDe, hyphenDe];
    // hyphen's own async functions are not compared: they work in slices of
    // 10 ms, and where the first slice is over before it reads a word (the
    // process descheduled on a loaded machine) they resolve to the empty
    // text. Its sync functions give what the async ones otherwise do.
    test(`${code}: ${text.slice(0, 30)} ${JSON.stringify(options ?? {})}`, async () => {
      const expected = theirs.hyphenateSync(text, options);
      assert.equal(await ours.hyphenate(text, options), expected);
      assert.equal(ours.hyphenateSync(text, options), expected);
      const expectedHtml = theirs.hyphenateHTMLSync(text, options);
      assert.equal(await ours.hyphenateHTML(text, options), expectedHtml);
      assert.equal(ours.hyphenateHTMLSync(text, options), expectedHtml);
    });
  }

  test("the documented results", () => {
    assert.equal(liangEn.hyphenateSync(king, { hyphenChar: "-" }),
                 "A cer-tain king had a beau-ti-ful gar-den");
    assert.equal(liangDe.hyphenateSync(konig),
                 "Ein ge\u00ADwis\u00ADser Kö\u00ADnig hat\u00ADte ei\u00ADnen " +
                 "wun\u00ADder\u00ADschö\u00ADnen Gar\u00ADten");
  });

  test("bad arguments throw TypeError", () => {
    assert.throws(() => liangEn.hyphenateSync(5), TypeError);
    assert.throws(() => liangEn.hyphenateSync("x", { hyphenChar: 5 }), TypeError);
    assert.throws(() => liangEn.hyphenateSync("x", { exceptions: "gar-den" }), TypeError);
  });
});
