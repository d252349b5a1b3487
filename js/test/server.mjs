// What the browser test and benchmark share: a static file server that
// serves js/ on 127.0.0.1 at a free port, and headless Chromium dumping the
// DOM of a page it serves.
import { execFile } from "node:child_process";
import { mkdtempSync, rmSync } from "node:fs";
import { createServer } from "node:http";
import { readFile } from "node:fs/promises";
import { tmpdir } from "node:os";
import { extname, join, normalize, sep } from "node:path";
import { fileURLToPath } from "node:url";
import { promisify } from "node:util";

const root = fileURLToPath(new URL("../", import.meta.url));
const types = {
  ".html": "text/html; charset=utf-8", ".js": "text/javascript; charset=utf-8",
  ".mjs": "text/javascript; charset=utf-8", ".wasm": "application/wasm",
  ".json": "application/json",
};

// Resolves to { url, close }. `handle(request, response)`, when given, may
// answer a request itself by returning true.
export function serve(handle = () => false) {
  const server = createServer(async (request, response) => {
    if (handle(request, response)) return;
    const path = normalize(decodeURIComponent(new URL(request.url, "http://x").pathname));
    const file = root + path.replace(/^[/\\]+/, "");
    if (!file.startsWith(root) || path.split(sep).includes("..")) {
      response.writeHead(403).end();
      return;
    }
    try {
      const body = await readFile(file);
      response.writeHead(200, { "content-type": types[extname(file)] ?? "application/octet-stream" });
      response.end(body);
    } catch {
      response.writeHead(404).end();
    }
  });
  return new Promise((resolve) => {
    server.listen(0, "127.0.0.1", () => {
      resolve({ url: `http://127.0.0.1:${server.address().port}/`,
                close: () => new Promise((done) => server.close(done)) });
    });
  });
}

// The DOM of the page at `url` once it has loaded, as the headless browser at
// `chromium` dumps it, in a fresh profile. The server keeps answering
// meanwhile: the browser runs asynchronously.
export async function dumpDom(chromium, url, timeout) {
  const profile = mkdtempSync(join(tmpdir(), "liang-chromium-"));
  try {
    const { stdout } = await promisify(execFile)(chromium, [
      "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
      "--disable-background-networking", "--disable-component-update", "--disable-sync",
      `--user-data-dir=${profile}`, "--dump-dom", url,
    ], { encoding: "utf8", timeout, maxBuffer: 1 << 24 });
    return stdout;
  } finally {
    rmSync(profile, { recursive: true, force: true });
  }
}
