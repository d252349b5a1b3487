"""A model of liang's running-text rules for plain text, written apart from
the library: the README's rules restated with Python's unicodedata, the
language's letters read from the data files (data/hyph-*.chr and .pat), and
only the word function, liang.hyphenate, taken from the package.

It is slow and plain on purpose: each rule is one obvious function over a
whole token or word, where the library reads bytes once and remembers a few
flags. The differential tests hold the two to the same output.

Tokens (runs between spaces) are assumed shorter than 4,096 bytes, and words
too, which the library only looks at so far.
"""

import functools
import unicodedata
from typing import Dict, List, Optional, Set

import liang

from conftest import data_text

HARD_HYPHENS = "-\u2010\u2011"
SOFT_HYPHEN = "\u00ad"
SENTENCE_PUNCTUATION = ".,;:!?"
OPENERS = ("(", "[", "{", '"', "'", "<", "\u201c", "\u2018", "\u00ab")
TECHNICAL_CHARS = "_=$#{}"
TECHNICAL_PAIRS = ("::", "()", "](")


def category(c: str) -> str:
    return unicodedata.category(c)


def is_space(c: str) -> bool:
    return category(c) in ("Zs", "Zl", "Zp") or c in "\t\n\v\f\r"


def is_letter(c: str) -> bool:
    return category(c).startswith("L")


def is_mark(c: str) -> bool:
    return category(c).startswith("M")


def is_digit(c: str) -> bool:
    return category(c) == "Nd"


def is_upper(c: str) -> bool:
    return category(c) in ("Lu", "Lt")


def is_lower(c: str) -> bool:
    return category(c) == "Ll"


# Tokens ---------------------------------------------------------------------


def is_url(token: str) -> bool:
    if "://" in token:
        return True
    at = token.find("@")
    if at >= 0 and "." in token[at + 1 :]:
        return True
    rest = token
    while True:
        for opener in OPENERS:
            if rest.startswith(opener):
                rest = rest[len(opener) :]
                break
        else:
            break
    return len(rest) >= 4 and all(c in "wW" for c in rest[:3]) and rest[3] == "."


def is_technical(token: str) -> bool:
    """The README's technical tokens, rule by rule."""
    core = token.rstrip(SENTENCE_PUNCTUATION)
    dashes = len(token) - len(token.lstrip("-"))
    if 0 < dashes < len(token) and is_letter(token[dashes]):
        return True  # -A, --almost-all
    if any(core[i] in "/\\" for i in range(1, len(core) - 1)):
        return True  # /usr/share/doc, C:\Windows
    if any(c in core for c in TECHNICAL_CHARS) or any(p in core for p in TECHNICAL_PAIRS):
        return True
    if any(is_letter(c) for c in token) and any(is_digit(c) for c in token):
        return True  # Uint8Array, x86_64
    # A '.' between letters, not both single ones; marks go with the
    # character before them.
    base = [c for c in core if not is_mark(c)]

    def letter_at(i: int) -> bool:
        return 0 <= i < len(base) and is_letter(base[i])

    for j, c in enumerate(base):
        if c == "." and letter_at(j - 1) and letter_at(j + 1):
            if letter_at(j - 2) or letter_at(j + 2):
                return True
    return False


# Words ----------------------------------------------------------------------


@functools.lru_cache(maxsize=None)
def language(affix: str) -> "Language":
    return Language(affix)


class Language:
    """A language's letters as its data files give them."""

    def __init__(self, affix: str) -> None:
        self.affix = affix
        self.fold: Dict[str, str] = {}
        for line in data_text(affix, "chr").split("\n"):
            if len(line) == 2:
                self.fold[line[1]] = line[0]
        self.letters: Set[str] = set()
        for line in data_text(affix, "pat").split("\n"):
            self.letters.update(c for c in line if c not in "0123456789." and not c.isspace())

    def folds_to_letter(self, c: str) -> bool:
        folded = self.fold.get(c, c)
        return folded != "." and folded in self.letters

    @functools.lru_cache(maxsize=4096)
    def kind(self, c: str) -> str:
        """letter, mark, soft, hard, space or other."""
        if c == SOFT_HYPHEN:
            return "soft"
        if is_space(c):
            return "space"
        if c in HARD_HYPHENS:
            return "hard"
        if self.folds_to_letter(c) or is_letter(c):
            return "letter"
        return "mark" if is_mark(c) else "other"

    def matched_as(self, c: str) -> str:
        """A letter the table lacks, matched as its lowercase when the patterns know that."""
        if self.folds_to_letter(c) or not is_letter(c):
            return c
        lower = c.lower()
        return lower if len(lower) == 1 and lower != c and self.folds_to_letter(lower) else c


def word_breaks(
    word: str, language: Language, before_hard_hyphen: bool, mixed_case: bool
) -> List[int]:
    """The indices into `word` where a hyphen goes."""
    if SOFT_HYPHEN in word:
        return []
    clusters: List[List[int]] = []  # indices of a letter and its marks
    for i, c in enumerate(word):
        if language.kind(c) == "mark" and clusters:
            clusters[-1].append(i)
        else:
            clusters.append([i])
    leads = [word[cluster[0]] for cluster in clusters]
    upper_after_lower = any(
        is_upper(c) and any(is_lower(d) for d in leads[:k]) for k, c in enumerate(leads)
    )
    if upper_after_lower and not mixed_case:
        return []
    matched = []
    for cluster in clusters:
        letters = "".join(word[i] for i in cluster)
        if len(cluster) > 1:
            letters = unicodedata.normalize("NFC", letters)
        matched.append(language.matched_as(letters[0]))
    pieces = liang.hyphenate("".join(matched), language.affix)
    breaks = []
    at = 0
    for piece in pieces[:-1]:
        at += len(piece)
        if at < len(clusters):
            breaks.append(clusters[at][0])
        elif not before_hard_hyphen:
            breaks.append(len(word))
    return breaks


def insert_hyphens(
    text: str,
    language: Language,
    hyphen: str = "-",
    technical: bool = False,
    mixed_case: bool = False,
) -> str:
    """Plain running text, as the README says liang hyphenates it."""
    out: List[str] = []
    i = 0
    while i < len(text):
        if is_space(text[i]):
            out.append(text[i])
            i += 1
            continue
        end = i
        while end < len(text) and not is_space(text[end]):
            end += 1
        token = text[i:end]
        assert len(token.encode("utf-8", "surrogatepass")) < 4096, "the model's tokens are short"
        if is_url(token) or (not technical and is_technical(token)):
            out.append(token)
        else:
            out.append(hyphenate_token(token, language, hyphen, mixed_case))
        i = end
    return "".join(out)


def hyphenate_token(token: str, language: Language, hyphen: str, mixed_case: bool) -> str:
    out: List[str] = []
    i = 0
    while i < len(token):
        if language.kind(token[i]) not in ("letter", "mark", "soft"):
            out.append(token[i])
            i += 1
            continue
        end = i
        while end < len(token) and language.kind(token[end]) in ("letter", "mark", "soft"):
            end += 1
        word = token[i:end]
        following: Optional[str] = token[end] if end < len(token) else None
        before_hard = following is not None and following in HARD_HYPHENS
        breaks = set(word_breaks(word, language, before_hard, mixed_case))
        for k, c in enumerate(word):
            if k in breaks:
                out.append(hyphen)
            out.append(c)
        if len(word) in breaks:
            out.append(hyphen)
        i = end
    return "".join(out)
