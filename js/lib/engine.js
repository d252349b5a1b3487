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

async function readAsset(path) {
  const url = new URL(path, import.meta.url);
  if (isNode) {
    const { readFile } = await nodeModule("fs/promises");
    return new Uint8Array(await readFile(url));
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
export function engineNow() {
  if (!running) throw new Error("liang: the engine is not running yet");
  return running;
}

// The engine of this realm, instantiated on first call.
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
export async function readLanguageFiles(affix) {
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
