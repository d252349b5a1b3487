"""liang.pyphen: Pyphen's interface and semantics on liang's breaks."""

import pytest

import liang
from liang import pyphen

WORDS = [
    "hyphenation", "Hyphenation", "HYPHENATION", "computer", "associate", "Amsterdam",
    "recognizance", "project", "table", "anticonstitutionnellement", "extraordinary",
    "photograph", "Photographic", "international", "DEMOCRACY", "characteristically",
    "a", "", "ab", "abandon", "early", "only", "story", "enough", "understanding",
]


class TestSemantics:
    def test_documented_examples(self):
        dic = pyphen.Pyphen(lang="en_US")
        assert dic.positions("hyphenation") == [2, 6]
        assert dic.inserted("hyphenation") == "hy-phen-ation"
        assert dic.inserted("Hyphenation", hyphen="=") == "Hy=phen=ation"
        assert list(dic.iterate("hyphenation")) == [("hyphen", "ation"), ("hy", "phenation")]
        assert list(dic.iterate("HYPHENATION")) == [("HYPHEN", "ATION"), ("HY", "PHENATION")]

    def test_wrap_takes_the_longest_first_part_that_fits(self):
        dic = pyphen.Pyphen(lang="en")
        assert dic.wrap("hyphenation", 20) == ("hyphen-", "ation")
        assert dic.wrap("hyphenation", 7) == ("hyphen-", "ation")
        assert dic.wrap("hyphenation", 6) == ("hy-", "phenation")
        assert dic.wrap("hyphenation", 3) == ("hy-", "phenation")
        assert dic.wrap("hyphenation", 2) is None
        assert dic.wrap("hyphenation", 8, hyphen="==") == ("hyphen==", "ation")
        assert dic.wrap("a", 50) is None

    def test_left_and_right_replace_the_language_minima(self):
        # English's own minima are 2 and 3; Pyphen's defaults are 2 and 2.
        assert pyphen.Pyphen(lang="en").inserted("early") == "ear-ly"
        assert liang.hyphenate("early") == ["early"]
        loose = pyphen.Pyphen(lang="en", left=1, right=1)
        assert loose.inserted("abandon") == "a-ban-don"
        assert pyphen.Pyphen(lang="en", left=3).inserted("abandon") == "aban-don"
        assert pyphen.Pyphen(lang="en", left=0, right=0).inserted("abandon") == "a-ban-don"
        assert (loose.left, loose.right) == (1, 1)

    def test_positions_are_str_indices(self):
        dic = pyphen.Pyphen(lang="en")
        word = "\U0001f600hyphenation"
        assert dic.positions(word) == [3, 7]
        assert dic.inserted(word) == "\U0001f600hy-phen-ation"

    def test_errors(self):
        with pytest.raises(KeyError, match="klingon"):
            pyphen.Pyphen(lang="klingon")
        with pytest.raises(KeyError):
            pyphen.Pyphen()
        with pytest.raises(NotImplementedError):
            pyphen.Pyphen(filename="/usr/share/hyphen/hyph_en_US.dic")
        dic = pyphen.Pyphen(lang="en")
        for method in (dic.positions, dic.inserted, lambda w: list(dic.iterate(w))):
            with pytest.raises(TypeError):
                method(b"hyphenation")


class TestLanguages:
    def test_one_key_per_language_and_back(self):
        assert len(pyphen.LANGUAGES) == 73
        keys = list(pyphen.LANGUAGES)
        assert len(set(keys)) == 73
        assert {"en_US", "en_GB", "de_1996", "de_CH_1901", "sh_Latn", "fr"} <= set(keys)
        names = [row[1] for row in liang.languages()]
        assert [pyphen.LANGUAGES[key] for key in keys] == names
        for key in keys:
            assert pyphen.language_fallback(key) == key
            assert pyphen.Pyphen(lang=key).language == key

    def test_names_that_resolve(self):
        assert pyphen.language_fallback("en") == "en_US"
        assert pyphen.language_fallback("en_Latn_US") == "en_US"
        assert pyphen.language_fallback("EN_gb") == "en_GB"
        assert pyphen.language_fallback("de_DE.UTF-8") == "de_1996"
        assert pyphen.language_fallback("German_Swiss") == "de_CH_1901"
        assert pyphen.language_fallback("xx") is None
        assert pyphen.language_fallback(None) is None
        assert "de_DE" in pyphen.LANGUAGES and "xx" not in pyphen.LANGUAGES
        assert 42 not in pyphen.LANGUAGES
        assert pyphen.LANGUAGES["pt_BR"] == "Portuguese"
        with pytest.raises(KeyError):
            pyphen.LANGUAGES["xx"]


class TestAgainstPyphen:
    """Where Pyphen's breaks and liang's agree, every method must agree too."""

    def test_same_results_where_the_breaks_agree(self):
        real = pytest.importorskip("pyphen")
        theirs = real.Pyphen(lang="en_US", left=2, right=2)
        ours = pyphen.Pyphen(lang="en_US", left=2, right=2)
        compared = 0
        for word in WORDS:
            if list(theirs.positions(word)) != ours.positions(word):
                continue
            compared += 1
            assert ours.inserted(word) == theirs.inserted(word)
            assert ours.inserted(word, hyphen="\u00ad") == theirs.inserted(word, hyphen="\u00ad")
            assert list(ours.iterate(word)) == list(theirs.iterate(word))
            for width in range(0, len(word) + 3):
                for hyphen in ("-", "\u00ad", "=="):
                    assert ours.wrap(word, width, hyphen) == theirs.wrap(word, width, hyphen)
        assert compared >= len(WORDS) // 2
