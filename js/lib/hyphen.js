// The drop-in for npm hyphen: liang/hyphen/<language> exports the four
// functions of hyphen/<language>, with the same options (hyphenChar,
// minWordLength, exceptions, debug) and defaults (U+00AD, 5 letters, none).
// As hyphen does by default, each of them leaves HTML tags alone; in
// liang's markup rules that also keeps the content of script, style, pre,
// code and their kin, and follows lang attributes into languages loaded.

import { load, withExceptions } from "./index.js";

function check(options) {
  if (options === undefined || options === null) options = {};
  if (typeof options !== "object") {
    throw new TypeError(`liang/hyphen: options must be an object, not ${typeof options}`);
  }
  const { hyphenChar = "\u00AD", minWordLength = 5, exceptions = [], debug = false } = options;
  if (typeof hyphenChar !== "string") {
    throw new TypeError("liang/hyphen: hyphenChar must be a string");
  }
  if (typeof minWordLength !== "number" || !(minWordLength >= 0)) {
    throw new TypeError("liang/hyphen: minWordLength must be a number from 0");
  }
  if (!Array.isArray(exceptions) || exceptions.some((e) => typeof e !== "string")) {
    throw new TypeError("liang/hyphen: exceptions must be an array of strings");
  }
  return { hyphenChar, minWordLength: Math.floor(minWordLength), exceptions, debug };
}

// The four functions for the language with this tag, once it is loaded.
export async function dropIn(tag) {
  const language = await load(tag);
  const withOwn = new Map(); // exceptions joined -> Language

  const languageFor = (exceptions) => {
    if (exceptions.length === 0) return language;
    const key = exceptions.join("\n");
    let h = withOwn.get(key);
    if (!h) {
      h = withExceptions(language, exceptions);
      withOwn.set(key, h);
    }
    return h;
  };

  const hyphenateSync = (text, options) => {
    if (typeof text !== "string") throw new TypeError("liang/hyphen: text must be a string");
    const o = check(options);
    const h = languageFor(o.exceptions);
    const started = o.debug ? performance.now() : 0;
    const out = h.insertHyphens(text, { hyphen: o.hyphenChar, html: true,
                                        minWord: o.minWordLength });
    if (o.debug) {
      console.log(`liang/hyphen ${tag}: ${text.length} characters in ` +
                  `${(performance.now() - started).toFixed(3)} ms`);
    }
    return out;
  };
  const hyphenate = async (text, options) => hyphenateSync(text, options);
  return { hyphenate, hyphenateSync, hyphenateHTML: hyphenate, hyphenateHTMLSync: hyphenateSync };
}
