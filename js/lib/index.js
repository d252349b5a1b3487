// liang for JavaScript: hyphenation by Liang's pattern method in 73
// languages, computed by the C++ library compiled to WebAssembly. The same
// engine serves Node and browsers; each language is loaded on demand.
//
//   import { load, languages } from "liang";
//   const de = await load("de");
//   de.hyphenate("Silbentrennung");   // ["Sil", "ben", "tren", "nung"]
//
// One module, so that a fresh process reads, resolves and compiles one file
// of the package before its first word rather than three (each costs Node's
// module loader about half a millisecond): the engine, the catalogue, and
// the languages.

// The WebAssembly engine: instantiated once per realm, on first use, from
// dist/liang.wasm beside this package; each language's file read from data/
// (from the package's folder in Node, fetched from beside this module in
// browsers), split into its parts and registered. Words go in as UTF-16
// units, text in and out as UTF-8, in the engine's heap.

const isNode =
  typeof process === "object" && typeof process.versions?.node === "string" &&
  import.meta.url.startsWith("file:");

// A module of Node's own: through process.getBuiltinModule (Node 20.16 on),
// which costs a fresh process less than an import (whose name is built, so
// that bundlers leave it to Node).
async function nodeModule(name) {
  return process.getBuiltinModule?.(name) ?? import(`node:${name}`);
}

// In Node, read synchronously: the files are small, and a read through the
// thread pool (fs/promises) costs a fresh process more than the read itself.
async function readAsset(path) {
  const url = new URL(path, import.meta.url);
  if (isNode) {
    const bytes = (await nodeModule("fs")).readFileSync(url);
    return new Uint8Array(bytes.buffer, bytes.byteOffset, bytes.byteLength);
  }
  const response = await fetch(url);
  if (!response.ok) throw new Error(`liang: could not fetch ${url} (HTTP ${response.status})`);
  return new Uint8Array(await response.arrayBuffer());
}

// The bytes of a gzip file. Node's own zlib where there is one (web
// streams cost Node some 30 ms a file), else the platform's
// DecompressionStream.
async function inflate(gzip) {
  if (isNode) {
    const { gunzipSync } = await nodeModule("zlib");
    return gunzipSync(gzip);
  }
  const stream = new Blob([gzip]).stream().pipeThrough(new DecompressionStream("gzip"));
  return new Uint8Array(await new Response(stream).arrayBuffer());
}

const encoder = new TextEncoder();
const kShortText = 1 << 16; // UTF-16 units that insert() writes itself
const decoder = new TextDecoder();
const kLatin1Text = 1 << 12; // bytes of text from which insert() asks for Latin-1
const kFlagLatin1 = 16; // liang_insert's flag for it

class Engine {
  constructor(instance) {
    this.exports = instance.exports;
    this.heap = new Uint8Array(this.exports.memory.buffer);
    this.heap16 = new Uint16Array(this.exports.memory.buffer);
    this.heap32 = new Uint32Array(this.exports.memory.buffer);
    this.scratch = 0;
    this.scratchSize = 0;
    this.pointsAt = 0; // liang_points() / 4, asked again after a long word
    this.hyphen = null; // the last hyphen of insert(), at hyphenAt
    this.hyphenAt = 0;
    this.hyphenSize = 0;
    this.exports._initialize();
  }

  // The heap's views after the memory grew. Views are made only then: a new
  // view of the wasm memory costs microseconds, and even asking the memory
  // for its buffer costs more than a short word's call. Growing detaches
  // the old buffer, whose views then have length 0.
  refresh() {
    if (this.heap.length === 0) {
      this.heap = new Uint8Array(this.exports.memory.buffer);
      this.heap16 = new Uint16Array(this.exports.memory.buffer);
      this.heap32 = new Uint32Array(this.exports.memory.buffer);
    }
  }

