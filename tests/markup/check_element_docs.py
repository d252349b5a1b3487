#!/usr/bin/env python3
"""The elements that markup mode leaves alone, as the tool's help, its man
page and the README list them, equal the list of src/text/Elements.def.

    check_element_docs.py SOURCE_DIR LIANG_TOOL
"""
import re
import subprocess
import sys


def names(text):
    """The names of a list such as "`a`, `b` and `c`" or "a, b,\n c"."""
    text = text.replace("`", " ").replace(" and ", ",")
    return [n for n in re.split(r"[,\s]+", text) if n]


def region(text, start, end):
    begin = text.index(start)
    begin = text.index("\n", begin) + 1
    return text[begin:text.index(end, begin)]


def main():
    source, tool = sys.argv[1], sys.argv[2]
    with open(f"{source}/src/text/Elements.def", encoding="utf-8") as f:
        code = re.findall(r'^LIANG_ELEMENT\("([^"]+)",[^)]*\bkProtected\b', f.read(), re.M)
    with open(f"{source}/README.md", encoding="utf-8") as f:
        readme = names(region(f.read(), "<!-- protected-elements", "<!-- /protected-elements"))
    with open(f"{source}/tools/liang.1", encoding="utf-8") as f:
        man = names(region(f.read(), '.\\" protected-elements', '.\\" /protected-elements'))
    help_text = subprocess.run([tool, "--help"], capture_output=True, text=True, check=True).stdout
    listed = help_text[help_text.index("content of ") + len("content of "):]
    listed = listed[:listed.index("\n      --")]
    found = {"README.md": readme, "tools/liang.1": man, "liang --help": names(listed)}
    bad = False
    for where, listed_names in found.items():
        if listed_names != code:
            print(f"{where} lists {listed_names}, src/text/Elements.def {code}")
            bad = True
    if not code:
        print("no protected element found in src/text/Elements.def")
        bad = True
    sys.exit(1 if bad else 0)


if __name__ == "__main__":
    main()
