// The engine's utf8proc stand-in (js/src/unicode, with the tables that
// js/tools/unicode-tables.mjs made for this build) against the native
// utf8proc that the library links: test/unicode/answers.cpp is compiled with
// each and run, and their answers (every code point's category, lowercase,
// combining class and decomposition, and compositions of characters and
// marks) must be equal.
import assert from "node:assert/strict";
import { spawnSync } from "node:child_process";
import { existsSync, mkdtempSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { test } from "node:test";

const here = (path) => new URL(path, import.meta.url).pathname;
const tables = here("../../build/js/unicode/UnicodeTables.inc");
const compiler = process.env.CXX ?? "c++";
const haveCompiler = spawnSync(compiler, ["--version"]).status === 0;
const skip = !existsSync(tables) ? "js/build.sh has not made the Unicode tables" :
             !haveCompiler ? `no C++ compiler (${compiler})` : false;

function answers(directory, name, args) {
  const program = join(directory, name);
  const built = spawnSync(compiler, ["-std=c++20", "-O2", here("unicode/answers.cpp"), ...args,
                                     "-o", program], { encoding: "utf8" });
  assert.equal(built.status, 0, built.stderr);
  const run = spawnSync(program, [], { encoding: "utf8", maxBuffer: 1 << 24 });
  assert.equal(run.status, 0, run.stderr);
  return run.stdout.split("\n");
}

test("the engine's Unicode answers are utf8proc's", { skip }, () => {
  const directory = mkdtempSync(join(tmpdir(), "liang-unicode-"));
  try {
    const native = answers(directory, "native", ["-lutf8proc"]);
    const web = answers(directory, "web", [`-I${here("../src/unicode")}`,
                                           `-I${join(tables, "..")}`,
                                           here("../src/unicode/WebUtf8proc.cpp")]);
    assert.ok(native.length > 0x110000 / 0x1000); // a line per block of code points, and more
    assert.deepEqual(web, native);
  } finally {
    rmSync(directory, { recursive: true, force: true });
  }
});
