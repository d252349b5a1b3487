"""The library's running text against text_model, the rules written apart.

Generated text mixes tokens of every kind the rules tell apart (words in
every case, compounds with hard hyphens, technical tokens of each class,
abbreviations, URLs and addresses, openers and quotes, sentence punctuation,
spaces of several kinds, combining marks in any order, soft hyphens); real
text is man pages in five languages (excerpts under data/), the repository's
own README and LICENCE, and the licences every Debian system carries. Each
text goes through both modes: markup mode sees the same text inside an
element, with '<' and '&' kept out of it.
"""

import itertools
import random
from pathlib import Path
from typing import List

import pytest

import liang

import text_model
from conftest import sample_words

LANGUAGES = ["en-us", "de-1996", "pt", "ru", "uk", "af", "tk", "fr", "el-monoton"]
HERE = Path(__file__).resolve().parent
REPOSITORY = HERE.parents[1]

SPACES = [" ", " ", " ", " ", "\n", "\t", "\u00a0", "\u2009", "\u3000", "\u2028", "  "]
OPENERS = ["(", "[", "{", '"', "'", "\u00ab", "\u201c", "\u2018", "\u201e", "<"]
CLOSERS = [")", "]", "}", '"', "'", "\u00bb", "\u201d", "\u2019", ">"]
PUNCTUATION = [".", ",", ";", ":", "!", "?", "...", "?!", ".)", "),"]
MARKS = ["\u0301", "\u0300", "\u0308", "\u0323", "\u0327", "\u030c", "\u0331"]
TECHNICAL = [
    "-A", "--almost-all", "-maxdepth", "--color=auto", "/usr/share/doc", "C:\\Windows",
    "~/.config", "sources.list", "deb.debian.org", "foo.bar", "systemd.service(5)", "$HOME",
    "LS_COLORS", "snake_case", "std::vector", "main()", "[Requirements](#requirements)",
    "{placeholder}", "#include", "Uint8Array", "python3", "x86_64", "deadbeefcafebabe42",
    "4th-generation", "v1.2.3", "and/or", "a.out", "README.md", "e.g.", "U.S.A.", "z.B.",
    "Ph.D.", "i.e.,", "key=value", "50%", "1990s", "3", "--", "-", "/", "//", "a/", "/a",
]
URLS = [
    "https://example.com/documentation", "www.hyphenation.org", "(www.example.com)",
    "\u00abwww.beispiel.de\u00bb", "documentation@example.com", "mailto:someone@example.org",
    "ftp://ftp.debian.org/debian", "WWW.EXAMPLE.ORG",
]
GLUE = list("-./\\_=$#{}():;,!?'0123456789@[]&+*%\u2010\u2011\u00ad") + ["::", "()", "](", ".."]


def case_forms(word: str, rng: random.Random) -> str:
    forms = [word, word, word.title(), word.upper()]
    if len(word) > 3:
        k = rng.randrange(1, len(word) - 1)
        forms.append(word[:k] + word[k:].title())  # camelCase
        forms.append(word[0] + word[1:].upper())  # iPHONE
    return rng.choice(forms)


def with_marks(word: str, rng: random.Random) -> str:
    """`word` with combining marks after some letters, in any order."""
    out = []
    for c in word:
        out.append(c)
        if c.isalpha() and rng.random() < 0.15:
            out.extend(rng.sample(MARKS, rng.randint(1, 3)))
    return "".join(out)


def make_token(words: List[str], rng: random.Random) -> str:
    kind = rng.random()
    if kind < 0.45:
        token = case_forms(rng.choice(words), rng)
    elif kind < 0.55:  # a compound with hard hyphens
        joiner = rng.choice(["-", "-", "\u2010", "\u2011"])
        token = joiner.join(case_forms(rng.choice(words), rng) for _ in range(rng.randint(2, 3)))
    elif kind < 0.7:
        token = rng.choice(TECHNICAL)
    elif kind < 0.75:
        token = rng.choice(URLS)
    else:  # pieces glued by what the rules look at
        pieces = [rng.choice(words + TECHNICAL) for _ in range(rng.randint(2, 3))]
        token = "".join(p + rng.choice(GLUE) for p in pieces[:-1]) + pieces[-1]
    if rng.random() < 0.2:
        token = with_marks(token, rng)
    if rng.random() < 0.05 and len(token) > 4:
        k = rng.randrange(1, len(token) - 1)
        token = token[:k] + "\u00ad" + token[k:]
    if rng.random() < 0.15:
        token = rng.choice(OPENERS) + token
    if rng.random() < 0.1:
        token = token + rng.choice(CLOSERS)
    if rng.random() < 0.25:
        token = token + rng.choice(PUNCTUATION)
    return token


