#!/usr/bin/env python3
"""Running text through the liang tool: instructions a byte and MB/s of CPU time.

    bench/running_text.py --tool=build/bench/tools/liang [--repetitions=N] [--keep=DIR]
                          [--no-instructions]

Corpora, each plain and as HTML (the same text escaped, a <p> a paragraph and
every eleventh word in <em>):
  licences    the licence texts of Debian's base-files (/usr/share/common-licenses:
              Apache-2.0, Artistic, GPL-2, GPL-3, LGPL-2.1, LGPL-3, MPL-2.0,
              GFDL-1.3) concatenated four times over: real English prose;
  dictionary  the words of /usr/share/dict/american-english in a fixed random
              order as sentences: long, rare words, the hard case.
Instructions come from callgrind, which the host's load does not move:
  whole run   every instruction of `liang -l en-us < corpus`, start-up and
              loading the patterns included, over the corpus's bytes;
  a byte more the instructions the same corpus twice over costs beyond it once,
              over its bytes: what each further byte of text costs.
Markup is counted a byte of its plain text, so that the two compare like with
like (the markup is some 15% larger). MB/s is the tool's CPU time (user + sys)
over some 40 MB of each plain corpus, the median of the repetitions.
Prints one table; the figures are also written to DIR/running_text.txt with --keep.
"""
import html
import os
import random
import re
import resource
import shutil
import statistics
import subprocess
import sys
import tempfile

LICENCES = ["Apache-2.0", "Artistic", "GPL-2", "GPL-3", "LGPL-2.1", "LGPL-3", "MPL-2.0",
            "GFDL-1.3"]


def licence_prose():
    texts = []
    for name in LICENCES:
        with open(os.path.join("/usr/share/common-licenses", name), encoding="utf-8") as f:
            texts.append(f.read())
    return "".join(texts) * 4


def dictionary_prose(target=2_000_000):
    with open("/usr/share/dict/american-english", encoding="utf-8") as f:
        words = [w.strip() for w in f if w.strip()]
    rng = random.Random(1729)
    rng.shuffle(words)
    out, n, sentence = [], 0, 0
    size = 0
    while size < target:
        length = 6 + rng.randrange(12)
        parts = []
        for k in range(length):
            w = words[n % len(words)]
            n += 1
            if k == 0:
                w = w[:1].upper() + w[1:]
            parts.append(w + ("." if k + 1 == length else ("," if rng.randrange(9) == 0 else "")))
        sentence += 1
        text = " ".join(parts) + ("\n\n" if sentence % 10 == 0 else " ")
        out.append(text)
        size += len(text.encode())
    return "".join(out)


def as_html(text):
    body = []
    for paragraph in text.split("\n\n"):
        words = html.escape(paragraph, quote=False).split(" ")
        for k in range(3, len(words), 11):
            if words[k].strip():
                words[k] = "<em>" + words[k] + "</em>"
        body.append("<p>" + " ".join(words) + "</p>\n\n")
    return ('<!DOCTYPE html>\n<html lang="en"><head><title>Prose</title></head><body>\n' +
            "".join(body) + "</body></html>\n")


def instructions(tool, args, path):
    with tempfile.NamedTemporaryFile() as dump, open(path, "rb") as stdin:
        run = subprocess.run(["valgrind", "--tool=callgrind", "--callgrind-out-file=" + dump.name,
                              tool] + args, stdin=stdin, stdout=subprocess.DEVNULL,
                             stderr=subprocess.PIPE, text=True, check=True)
    return int(re.search(r"Collected : (\d+)", run.stderr).group(1))


def cpu_seconds(tool, args, path):
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    with open(path, "rb") as stdin:
        subprocess.run([tool] + args, stdin=stdin, stdout=subprocess.DEVNULL, check=True)
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    return (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)


def main():
    tool, repetitions, keep, count = None, 3, None, True
    for arg in sys.argv[1:]:
        if arg.startswith("--tool="):
            tool = arg.split("=", 1)[1]
        elif arg.startswith("--repetitions="):
            repetitions = int(arg.split("=", 1)[1])
        elif arg.startswith("--keep="):
            keep = arg.split("=", 1)[1]
        elif arg == "--no-instructions":
            count = False
        else:
            sys.exit(__doc__)
    if tool is None:
        sys.exit(__doc__)
    work = tempfile.mkdtemp()
    try:
        rows = measure(tool, repetitions, work, count)
    finally:
        shutil.rmtree(work)
    widths = [max(len(r[i]) for r in rows) for i in range(3)]
    lines = ["| " + " | ".join(c.ljust(w) for c, w in zip(r, widths)) + " |" for r in rows]
    lines.insert(1, "|" + "|".join("-" * (w + 2) for w in widths) + "|")
    print("\n".join(lines))
    if keep:
        os.makedirs(keep, exist_ok=True)
        with open(os.path.join(keep, "running_text.txt"), "w") as f:
            f.write("\n".join(lines) + "\n")


def measure(tool, repetitions, work, count):
    corpora = {}
    try:
        corpora["licences"] = licence_prose()
    except OSError:
        pass
    if os.path.exists("/usr/share/dict/american-english"):
        corpora["dictionary"] = dictionary_prose()
    rows = [("running text, the liang tool (en-us)", "figure", "target")]
    have_valgrind = count and shutil.which("valgrind") is not None
    for name, text in corpora.items():
        plain_bytes = len(text.encode())
        per_byte = {}
        for kind, body, args in (("plain", text, ["-l", "en-us"]),
                                 ("markup", as_html(text), ["-l", "en-us", "--html"])):
            once = os.path.join(work, "%s.%s" % (name, kind))
            twice = once + ".twice"
            with open(once, "w", encoding="utf-8") as f:
                f.write(body)
            with open(twice, "w", encoding="utf-8") as f:
                f.write(body + body)
            if not have_valgrind:
                continue
            whole = instructions(tool, args, once)
            more = instructions(tool, args, twice) - whole
            per_byte[kind] = more / plain_bytes
            target = "<= 70" if name == "licences" and kind == "plain" else ""
            rows.append(("%s %s (%.1f MB), instructions a byte, whole run" %
                         (name, kind, plain_bytes / 1e6), "%.1f" % (whole / plain_bytes),
                         target + (": %s" % ("met" if whole / plain_bytes <= 70 else "NOT met")
                                   if target else "")))
            rows.append(("%s %s, instructions a byte more" % (name, kind),
                         "%.1f" % per_byte[kind],
                         target + (": %s" % ("met" if per_byte[kind] <= 70 else "NOT met")
                                   if target else "")))
        if "plain" in per_byte and "markup" in per_byte:
            ratio = per_byte["markup"] / per_byte["plain"]
            rows.append(("%s markup / plain, a byte more" % name, "%.2fx" % ratio,
                         "<= 1.5x: %s" % ("met" if ratio <= 1.5 else "NOT met")))
        # Some 40 MB of the plain text, timed.
        big = os.path.join(work, name + ".big")
        copies = max(1, round(40e6 / plain_bytes))
        with open(big, "w", encoding="utf-8") as f:
            for _ in range(copies):
                f.write(text)
        seconds = [cpu_seconds(tool, ["-l", "en-us"], big) for _ in range(repetitions)]
        rate = copies * plain_bytes / 1e6 / statistics.median(seconds)
        rows.append(("%s plain, MB/s of CPU time (%d MB, median of %d)" %
                     (name, round(copies * plain_bytes / 1e6), repetitions), "%.0f" % rate,
                     ">= 150: %s" % ("met" if rate >= 150 else "NOT met")
                     if name == "licences" else ""))
    return rows


if __name__ == "__main__":
    main()
