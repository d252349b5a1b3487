"""Type stubs of liang's extension module; import the package liang instead."""

import os
from typing import Dict, List, Optional, Sequence, Tuple, Union

__version__: str

class Error(ValueError):
    """A failure of the library; str(error) is its exact message."""

class Hyphenator:
    """One language's hyphenation, or patterns of your own. Immutable, thread-safe.

    A language's hyphenator pickles (as its affix and minima); one made from
    text raises TypeError. A copy is the hyphenator itself.
    """

    def __init__(
        self,
        lang: str = "en-us",
        *,
        left_min: Optional[int] = None,
        right_min: Optional[int] = None,
    ) -> None:
        """The language `lang` names (tag, locale, file code or member name).

        KeyError naming it when none fits. left_min and right_min, when
        given (at least 1), replace the language's minima.
        """
    @staticmethod
    def from_text(
        patterns: str,
        exceptions: str = "",
        left_min: int = 1,
        right_min: int = 1,
        fold_as: Optional[str] = None,
    ) -> Hyphenator:
        """A hyphenator from TeX pattern text and exception words ("as-so-ciate").

        fold_as names a language whose character table folds each letter
        (case, variants) before the patterns see it; None keeps letters as
        they are.
        """
    def positions(self, word: str) -> List[int]:
        """The str indices at which the pieces after the first begin."""
    def hyphenate(self, word: str) -> List[str]:
        """The pieces of `word` between which a hyphen may go; they join to `word`."""
    def insert_hyphens(
        self,
        text: str,
        *,
        hyphen: str = "\u00ad",
        html: bool = False,
        min_word: int = 0,
        left_min: Optional[int] = None,
        right_min: Optional[int] = None,
        capitalized: bool = True,
        all_caps: bool = True,
        mixed_case: bool = False,
        technical: bool = False,
        xml: bool = False,
        skip: Sequence[str] = (),
        skip_class: Optional[Sequence[str]] = None,
    ) -> str:
        """Running text with `hyphen` at every break; releases the GIL meanwhile
    (past 64 bytes).

        A long text goes in slices, with signal handlers (Ctrl-C) run between them.
        """
    def prepare(self) -> None:
        """Builds now all this hyphenator would build on first use (its index,
        its dictionary), so that no later call waits on a build; for a server
        that wants even its first words fast. Releases the GIL; safe while
        other threads hyphenate; cheap once done."""
    def with_minima(self, left_min: int, right_min: int) -> Hyphenator:
        """The same hyphenator with other minima (O(1), shares everything else)."""
    @property
    def left_min(self) -> int: ...
    @property
    def right_min(self) -> int: ...
    @property
    def language(self) -> Optional[str]:
        """The language's file code ("en-us"), None for one made from text."""

class TextStream:
    """Running text in chunks; the outputs join to insert_hyphens of the whole text.

    Chunks may split the text anywhere (inside a word, a tag, a reference);
    the memory held stays bounded. feed and finish release the GIL. A stream
    cannot be pickled (TypeError).
    """

    def __init__(
        self,
        lang: Union[str, Hyphenator, None] = "en-us",
        *,
        hyphen: str = "\u00ad",
        html: bool = False,
        min_word: int = 0,
        left_min: Optional[int] = None,
        right_min: Optional[int] = None,
        capitalized: bool = True,
        all_caps: bool = True,
        mixed_case: bool = False,
        technical: bool = False,
        xml: bool = False,
        skip: Sequence[str] = (),
        skip_class: Optional[Sequence[str]] = None,
    ) -> None: ...
    def feed(self, chunk: str) -> str:
        """The output that `chunk` settles (possibly empty)."""
    def finish(self) -> str:
        """The rest of the output; the stream may then take a new text."""

def languages() -> List[Tuple[str, str, int, int]]:
    """The 73 languages as (affix, name, left_min, right_min), in enumeration order."""

def language_for_tag(tag: str) -> Optional[str]:
    """The affix of the language for a BCP 47 tag or locale, None when liang has none."""

def language_for_name(name: str) -> Optional[str]:
    """The affix of the language a name means as Hyphenator reads it, or None."""

def hyphenate(word: str, lang: Optional[str] = "en-us") -> List[str]:
    """The pieces of `word` between which a hyphen may go; they join to `word`."""

def positions(word: str, lang: Optional[str] = "en-us") -> List[int]:
    """The str indices at which the pieces after the first begin."""

def insert_hyphens(
    text: str,
    lang: Union[str, Hyphenator, None] = "en-us",
    *,
    hyphen: str = "\u00ad",
    html: bool = False,
    min_word: int = 0,
    left_min: Optional[int] = None,
    right_min: Optional[int] = None,
    capitalized: bool = True,
    all_caps: bool = True,
    mixed_case: bool = False,
    technical: bool = False,
    xml: bool = False,
    skip: Sequence[str] = (),
    skip_class: Optional[Sequence[str]] = None,
) -> str:
    """Running text with `hyphen` at every break; releases the GIL meanwhile
    (past 64 bytes).

    A long text goes in slices, with signal handlers (Ctrl-C) run between them.
    """

def hyphenate_epub(
    source: Union[str, "os.PathLike[str]"],
    destination: Union[str, "os.PathLike[str]"],
    lang: Union[str, Hyphenator, None] = None,
    *,
    hyphen: str = "\u00ad",
    min_word: int = 0,
    left_min: Optional[int] = None,
    right_min: Optional[int] = None,
    capitalized: bool = True,
    all_caps: bool = True,
    mixed_case: bool = False,
    technical: bool = False,
) -> Dict[str, Union[str, int, List[str]]]:
    """A whole EPUB book hyphenated into destination (see liang/Epub.hpp); lang None:
    the book's dc:language. Returns language, documents, encrypted and utf16. Present
    only where the build has liang::epub."""
