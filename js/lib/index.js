// liang for JavaScript: hyphenation by Liang's pattern method in 73
// languages, computed by the C++ library compiled to WebAssembly. The same
// engine serves Node and browsers; each language is loaded on demand.
//
//   import { load, languages } from "liang";
//   const de = await load("de");
//   de.hyphenate("Silbentrennung");   // ["Sil", "ben", "tren", "nung"]

import { catalogue } from "./catalogue.js";
import { engine, engineNow, readLanguageFiles } from "./engine.js";

const kFlagMarkup = 1;
const kFlagNoCapitalized = 2;
const kFlagNoAllCaps = 4;
const kFlagMixedCase = 8;

const loaded = new Map(); // ordinal -> Promise<Language>

function checkString(value, what) {
  if (typeof value !== "string") {
    throw new TypeError(`liang: ${what} must be a string, not ${describe(value)}`);
  }
}

function checkCount(value, what) {
  if (value === undefined) return 0;
  if (!Number.isInteger(value) || value < 0 || value > 0x7fffffff) {
    throw new TypeError(`liang: ${what} must be a whole number from 0, not ${describe(value)}`);
  }
  return value;
}

function checkFlag(value, what, fallback) {
  if (value === undefined) return fallback;
  if (typeof value !== "boolean") {
    throw new TypeError(`liang: ${what} must be true or false, not ${describe(value)}`);
  }
  return value;
}

function describe(value) {
  return value === null ? "null" : typeof value === "string" ? JSON.stringify(value) :
                                                               typeof value;
}

function checkOptions(options) {
  if (options === undefined) return {};
  if (options === null || typeof options !== "object") {
    throw new TypeError(`liang: options must be an object, not ${describe(options)}`);
  }
  return options;
}

// One language: its hyphenator in the engine, and what the catalogue says.
export class Language {
  #engine;
  #handle;

  constructor(engineInstance, handle, info) {
    this.#engine = engineInstance;
    this.#handle = handle;
    this.tag = info.tag;
    this.name = info.name;
    this.left = info.left;
    this.right = info.right;
    // (not frozen: V8 reads private fields of frozen objects slowly)
  }

  // The UTF-16 indices where the pieces of `word` after the first begin.
  // options.left and options.right replace the language's minima.
  positions(word, options) {
    checkString(word, "word");
    if (options === undefined) return this.#engine.positions(this.#handle, word, 0, 0);
    const { left, right } = checkOptions(options);
    return this.#engine.positions(this.#handle, word, checkCount(left, "left"),
                                  checkCount(right, "right"));
  }

  // The pieces between which a hyphen may go; they join to `word`.
  hyphenate(word, options) {
    checkString(word, "word");
    if (options === undefined) return this.#engine.pieces(this.#handle, word, 0, 0);
    const { left, right } = checkOptions(options);
    return this.#engine.pieces(this.#handle, word, checkCount(left, "left"),
                               checkCount(right, "right"));
  }

  // Builds now what the language would build on first use and after many
  // words, so that later calls take their steady time and memory.
  prepare() {
    if (this.#engine.exports.liang_prepare(this.#handle) !== 0) throw this.#engine.error();
  }

  // Running text, plain or HTML/XML, with a hyphen at every break of every
  // word; everything else unchanged.
  insertHyphens(text, options) {
    checkString(text, "text");
    const o = checkOptions(options);
    const hyphen = o.hyphen === undefined ? "\u00AD" : o.hyphen;
    checkString(hyphen, "hyphen");
    let flags = 0;
    if (checkFlag(o.html, "html", false)) flags |= kFlagMarkup;
    if (!checkFlag(o.capitalized, "capitalized", true)) flags |= kFlagNoCapitalized;
    if (!checkFlag(o.allCaps, "allCaps", true)) flags |= kFlagNoAllCaps;
    if (checkFlag(o.mixedCase, "mixedCase", false)) flags |= kFlagMixedCase;
    return this.#engine.insert(this.#handle, text, hyphen, flags, checkCount(o.minWord, "minWord"),
                               checkCount(o.left, "left"), checkCount(o.right, "right"));
  }

  toString() {
    return `Language(${this.tag})`;
  }
}

// Every language liang carries: its tag (the pattern files' affix), its name
// and its minima.
export function languages() {
  return catalogue.map((info) => ({ ...info }));
}

// The ordinal of a language name or tag without loading it; -1 for none.
export async function findLanguage(name, { tagOnly = false } = {}) {
  checkString(name, "name");
  const e = await engine();
  return e.find(name, tagOnly);
}

// The language a tag ("de-CH"), a locale name ("de_DE.UTF-8"), an affix
// ("de-1996") or an English name ("German") gives, loaded once.
export async function load(name) {
  checkString(name, "language");
  // A name that is a language's own tag or name needs no engine to find
  // (the engine finds the same, which tools/generate.mjs checks): its file
  // is read while the engine starts.
  const known = byTagOrName.get(name);
  if (known !== undefined) {
    const files = loaded.has(known) ? null : readLanguageFiles(catalogue[known].tag);
    files?.catch(() => {}); // reported by loadOrdinal
    return loadOrdinal(await engine(), known, files);
  }
  const e = await engine();
  const ordinal = e.find(name, false);
  if (ordinal < 0) throw new Error(`liang: no language is called ${JSON.stringify(name)}`);
  return loadOrdinal(e, ordinal);
}

const byTagOrName = new Map(catalogue.flatMap((info, ordinal) => [[info.tag, ordinal],
                                                                   [info.name, ordinal]]));

// The language of a lang attribute (languageForTag), or null when liang has
// none for it ("zxx", "ja", "").
export async function loadTag(tag) {
  checkString(tag, "tag");
  const e = await engine();
  const ordinal = e.find(tag, true);
  return ordinal < 0 ? null : loadOrdinal(e, ordinal);
}

// The language of an ordinal, loaded once; `files`, when not null, are its
// files being read already.
function loadOrdinal(e, ordinal, files = null) {
  let language = loaded.get(ordinal);
  if (!language) {
    const info = catalogue[ordinal];
    language = (async () => {
      e.register(ordinal, await (files ?? readLanguageFiles(info.tag)));
      return new Language(e, ordinal, info);
    })();
    loaded.set(ordinal, language);
    language.catch(() => loaded.delete(ordinal));
  }
  return language;
}

// For the hyphen drop-in: a hyphenator of `language` whose dictionary also
// holds `entries` (words with hyphens at their breaks).
// `language` must be loaded (so the engine is running).
export function withExceptions(language, entries) {
  const e = engineNow();
  const ordinal = e.find(language.tag, false);
  return new Language(e, e.withExceptions(ordinal, entries.join("\n")), language);
}

// Bytes of the engine's heap in use, for tests that check that nothing leaks.
export async function heapInUse() {
  return (await engine()).exports.liang_heap_used();
}
