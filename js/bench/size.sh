#!/usr/bin/env bash
# Sizes after gzip -9: liang's engine (wasm and JavaScript), English's file
# (stored raw, as small files are), and the peers' own code and English
# patterns. Not in CI.
#   cd js/bench && npm install && ./size.sh
set -euo pipefail
cd "$(dirname "$0")/.."
gz() { cat "$@" | gzip -9 | wc -c; }
engine=$(( $(gz dist/liang.wasm) + $(gz lib/index.js) ))
english=$(gz data/en-us.liang)
echo "liang: wasm $(stat -c %s dist/liang.wasm) B raw, $(gz dist/liang.wasm) B gzip -9;" \
  "engine with its JavaScript $engine B; English's file $english B; engine + English $((engine + english)) B"
echo "liang/dom adds $(gz lib/dom.js) B"
n=bench/node_modules
echo "hypher: $(gz $n/hypher/lib/hypher.js) B; with hyphenation.en-us $(gz $n/hypher/lib/hypher.js $n/hyphenation.en-us/lib/en-us.js) B"
echo "hyphen: $(gz $n/hyphen/hyphen.js $n/hyphen/export-contract.js) B; with en-us $(gz $n/hyphen/hyphen.js $n/hyphen/export-contract.js $n/hyphen/patterns/en-us.js) B"
