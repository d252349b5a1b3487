#!/usr/bin/env bash
# Builds the benchmarks in release and prints one summary table: liang per
# word against libhyphen, two-thread scaling, first use (in wall and CPU
# time, and beside Hyphenopoly's when bench/hyphenopoly holds it: run
# bench/first_use_vs_hyphenopoly.sh once, or npm install there), memory.
#
#   bench/run.sh [--repetitions=N] [--words=FILE] [--build-dir=DIR] [--keep=DIR]
#                [--no-instructions]
#
# With valgrind it also counts, under callgrind, the instructions a call of
# each word form (call_costs: a one-word insertHyphens against hyphenate,
# UTF-8 against code points) and each language's instructions a character
# (languages_bench --count; the per-language table is kept in
# languages_table.txt of --keep=DIR), and, with libhyphen and Debian's
# hyphen-* dictionaries installed, liang's instructions a word against
# libhyphen's in each language that has one (languages_bench --count
# --libhyphen; printed after the summary, and kept in libhyphen_table.txt).
# The memory of all 73 languages prepared is the peak resident set of a
# process that prepares them (prepared_memory). Last, running text through
# the liang tool (bench/running_text.py): instructions a byte of Debian's
# licence texts and of dictionary prose, plain and marked up, and MB/s of
# CPU time.
# Defaults: 5 repetitions (the table shows medians and the spread
# (max - min) / median of the repetitions), /usr/share/dict/american-english,
# build/bench. --keep=DIR keeps the raw JSON and console output there.
# When valgrind is installed it also counts the instructions per word of each
# contender under callgrind (one pass each, about a minute in all): a figure
# that, unlike the times, does not move with the load of a shared machine.
# Needs cmake, ninja, Google Benchmark and python3; libhyphen (libhyphen-dev,
# hyphen-en-us; the other hyphen-* packages for the per-language comparison) is
# used when found.
set -euo pipefail
cd "$(dirname "$0")/.."

repetitions=5
build=build/bench
keep=""
instructions=1
word_args=()
for arg in "$@"; do
  case "$arg" in
    --repetitions=*) repetitions="${arg#*=}" ;;
    --words=*) word_args=("$arg") ;;
    --build-dir=*) build="${arg#*=}" ;;
    --keep=*) keep="${arg#*=}" ;;
    --no-instructions) instructions=0 ;;
    *)
      echo "usage: bench/run.sh [--repetitions=N] [--words=FILE] [--build-dir=DIR] [--keep=DIR]" \
        "[--no-instructions]" >&2
      exit 2
      ;;
  esac
done

if [[ -n "$keep" ]]; then
  out="$keep"
  mkdir -p "$out"
else
  out="$(mktemp -d)"
  trap 'rm -rf "$out"' EXIT
fi

echo "== build ($build, Release)"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLIANG_BENCH=ON -DLIANG_TEST=OFF \
  >"$out/configure.txt"
grep -E "hyphenate_bench:" "$out/configure.txt" || true
cmake --build "$build" --target hyphenate_bench first_use_bench fresh_first_use call_costs \
  languages_bench prepared_memory liang_tool >"$out/build.txt"

echo "== load before measuring: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"

echo "== hyphenate_bench ($repetitions repetitions)"
# Repetitions run interleaved in a random order, so that a slow spell of a
# shared machine falls on both sides alike rather than on one contender.
"$build/bench/hyphenate_bench" "${word_args[@]}" --benchmark_repetitions="$repetitions" \
  --benchmark_enable_random_interleaving=true --benchmark_color=false \
  --benchmark_out="$out/hyphenate.json" --benchmark_out_format=json \
  >"$out/hyphenate.txt" 2>"$out/hyphenate.err" || { cat "$out/hyphenate.err" >&2; exit 1; }
sed -n '/^Summary/,$p' "$out/hyphenate.txt"

echo "== first_use_bench ($repetitions repetitions)"
"$build/bench/first_use_bench" --benchmark_filter='FirstHyphenate|FullIndex|ParseAllPatterns|InflateAllPatterns|ReadAllPatterns' \
  --benchmark_repetitions="$repetitions" --benchmark_color=false \
  --benchmark_out="$out/first_use.json" --benchmark_out_format=json >"$out/first_use.txt" \
  2>"$out/first_use.err" || { cat "$out/first_use.err" >&2; exit 1; }

