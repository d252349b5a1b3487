// Per-word speed of liang and hypher in headless Chromium (Debian's), the
// same words for both. Not in CI.  node browser.mjs
import { execFile } from "node:child_process";
import { mkdtempSync, rmSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { promisify } from "node:util";

import { serve } from "../test/server.mjs";
import { languageWords } from "../test/support.mjs";

writeFileSync(new URL("words.json", import.meta.url), JSON.stringify({
  "en-us": languageWords("en-us", 20000).map((w) => w.toLowerCase()),
  "de-1996": languageWords("de-1996", 20000).map((w) => w.toLowerCase()),
}));
// The page posts its result; its image /hold is answered only then, which
// keeps the load event (and so --dump-dom) waiting in real time.
let release;
const done = new Promise((resolve) => { release = resolve; });
let result = "";
const server = await serve((request, response) => {
  if (request.url === "/result") {
    request.setEncoding("utf8");
    request.on("data", (chunk) => { result += chunk; });
    request.on("end", () => { response.end(); release(); });
    return true;
  }
  if (request.url === "/hold") {
    done.then(() => response.writeHead(404).end());
    return true;
  }
  return false;
});
const profile = mkdtempSync(join(tmpdir(), "liang-bench-"));
try {
  const { stdout } = await promisify(execFile)("/usr/bin/chromium", [
    "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
    "--disable-background-networking", "--disable-component-update", "--disable-sync",
    `--user-data-dir=${profile}`, "--dump-dom",
    `${server.url}bench/browser.html`], { encoding: "utf8", timeout: 300000 });
  console.log(result || stdout);
} finally {
  rmSync(profile, { recursive: true, force: true });
  await server.close();
}