  // A buffer of at least `size` bytes in the heap, reused between calls.
  room(size) {
    if (size > this.scratchSize) {
      if (this.scratch) this.exports.free(this.scratch);
      this.scratchSize = Math.max(size, 2 * this.scratchSize, 256);
      this.scratch = this.exports.malloc(this.scratchSize);
      if (!this.scratch) throw new Error("liang: out of memory");
      this.refresh();
    }
    return this.scratch;
  }

  // Writes `text` as UTF-8 into the scratch buffer; its length in bytes. A
  // lone surrogate becomes U+FFFD, as TextEncoder makes it. Encoded here
  // rather than by TextEncoder, whose calls cost more than a word.
  write(text) {
    const n = text.length;
    const start = this.room(3 * n + 1); // 3 bytes a unit at most
    const heap = this.heap;
    let at = start;
    for (let i = 0; i < n; ++i) {
      let c = text.charCodeAt(i);
      if (c < 0x80) {
        heap[at++] = c;
        continue;
      }
      if (c < 0x800) {
        heap[at++] = 0xc0 | (c >> 6);
        heap[at++] = 0x80 | (c & 0x3f);
        continue;
      }
      if (c >= 0xd800 && c <= 0xdfff) {
        const next = i + 1 < n ? text.charCodeAt(i + 1) : 0;
        if (c <= 0xdbff && next >= 0xdc00 && next <= 0xdfff) {
          c = 0x10000 + ((c - 0xd800) << 10) + (next - 0xdc00);
          ++i;
          heap[at++] = 0xf0 | (c >> 18);
          heap[at++] = 0x80 | ((c >> 12) & 0x3f);
          heap[at++] = 0x80 | ((c >> 6) & 0x3f);
          heap[at++] = 0x80 | (c & 0x3f);
          continue;
        }
        c = 0xfffd;
      }
      heap[at++] = 0xe0 | (c >> 12);
      heap[at++] = 0x80 | ((c >> 6) & 0x3f);
      heap[at++] = 0x80 | (c & 0x3f);
    }
    return at - start;
  }

  // Copies bytes into a fresh heap block (the caller frees it).
  copyIn(bytes) {
    const at = this.exports.malloc(bytes.length + 1);
    if (!at) throw new Error("liang: out of memory");
    this.refresh();
    this.heap.set(bytes, at);
    return at;
  }

  string(at, size) {
    this.refresh();
    return decoder.decode(this.heap.subarray(at, at + size));
  }

  cString(at) {
    this.refresh();
    let end = at;
    while (this.heap[end] !== 0) ++end;
    return decoder.decode(this.heap.subarray(at, end));
  }

  error() {
    return new Error(`liang: ${this.cString(this.exports.liang_error())}`);
  }

  // The ordinal of a language name or tag, or -1.
  find(name, tagOnly) {
    const size = this.write(name);
    return this.exports.liang_find(this.scratch, size, tagOnly ? 1 : 0);
  }

  register(ordinal, files) {
    const blocks = files.map((bytes) => [this.copyIn(bytes), bytes.length]);
    try {
      const status = this.exports.liang_register(ordinal, ...blocks.flat());
      if (status !== 0) throw this.error();
    } finally {
      for (const [at] of blocks) this.exports.free(at);
    }
  }

  // Hyphenates `word`; the count of its breaks, which are then at
  // heap32[pointsAt ...] as UTF-16 indices. The word goes in as its UTF-16
  // units, one store each: no encoding in JavaScript, and breaks that need
  // no mapping back.
  breaks(handle, word, left, right) {
    const n = word.length;
    const at = this.room(2 * n);
    const heap16 = this.heap16;
    for (let i = 0, to = at >>> 1; i < n; ++i) heap16[to + i] = word.charCodeAt(i);
    const count = this.exports.liang_positions(handle, at, n, left, right);
    if (count < 0) throw this.error();
    // The engine's buffer of breaks moves only when a word has more breaks
    // than it holds (64).
    if (this.pointsAt === 0 || count > 64) this.pointsAt = this.exports.liang_points() >>> 2;
    this.refresh();
    return count;
  }

