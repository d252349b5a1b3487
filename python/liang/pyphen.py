"""Pyphen's interface on liang's core: change ``import pyphen`` to
``from liang import pyphen`` and keep the rest.

    >>> from liang import pyphen
    >>> dic = pyphen.Pyphen(lang="en_US")
    >>> dic.inserted("hyphenation")
    'hy-phen-ation'
    >>> dic.wrap("hyphenation", 8)
    ('hyphen-', 'ation')

The semantics are Pyphen's: `left` and `right` (2 by default) replace the
language's own minima; `inserted` and the pieces keep the word's case;
`iterate` runs from the last break to the first; `wrap` gives the longest
first part that fits `width` with its hyphen, or None. The breaks are those
of hyph-utf8's patterns, the TeX ones, where Pyphen reads LibreOffice's
dictionaries: on Debian's american-english words the two agree on most
words but not all (see the README for the figure).

Languages are named as liang names them (tags, locales, file codes, member
names); LANGUAGES lists one key per language, made from its file code in
Pyphen's style ("en_US", "de_1996", "sh_Latn"), and also answers ``in`` and
``[]`` for every other name liang reads, as ``"de_DE" in LANGUAGES``.
Dictionary files (``filename=``) are not read: liang carries its data.
"""

from __future__ import annotations

from collections.abc import Mapping
from typing import Iterator, List, Optional, Tuple

from liang._liang import Hyphenator
from liang._liang import language_for_name as _language_for_name
from liang._liang import languages as _languages

__all__ = ["LANGUAGES", "Pyphen", "language_fallback"]


def _pyphen_key(affix: str) -> str:
    """A file code in Pyphen's spelling: "de-ch-1901" -> "de_CH_1901"."""
    parts = affix.split("-")
    spelled = [parts[0]]
    for part in parts[1:]:
        if len(part) == 2 and part.isalpha():
            spelled.append(part.upper())  # region
        elif len(part) == 4 and part.isalpha():
            spelled.append(part.title())  # script
        else:
            spelled.append(part)
    return "_".join(spelled)


_KEY_OF_AFFIX = {affix: _pyphen_key(affix) for affix, _, _, _ in _languages()}
_NAME_OF_KEY = {_KEY_OF_AFFIX[affix]: name for affix, name, _, _ in _languages()}


def language_fallback(language: str) -> Optional[str]:
    """The LANGUAGES key for `language`, or None when liang has no such language.

    Any name liang reads resolves: "en", "en-GB", "de_CH", "fr_FR.UTF-8",
    "German_1901". Where Pyphen truncates the name part by part, liang
    reads it as a BCP 47 tag, so "en_Latn_US" and "en-US-x-foo" find en_US.
    """
    if not isinstance(language, str):
        return None
    affix = _language_for_name(language)
    return None if affix is None else _KEY_OF_AFFIX[affix]


class _Languages(Mapping):
    """The 73 languages by Pyphen-style key, each to its liang member name.

    Iterating gives the 73 keys; ``in`` and ``[]`` take any name that
    language_fallback resolves.
    """

    def __getitem__(self, name: str) -> str:
        key = language_fallback(name)
        if key is None:
            raise KeyError(name)
        return _NAME_OF_KEY[key]

    def __contains__(self, name: object) -> bool:
        return isinstance(name, str) and language_fallback(name) is not None

    def __iter__(self) -> Iterator[str]:
        return iter(_NAME_OF_KEY)

    def __len__(self) -> int:
        return len(_NAME_OF_KEY)

    def __repr__(self) -> str:
        return "LANGUAGES(%r)" % (dict(_NAME_OF_KEY),)


LANGUAGES: Mapping[str, str] = _Languages()


class Pyphen:
    """Hyphenation for one language, with Pyphen's methods.

    lang: any name liang reads; KeyError naming it when none fits.
    left, right: the least number of characters before the first break and
    after the last, replacing the language's own (below 1 counts as 1).
    cache: accepted for compatibility; liang needs no cache.
    """

    def __init__(
        self,
        filename: Optional[str] = None,
        lang: Optional[str] = None,
        left: int = 2,
        right: int = 2,
        cache: bool = True,
    ) -> None:
        if filename is not None:
            raise NotImplementedError(
                "liang.pyphen reads no dictionary files; name a language with lang="
            )
        if lang is None:
            raise KeyError("no language given: Pyphen(lang=...)")
        self.left = left
        self.right = right
        self._hyphenator = Hyphenator(lang, left_min=max(left, 1), right_min=max(right, 1))
        self.language = _KEY_OF_AFFIX[self._hyphenator.language]
        # The extension's own method, without a Python call in between: a
        # word costs a few hundred nanoseconds, and a Python frame a hundred.
        self.positions = self._hyphenator.positions

    def __repr__(self) -> str:
        return "Pyphen(lang=%r, left=%d, right=%d)" % (self.language, self.left, self.right)

    def positions(self, word: str) -> List[int]:
        """The str indices where the word may be hyphenated."""
        return self._hyphenator.positions(word)

    def iterate(self, word: str) -> Iterator[Tuple[str, str]]:
        """Every (first part, last part) split, from the last break to the first."""
        for position in reversed(self._hyphenator.positions(word)):
            yield word[:position], word[position:]

    def wrap(self, word: str, width: int, hyphen: str = "-") -> Optional[Tuple[str, str]]:
        """The longest first part that fits `width` with `hyphen` after it, and the rest.

        None when no break leaves a first part short enough, or the word has none.
        """
        for first, last in self.iterate(word):
            if len(first) + len(hyphen) <= width:
                return first + hyphen, last
        return None

    def inserted(self, word: str, hyphen: str = "-") -> str:
        """The word with `hyphen` at every break, in its own case."""
        return hyphen.join(self._hyphenator.hyphenate(word))
