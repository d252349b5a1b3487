// Per-word speed of liang and hypher in headless Chromium (Debian's), the
// same words for both. Not in CI.  node browser.mjs
import { writeFileSync } from "node:fs";

import { dumpDom, serve } from "../test/server.mjs";
import { benchWords } from "./words.mjs";

writeFileSync(new URL("words.json", import.meta.url), JSON.stringify({
  "en-us": benchWords("en-us", 20000).words,
  "de-1996": benchWords("de-1996", 20000).words,
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
try {
  const dom = await dumpDom("/usr/bin/chromium", `${server.url}bench/browser.html`, 300000);
  console.log(result || dom);
} finally {
  await server.close();
}
