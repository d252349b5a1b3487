// The WebAssembly engine: instantiated once per realm, on first use, from
// dist/liang.wasm beside this package; each language's files read from data/
// (from the package's folder in Node, fetched from beside this module in
// browsers), inflated by the platform's DecompressionStream and registered.
// Strings go in and out as UTF-8 in the engine's heap.

const isNode =
  typeof process === "object" && typeof process.versions?.node === "string" &&
  import.meta.url.startsWith("file:");

async function readAsset(path) {
  const url = new URL(path, import.meta.url);
  if (isNode) {
    const fs = "node:fs/promises"; // a variable, so that bundlers leave it to Node
    const { readFile } = await import(fs);
    return new Uint8Array(await readFile(url));
  }
  const response = await fetch(url);
  if (!response.ok) throw new Error(`liang: could not fetch ${url} (HTTP ${response.status})`);
  return new Uint8Array(await response.arrayBuffer());
}

// Node's own zlib where there is one (web streams cost Node some 30 ms a
// file), else the platform's DecompressionStream.
async function inflate(gzip) {
  if (isNode) {
    const zlib = "node:zlib";
    const { gunzipSync } = await import(zlib);
    return gunzipSync(gzip);
  }
  const stream = new Blob([gzip]).stream().pipeThrough(new DecompressionStream("gzip"));
  return new Uint8Array(await new Response(stream).arrayBuffer());
}

const encoder = new TextEncoder();
const decoder = new TextDecoder();

class Engine {
  constructor(instance) {
    this.exports = instance.exports;
    this.heap = new Uint8Array(this.exports.memory.buffer);
    this.heap32 = new Uint32Array(this.exports.memory.buffer);
    this.scratch = 0;
    this.scratchSize = 0;
    this.exports._initialize();
  }

  // The heap's views after the memory grew. Views are made only then: a new
  // view of the wasm memory costs microseconds.
  refresh() {
    if (this.heap.buffer !== this.exports.memory.buffer) {
      this.heap = new Uint8Array(this.exports.memory.buffer);
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
  // lone surrogate becomes U+FFFD, as TextEncoder makes it.
  write(text) {
    const n = text.length;
    let at = this.room(3 * n + 1);
    const heap = this.heap;
    for (let i = 0; i < n; ++i) {
      const c = text.charCodeAt(i);
      if (c < 0x80) {
        heap[at++] = c;
      } else {
        // Anything else: let TextEncoder write the rest.
        const start = this.scratch;
        const written = encoder.encodeInto(text.slice(i), heap.subarray(at, start + 3 * n + 1))
          .written;
        return at - start + written;
      }
    }
    return at - this.scratch;
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

  // The UTF-16 indices at which the pieces of `word` after the first begin.
  positions(handle, word, left, right) {
    const size = this.write(word);
    const count = this.exports.liang_positions(handle, this.scratch, size, left, right);
    if (count < 0) throw this.error();
    this.refresh();
    const heap32 = this.heap32;
    const base = this.exports.liang_points() >>> 2;
    const points = new Array(count);
    for (let i = 0; i < count; ++i) points[i] = heap32[base + i];
    return points;
  }

  insert(handle, text, hyphen, flags, minWord, left, right) {
    const bytes = encoder.encode(text);
    const hyphenBytes = encoder.encode(hyphen);
    const at = this.room(bytes.length + hyphenBytes.length + 1);
    this.heap.set(bytes, at);
    this.heap.set(hyphenBytes, at + bytes.length);
    const status = this.exports.liang_insert(handle, at, bytes.length, at + bytes.length,
                                             hyphenBytes.length, flags, minWord, left, right);
    if (status !== 0) throw this.error();
    const out = this.string(this.exports.liang_result(), this.exports.liang_result_size());
    if (bytes.length > 65536) this.exports.liang_result_clear();
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

// The four files of the language with this affix, inflated: characters,
// patterns, exceptions, licence.
export async function readLanguageFiles(affix) {
  return Promise.all(["chr", "pat", "hyp", "lic"].map(
    async (kind) => inflate(await readAsset(`../data/hyph-${affix}.${kind}.txt.gz`))));
}
