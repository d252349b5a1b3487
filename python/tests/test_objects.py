"""The objects themselves: pickling and copying, instances whose __init__ never
ran, and errors that name what they were given."""

import copy
import pickle

import pytest

import liang

PROTOCOLS = range(pickle.HIGHEST_PROTOCOL + 1)


class TestPickling:
    def test_a_language_hyphenator_round_trips_at_every_protocol(self):
        h = liang.Hyphenator("de-CH", left_min=1)
        for protocol in PROTOCOLS:
            again = pickle.loads(pickle.dumps(h, protocol))
            assert type(again) is liang.Hyphenator
            assert (again.language, again.left_min, again.right_min) == ("de-ch-1901", 1, 2)
            assert again.hyphenate("Silbentrennung") == h.hyphenate("Silbentrennung")
        narrowed = liang.Hyphenator("en-us").with_minima(4, 5)
        for protocol in PROTOCOLS:
            again = pickle.loads(pickle.dumps(narrowed, protocol))
            assert (again.language, again.left_min, again.right_min) == ("en-us", 4, 5)

    def test_pickles_of_earlier_versions_still_load(self):
        # Protocol 2 as 0.1 wrote them: the class called bare, then the state
        # (affix, left_min, right_min) given to __setstate__.
        earlier = b"\x80\x02cliang._liang\nHyphenator\n)\x81X\x02\x00\x00\x00frK\x03K\x04\x87b."
        again = pickle.loads(earlier)
        assert (again.language, again.left_min, again.right_min) == ("fr", 3, 4)
        word = "anticonstitutionnellement"
        assert again.hyphenate(word) == liang.Hyphenator("fr", left_min=3, right_min=4).hyphenate(
            word
        )

    def test_a_foreign_state_is_refused(self):
        for state in (None, 42, ("fr",), ("fr", 1, 2, 3)):
            with pytest.raises(TypeError):
                liang.Hyphenator.__new__(liang.Hyphenator).__setstate__(state)

    def test_a_subclass_keeps_its_class_and_attributes(self):
        for protocol in PROTOCOLS:
            h = Named("fr", right_min=4)
            h.label = "mine"
            again = pickle.loads(pickle.dumps(h, protocol))
            assert type(again) is Named
            assert (again.language, again.right_min, again.label) == ("fr", 4, "mine")

    def test_what_cannot_be_pickled_raises_type_error(self):
        own = liang.Hyphenator.from_text("a1b\n")
        stream = liang.TextStream("de")
        stream.feed("Silben")
        for protocol in PROTOCOLS:
            for unpicklable in (own, stream):
                with pytest.raises(TypeError, match="cannot be pickled"):
                    pickle.dumps(unpicklable, protocol)

    def test_copies(self):
        # Immutable: a copy is the hyphenator itself, from text too.
        for h in (liang.Hyphenator("de"), liang.Hyphenator.from_text("a1b\n")):
            assert copy.copy(h) is h
            assert copy.deepcopy([h])[0] is h
        with pytest.raises(TypeError):
            copy.copy(liang.TextStream())


class Named(liang.Hyphenator):
    pass


def members_of_a_hyphenator(h):
    return [
        lambda: h.left_min,
        lambda: h.right_min,
        lambda: h.language,
        lambda: repr(h),
        lambda: h.positions("word"),
        lambda: h.hyphenate("word"),
        lambda: h.insert_hyphens("word"),
        lambda: h.with_minima(2, 2),
        lambda: h.prepare(),
        lambda: copy.copy(h),
        lambda: copy.deepcopy(h),
        lambda: pickle.dumps(h, 0),
        lambda: pickle.dumps(h),
        lambda: liang.insert_hyphens("word", h),
        lambda: liang.TextStream(h),
    ]


class TestWithoutInit:
    def test_every_member_of_a_hyphenator_raises_type_error(self):
        for cls in (liang.Hyphenator, Named):
            bare = cls.__new__(cls)
            for member in members_of_a_hyphenator(bare):
                with pytest.raises(TypeError, match="__init__"):
                    member()

    def test_every_member_of_a_stream_raises_type_error(self):
        bare = liang.TextStream.__new__(liang.TextStream)
        for member in (
            lambda: bare.feed("word"),
            lambda: bare.finish(),
            lambda: pickle.dumps(bare, 0),
            lambda: pickle.dumps(bare),
            lambda: copy.copy(bare),
        ):
            with pytest.raises(TypeError, match="__init__"):
                member()

    def test_members_called_on_another_type_raise_type_error(self):
        with pytest.raises(TypeError):
            liang.Hyphenator.left_min.fget(42)
        with pytest.raises(TypeError):
            liang.Hyphenator.insert_hyphens(liang.TextStream(), "word")
        with pytest.raises(TypeError):
            liang.TextStream.feed(liang.Hyphenator(), "word")

    def test_init_makes_a_bare_object_whole(self):
        bare = liang.Hyphenator.__new__(liang.Hyphenator)
        bare.__init__("de")
        assert bare.hyphenate("Silbentrennung") == ["Sil", "ben", "tren", "nung"]
        stream = liang.TextStream.__new__(liang.TextStream)
        stream.__init__("de", hyphen="=")
        assert stream.feed("Silbentrennung ") == "Sil=ben=tren=nung "


class TestNamesInErrors:
    def test_key_error_keeps_the_whole_name(self):
        for name in ("de\0x", "\0", "klingon\0de", "en-us\0", "\U0001f600\0\u00e9"):
            for make in (
                lambda: liang.Hyphenator(name),
                lambda: liang.TextStream(name),
                lambda: liang.insert_hyphens("word", name),
                lambda: liang.hyphenate("word", name),
                lambda: liang.positions("word", name),
                lambda: liang.Hyphenator.from_text("a1b\n", fold_as=name),
            ):
                with pytest.raises(KeyError) as caught:
                    make()
                assert caught.value.args == (f"unknown language: {name!r}",)
