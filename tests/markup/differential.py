#!/usr/bin/env python3
"""Differential test of liang's markup mode against html5lib, an independent
HTML parser that follows the WHATWG parsing algorithm as browsers do.

Each generated document is made of text runs, each marked "[n]" at its start,
among elements that nest, end by implication, switch the language, hold raw
text or are left alone. html5lib parses the document; each text node gives,
for the runs in it, whether they are left alone (inside an element of
src/text/Elements.def marked kProtected, any prefix, or with a class
nohyphenate or donthyphenate) and their language (the nearest lang or
xml:lang, xml:lang winning; -l's language outside any). A run found in no
text node (in a comment, say) is left alone. Then liang must hyphenate the
document with separators exactly where it hyphenates each run alone in that
language, and nowhere else.

    differential.py --driver build/tests/markup_driver [--count 2000] [--seed 1]

markup_driver (markup_driver.cpp) hyphenates with the library, many
documents a process. Prints the figures and exits 1 on any difference.
"""
import argparse
import multiprocessing
import random
import re
import subprocess
import sys
import time

import html5lib

SEPARATOR = "|"
DEFAULT_LANGUAGE = "en"
SKIP_CLASSES = {"nohyphenate", "donthyphenate"}

# Words that break differently in English, German and French, and words
# spelt with references.
WORDS = ["computer", "hyphenation", "representation", "Wissenschaftler", "information",
         "nationale", "Konstitution", "constitution", "Ausf&uuml;hrungsbestimmungen",
         "Ausf&#252;hrungsbestimmungen", "&eacute;l&eacute;gance", "caf&eacute;s",
         "hyphen&shy;ation", "computer&amp;computer", "documentation", "&Eacute;cole",
         "administration", "Silbentrennung", "programming"]
LANGUAGES = ["en", "de", "fr", "de-CH", "en-GB", "", "zxx", "ja", "DE",
             "de-CH" + "-abcdefgh" * 30, "fr" + "-abcdefgh" * 20 + "-toolongsubtag",
             "de-" + "x" * 70]


def protected_names(source):
    with open(f"{source}/src/text/Elements.def", encoding="utf-8") as f:
        return set(re.findall(r'^LIANG_ELEMENT\("([^"]+)",[^)]*\bkProtected\b', f.read(), re.M))


