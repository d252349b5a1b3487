#!/usr/bin/env bash
# First use beside Hyphenopoly: for every language both have, the CPU time of
# the first hyphenate in a fresh process -- liang's (bench/fresh_first_use:
# loading the language's files and hyphenating one word, in process CPU
# time) and Hyphenopoly's (bench/hyphenopoly/first_use.mjs: reading and
# instantiating the language's .wasm and hyphenating the same word). Each
# sample is a process of its own; the two alternate, so a busy spell of a
# shared machine falls on both. Prints the medians, in milliseconds, and
# their ratio (Hyphenopoly's / liang's: above 1, liang is ahead).
#
#   bench/first_use_vs_hyphenopoly.sh [--samples=N] [--build-dir=DIR] [LANGUAGE...]
#
# LANGUAGE is an affix (hu, en-us, ...); the default is every language of
# data/ that Hyphenopoly ships (its de is liang's de-1996). The word is the
# letters of the language's four longest patterns, joined. Needs node and
# npm: the first run installs Hyphenopoly into bench/hyphenopoly (not part
# of CI).
set -euo pipefail
cd "$(dirname "$0")/.."

samples=5
build=build/bench
languages=()
for arg in "$@"; do
  case "$arg" in
    --samples=*) samples="${arg#*=}" ;;
    --build-dir=*) build="${arg#*=}" ;;
    -*)
      echo "usage: bench/first_use_vs_hyphenopoly.sh [--samples=N] [--build-dir=DIR] [LANGUAGE...]" >&2
      exit 2
      ;;
    *) languages+=("$arg") ;;
  esac
done

if [[ ! -d bench/hyphenopoly/node_modules/hyphenopoly ]]; then
  (cd bench/hyphenopoly && npm install --no-audit --no-fund >/dev/null)
fi
patterns=bench/hyphenopoly/node_modules/hyphenopoly/patterns

# A build directory that exists keeps its configuration (it only gains the
# benchmarks); a new one is configured for release without the tests.
if [[ -f "$build/CMakeCache.txt" ]]; then
  cmake -B "$build" -DLIANG_BENCH=ON >/dev/null
else
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLIANG_BENCH=ON -DLIANG_TEST=OFF \
    >/dev/null
fi
cmake --build "$build" --target fresh_first_use >/dev/null

# Hyphenopoly's name of a liang affix, or nothing when it has no such language.
peer_name() {
  local name="$1"
  [[ "$name" == de-1996 ]] && name=de
  [[ -f "$patterns/$name.wasm" ]] && echo "$name"
  return 0
}

if ((${#languages[@]} == 0)); then
  for file in data/hyph-*.pat.txt.gz; do
    affix="${file#data/hyph-}"
    languages+=("${affix%.pat.txt.gz}")
  done
fi

out="$(mktemp)"
trap 'rm -f "$out"' EXIT
for affix in "${languages[@]}"; do
  peer="$(peer_name "$affix")"
  [[ -n "$peer" ]] || continue
  # The letters of the four longest pattern lines, joined: a word of the
  # language's script, long enough to pass its minima.
  word="$(python3 -c '
import gzip, sys
lines = gzip.open(sys.argv[1]).read().decode("utf-8", "replace").split("\n")
letters = ["".join(c for c in l if not c.isdigit() and c != ".") for l in lines]
print("".join(sorted(letters, key=len, reverse=True)[:4]))' "data/hyph-$affix.pat.txt.gz")"
  for ((i = 0; i < samples; i++)); do
    "$build/bench/fresh_first_use" "$affix" "$word" | awk -v a="$affix" '{print "liang", a, $9}' >>"$out"
    (cd bench/hyphenopoly && node first_use.mjs "$peer" "$word") |
      awk -v a="$affix" '{print "hyphenopoly", a, $3}' >>"$out"
  done
done

python3 - "$out" <<'PY'
import statistics, sys
samples = {}
with open(sys.argv[1]) as f:
    for line in f:
        who, affix, ns = line.split()
        samples.setdefault(affix, {}).setdefault(who, []).append(int(ns) / 1e6)
print("first use in a fresh process, CPU ms (median of %d)" % len(next(iter(samples.values()))["liang"]))
print("%-16s %10s %12s %8s" % ("language", "liang", "Hyphenopoly", "ratio"))
behind = []
for affix, s in samples.items():
    ours, theirs = statistics.median(s["liang"]), statistics.median(s["hyphenopoly"])
    print("%-16s %10.3f %12.3f %7.1fx" % (affix, ours, theirs, theirs / ours))
    if ours >= theirs:
        behind.append(affix)
print("liang ahead in %d of %d languages%s" % (len(samples) - len(behind), len(samples),
      "" if not behind else "; behind in " + ", ".join(behind)))
PY