# Hyphenopoly's first use of the same word in a fresh Node process, in the
# same rounds, when it is installed (it needs npm, so it is never required).
hungarian_word="megszentségteleníthetetlenség"
peer=""
if command -v node >/dev/null && [[ -d bench/hyphenopoly/node_modules/hyphenopoly ]]; then
  peer=bench/hyphenopoly/first_use.mjs
fi

# The shared hyphenators are built once per process: memory and the first
# use of a fresh process need a process per sample. A fresh process's first
# call varies with the host far more than a benchmark repetition does (one
# sample may take twice as long as the next), so it gets three samples per
# repetition.
echo "== memory of all 73 ($repetitions) and first use in fresh processes ($((3 * repetitions)) each)"
: >"$out/fresh.txt"  # a kept directory may hold an earlier run's samples
for ((i = 0; i < repetitions; i++)); do
  "$build/bench/prepared_memory" >"$out/prepared_$i.txt"
  "$build/bench/first_use_bench" --benchmark_filter='SharedResidentMemory' \
    --benchmark_out="$out/memory_$i.json" --benchmark_out_format=json >/dev/null 2>&1
  for ((k = 0; k < 3; k++)); do
    "$build/bench/fresh_first_use" English_US hyphenation >>"$out/fresh.txt"
    "$build/bench/fresh_first_use" Hungarian "$hungarian_word" >>"$out/fresh.txt"
    if [[ -n "$peer" ]]; then
      (cd "$(dirname "$peer")" && node first_use.mjs en-us hyphenation &&
        node first_use.mjs hu "$hungarian_word") >>"$out/fresh.txt"
    fi
  done
done
echo "== load after measuring: $(cut -d' ' -f1-3 /proc/loadavg)"

if ((instructions)) && command -v valgrind >/dev/null; then
  echo "== instructions per word (callgrind, one pass each)"
  for name in liang/hyphenationPoints liang/hyphenationPoints_utf8 liang/hyphenate \
    liang/hyphenationPoints_span libhyphen/hyphenate3; do
    file="$out/callgrind.${name//\//_}"
    if valgrind --tool=callgrind --callgrind-out-file="$file.out" \
      --toggle-collect='*profiledPasses*' "$build/bench/hyphenate_bench" "${word_args[@]}" \
      --profile="$name" >"$file.txt" 2>&1; then
      echo "$name $(grep -oE 'words [0-9]+ passes [0-9]+' "$file.txt")" \
        "$(grep -oE 'Collected : [0-9]+' "$file.txt")" >>"$out/instructions.txt"
    fi
  done
fi

if ((instructions)) && command -v valgrind >/dev/null; then
  # Instructions a call of each word form, on one pass over every 10th word
  # of the list (call_costs), and a language's instructions a character on
  # one pass over its words (languages_bench --count, a profile per language).
  echo "== instructions a call of each form, and a character in each language (callgrind)"
  for form in hyphenate points32 points8 span32 span8 insert insert_html; do
    valgrind --tool=callgrind --callgrind-out-file="$out/calls.$form.out" \
      --toggle-collect='*countedPass*' "$build/bench/call_costs" "$form" "${word_args[@]}" \
      >"$out/calls.$form.txt" 2>&1
    echo "$(grep -oE '^form .*' "$out/calls.$form.txt")" \
      "$(grep -oE 'Collected : [0-9]+' "$out/calls.$form.txt")" >>"$out/calls.txt"
  done
  # The first hyphenate of a fresh process (loading the language included),
  # counted alone.
  for language in English_US Hungarian; do
    word=hyphenation
    [[ "$language" == Hungarian ]] && word="$hungarian_word"
    valgrind --tool=callgrind --callgrind-out-file=/dev/null \
      --toggle-collect='liang::hyphenate[abi:cxx11](*' \
      "$build/bench/fresh_first_use" "$language" "$word" >"$out/first_ir.$language.txt" 2>&1
    echo "first_ir $language $(grep -oE 'Collected : [0-9]+' "$out/first_ir.$language.txt")" \
      >>"$out/calls.txt"
  done
  valgrind --tool=callgrind --callgrind-out-file="$out/languages.out" \
    --toggle-collect='*countedPass*' \
    "$build/bench/languages_bench" --count --span >"$out/languages.txt" 2>"$out/languages.err"
  # Left out, with a note, when languages_bench was built without libhyphen.
  valgrind --tool=callgrind --callgrind-out-file="$out/libhyphen.out" \
    --toggle-collect='*countedPass*' \
    "$build/bench/languages_bench" --count --libhyphen >"$out/libhyphen.txt" \
    2>"$out/libhyphen.err" || echo "(no per-language libhyphen comparison: $(tail -1 "$out/libhyphen.err"))"
