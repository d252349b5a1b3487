#!/usr/bin/env python3
"""The differential test over real pages: Debian's debian-handbook, in every
language it ships (apt-get install debian-handbook), or any pages given.
Not run in CI (the pages are 3,300 files of some 100 MB).

    handbook_differential.py --driver build/tests/markup_driver [PAGE...]

Each page is hyphenated whole in markup mode, in English outside any lang,
as `liang --html` does without -l. An independent parser reads the page and
the output: Python's expat for XML (a page that begins with an XML
declaration or whose first element has an xmlns, as liang decides), html5lib
for HTML. Text nodes are then compared one by one: the output's must be the
page's with separators added; in a node left alone (see differential.py),
none; elsewhere exactly those of the node's text hyphenated alone, as plain
text, in the node's language (the nearest lang or xml:lang). Separators
outside text nodes count as inside protected content.
"""
import argparse
import glob
import html.entities
import multiprocessing
import re
import sys
import xml.etree.ElementTree as ET

import differential

SEP = "\ue000"
XML_LANG = "{http://www.w3.org/XML/1998/namespace}lang"


def is_xml(page):
    if page.lstrip("\ufeff").startswith("<?xml"):
        return True
    first = re.search(r"<([A-Za-z][^\s/>]*)([^>]*)>", re.sub(r"<!--.*?-->|<!.*?>|<\?.*?\?>", "",
                                                              page, flags=re.S))
    return bool(first and re.search(r"\sxmlns(:[^=\s]+)?\s*=", first.group(2)))


def xml_nodes(page, protected):
    parser = ET.XMLParser()
    for name, value in html.entities.html5.items():
        if name.endswith(";"):
            parser.entity[name[:-1]] = value
    parser.feed(page)
    root = parser.close()
    out = []

    def walk(element, alone, language):
        local = element.tag.rsplit("}", 1)[-1]
        local = local.rsplit(":", 1)[-1]
        classes = set(element.attrib.get("class", "").split())
        alone = alone or local in protected or bool(classes & differential.SKIP_CLASSES)
        if not alone:
            language = element.attrib.get(XML_LANG, element.attrib.get("lang", language))
        if element.text:
            out.append((element.text, alone, language))
        for child in element:
            walk(child, alone, language)
            if child.tail:
                out.append((child.tail, alone, language))

    sys.setrecursionlimit(100000)
    walk(root, False, None)
    return out


def nodes_of(page, protected):
    if is_xml(page):
        return xml_nodes(page, protected)
    return differential.text_nodes(page, protected)


def check_page(job):
    path, page, out, protected = job
    figures = {"runs": 0, "wrong": 0, "protected": 0, "examples": [], "alone": []}
    if out.replace(SEP, "") != page:
        figures["protected"] += 1
        figures["examples"].append(f"{path}: bytes changed")
        return figures
    before, after = nodes_of(page, protected), nodes_of(out, protected)
    if len(before) != len(after):
        figures["protected"] += 1
        figures["examples"].append(f"{path}: the structure changed")
        return figures
    in_nodes = 0
    for (text, alone, language), (hyphenated, _, _) in zip(before, after):
        in_nodes += hyphenated.count(SEP)
        if hyphenated.replace(SEP, "") != text:
            figures["protected"] += 1
            figures["examples"].append(f"{path}: node {text[:40]!r} changed")
            continue
        if not re.search(r"\w", text):
            continue
        figures["runs"] += 1
        if alone:
            if SEP in hyphenated:
                figures["protected"] += 1
                figures["examples"].append(f"{path}: {hyphenated[:80]!r} is left alone")
        else:
            figures["alone"].append((language, text, hyphenated))
    stray = out.count(SEP) - in_nodes
    if stray:
        figures["protected"] += stray
        figures["examples"].append(f"{path}: {stray} separators outside text")
    return figures


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--driver", required=True)
    parser.add_argument("--source", default=".")
    parser.add_argument("pages", nargs="*")
    args = parser.parse_args()
    pages = args.pages or sorted(glob.glob("/usr/share/doc/debian-handbook/html/*/*.html"))
    protected = differential.protected_names(args.source)
    texts = []
    for path in pages:
        with open(path, encoding="utf-8", errors="surrogateescape") as f:
            texts.append(f.read())
    outputs = differential.hyphenate_all(args.driver, [("en", t) for t in texts],
                                         ["--sep", SEP])
    with multiprocessing.Pool() as pool:
        results = pool.map(check_page, [(p, t, o, protected)
                                        for p, t, o in zip(pages, texts, outputs)], chunksize=8)
    runs = sum(r["runs"] for r in results)
    in_protected = sum(r["protected"] for r in results)
    # Each node alone, as plain text, in its language.
    alone = [a for r in results for a in r["alone"]]
    expected = differential.hyphenate_all(
        args.driver, [("en" if language is None else language, text)
                      for language, text, _ in alone], ["--plain", "--sep", SEP])
    wrong, examples = 0, [e for r in results for e in r["examples"]]
    for (language, text, hyphenated), want in zip(alone, expected):
        if want is None:
            want = text
        if want != hyphenated:
            wrong += 1
            examples.append(f"in {language!r}: {hyphenated[:80]!r} not {want[:80]!r}")
    print(f"pages: {len(pages)}, text runs checked: {runs}, runs in the wrong language: {wrong}, "
          f"separators inside protected content: {in_protected}")
    languages = {}
    for language, _, _ in alone:
        languages[language] = languages.get(language, 0) + 1
    print("hyphenated runs by language:",
          ", ".join(f"{k or '(none: en)'} {v}" for k, v in sorted(languages.items(),
                                                                  key=lambda kv: -kv[1])))
    for example in examples[:20]:
        print(example)
    sys.exit(0 if wrong == 0 and in_protected == 0 else 1)


if __name__ == "__main__":
    main()