class Generator:
    """Random documents; runs() gives each run's text and offset."""

    def __init__(self, rng):
        self.rng = rng
        self.parts = []
        self.runs = []  # (start offset, text)
        self.length = 0

    def put(self, text):
        self.parts.append(text)
        self.length += len(text)

    def run(self):
        words = " ".join(self.rng.choice(WORDS) for _ in range(self.rng.randint(1, 4)))
        text = f"[{len(self.runs)}] {words} "
        self.runs.append((self.length, text))
        self.put(text)

    def attributes(self):
        r = self.rng
        out = ""
        if r.random() < 0.4:
            name = r.choice(["lang", "lang", "LANG", "xml:lang"])
            value = r.choice(LANGUAGES)
            out += f' {name}="{value}"' if r.random() < 0.8 or not value else f" {name}={value}"
            if r.random() < 0.1:
                out += f' lang="{r.choice(LANGUAGES)}"'  # a second: the first counts
        if r.random() < 0.05:
            out += " lang"  # no value: lang=""
        if r.random() < 0.1:
            out += f' class="x {r.choice(["nohyphenate", "donthyphenate", "hyphenate", "y"])}"'
        if r.random() < 0.1:
            out += ' title="a > b computer"'
        return out

    def name(self, name):
        return name.upper() if self.rng.random() < 0.1 else name

    def content(self, depth, inline=False):
        r = self.rng
        for _ in range(r.randint(1, 4 if depth < 6 else 1)):
            choice = r.random()
            if choice < 0.35 or depth > 8:
                self.run()
            elif choice < 0.55:
                self.inline(depth)
            elif inline:
                self.run()
            elif choice < 0.75:
                self.block(depth)
            elif choice < 0.85:
                self.special(depth)
            else:
                self.oddity()

    def inline(self, depth):
        r = self.rng
        name = r.choice(["span", "q", "cite", "abbr", "dfn", "mark", "sub", "sup", "kbd", "samp",
                         "var", "code", "x:foo", "svg:style", "m:math", "x:code"])
        self.put(f"<{self.name(name)}{self.attributes()}>")
        self.content(depth + 1, inline=True)
        if name == "span" and r.random() < 0.2:  # the same name nested
            self.put("<span>")
            self.run()
            self.put("</span>")
            self.run()
        self.put(f"</{self.name(name)}>")

    def block(self, depth):
        r = self.rng
        kind = r.choice(["div", "div", "section", "blockquote", "p", "p", "ul", "dl", "table",
                         "h2", "pre", "select", "deep"])
        if kind == "p":
            self.put(f"<{self.name('p')}{self.attributes()}>")
            self.content(depth + 1, inline=True)
            if r.random() < 0.5:
                self.put("</p>")
        elif kind == "ul":
            self.put(f"<ul{self.attributes()}>")
            for _ in range(r.randint(1, 3)):
                self.put(f"<li{self.attributes()}>")
                self.content(depth + 1)
                if r.random() < 0.4:
                    self.put("</li>")
            self.put("</ul>")
        elif kind == "dl":
            self.put(f"<dl{self.attributes()}>")
            for _ in range(r.randint(1, 4)):
                self.put(f"<{r.choice(['dt', 'dd'])}{self.attributes()}>")
                self.content(depth + 1, inline=True)
            self.put("</dl>")
        elif kind == "table":
            self.put(f"<table{self.attributes()}>")
            for _ in range(r.randint(1, 3)):
                self.put(f"<tr{self.attributes()}>")
                for _ in range(r.randint(1, 3)):
                    self.put(f"<{r.choice(['td', 'th'])}{self.attributes()}>")
                    self.content(depth + 1)
            self.put("</table>")
        elif kind == "select":
            self.put("<select>")
            for _ in range(r.randint(1, 3)):
                self.put(f"<option{self.attributes()}>")
                self.run()
            self.put("</select>")
        elif kind == "deep":
            # Deeper than liang keeps: alternating names, then all closed.
            n = r.choice([5, 600, 1100])
            names = ["span", "div"] if r.random() < 0.5 else ["div", "div"]
            for i in range(n):
                self.put(f"<{names[i % 2]}>")
            self.run()
            for i in reversed(range(n)):
                self.put(f"</{names[i % 2]}>")
        else:
            self.put(f"<{self.name(kind)}{self.attributes()}>")
            self.content(depth + 1)
            if kind == "div" and r.random() < 0.3:  # nested divs, one without lang
                self.put("<div>")
                self.run()
                self.put("</div>")
                self.run()
            self.put(f"</{self.name(kind)}>")

    def special(self, depth):
        r = self.rng
        kind = r.choice(["script", "style", "xmp", "iframe", "noembed", "noframes", "noscript",
                         "textarea", "title", "plaintext-rare"])
        if kind == "plaintext-rare":
            if r.random() < 0.05:
                self.put("<plaintext>")
                self.run()
                self.put("</plaintext><p>")
                self.run()
            return
        self.put(f"<{self.name(kind)}>a<b lang=de>")
        self.run()
        self.put(f"</{kind}x></b><!--")
        self.put(f"</{self.name(kind)}>")

    def oddity(self):
        r = self.rng
        choice = r.choice(["comment", "empty1", "empty2", "stray", "prefixed-style", "pi"])
        if choice == "comment":
            self.put("<!-- ")
            self.run()
            self.put("-->")
        elif choice == "empty1":
            self.put("<!-->")
        elif choice == "empty2":
            self.put("<!--->")
        elif choice == "stray":
            self.put(r.choice(["</zz>", "</article>", "</nav>", "</aside>"]))
        elif choice == "prefixed-style":
            self.put("<svg:svg><svg:style>.a{}</svg:style></svg:svg>")
        else:
            self.put("<?php echo 1 ?>")
        self.run()

    def document(self):
        self.put("<!DOCTYPE html>")
        if self.rng.random() < 0.5:
            self.put(f"<html{self.attributes()}><body{self.attributes()}>")
        else:
            self.put("<body>")
        self.content(0)
        return "".join(self.parts)


def text_nodes(document, protected):
    """(text, left alone, language or None) of each text node, in order."""
    tree = html5lib.parse(document, treebuilder="etree", namespaceHTMLElements=False,
                          scripting=True)
    out = []

    def local(tag):
        return tag.rsplit("}", 1)[-1].rsplit(":", 1)[-1].lower()

    def language_of(element, inherited):
        attrs = element.attrib
        for key in ("{http://www.w3.org/XML/1998/namespace}lang", "xml:lang"):
            if key in attrs:
                return attrs[key]
        return attrs.get("lang", inherited)

    stack = [(tree, False, None, False)]
    while stack:
        element, alone, language, visited = stack.pop()
        if not isinstance(element.tag, str):  # a comment
            continue
        classes = set(element.attrib.get("class", "").split())
        alone = alone or local(element.tag) in protected or bool(classes & SKIP_CLASSES)
        if not alone:
            language = language_of(element, language)
        if element.text:
            out.append((element.text, alone, language))
        # Children, each followed by its tail (text of this element).
        for child in reversed(list(element)):
            if child.tail:
                stack.append((TailText(child.tail), alone, language, False))
            stack.append((child, alone, language, False))
    return out


