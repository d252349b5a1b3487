// Writes the Unicode tables of the WebAssembly engine's utf8proc stand-in
// (js/src/unicode): what the text layer asks utf8proc, computed here from
// utf8proc's own data (utf8proc_data.c of the release that the native build
// links), so that the engine's answers are utf8proc's on every code point:
//  - the general category and combining class of every code point, as an
//    index into a short list of (category, class) pairs, in blocks of 128
//    code points shared where they coincide;
//  - the simple lowercase mappings (utf8proc_tolower);
//  - the full canonical decomposition of every code point that has one
//    (utf8proc_decompose_char with UTF8PROC_DECOMPOSE), Hangul left to code;
//  - the pairs that compose (utf8proc_normalize_utf32 with UTF8PROC_COMPOSE).
// Case folding, compatibility decompositions, bidi classes, widths and
// grapheme boundaries, which the text layer never asks for, are left out.
//   node unicode-tables.mjs <utf8proc source dir> <output file>
// The output is written only when it changes, so that a rebuild compiles
// nothing.
import { readFile, writeFile } from "node:fs/promises";
import { join } from "node:path";

const [source, output] = process.argv.slice(2);
const data = await readFile(join(source, "utf8proc_data.c"), "utf8");
const header = await readFile(join(source, "utf8proc.h"), "utf8");

function body(name) {
  const start = data.indexOf(`${name}[] = {`);
  if (start < 0) throw new Error(`utf8proc_data.c has no ${name}`);
  const open = data.indexOf("{", start);
  return data.slice(open + 1, data.indexOf("};", open));
}
const numbers = (text) => text.split(",").map((s) => s.trim()).filter(Boolean).map(Number);
const sequences = numbers(body("utf8proc_sequences"));
const stage1 = numbers(body("utf8proc_stage1table"));
const stage2 = numbers(body("utf8proc_stage2table"));
const combinations = numbers(body("utf8proc_combinations"));
const categories = new Map([...header.matchAll(/UTF8PROC_CATEGORY_(\w+)\s*=\s*(\d+)/g)].map((m) =>
  [`UTF8PROC_CATEGORY_${m[1]}`, Number(m[2])]));
const field = (value) => {
  if (value === "UINT16_MAX") return 0xffff;
  if (/^\d+$/.test(value)) return Number(value);
  if (categories.has(value)) return categories.get(value);
  return value; // a name of a field read here only as "not 0"
};
const rows = [...body("utf8proc_properties").matchAll(/\{([^}]*)\}/g)].map((m) => {
  const f = m[1].split(",").map((s) => field(s.trim()));
  if (f.length !== 17) throw new Error("unexpected utf8proc_property_t layout");
  return { category: f[0], combining: f[1], decompType: f[3], decomp: f[4], lower: f[7],
           comb: f[9] };
});
const property = (c) => rows[stage2[stage1[c >> 8] + (c & 0xff)]];

// utf8proc's sequence entries: one UTF-16 unit, or a surrogate pair.
function entryAt(at) {
  const unit = sequences[at];
  if ((unit & 0xf800) !== 0xd800) return [unit, at + 1];
  return [(((unit & 0x3ff) << 10) | (sequences[at + 1] & 0x3ff)) + 0x10000, at + 2];
}

const kHangulFirst = 0xac00;
const kHangulCount = 11172;
function decompose(c) {
  if (c >= kHangulFirst && c < kHangulFirst + kHangulCount) return null; // by code
  const p = property(c);
  if (p.decomp === 0xffff || p.decompType !== 0) return [c];
  let at = p.decomp & 0x3fff;
  let length = p.decomp >> 14;
  if (length >= 3) length = sequences[at++];
  const out = [];
  for (; length >= 0; --length) {
    const [entry, next] = entryAt(at);
    at = next;
    out.push(...(decompose(entry) ?? hangulParts(entry)));
  }
  return out;
}
function hangulParts(c) {
  const s = c - kHangulFirst;
  const parts = [0x1100 + Math.floor(s / 588), 0x1161 + Math.floor((s % 588) / 28)];
  if (s % 28 !== 0) parts.push(0x11a7 + (s % 28));
  return parts;
}

// Categories and combining classes.
const pairs = [];
const pairIndex = new Map();
const blocks = [];
const blockIndex = new Map();
const blockOf = [];
const kBlock = 128;
for (let first = 0; first < 0x110000; first += kBlock) {
  const ids = [];
  for (let c = first; c < first + kBlock; ++c) {
    const p = property(c);
    const key = `${p.category},${p.combining}`;
    if (!pairIndex.has(key)) {
      pairIndex.set(key, pairs.length);
      pairs.push([p.category, p.combining]);
    }
    ids.push(pairIndex.get(key));
  }
  const key = ids.join(",");
  if (!blockIndex.has(key)) {
    blockIndex.set(key, blocks.length);
    blocks.push(ids);
  }
  blockOf.push(blockIndex.get(key));
}
if (pairs.length > 256 || blocks.length > 65536) throw new Error("tables outgrew their types");