fi

python3 - "$out" "$repetitions" <<'EOF'
import glob, json, os, statistics, sys

out, repetitions = sys.argv[1], int(sys.argv[2])
scale = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}

def iterations(path):
    with open(path) as f:
        data = json.load(f)
    runs = {}
    for b in data["benchmarks"]:
        if b.get("run_type", "iteration") != "iteration" or b.get("error_occurred"):
            continue
        runs.setdefault(b["run_name"], []).append(b)
    return runs

def stat(xs):
    if not xs:
        return None
    m = statistics.median(xs)
    return m, (max(xs) - min(xs)) / m if m else 0.0, len(xs)

def ns(b, field):
    return b[field] * scale[b["time_unit"]]

hyph = iterations(os.path.join(out, "hyphenate.json"))

# name -> instructions per word, from "NAME words W passes P Collected : IR"
instructions = {}
path = os.path.join(out, "instructions.txt")
if os.path.exists(path):
    with open(path) as f:
        for line in f:
            p = line.split()
            if len(p) == 8 and p[1] == "words" and p[3] == "passes":
                instructions[p[0]] = int(p[7]) / (int(p[2]) * int(p[4]))
first = iterations(os.path.join(out, "first_use.json"))

def per_word(name):
    runs = hyph.get(name, [])
    return [ns(b, "cpu_time") / b["words"] for b in runs]

def rate(name):
    return [b["items_per_second"] for b in hyph.get(name, [])]

rows = []

def row(label, s, unit, fmt, target=""):
    if s is None:
        rows.append((label, "n/a", "", target))
        return
    m, spread, n = s
    rows.append((label, (fmt % m) + " " + unit, "%.1f%% (%d)" % (100 * spread, n), target))

def ratio_row(label, lib, ours, target):
    if not lib or not ours:
        rows.append((label, "n/a (no libhyphen)", "", ">= %gx" % target))
        return
    paired = [l / o for l, o in zip(lib, ours)]
    x = statistics.median(lib) / statistics.median(ours)
    rows.append((label, "%.2fx" % x, "%.2f..%.2f" % (min(paired), max(paired)),
                 ">= %gx: %s" % (target, "met" if x >= target else "NOT met")))

points = per_word("liang/hyphenationPoints")
points8 = per_word("liang/hyphenationPoints_utf8")
pieces = per_word("liang/hyphenate")
span = per_word("liang/hyphenationPoints_span")
lib = per_word("libhyphen/hyphenate3")
row("liang hyphenationPoints (u32), per word", stat(points), "ns", "%.1f")
row("liang hyphenationPoints (UTF-8), per word", stat(points8), "ns", "%.1f")
row("liang hyphenate (pieces), per word", stat(pieces), "ns", "%.1f")
row("liang hyphenationPoints into a span, per word", stat(span), "ns", "%.1f")
row("libhyphen hnj_hyphen_hyphenate3, per word", stat(lib), "ns", "%.1f")
ratio_row("ratio hyphenationPoints / libhyphen", lib, points, 10)
ratio_row("ratio hyphenationPoints into a span / libhyphen", lib, span, 16)
ratio_row("ratio hyphenate / libhyphen", lib, pieces, 5)
for name, label in (("liang/hyphenationPoints", "hyphenationPoints (u32)"),
                    ("liang/hyphenationPoints_utf8", "hyphenationPoints (UTF-8)"),
                    ("liang/hyphenate", "hyphenate (pieces)"),
                    ("liang/hyphenationPoints_span", "hyphenationPoints into a span"),
                    ("libhyphen/hyphenate3", "libhyphen hyphenate3")):
    if name in instructions:
        rows.append(("instructions per word, " + label, "%.0f" % instructions[name],
                     "callgrind", ""))