def generated_text(affix: str, seed: int, tokens: int = 600) -> str:
    rng = random.Random(f"{affix}/{seed}")
    words = sample_words(affix, 60, seed)
    if affix == "de-1996":
        words += ["GROẞE", "STRAẞENBAHN", "Straße", "Hals-Nasen-Ohren-Arzt", "ẞ"]
    if affix == "pt":
        words += ["palavra-passe", "guarda-chuva", "apt-cache"]
    if affix in ("ru", "uk"):
        words += ["кто-нибудь", "из-за", "об’єм", "пам'ять"]
    parts = []
    for _ in range(tokens):
        parts.append(make_token(words, rng))
        parts.append(rng.choice(SPACES))
    return "".join(parts)


def real_texts() -> List[str]:
    texts = [p.read_text(encoding="utf-8") for p in sorted((HERE / "data").glob("man-*.txt"))]
    for name in ("README.md", "LICENSE"):
        if (REPOSITORY / name).is_file():
            texts.append((REPOSITORY / name).read_text(encoding="utf-8"))
    licences = Path("/usr/share/common-licenses")
    for name in ("GPL-3", "Apache-2.0", "MPL-2.0"):
        if (licences / name).is_file():
            texts.append((licences / name).read_text(encoding="utf-8"))
    return texts


def markup_safe(text: str) -> str:
    return text.replace("<", "\u2039").replace("&", "+")


def check_both_modes(text: str, affix: str, **options) -> None:
    language = text_model.language(affix)
    expected = text_model.insert_hyphens(text, language, **options)
    got = liang.insert_hyphens(text, affix, hyphen="-", **options)
    assert got == expected, first_difference(got, expected)
    safe = markup_safe(text)
    expected = f"<p>{text_model.insert_hyphens(safe, language, **options)}</p>"
    got = liang.insert_hyphens(f"<p>{safe}</p>", affix, hyphen="-", html=True, **options)
    assert got == expected, first_difference(got, expected)


def first_difference(a: str, b: str) -> str:
    at = next((i for i, (x, y) in enumerate(zip(a, b)) if x != y), min(len(a), len(b)))
    return f"at {at}: library {a[max(0, at - 40):at + 40]!r}\n     model {b[max(0, at - 40):at + 40]!r}"


@pytest.mark.parametrize("affix", LANGUAGES)
def test_generated_text_follows_the_model(affix):
    language = text_model.language(affix)
    for seed, technical in itertools.product(range(4), (False, True)):
        text = generated_text(affix, seed)
        expected = text_model.insert_hyphens(text, language, technical=technical)
        got = liang.insert_hyphens(text, affix, hyphen="-", technical=technical)
        assert got == expected, first_difference(got, expected)


@pytest.mark.parametrize("affix", LANGUAGES)
def test_generated_text_in_markup_follows_the_model(affix):
    for seed in range(2):
        check_both_modes(generated_text(affix, 100 + seed), affix)


@pytest.mark.parametrize(
    "affix", ["pt", "ru", "uk", "de-1996", "en-us", "en-gb", "fr", "af", "tk"]
)
def test_real_text_follows_the_model(affix):
    for text in real_texts():
        for technical in (False, True):
            check_both_modes(text, affix, technical=technical)


def test_mixed_case_option_follows_the_model():
    text = generated_text("en-us", 7)
    expected = text_model.insert_hyphens(text, text_model.language("en-us"), mixed_case=True)
    assert liang.insert_hyphens(text, "en-us", hyphen="-", mixed_case=True) == expected


def test_the_model_itself_on_the_issues_lines():
    """The model's own answers to the lines that started this, so that a
    model that drifted towards the library's faults would be caught too."""
    en, de, pt, ru = (text_model.language(a) for a in ("en-us", "de-1996", "pt", "ru"))
    assert text_model.insert_hyphens("palavra-passe guarda-chuva apt-cache", pt) == (
        "pa-la-vra-passe guarda-chuva apt-ca-che"
    )
    assert text_model.insert_hyphens("кто-нибудь из-за", ru) == "кто-ни-будь из-за"
    line = "-A, --almost-all  /usr/share/doc  sources.list  $HOME  systemd.service(5)  Uint8Array  snake_case"
    assert text_model.insert_hyphens(line, en) == line
    assert text_model.insert_hyphens(line, de) == line
    assert text_model.insert_hyphens("GROẞE STRAẞENBAHN GRÖSSE", de) == "GRO-ẞE STRA-ẞEN-BAHN GRÖS-SE"
