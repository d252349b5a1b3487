"""Words: the module's functions and Hyphenator against the C++ library."""

import threading

import pytest

import liang

# Python keeps a str in one, two or four bytes a character, by its widest
# character; the extension reads each width its own way.
GOTHIC_A, GOTHIC_B = "\U00010330", "\U00010331"  # outside the BMP


class TestDocumentedExamples:
    def test_words(self):
        assert liang.hyphenate("hyphenation") == ["hy", "phen", "ation"]
        assert liang.hyphenate("Silbentrennung", lang="de") == ["Sil", "ben", "tren", "nung"]
        assert liang.positions("hyphenation") == [2, 6]

    def test_languages_and_tags(self):
        table = liang.languages()
        assert len(table) == 73
        assert table[0] == ("af", "Afrikaans", 1, 2)
        assert [row[1] for row in table[13:15]] == ["English_US", "English_GB"]
        assert table[-1][1] == "Welsh"
        assert liang.language_for_tag("de-CH") == "de-ch-1901"
        assert liang.language_for_tag("ja") is None
        assert liang.language_for_tag("German_Swiss") is None  # a name, not a tag
        assert liang.language_for_name("German_Swiss") == "de-ch-1901"

    def test_hyphenator_names(self):
        for name in ("fr", "fr_FR.UTF-8", "FRENCH", "French"):
            h = liang.Hyphenator(name)
            assert h.language == "fr"
            assert (h.left_min, h.right_min) == (2, 3)
        assert liang.Hyphenator().language == "en-us"
        assert repr(liang.Hyphenator("de-CH")).startswith("liang.Hyphenator('de-ch-1901'")


class TestAgreementWithTheLibrary:
    def test_a_sample_of_every_language(self, reference, samples):
        queries = [(affix, word) for affix, words in samples.items() for word in words]
        expected = reference.pieces(queries)
        by_name = {affix: liang.Hyphenator(affix) for affix in samples}
        disagreements = []
        for (affix, word), pieces in zip(queries, expected):
            got = by_name[affix].hyphenate(word)
            if got != pieces:
                disagreements.append((affix, word, got, pieces))
            # the module's functions and positions say the same as hyphenate
            assert liang.hyphenate(word, lang=affix) == got
            starts = [sum(map(len, got[:k])) for k in range(1, len(got))]
            assert liang.positions(word, lang=affix) == starts
        assert not disagreements, disagreements[:10]
        assert sum(len(pieces) > 1 for pieces in expected) > len(expected) // 2

    def test_every_storage_width_and_long_words(self, reference):
        words = [
            ("en-us", "hyphenation"),  # one byte a character
            ("fr", "caf\u00e9ine"),  # still one byte: Latin-1
            ("de", "\u00c4pfelschorle"),
            ("ru", "\u0433\u0438\u043f\u043e\u0442\u0435\u0437\u0430"),  # two bytes
            ("en-us", "hyphenation\u2014computer"),
            ("en-us", "\U0001f600hyphenation"),  # four bytes
            ("en-us", "hyphen\U0001f600ation"),
            ("en-us", "hyphenation" * 7),  # past the inline buffer
            ("en-us", "hyphenation" * 30),  # more breaks than the inline points
            ("en-us", "\U0001f600" + "hyphenation" * 30),
            ("en-us", "hyphenation" * 1000),  # long enough to release the GIL
            ("de", "\U0001f600" + "Silbentrennung" * 1000),
            ("en-us", ""),
            ("en-us", "a"),
        ]
        expected = reference.pieces(words)
        for (lang, word), pieces in zip(words, expected):
            assert liang.hyphenate(word, lang) == pieces, word

    def test_minima_replaced(self):
        h = liang.Hyphenator("en-us", left_min=1, right_min=1)
        assert (h.left_min, h.right_min) == (1, 1)
        assert h.hyphenate("abandon") == ["a", "ban", "don"]
        assert h.hyphenate("early") == ["ear", "ly"]
        assert liang.hyphenate("abandon") == ["aban", "don"]  # the shared one is untouched
        assert liang.hyphenate("early") == ["early"]
        only_right = liang.Hyphenator("en-us", right_min=2)
        assert (only_right.left_min, only_right.right_min) == (2, 2)
        assert only_right.hyphenate("early") == ["ear", "ly"]
        loose = liang.Hyphenator("en-us").with_minima(1, 1)
        assert loose.hyphenate("abandon") == ["a", "ban", "don"]


