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
default is American English (lang="en-us"). liang.Hyphenator holds one
language, or patterns of your own, for repeated use; the functions here
find theirs by name. Everything is safe from any number of threads, and
insert_hyphens releases the GIL while it works on a text of more than 64
bytes (a word takes less time than releasing it would). liang.pyphen stands
in for Pyphen.

insert_hyphens(text, lang="en-us", *, hyphen="\\u00ad", html=False,
min_word=0, left_min=None, right_min=None, capitalized=True, all_caps=True,
mixed_case=False, technical=False, xml=False, skip=(), skip_class=None):
  html: hyphenate only the text content of HTML, XHTML or XML;
  min_word: leave alone words of fewer characters;
  left_min, right_min: replace the language's minima (at least 1);
  capitalized: False leaves alone words that begin with a capital;
  all_caps: False leaves alone words in capitals;
  mixed_case: True hyphenates words with a capital after a small letter
  (iPhone, McDonald), which are left alone by default as names;
  technical: True hyphenates technical tokens (--almost-all,
  /usr/share/doc, sources.list, $HOME, snake_case, Uint8Array), which are
  left whole by default, as URLs are;
  xml: with html, read the markup by XML's rules even without an XML
  declaration or an xmlns on the first element;
  skip: more element names whose content is left alone;
  skip_class: the class names whose elements are left alone (None: the
  defaults, nohyphenate and donthyphenate).
lang may also be a Hyphenator. TextStream(lang, **the same options) takes
a text in chunks: feed(chunk) returns the output settled so far, finish()
the rest; the pieces join to insert_hyphens of the whole text.

hyphenate_epub(source, destination, lang=None, **the options of
insert_hyphens but html): a whole EPUB book, as `liang --epub` does it,
starting from the book's dc:language unless lang is given; returns a dict
(language, documents, encrypted, utf16). Present where the build has
liang::epub (libzip and expat).
"""

from liang._liang import (
    Error,
    Hyphenator,
    TextStream,
    __version__,
    hyphenate,
    insert_hyphens,
    language_for_name,
    language_for_tag,
    languages,
    positions,
)

__all__ = [
    "Error",
    "Hyphenator",
    "TextStream",
    "hyphenate",
    "insert_hyphens",
    "language_for_name",
    "language_for_tag",
    "languages",
    "positions",
    "__version__",
]

# hyphenate_epub(source, destination, lang=None, **the options of
# insert_hyphens): a whole EPUB book, where the build has liang::epub.
try:
    from liang._liang import hyphenate_epub  # noqa: F401

    __all__.append("hyphenate_epub")
except ImportError:
    pass

# Shown as liang.Error and liang.Hyphenator, where users meet them.
Error.__module__ = __name__
Hyphenator.__module__ = __name__
TextStream.__module__ = __name__
