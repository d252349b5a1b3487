// A static file server for the browser test: serves js/ on 127.0.0.1 at a
// free port. Resolves to { url, close }. `handle(request, response)`, when
// given, may answer a request itself by returning true.
import { createServer } from "node:http";
import { readFile } from "node:fs/promises";
import { extname, normalize, sep } from "node:path";
import { fileURLToPath } from "node:url";

const root = fileURLToPath(new URL("../", import.meta.url));
const types = {
  ".html": "text/html; charset=utf-8", ".js": "text/javascript; charset=utf-8",
  ".mjs": "text/javascript; charset=utf-8", ".wasm": "application/wasm",
  ".gz": "application/octet-stream", ".json": "application/json",
};

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
