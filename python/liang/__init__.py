"""Hyphenation by Liang's pattern method, in 73 languages, from a native core.

    >>> import liang
    >>> liang.hyphenate("hyphenation")
    ['hy', 'phen', 'ation']
    >>> liang.positions("hyphenation")
    [2, 6]
    >>> liang.insert_hyphens("Hyphenation is tricky.", hyphen="-")
    'Hy-phen-ation is tricky.'

A language is named by a BCP 47 tag or locale ("de-CH", "pt_BR.UTF-8"), a
file code ("de-1996") or a member name in any case ("German_Swiss"); the
default is American English. liang.Hyphenator holds one language (or
patterns of your own) for repeated use; the functions here keep one per
name. Everything is safe from any number of threads, and insert_hyphens
releases the GIL while it works. The module liang.pyphen stands in for
Pyphen.
"""

from __future__ import annotations

from typing import List, Optional, Tuple

from liang._liang import Error, Hyphenator, __version__
from liang._liang import language_for_name as _language_for_name
from liang._liang import language_for_tag
from liang._liang import languages as _languages

__all__ = [
    "Error",
    "Hyphenator",
    "hyphenate",
    "insert_hyphens",
    "language_for_name",
    "language_for_tag",
    "languages",
    "positions",
    "__version__",
]

# Shown as liang.Error and liang.Hyphenator, where users meet them.
Error.__module__ = __name__
Hyphenator.__module__ = __name__

DEFAULT_LANGUAGE = "en-us"

# One Hyphenator per name asked for. Making one costs a name lookup (and the
# language's first build, once per process); a dictionary hit costs far less
# than a word. Names that resolve are few, but spellings are not: past a
# bound the table starts afresh rather than grow.
_hyphenators: dict = {}
_MOST_NAMES = 256


def _hyphenator(lang: str) -> Hyphenator:
    h = _hyphenators.get(lang)
    if h is None:
        h = Hyphenator(lang)
        if len(_hyphenators) >= _MOST_NAMES:
            _hyphenators.clear()
        _hyphenators[lang] = h
    return h


def hyphenate(word: str, lang: str = DEFAULT_LANGUAGE) -> List[str]:
    """The pieces of `word` between which a hyphen may go; they join to `word`."""
    return _hyphenator(lang).hyphenate(word)


def positions(word: str, lang: str = DEFAULT_LANGUAGE) -> List[int]:
    """The str indices at which the pieces after the first begin."""
    return _hyphenator(lang).positions(word)


def insert_hyphens(
    text: str,
    lang: str = DEFAULT_LANGUAGE,
    *,
    hyphen: str = "\u00ad",
    html: bool = False,
    min_word: int = 0,
    left_min: Optional[int] = None,
    right_min: Optional[int] = None,
    capitalized: bool = True,
    all_caps: bool = True,
) -> str:
    """Running text with `hyphen` at every break of every word.

    html: hyphenate only the text content of HTML, XHTML or XML.
    min_word: leave alone words of fewer characters.
    left_min, right_min: replace the language's minima (at least 1).
    capitalized: False leaves alone words that begin with a capital.
    all_caps: False leaves alone words in capitals.
    """
    return _hyphenator(lang).insert_hyphens(
        text,
        hyphen=hyphen,
        html=html,
        min_word=min_word,
        left_min=left_min,
        right_min=right_min,
        capitalized=capitalized,
        all_caps=all_caps,
    )


def languages() -> List[Tuple[str, str, int, int]]:
    """The 73 languages as (affix, name, left_min, right_min), in enumeration order."""
    return _languages()


def language_for_name(name: str) -> Optional[str]:
    """The affix of the language `name` names (as Hyphenator reads it), or None."""
    return _language_for_name(name)