class TestStrIndices:
    def test_non_bmp_characters_count_once(self):
        h = liang.Hyphenator.from_text(GOTHIC_A + "1" + GOTHIC_B + "\n")
        word = (GOTHIC_A + GOTHIC_B) * 3
        assert h.positions(word) == [1, 3, 5]  # not the UTF-16 [2, 6, 10] nor UTF-8 offsets
        assert h.hyphenate(word) == [GOTHIC_A, GOTHIC_B + GOTHIC_A, GOTHIC_B + GOTHIC_A, GOTHIC_B]
        assert liang.positions("\U0001f600hyphenation") == [3, 7]
        word = "\U0001f600\U0001f600hyphenation"
        assert [word[p:] for p in liang.positions(word)] == ["phenation", "ation"]

    def test_str_subclasses_are_words(self):
        class Marked(str):
            pass

        assert liang.hyphenate(Marked("hyphenation")) == ["hy", "phen", "ation"]
        assert liang.positions(Marked("\U0001f600hyphenation")) == [3, 7]
        assert liang.insert_hyphens(Marked("hyphenation"), hyphen=Marked("-")) == "hy-phen-ation"

    def test_pieces_keep_the_word_as_given(self):
        for word in ("HYPHENATION", "Hyphenation", "hyph\u00e9nation", "hyphen\ud800ation"):
            assert "".join(liang.hyphenate(word)) == word
        assert liang.hyphenate("HYPHENATION") == ["HY", "PHEN", "ATION"]


class TestOwnPatterns:
    def test_patterns_and_exceptions(self):
        h = liang.Hyphenator.from_text("a1b\n.c2\nb3.\n", "ta-ble\n")
        assert h.language is None
        assert h.hyphenate("table") == ["ta", "ble"]
        assert h.hyphenate("abab") == ["a", "ba", "b"]
        assert h.hyphenate("TABLE") == ["TABLE"]  # no fold: capitals are other letters
        assert liang.Hyphenator.from_text("a1b\n", left_min=2).hyphenate("abab") == ["aba", "b"]

    def test_fold_as_a_language(self):
        h = liang.Hyphenator.from_text("a1b\n", "ta-ble\n", fold_as="en")
        assert h.hyphenate("ABAB") == ["A", "BA", "B"]
        assert h.hyphenate("TABLE") == ["TA", "BLE"]
        with pytest.raises(KeyError, match="klingon"):
            liang.Hyphenator.from_text("a1b\n", fold_as="klingon")


class TestPrepare:
    def test_prepare_changes_no_answer(self):
        h = liang.Hyphenator("hu")
        words = ["megszentségteleníthetetlenségeskedéseitekért", "hangszerelés", "ablak"]
        before = [liang.hyphenate(word, lang="hu") for word in words]
        assert h.prepare() is None
        assert h.prepare() is None  # a second time does nothing
        assert [h.hyphenate(word) for word in words] == before
        own = liang.Hyphenator.from_text("a1b\n", "ta-ble\n")
        own.prepare()
        assert own.hyphenate("table") == ["ta", "ble"]

    def test_prepare_races_threads_that_hyphenate(self):
        h = liang.Hyphenator("en-gb").with_minima(2, 3)
        words = ["hyphenation", "encyclopaedia", "association", "table"] * 200
        expected = [h.hyphenate(word) for word in words]
        results = {}

        def work(n):
            results[n] = [h.hyphenate(word) for word in words]

        threads = [threading.Thread(target=work, args=(n,)) for n in range(3)]
        for t in threads:
            t.start()
        h.prepare()
        for t in threads:
            t.join()
        assert all(results[n] == expected for n in range(3))