  // The UTF-16 indices at which the pieces of `word` after the first begin.
  positions(handle, word, left, right) {
    const count = this.breaks(handle, word, left, right);
    const heap32 = this.heap32;
    const base = this.pointsAt;
    const points = new Array(count);
    for (let i = 0; i < count; ++i) points[i] = heap32[base + i];
    return points;
  }

  // The pieces of `word` between its breaks.
  pieces(handle, word, left, right) {
    const count = this.breaks(handle, word, left, right);
    if (count === 0) return [word];
    const heap32 = this.heap32;
    const base = this.pointsAt;
    const pieces = new Array(count + 1);
    let from = 0;
    for (let i = 0; i < count; ++i) {
      const to = heap32[base + i];
      pieces[i] = word.slice(from, to);
      from = to;
    }
    pieces[count] = word.slice(from);
    return pieces;
  }

  // The hyphen's UTF-8 in a heap block of its own, kept while the same
  // hyphen comes again (as it does, call after call).
  hyphenBytes(hyphen) {
    if (hyphen !== this.hyphen) {
      if (this.hyphenAt) this.exports.free(this.hyphenAt);
      this.hyphenAt = 0;
      const bytes = encoder.encode(hyphen);
      this.hyphenAt = this.copyIn(bytes);
      this.hyphenSize = bytes.length;
      this.hyphen = hyphen;
    }
    return this.hyphenAt;
  }

  insert(handle, text, hyphen, flags, minWord, left, right) {
    const hyphenAt = this.hyphenBytes(hyphen);
    let size;
    if (text.length <= kShortText) {
      size = this.write(text); // no TextEncoder, no copy
    } else {
      // A long text through TextEncoder, whose room is its exact length
      // rather than 3 bytes for every UTF-16 unit.
      const bytes = encoder.encode(text);
      this.room(bytes.length);
      this.heap.set(bytes, this.scratch);
      size = bytes.length;
    }
    // A long answer in Latin-1 when it is all Latin-1, which Node's Buffer
    // makes into a string several times faster than any UTF-8 decoder.
    const latin1 = isNode && size >= kLatin1Text ? kFlagLatin1 : 0;
    const status = this.exports.liang_insert(handle, this.scratch, size, hyphenAt,
                                             this.hyphenSize, flags | latin1, minWord, left,
                                             right);
    if (status < 0) throw this.error();
    const at = this.exports.liang_result();
    const resultSize = this.exports.liang_result_size();
    this.refresh();
    const out = status === 1 ?
      Buffer.from(this.exports.memory.buffer, at, resultSize).toString("latin1") :
      this.string(at, resultSize);
    if (size > 65536) this.exports.liang_result_clear();
    return out;
  }

  withExceptions(ordinal, entries) {
    const size = this.write(entries);
    const handle = this.exports.liang_with_exceptions(ordinal, this.scratch, size);
    if (handle < 0) throw this.error();
    return handle;
  }
}

let enginePromise = null;
let running = null;

// The engine once engine() has resolved.
function engineNow() {
  if (!running) throw new Error("liang: the engine is not running yet");
  return running;
}

// The engine of this realm, instantiated on first call (exported for the
// package's tests and benchmarks).
export function engine() {
  if (!enginePromise) {
    enginePromise = (async () => {
      let self = null;
      const imports = {
        env: { emscripten_notify_memory_growth: () => self?.refresh() },
        wasi_snapshot_preview1: {
          proc_exit: (code) => {
            throw new Error(`liang: the engine stopped (${code})`);
          },
        },
      };
      const { instance } = await WebAssembly.instantiate(await readAsset("../dist/liang.wasm"),
                                                         imports);
      self = new Engine(instance);
      running = self;
      return self;
    })();
    enginePromise.catch(() => {
      enginePromise = null; // a failed start may be retried
    });
  }
  return enginePromise;
}

