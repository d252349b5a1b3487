#!/usr/bin/env python3
"""liang's Python package beside Debian's Pyphen, in one process.

    PYTHONPATH=build/python/python /usr/bin/python3 python/bench/bench_pyphen.py

(or any interpreter where `import liang` and `import pyphen` work). On the
words of a word list (Debian's american-english by default) it measures:
  - positions per word, and a word with its hyphens inserted: Pyphen with a fresh dictionary for every pass, so
    that each word is looked up, never answered from Pyphen's cache; liang
    through Hyphenator.positions, liang.positions and liang.pyphen;
  - a whole text (the words joined into sentences): liang.insert_hyphens in
    one call, against Pyphen's inserted called word by word;
  - insert_hyphens from several threads at once (the GIL is released);
  - how often Pyphen and liang.pyphen (both left=2, right=2) give the same
    breaks, and the kinds of words where they differ.
Every timing is the best of several passes; the order of the words is kept.
"""

import argparse
import sys
import threading
import time

import liang
from liang import pyphen as liang_pyphen


def best_of(passes, run):
    """The shortest of `passes` runs of run() (seconds); run(k) gets the pass number."""
    times = []
    for k in range(passes):
        start = time.perf_counter()
        run(k)
        times.append(time.perf_counter() - start)
    return min(times)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--words", default="/usr/share/dict/american-english")
    parser.add_argument("--passes", type=int, default=5)
    parser.add_argument("--pyphen-passes", type=int, default=3)
    parser.add_argument("--threads", type=int, default=2)
    args = parser.parse_args()

    import pyphen  # Debian's python3-pyphen

    with open(args.words, encoding="utf-8") as f:
        words = [line.strip() for line in f if line.strip()]
    count = len(words)
    print(f"{count} words from {args.words}; liang {liang.__version__}, "
          f"Pyphen {getattr(pyphen, '__version__', '?')}, Python {sys.version.split()[0]}")

    # Positions per word.
    def pyphen_pass(_):
        dic = pyphen.Pyphen(lang="en_US", cache=False)  # a fresh dictionary, an empty cache
        for word in words:
            dic.positions(word)

    # Like Pyphen's pass, each loop keeps no result: keeping 100,000 lists
    # would time the garbage collector as much as the calls.
    def each(call):
        for word in words:
            call(word)

    def each_en_us(call):
        for word in words:
            call(word, "en-us")

    theirs = best_of(args.pyphen_passes, pyphen_pass)
    h = liang.Hyphenator("en-us")
    ours_pyphen = liang_pyphen.Pyphen(lang="en_US")
    rows = [("Pyphen.positions (fresh dictionary)", theirs)]
    for name, loop in (
        ("liang.Hyphenator.positions", lambda _: each(h.positions)),
        ("liang.positions (lang default)", lambda _: each(liang.positions)),
        ("liang.positions(word, 'en-us')", lambda _: each_en_us(liang.positions)),
        ("liang.pyphen.Pyphen.positions", lambda _: each(ours_pyphen.positions)),
        ("liang.Hyphenator.hyphenate", lambda _: each(h.hyphenate)),
    ):
        rows.append((name, best_of(args.passes, loop)))
    print("\npositions per word")
    for name, seconds in rows:
        print(f"  {name:40s} {seconds / count * 1e9:9.0f} ns/word  {theirs / seconds:7.1f}x Pyphen")

    # A word with its hyphens inserted, a call per word.
    def pyphen_inserted(_):
        dic = pyphen.Pyphen(lang="en_US", cache=False)
        for word in words:
            dic.inserted(word)

    theirs_inserted = best_of(args.pyphen_passes, pyphen_inserted)
    rows = [("Pyphen.inserted (fresh dictionary)", theirs_inserted)]
    for name, loop in (
        ("liang.insert_hyphens(word, 'en-us')", lambda _: each_en_us(liang.insert_hyphens)),
        ("liang.Hyphenator.insert_hyphens", lambda _: each(h.insert_hyphens)),
        ("liang.pyphen.Pyphen.inserted", lambda _: each(ours_pyphen.inserted)),
    ):
        rows.append((name, best_of(args.passes, loop)))
    print("\ninserted hyphens per word")
    for name, seconds in rows:
        print(f"  {name:40s} {seconds / count * 1e9:9.0f} ns/word  "
              f"{theirs_inserted / seconds:7.1f}x Pyphen")

    # A whole text.
    sentences = []
    for k in range(0, count, 12):
        chunk = words[k:k + 12]
        sentences.append(" ".join(chunk).capitalize() + ".")
    text = " ".join(sentences)
    tokens = text.split(" ")

    def pyphen_text(_):
        dic = pyphen.Pyphen(lang="en_US", cache=False)
        " ".join(dic.inserted(token) for token in tokens)

    theirs_text = best_of(args.pyphen_passes, pyphen_text)
    ours_text = best_of(args.passes, lambda _: liang.insert_hyphens(text, hyphen="-"))
    megabytes = len(text.encode()) / 1e6
    print(f"\na text of {megabytes:.1f} MB, {len(tokens)} words")
    print(f"  Pyphen.inserted word by word           {theirs_text:8.3f} s")
    print(f"  liang.insert_hyphens (one call)        {ours_text:8.3f} s  "
          f"{megabytes / ours_text:6.0f} MB/s  {theirs_text / ours_text:7.1f}x Pyphen")

    # Threads: the text in as many parts, hyphenated at once.
    size = len(text) // args.threads
    parts = [text[k * size:(k + 1) * size] for k in range(args.threads)]

    def threaded(_):
        workers = [threading.Thread(target=h.insert_hyphens, args=(part,)) for part in parts]
        for w in workers:
            w.start()
        for w in workers:
            w.join()

    one_thread = best_of(args.passes, lambda _: [h.insert_hyphens(part) for part in parts])
    many = best_of(args.passes, threaded)
    print(f"  the same in {args.threads} threads              {many:8.3f} s  "
          f"({one_thread / many:.2f}x one thread doing the parts in turn)")

    # Agreement with Pyphen.
    dic = pyphen.Pyphen(lang="en_US")
    same = 0
    only_theirs = only_ours = 0
    differing = []
    for word in words:
        a = list(dic.positions(word))
        b = ours_pyphen.positions(word)
        if a == b:
            same += 1
        else:
            only_theirs += len(set(a) - set(b))
            only_ours += len(set(b) - set(a))
            if len(differing) < 8:
                differing.append(f"{dic.inserted(word)} / {ours_pyphen.inserted(word)}")
    print(f"\nagreement with Pyphen (left=2, right=2): {same} of {count} words "
          f"({100 * same / count:.1f}%) have the same breaks")
    print(f"  breaks only Pyphen gives: {only_theirs}; only liang: {only_ours}")
    print("  for example (Pyphen / liang): " + ", ".join(differing))


if __name__ == "__main__":
    main()
