// Writes a smaller utf8proc_data.c for the WebAssembly engine, with what the
// text layer reads (general category, canonical decomposition, combining
// class, composition) and nothing else: the fields it never reads (bidi
// class, case mappings, width, boundaries ...) are set to their empty value,
// the property rows that then coincide are merged, and so are the blocks of
// 256 code points that then coincide. The remaining data is untouched, so
// the answers of utf8proc_category, utf8proc_get_property()->combining_class,
// utf8proc_decompose_char (UTF8PROC_DECOMPOSE) and utf8proc_normalize_utf32
// (UTF8PROC_COMPOSE) are the release's own.
//   node slim-utf8proc.mjs <utf8proc source dir> <output dir>
// The output dir gets utf8proc.c, utf8proc.h and the new utf8proc_data.c.
import { readFile, writeFile } from "node:fs/promises";
import { join } from "node:path";

const [source, output] = process.argv.slice(2);
const data = await readFile(join(source, "utf8proc_data.c"), "utf8");

function array(name) {
  const start = data.indexOf(`${name}[] = {`);
  if (start < 0) throw new Error(`utf8proc_data.c has no ${name}`);
  const open = data.indexOf("{", start);
  const close = data.indexOf("};", open);
  return { start, open, close, body: data.slice(open + 1, close) };
}

// The property rows: 17 fields each, kept where the text layer reads them.
const properties = array("utf8proc_properties");
const rows = [...properties.body.matchAll(/\{([^}]*)\}/g)].map((m) => m[1].split(",").map((f) =>
  f.trim()));
if (rows.some((r) => r.length !== 17)) throw new Error("unexpected utf8proc_property_t layout");
const kept = new Set([0, 1, 3, 4, 9, 11]); // category, combining class, decomposition type
// and sequence, composition index, composition exclusion
const empty = ["0", "0", "0", "0", "UINT16_MAX", "UINT16_MAX", "UINT16_MAX", "UINT16_MAX",
  "UINT16_MAX", "UINT16_MAX", "false", "false", "false", "false", "0", "0", "0"];
const newRows = [];
const rowIndex = new Map();
const oldToNew = rows.map((row) => {
  const slim = row.map((field, i) => (kept.has(i) ? field : empty[i])).join(", ");
  if (!rowIndex.has(slim)) {
    rowIndex.set(slim, newRows.length);
    newRows.push(slim);
  }
  return rowIndex.get(slim);
});

// The two-stage table: stage1[c >> 8] is the start of c's block in stage2.
const numbers = (body) => body.split(",").map((s) => s.trim()).filter(Boolean).map(Number);
const stage1 = numbers(array("utf8proc_stage1table").body);
const stage2 = numbers(array("utf8proc_stage2table").body).map((i) => oldToNew[i]);
const blocks = [];
const blockIndex = new Map();
const newStage1 = stage1.map((offset) => {
  const key = stage2.slice(offset, offset + 256).join(",");
  if (!blockIndex.has(key)) {
    blockIndex.set(key, blocks.length * 256);
    blocks.push(key);
  }
  return blockIndex.get(key);
});

// The sequences: those of the decompositions kept, the others (case
// mappings) zeroed, as utf8proc's seqindex_write_char_decomposed reads them.
const sequences = numbers(array("utf8proc_sequences").body);
const used = new Uint8Array(sequences.length);
for (const row of rows) {
  if (row[4] === "UINT16_MAX") continue;
  const seqindex = Number(row[4]);
  let at = seqindex & 0x3fff;
  let len = seqindex >> 14;
  if (len >= 3) {
    used[at] = 1;
    len = sequences[at++];
  }
  for (; len >= 0; --len) {
    const surrogate = (sequences[at] & 0xf800) === 0xd800;
    used[at++] = 1;
    if (surrogate) used[at++] = 1;
  }
}
const slimSequences = sequences.map((v, i) => (used[i] ? v : 0));

const lines = (values) => {
  const out = [];
  for (let i = 0; i < values.length; i += 16) out.push(`  ${values.slice(i, i + 16).join(", ")},`);
  return out.join("\n");
};
let result = data;
const replace = (name, body) => {
  const a = array(name);
  const current = result.indexOf(`${name}[] = {`);
  const open = result.indexOf("{", current);
  const close = result.indexOf("};", open);
  result = `${result.slice(0, open + 1)}\n${body}\n${result.slice(close)}`;
  return a;
};
replace("utf8proc_sequences", lines(slimSequences));
replace("utf8proc_properties", newRows.map((r) => `  {${r}},`).join("\n"));
replace("utf8proc_stage1table", lines(newStage1));
replace("utf8proc_stage2table", lines(blocks.join(",").split(",")));
// Files are written only when they change, so that a rebuild compiles nothing.
async function update(name, text) {
  const current = await readFile(join(output, name), "utf8").catch(() => null);
  if (current !== text) await writeFile(join(output, name), text);
}
await update("utf8proc_data.c",
             `/* Made from utf8proc's own by js/tools/slim-utf8proc.mjs. */\n${result}`);
for (const name of ["utf8proc.c", "utf8proc.h"]) {
  await update(name, await readFile(join(source, name), "utf8"));
}
console.log(`slim-utf8proc: ${rows.length} -> ${newRows.length} properties, ` +
            `${stage2.length / 256} -> ${blocks.length} blocks`);