// Lowercase mappings, decompositions and compositions.
const lower = [];
const decompositions = [];
const starters = [];
const marks = [];
for (let c = 0; c < 0x110000; ++c) {
  const p = property(c);
  if (p.lower !== 0xffff) {
    const [to] = entryAt(p.lower);
    if (to !== c) lower.push([c, to]);
  }
  const d = decompose(c);
  if (d && (d.length !== 1 || d[0] !== c)) decompositions.push([c, d]);
  if (p.comb < 0x8000) starters.push(c);
  else if (p.comb !== 0xffff) marks.push(c);
}
const compositions = [];
for (const s of starters) {
  const sidx = property(s).comb;
  for (const m of marks) {
    const mcomb = property(m).comb;
    let idx = mcomb & 0x3fff;
    if (idx < combinations[sidx] || idx > combinations[sidx + 1]) continue;
    idx += sidx + 2 - combinations[sidx];
    const to = mcomb & 0x4000 ? combinations[idx] * 65536 + combinations[idx + 1] :
                                combinations[idx];
    if (to > 0) compositions.push([s, m, to]);
  }
}
compositions.sort((a, b) => a[0] - b[0] || a[1] - b[1]);

const list = (values) => {
  const out = [];
  for (let i = 0; i < values.length; i += 16) out.push(`  ${values.slice(i, i + 16).join(", ")},`);
  return out.join("\n");
};
// The sparse tables go as byte streams of differences (LEB128, signed ones
// zigzag-coded), which are a third of the size of the values after gzip;
// the engine decodes them once, on first use.
class Stream {
  bytes = [];
  unsigned(n) {
    if (!Number.isInteger(n) || n < 0) throw new Error(`not a count: ${n}`);
    do {
      this.bytes.push((n & 0x7f) | (n > 0x7f ? 0x80 : 0));
      n = Math.floor(n / 128);
    } while (n > 0);
  }
  signed(n) {
    this.unsigned(n >= 0 ? 2 * n : -2 * n - 1);
  }
}
const lowerStream = new Stream();
let previous = 0;
for (const [from, to] of lower) {
  lowerStream.unsigned(from - previous);
  lowerStream.signed(to - from);
  previous = from;
}
const decompositionStream = new Stream();
previous = 0;
for (const [c, d] of decompositions) {
  decompositionStream.unsigned(c - previous);
  decompositionStream.unsigned(d.length);
  let before = c;
  for (const x of d) {
    decompositionStream.signed(x - before);
    before = x;
  }
  previous = c;
}
const compositionStream = new Stream();
previous = 0;
for (const [starter, mark, to] of compositions) {
  compositionStream.unsigned(starter - previous);
  compositionStream.unsigned(mark);
  compositionStream.signed(to - starter);
  previous = starter;
}
const stream = (name, count, s) => `constexpr std::size_t ${name}Count = ${count};
constexpr std::array<std::uint8_t, ${s.bytes.length}> ${name} = {
${list(s.bytes)}
};`;
const text = `// Made by js/tools/unicode-tables.mjs from utf8proc's data; do not edit.
constexpr int kBlockBits = 7;
constexpr std::array<std::uint8_t, ${pairs.length * 2}> kCategoryAndClass = {
${list(pairs.flat())}
};
constexpr std::array<std::uint16_t, ${blockOf.length}> kBlockOf = {
${list(blockOf)}
};
constexpr std::array<std::uint8_t, ${blocks.length * kBlock}> kBlocks = {
${list(blocks.flat())}
};
// Per lowercase mapping: the code point's distance from the last one, and
// the mapping's from the code point.
${stream("kLowercase", lower.length, lowerStream)}
// Per decomposition: the code point's distance from the last one, the
// length, and each code point's distance from the one before.
${stream("kDecomposition", decompositions.length, decompositionStream)}
// Per composition, by starter and mark: the starter's distance from the last
// one, the mark, and the composite's distance from the starter.
${stream("kComposition", compositions.length, compositionStream)}
`;
const current = await readFile(output, "utf8").catch(() => null);
if (current !== text) await writeFile(output, text);
console.log(`unicode-tables: ${pairs.length} category and class pairs, ${blocks.length} blocks, ` +
            `${lower.length} lowercase mappings, ${decompositions.length} decompositions, ` +
            `${compositions.length} compositions`);