lib_ir = instructions.get("libhyphen/hyphenate3")
for name, label, target in (("liang/hyphenationPoints", "hyphenationPoints", 10),
                            ("liang/hyphenate", "hyphenate", 5)):
    if lib_ir and name in instructions:
        rows.append(("instruction ratio libhyphen / " + label,
                     "%.2fx" % (lib_ir / instructions[name]), "callgrind",
                     "(time target %gx)" % target))
span_ir = instructions.get("liang/hyphenationPoints_span")
if lib_ir and span_ir:
    x = lib_ir / span_ir
    rows.append(("instruction ratio libhyphen / span form, en-us", "%.2fx" % x, "callgrind",
                 ">= 16x: %s" % ("met" if x >= 16 else "NOT met")))

one = rate("liang/hyphenationPoints_shared/real_time/threads:1")
two = rate("liang/hyphenationPoints_shared/real_time/threads:2")
row("1 thread, words/s (real time)", stat([x / 1e6 for x in one]), "M", "%.2f")
row("2 threads, one hyphenator, words/s", stat([x / 1e6 for x in two]), "M", "%.2f")
if one and two:
    paired = [t / o for o, t in zip(one, two)]
    x = statistics.median(two) / statistics.median(one)
    rows.append(("two-thread scaling", "%.2fx" % x, "%.2f..%.2f" % (min(paired), max(paired)),
                 ">= 1.8x: %s" % ("met" if x >= 1.8 else "NOT met")))
# Load-independent view of the same: the CPU time one thread spends on a pass
# alone and next to another (1.00: the threads do not slow each other down;
# wall-clock scaling then depends only on a free core being there).
cpu_one = [b["cpu_time"] for b in hyph.get("liang/hyphenationPoints_shared/real_time/threads:1", [])]
cpu_two = [b["cpu_time"] for b in hyph.get("liang/hyphenationPoints_shared/real_time/threads:2", [])]
if cpu_one and cpu_two:
    paired = [t / o for o, t in zip(cpu_one, cpu_two)]
    rows.append(("CPU per pass, 2 threads / 1 thread",
                 "%.2fx" % (statistics.median(cpu_two) / statistics.median(cpu_one)),
                 "%.2f..%.2f" % (min(paired), max(paired)), "1.00: no contention"))

def first_ms(name):
    return [ns(b, "real_time") / 1e6 for b in first.get(name, [])]

def met(s, limit):
    return "<= %g ms: %s" % (limit, "met" if s and s[0] <= limit else "NOT met")

fresh = {"English_US": [], "Hungarian": []}
faults = {"English_US": [], "Hungarian": []}
cpu = {"English_US": [], "Hungarian": []}
peer_cpu = {"English_US": [], "Hungarian": []}
with open(os.path.join(out, "fresh.txt")) as f:
    for line in f:
        parts = line.split()
        if len(parts) >= 3 and parts[0] == "first_use" and parts[1] in fresh:
            fresh[parts[1]].append(int(parts[2]) / 1e6)
            if len(parts) >= 7 and parts[5] == "faults":
                faults[parts[1]].append(int(parts[6]))
            if len(parts) >= 9 and parts[7] == "cpu":
                cpu[parts[1]].append(int(parts[8]) / 1e6)
        elif len(parts) >= 3 and parts[0] == "hyphenopoly":
            peer_cpu[{"en-us": "English_US", "hu": "Hungarian"}[parts[1]]].append(int(parts[2]) / 1e6)
for language, limit in (("English_US", 1), ("Hungarian", 30)):
    s = stat(first_ms("FirstHyphenate/" + language))
    row("first hyphenate, fresh %s hyphenator" % language, s, "ms", "%.3f", met(s, limit))
    s = stat(fresh[language])
    row("first hyphenate, fresh process, %s" % language, s, "ms", "%.3f", met(s, limit))
    # The process's CPU time in that call: the wall time less the spells the
    # machine's load kept it waiting.
    ours = stat(cpu[language])
    theirs = stat(peer_cpu[language])
    row("  its CPU time", ours, "ms", "%.3f",
        "" if not ours or not theirs else "ahead of Hyphenopoly: %s (%.1fx)" % (
            "met" if ours[0] < theirs[0] else "NOT met", theirs[0] / ours[0]))
    if theirs:
        row("  Hyphenopoly's, fresh Node process (CPU)", theirs, "ms", "%.3f")
    # What the machine's load does not move: the pages first touched, each a
    # page fault whose cost depends on the host (about 2 to 3 us on a VM).
    row("  page faults during it", stat(faults[language]), "", "%.0f")