class TestCallForms:
    def test_arguments_by_position_and_by_keyword(self):
        expected = ["Sil", "ben", "tren", "nung"]
        assert liang.hyphenate("Silbentrennung", "de") == expected
        assert liang.hyphenate(word="Silbentrennung", lang="de") == expected
        assert liang.hyphenate(lang="de", word="Silbentrennung") == expected
        assert liang.positions("hyphenation", None) == [2, 6]  # None: the default
        h = liang.Hyphenator("de")
        assert h.hyphenate(word="Silbentrennung") == expected
        assert h.positions(word="Silbentrennung") == [3, 6, 10]
        assert liang.insert_hyphens("Silbentrennung", "de", hyphen="-") == "-".join(expected)

    def test_wrong_arguments(self):
        h = liang.Hyphenator()
        calls = [
            lambda: liang.hyphenate(),
            lambda: liang.positions("a", "en", "extra"),
            lambda: liang.positions("a", language="en"),
            lambda: liang.positions("a", word="b"),
            lambda: liang.hyphenate("a", lang=b"en"),
            lambda: h.positions("a", "en"),
            lambda: h.hyphenate(lang="en"),
            lambda: h.hyphenate(),
        ]
        for call in calls:
            with pytest.raises(TypeError):
                call()

    def test_subclasses_work_and_must_initialise(self):
        class Mine(liang.Hyphenator):
            pass

        assert Mine("de").hyphenate("Silbentrennung") == ["Sil", "ben", "tren", "nung"]

        class Broken(liang.Hyphenator):
            def __init__(self):
                pass

        with pytest.raises(TypeError):
            Broken().positions("hyphenation")


class TestErrors:
    def test_unknown_language_names_it(self):
        with pytest.raises(KeyError, match="tlh-Latn"):
            liang.Hyphenator("tlh-Latn")
        with pytest.raises(KeyError, match="xx"):
            liang.hyphenate("word", lang="xx")
        with pytest.raises(KeyError, match="zxx"):
            liang.insert_hyphens("word", lang="zxx")

    @pytest.mark.parametrize("word", [b"hyphenation", None, 12, ["hyphenation"]])
    def test_words_must_be_str(self, word):
        h = liang.Hyphenator()
        for call in (h.hyphenate, h.positions, liang.hyphenate, liang.positions):
            with pytest.raises(TypeError):
                call(word)
        with pytest.raises(TypeError):
            liang.insert_hyphens(word)
        with pytest.raises(TypeError):
            liang.Hyphenator.from_text(word)

    def test_bad_minima(self):
        for bad in (0, -1):
            with pytest.raises(ValueError):
                liang.Hyphenator("en", left_min=bad)
            with pytest.raises(ValueError):
                liang.insert_hyphens("word", right_min=bad)
            with pytest.raises(ValueError):
                liang.Hyphenator().with_minima(bad, 2)
        with pytest.raises(ValueError):
            liang.insert_hyphens("word", min_word=-1)

    def test_library_failures_are_liang_error_with_the_exact_message(self):
        from liang import _liang

        assert issubclass(liang.Error, ValueError)
        assert liang.Error.__module__ == "liang"
        # The hook is in the tests' build of the extension only.
        if not hasattr(_liang, "_raise_library_error"):
            pytest.skip("an extension built without the tests' hook")
        message = "Malformed hyphenation score for \u00c9t\u00e9 \U0001f600"
        with pytest.raises(liang.Error) as caught:
            _liang._raise_library_error(message)
        assert str(caught.value) == message
        assert isinstance(caught.value, ValueError)