class TailText:
    """A child's tail, visited as a node of text of its parent."""
    tag = "#tail"

    def __init__(self, text):
        self.text = text
        self.attrib = {}

    def __iter__(self):
        return iter(())


def hyphenate_all(driver, records, options=()):
    """markup_driver's output for each (language tag, text), None for a
    language liang does not carry."""
    data = b"\0".join(f"{tag}\x01{text}".encode("utf-8", "surrogateescape")
                      for tag, text in records)
    done = subprocess.run([driver, *options], input=data, capture_output=True, check=True)
    outputs = done.stdout.decode("utf-8", "surrogateescape").split("\0")[:len(records)]
    return [None if out == "\x02" else out for out in outputs]


def breaks(output):
    """The offsets in the input at which `output` holds a separator."""
    found, at = [], 0
    for c in output:
        if c == SEPARATOR:
            found.append(at)
        else:
            at += 1
    return found


def expected_breaks(driver, runs):
    """For each (language, run text): the breaks of the run alone."""
    runs = sorted(set(runs), key=lambda r: (r[0] is None, r[0] or "", r[1]))
    outputs = hyphenate_all(driver, [(DEFAULT_LANGUAGE if language is None else language, text)
                                     for language, text in runs])
    return {run: breaks(out) if out is not None else [] for run, out in zip(runs, outputs)}


class Figures:
    def __init__(self):
        self.documents = self.runs = self.wrong_language = self.in_protected = 0
        self.examples = []

    def report(self):
        print(f"documents: {self.documents}, text runs checked: {self.runs}, "
              f"runs in the wrong language: {self.wrong_language}, "
              f"separators inside protected content: {self.in_protected}")
        for example in self.examples[:10]:
            print(example)
        return self.wrong_language == 0 and self.in_protected == 0


def placed_runs(job):
    """Where html5lib put each run of a document: for each run's number,
    whether it is left alone and its language, from the node that holds its
    mark."""
    text, protected = job
    placed = {}
    for node_text, alone, language in text_nodes(text, protected):
        for mark in re.finditer(r"\[(\d+)\] ", node_text):
            placed[int(mark.group(1))] = (alone, language)
    return placed


def check_generated(tool, count, seed, protected, figures):
    rng = random.Random(seed)
    generated = []
    for _ in range(count):
        generator = Generator(rng)
        generated.append((generator.document(), generator.runs))
    with multiprocessing.Pool() as pool:
        placements = pool.map(placed_runs, [(text, protected) for text, _ in generated],
                              chunksize=16)
    documents = [(text, runs, placed) for (text, runs), placed in zip(generated, placements)]
    alone_runs = []
    for _, runs, placed in documents:
        for n, (start, run_text) in enumerate(runs):
            alone, language = placed.get(n, (True, None))
            if not alone:
                alone_runs.append((language, run_text))
    expected = expected_breaks(tool, alone_runs)
    outputs = hyphenate_all(tool, [(DEFAULT_LANGUAGE, text) for text, _, _ in documents])
    for (text, runs, placed), out in zip(documents, outputs):
        figures.documents += 1
        if out.replace(SEPARATOR, "") != text:
            figures.in_protected += 1
            figures.examples.append(f"bytes changed in {text!r}")
            continue
        got = set(breaks(out))
        claimed = set()
        for n, (start, run_text) in enumerate(runs):
            figures.runs += 1
            alone, language = placed.get(n, (True, None))
            span = range(start, start + len(run_text) + 1)
            inside = sorted(b - start for b in got if b in span and start < b < start + len(run_text))
            claimed.update(b + start for b in inside)
            if alone:
                if inside:
                    figures.in_protected += 1
                    figures.examples.append(f"run {n} {run_text!r} left alone got {inside} in {text!r}")
            elif inside != expected[(language, run_text)]:
                figures.wrong_language += 1
                figures.examples.append(
                    f"run {n} {run_text!r} in {language!r}: {inside} not "
                    f"{expected[(language, run_text)]} in {text!r}")
        stray = got - claimed
        if stray:
            figures.in_protected += len(stray)
            figures.examples.append(f"separators outside text at {sorted(stray)} in {text!r}")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--driver", required=True)
    parser.add_argument("--source", default=".")
    parser.add_argument("--count", type=int, default=2000)
    parser.add_argument("--seed", type=int, default=1)
    args = parser.parse_args()
    protected = protected_names(args.source)
    started = time.time()
    figures = Figures()
    check_generated(args.driver, args.count, args.seed, protected, figures)
    ok = figures.report()
    print(f"{time.time() - started:.1f} s")
    sys.exit(0 if ok else 1)


if __name__ == "__main__":
    main()