for language in ("English_US", "Hungarian"):
    row("full index, built after some words, %s" % language,
        stat(first_ms("FullIndex/" + language)), "ms", "%.3f")
row("inflate all 73 pattern files (prebuilt tries)", stat(first_ms("InflateAllPatterns")), "ms",
    "%.1f")
row("read all 73 prebuilt tries", stat(first_ms("ReadAllPatterns")), "ms", "%.1f")
row("parse all 73 pattern texts instead", stat(first_ms("ParseAllPatterns")), "ms", "%.1f")

memory = []
for path in sorted(glob.glob(os.path.join(out, "memory_*.json"))):
    with open(path) as f:
        for b in json.load(f)["benchmarks"]:
            if b["name"].startswith("SharedResidentMemory"):
                memory.append(b["resident_bytes"] / 2**20)
# "prepared N max_rss_kib K rss_kib R before_kib B ...": the peak of the
# whole process (its runtime and the library's code included), and the
# growth of its resident set from before the first language to the end.
peak, grown = [], []
for path in sorted(glob.glob(os.path.join(out, "prepared_*.txt"))):
    with open(path) as f:
        for line in f:
            p = line.split()
            if len(p) >= 8 and p[0] == "prepared" and p[2] == "max_rss_kib":
                peak.append(int(p[3]) / 1024)
                grown.append((int(p[5]) - int(p[7])) / 1024)
for label, figures in (("peak resident set, a process preparing all 73", peak),
                       ("  its growth from before the first language", grown)):
    s = stat(figures)
    rows.append((label, "n/a" if s is None else "%.1f MiB" % s[0],
                 "" if s is None else "%.1f%% (%d)" % (100 * s[1], s[2]),
                 "<= 64 MiB: %s" % ("met" if s and s[0] <= 64 else "NOT met")))
s = stat(memory)
rows.append(("resident memory, all 73 shared hyphenators",
             "n/a" if s is None else "%.1f MiB" % s[0],
             "" if s is None else "%.1f%% (%d)" % (100 * s[1], s[2]),
             "<= 64 MiB: %s" % ("met" if s and s[0] <= 64 else "NOT met")))

# Targets in instructions: a one-word insertHyphens at most 2x hyphenate,
# the UTF-8 span form within 15% of the code-point one, every language
# within 1.5x English_US a character.
calls = {}
path = os.path.join(out, "calls.txt")
if os.path.exists(path):
    with open(path) as f:
        for line in f:
            p = line.split()
            if len(p) >= 11 and p[0] == "form":
                calls[p[1]] = (int(p[3]), int(p[5]), int(p[-1]))  # calls, chars, Ir
for form, label in (("hyphenate", "hyphenate (pieces)"), ("points32", "hyphenationPoints (u32)"),
                    ("points8", "hyphenationPoints (UTF-8)"), ("span32", "span form (u32)"),
                    ("span8", "span form (UTF-8)"), ("insert", "insertHyphens, one word"),
                    ("insert_html", "insertHyphens markup, one word")):
    if form in calls:
        n, chars, ir = calls[form]
        rows.append(("instructions a call, " + label, "%.0f" % (ir / n), "callgrind", ""))
def call_ratio(label, a, b, limit):
    if a in calls and b in calls:
        x = (calls[a][2] / calls[a][0]) / (calls[b][2] / calls[b][0])
        rows.append((label, "%.2fx" % x, "callgrind",
                     "<= %gx: %s" % (limit, "met" if x <= limit else "NOT met")))
call_ratio("one-word insertHyphens / hyphenate", "insert", "hyphenate", 2)
with open(path) if os.path.exists(path) else open(os.devnull) as f:
    for line in f:
        p = line.split()
        if len(p) == 5 and p[0] == "first_ir":
            rows.append(("instructions of the first hyphenate, fresh process, " + p[1],
                         "{:,}".format(int(p[4])), "callgrind", ""))