// The four parts of the language with this affix, as its file in data/
// holds them (tools/generate.mjs): characters, pattern image, exceptions,
// licence, each after its length (32 bits, little-endian). A large file is
// gzip, which its first two bytes tell (a raw file begins with the length
// of its characters, some hundred bytes).
async function readLanguageFiles(affix) {
  const url = `../data/${affix}.liang`;
  let file = await readAsset(url);
  if (file[0] === 0x1f && file[1] === 0x8b) file = await inflate(file);
  const view = new DataView(file.buffer, file.byteOffset, file.byteLength);
  const parts = [];
  let at = 0;
  while (parts.length < 4 && at + 4 <= file.length) {
    const end = at + 4 + view.getUint32(at, true);
    if (end > file.length) break;
    parts.push(file.subarray(at + 4, end));
    at = end;
  }
  if (parts.length < 4 || at !== file.length) {
    throw new Error(`liang: the language file ${url} is damaged`);
  }
  return parts;
}

// Every language the engine carries, in its order (the ordinals): written
// here by tools/generate.mjs from the engine itself at every build.
// BEGIN catalogue (tools/generate.mjs)
const catalogue = Object.freeze([
  Object.freeze({"tag":"af","name":"Afrikaans","left":1,"right":2}),
  Object.freeze({"tag":"hy","name":"Armenian","left":1,"right":2}),
  Object.freeze({"tag":"as","name":"Assamese","left":1,"right":1}),
  Object.freeze({"tag":"eu","name":"Basque","left":2,"right":2}),
  Object.freeze({"tag":"bn","name":"Bengali","left":1,"right":1}),
  Object.freeze({"tag":"bg","name":"Bulgarian","left":2,"right":2}),
  Object.freeze({"tag":"ca","name":"Catalan","left":2,"right":2}),
  Object.freeze({"tag":"zh-latn-pinyin","name":"Chinese","left":1,"right":1}),
  Object.freeze({"tag":"cop","name":"Coptic","left":1,"right":1}),
  Object.freeze({"tag":"hr","name":"Croatian","left":2,"right":2}),
  Object.freeze({"tag":"cs","name":"Czech","left":2,"right":3}),
  Object.freeze({"tag":"da","name":"Danish","left":2,"right":2}),
  Object.freeze({"tag":"nl","name":"Dutch","left":2,"right":2}),
  Object.freeze({"tag":"en-us","name":"English_US","left":2,"right":3}),
  Object.freeze({"tag":"en-gb","name":"English_GB","left":2,"right":3}),
  Object.freeze({"tag":"eo","name":"Esperanto","left":2,"right":2}),
  Object.freeze({"tag":"et","name":"Estonian","left":2,"right":3}),
  Object.freeze({"tag":"mul-ethi","name":"Ethiopic","left":1,"right":1}),
  Object.freeze({"tag":"fi","name":"Finnish","left":2,"right":2}),
  Object.freeze({"tag":"fr","name":"French","left":2,"right":3}),
  Object.freeze({"tag":"fur","name":"Friulan","left":2,"right":2}),
  Object.freeze({"tag":"gl","name":"Galician","left":2,"right":2}),
  Object.freeze({"tag":"ka","name":"Georgian","left":1,"right":2}),
  Object.freeze({"tag":"de-1901","name":"German_1901","left":2,"right":2}),
  Object.freeze({"tag":"de-1996","name":"German_1996","left":2,"right":2}),
  Object.freeze({"tag":"de-ch-1901","name":"German_Swiss","left":2,"right":2}),
  Object.freeze({"tag":"grc","name":"Greek_Ancient","left":1,"right":1}),
  Object.freeze({"tag":"el-monoton","name":"Greek_Mono","left":1,"right":1}),
  Object.freeze({"tag":"el-polyton","name":"Greek_Poly","left":1,"right":1}),
  Object.freeze({"tag":"gu","name":"Gujarati","left":1,"right":1}),
  Object.freeze({"tag":"hi","name":"Hindi","left":1,"right":1}),
  Object.freeze({"tag":"hu","name":"Hungarian","left":2,"right":2}),
  Object.freeze({"tag":"is","name":"Icelandic","left":2,"right":2}),
  Object.freeze({"tag":"id","name":"Indonesian","left":2,"right":2}),
  Object.freeze({"tag":"ia","name":"Interlingua","left":2,"right":2}),
  Object.freeze({"tag":"ga","name":"Irish","left":2,"right":3}),
  Object.freeze({"tag":"it","name":"Italian","left":2,"right":2}),
  Object.freeze({"tag":"kn","name":"Kannada","left":1,"right":1}),
  Object.freeze({"tag":"kmr","name":"Kurmanji","left":2,"right":2}),
  Object.freeze({"tag":"la","name":"Latin","left":2,"right":2}),
  Object.freeze({"tag":"la-x-classic","name":"Latin_Classic","left":2,"right":2}),
  Object.freeze({"tag":"lv","name":"Latvian","left":2,"right":2}),
  Object.freeze({"tag":"lt","name":"Lithuanian","left":2,"right":2}),
  Object.freeze({"tag":"ml","name":"Malayalam","left":1,"right":1}),
  Object.freeze({"tag":"mr","name":"Marathi","left":1,"right":1}),
  Object.freeze({"tag":"mn-cyrl","name":"Mongolian","left":2,"right":2}),
  Object.freeze({"tag":"nb","name":"Norwegian_Bokmal","left":2,"right":2}),
  Object.freeze({"tag":"nn","name":"Norwegian_Nynorsk","left":2,"right":2}),
  Object.freeze({"tag":"oc","name":"Occitan","left":2,"right":2}),
  Object.freeze({"tag":"or","name":"Oriya","left":1,"right":1}),
  Object.freeze({"tag":"pa","name":"Panjabi","left":1,"right":1}),
  Object.freeze({"tag":"pms","name":"Piedmontese","left":2,"right":2}),
  Object.freeze({"tag":"pl","name":"Polish","left":2,"right":2}),
  Object.freeze({"tag":"pt","name":"Portuguese","left":2,"right":3}),
  Object.freeze({"tag":"ro","name":"Romanian","left":2,"right":2}),
  Object.freeze({"tag":"rm","name":"Romansh","left":2,"right":2}),
  Object.freeze({"tag":"ru","name":"Russian","left":2,"right":2}),
  Object.freeze({"tag":"sa","name":"Sanskrit","left":1,"right":3}),
  Object.freeze({"tag":"sr-cyrl","name":"Serbian_Cyrillic","left":2,"right":2}),
  Object.freeze({"tag":"sh-cyrl","name":"Serbocroatian_Cyrillic","left":2,"right":2}),
  Object.freeze({"tag":"sh-latn","name":"Serbocroatian_Latin","left":2,"right":2}),
  Object.freeze({"tag":"sk","name":"Slovak","left":2,"right":3}),
  Object.freeze({"tag":"sl","name":"Slovenian","left":2,"right":2}),
  Object.freeze({"tag":"es","name":"Spanish","left":2,"right":2}),
  Object.freeze({"tag":"sv","name":"Swedish","left":2,"right":2}),
  Object.freeze({"tag":"ta","name":"Tamil","left":1,"right":1}),
  Object.freeze({"tag":"te","name":"Telugu","left":1,"right":1}),
  Object.freeze({"tag":"th","name":"Thai","left":2,"right":3}),
  Object.freeze({"tag":"tr","name":"Turkish","left":2,"right":2}),
  Object.freeze({"tag":"tk","name":"Turkmen","left":2,"right":2}),
  Object.freeze({"tag":"uk","name":"Ukrainian","left":2,"right":2}),
  Object.freeze({"tag":"hsb","name":"Uppersorbian","left":2,"right":2}),
  Object.freeze({"tag":"cy","name":"Welsh","left":2,"right":3}),
]);
// END catalogue

// The languages.

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
