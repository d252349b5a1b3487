#!/usr/bin/env bash
# Builds the JavaScript package from a fresh clone: the WebAssembly engine
# (Debian's emscripten), the generated modules, the language files, and the
# tarball liang-<version>.tgz in js/. Needs: emscripten, cmake, ninja-build,
# a native C++ compiler and zlib (for the build tool that makes the pattern
# images, as the native build does), nodejs (>= 20) and npm; utf8proc's
# source (whose data the engine's Unicode tables are made from) comes from
# Debian's source package (a deb-src list written under build/js, /etc/apt
# left alone).
#   js/build.sh            build and pack
#   js/build.sh --no-pack  build only (the package then runs from js/)
set -euo pipefail
js="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(dirname "$js")"
work="$root/build/js"
mkdir -p "$work"

# Debian's emscripten finds its JavaScript tools (acorn ...) among Debian's
# node modules, which a Node from elsewhere does not search by itself.
export NODE_PATH="/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}"

# utf8proc's sources, the release that Debian's libutf8proc-dev has.
utf8proc="$(find "$work/src" -maxdepth 2 -name utf8proc.c -printf '%h\n' 2>/dev/null | head -n 1 || true)"
if [[ -z "$utf8proc" ]]; then
  apt_dir="$work/apt"
  mkdir -p "$apt_dir/state/lists/partial" "$apt_dir/cache/archives/partial" "$work/src"
  echo "deb-src http://deb.debian.org/debian bookworm main" >"$apt_dir/sources.list"
  apt_options=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o "Dir::Etc::SourceParts=/dev/null"
    -o "Dir::State=$apt_dir/state" -o "Dir::Cache=$apt_dir/cache" -o "Debug::NoLocking=1"
    -o "APT::Sandbox::User=$(id -un)")
  apt-get "${apt_options[@]}" -qq update
  (cd "$apt_dir" && apt-get "${apt_options[@]}" -qq source --download-only utf8proc)
  tar -xzf "$apt_dir"/utf8proc_*.orig.tar.gz -C "$work/src"
  utf8proc="$(find "$work/src" -maxdepth 2 -name utf8proc.c -printf '%h\n' | head -n 1)"
fi

# The Unicode tables that stand in for utf8proc's (tools/unicode-tables.mjs).
mkdir -p "$work/unicode"
node "$js/tools/unicode-tables.mjs" "$utf8proc" "$work/unicode/UnicodeTables.inc"

launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
emcmake cmake -S "$js" -B "$work/wasm" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLIANG_WERROR=ON \
  -DUNICODE_TABLES="$work/unicode/UnicodeTables.inc" "${launcher[@]}" >/dev/null
cmake --build "$work/wasm"

# The data set as the native library embeds it, each pattern file the image
# of its trie, here uncompressed: the native build's own tool, built for
# this machine (src/languages/data/host), writes it; tools/generate.mjs
# makes each language's file of it.
cmake -S "$root/src/languages/data/host" -B "$work/host" -G Ninja -DCMAKE_BUILD_TYPE=Release --no-warn-unused-cli \
  "${launcher[@]}" >/dev/null
cmake --build "$work/host"
rm -rf "$work/files"
mkdir -p "$work/files"
"$work/host/liang_embed_files" --raw-above=0 --files-to="$work/files" "$root"/data/hyph-*.txt.gz

mkdir -p "$js/dist"
cp "$work/wasm/liang.wasm" "$js/dist/liang.wasm"
cp "$root/LICENSE" "$js/LICENSE"
node "$js/tools/generate.mjs" "$work/files"

if [[ "${1:-}" != "--no-pack" ]]; then
  (cd "$js" && rm -f liang-*.tgz && npm pack --silent)
fi
