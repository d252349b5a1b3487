// hyphenateElement in a real browser: Debian's chromium, headless, loads
// test/browser/page.html from a server on 127.0.0.1 and dumps the DOM once
// the page's script has run; the words must carry the native tool's breaks
// in the language of their nearest lang, and code, pre and lang="zxx" text
// must stay as it was. Skipped where there is no chromium (set
// LIANG_CHROMIUM to a browser's path; CI sets it, so fails instead).
import assert from "node:assert/strict";
import { existsSync } from "node:fs";
import { test } from "node:test";

import { dumpDom, serve } from "./server.mjs";
import { nativeWords, skipWithoutTool } from "./support.mjs";

const chromium = process.env.LIANG_CHROMIUM ?? "/usr/bin/chromium";
const skip = !existsSync(chromium) ? `no browser at ${chromium}` : skipWithoutTool;

// The native tool's breaks, with "=".
const h = (language, ...words) => nativeWords(language, words).join(" ");

test("hyphenateElement in headless Chromium", { skip, timeout: 120000 }, async () => {
  // The page's image /hold is answered once the page has posted /done (or
  // after a minute), which keeps its load event, and so --dump-dom,
  // waiting in real time for the asynchronous work.
  let release;
  const done = new Promise((resolve) => { release = resolve; });
  const fallback = setTimeout(release, 60000);
  const server = await serve((request, response) => {
    if (request.url === "/done") {
      response.end();
      release();
      return true;
    }
    if (request.url === "/hold") {
      done.then(() => response.writeHead(404).end());
      return true;
    }
    return false;
  });
  try {
    const dom = await dumpDom(chromium, `${server.url}test/browser/page.html`, 90000);
    assert.match(dom, /<body data-status="done">/);
    const root = dom.slice(dom.indexOf('<div id="root">'), dom.indexOf("<script"));
    assert.match(dom, /<img src="\/hold" alt="">/);
    const expected = `<div id="root">
<p>${h("en-us", "Representative", "documentation")} of ${h("en-us", "hyphenation")}.</p>
<p lang="de">Die ${h("de-1996", "Silbentrennung")} <span lang="fr">la ${
  h("fr", "représentation")}</span> der ${h("de-1996", "Donaudampfschifffahrt")}.</p>
<pre>hyphenation inside pre</pre>
<p>Some <code>documentation</code> stays, <em>${h("en-us", "representation")}</em> ${
  h("en-us", "breaks")}.</p>
<div lang="ru">${h("ru", "Гиперонимия")} <q lang="zxx">representation</q> ${
  h("ru", "переносов")}</div>
<p lang="hu">${h("hu", "Elektromosság")}</p>
</div>
`;
    assert.equal(root, expected);
  } finally {
    clearTimeout(fallback);
    await server.close();
  }
});