call_ratio("UTF-8 span form / code-point span form", "span8", "span32", 1.15)
letters = []
path = os.path.join(out, "languages.txt")
if os.path.exists(path):
    with open(path) as f:
        letters = [(p[1], int(p[3])) for p in (l.split() for l in f) if p and p[0] == "counted"]
per_char = {}
for k, (name, n) in enumerate(letters):
    dump = os.path.join(out, "languages.out.%d" % (k + 1))
    if not os.path.exists(dump) or n == 0:
        continue
    with open(dump) as f:
        for line in f:
            if line.startswith("totals:") or line.startswith("summary:"):
                per_char[name] = int(line.split()[1]) / n
                break
if "English_US" in per_char:
    english = per_char["English_US"]
    worst = max(per_char, key=per_char.get)
    over = sorted((n for n in per_char if per_char[n] > 1.5 * english),
                  key=per_char.get, reverse=True)
    rows.append(("instructions a character, English_US (span form)", "%.1f" % english,
                 "callgrind", ""))
    rows.append(("worst language / English_US, a character",
                 "%.2fx (%s, %.1f)" % (per_char[worst] / english, worst, per_char[worst]),
                 "%d languages" % len(per_char),
                 "<= 1.5x: %s" % ("met" if not over else "NOT met: " + ", ".join(over))))
    with open(os.path.join(out, "languages_table.txt"), "w") as f:
        for name in sorted(per_char, key=per_char.get):
            f.write("%-20s %7.1f %5.2f\n" % (name, per_char[name], per_char[name] / english))

# liang's span form against libhyphen, a word, in each language Debian
# ships a dictionary for: pairs of profiles, liang's then libhyphen's.
against = {}
path = os.path.join(out, "libhyphen.txt")
if os.path.exists(path):
    with open(path) as f:
        counted = [p[1] for p in (l.split() for l in f) if p and p[0] == "counted"]
    totals = []
    for k in range(len(counted)):
        dump = os.path.join(out, "libhyphen.out.%d" % (k + 1))
        total = None
        if os.path.exists(dump):
            with open(dump) as f:
                for line in f:
                    if line.startswith("totals:") or line.startswith("summary:"):
                        total = int(line.split()[1])
                        break
        totals.append(total)
    for k in range(0, len(counted) - 1, 2):
        name = counted[k]
        if counted[k + 1] == "libhyphen:" + name and totals[k] and totals[k + 1]:
            against[name] = totals[k + 1] / totals[k]
if against:
    worst = min(against, key=against.get)
    under = sorted((n for n in against if against[n] < 8), key=against.get)
    rows.append(("fewest times fewer instructions than libhyphen",
                 "%.2fx (%s)" % (against[worst], worst), "%d languages" % len(against),
                 ">= 8x: %s" % ("met" if not under else "NOT met: " + ", ".join(under))))
    with open(os.path.join(out, "libhyphen_table.txt"), "w") as f:
        for name in sorted(against, key=against.get):
            f.write("%-20s %6.2fx\n" % (name, against[name]))

widths = [max(len(r[i]) for r in rows + [("measure", "median", "spread (runs)", "target")])
          for i in range(4)]
print()
line = "| " + " | ".join(h.ljust(w) for h, w in
                         zip(("measure", "median", "spread (runs)", "target"), widths)) + " |"
print(line)
print("|" + "|".join("-" * (w + 2) for w in widths) + "|")
for r in rows:
    print("| " + " | ".join(c.ljust(w) for c, w in zip(r, widths)) + " |")
if against:
    print("\nlibhyphen's instructions a word / liang's (span form), same words, callgrind:")
    names = sorted(against, key=against.get)
    for k in range(0, len(names), 4):
        print("  " + "  ".join("%-20s %6.2fx" % (n, against[n]) for n in names[k:k + 4]))
print("\nper word: CPU time of one thread over the whole list / words; spread: (max - min) /"
      " median of the repetitions; ratios: libhyphen's time per word / liang's (range: paired"
      " repetitions)")
EOF

echo
echo "== running text, the liang tool (bench/running_text.py)"
instruction_args=()
((instructions)) || instruction_args=(--no-instructions)
python3 bench/running_text.py --tool="$build/tools/liang" --repetitions="$repetitions" \
  --keep="$out" "${instruction_args[@]}"
