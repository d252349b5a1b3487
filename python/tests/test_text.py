"""Running text: insert_hyphens, its options and markup mode, threads and the GIL."""

import ast
import sys
import threading

import pytest

import liang


def shown(text, lang="en-us", **options):
    options.setdefault("hyphen", "-")
    return liang.insert_hyphens(text, lang, **options)


class TestPlainText:
    def test_documented_example_and_default_hyphen(self):
        assert shown("Hyphenation is tricky.") == "Hy-phen-ation is tricky."
        assert liang.insert_hyphens("hyphenation") == "hy\u00adphen\u00adation"
        h = liang.Hyphenator("de")
        assert h.insert_hyphens("Silbentrennung", hyphen="=") == "Sil=ben=tren=nung"
        assert liang.insert_hyphens("Silbentrennung", h, hyphen="=") == "Sil=ben=tren=nung"
        with pytest.raises(TypeError):
            liang.insert_hyphens("Silbentrennung", 42)

    def test_words_get_the_breaks_of_hyphenate(self):
        words = ["hyphenation", "computer", "associate", "table", "project", "recognizance"]
        expected = " ".join("-".join(liang.hyphenate(w)) for w in words)
        assert shown(" ".join(words)) == expected
        assert shown("\n".join(words) + "\n") == expected.replace(" ", "\n") + "\n"

    def test_results_of_every_width_are_the_text_with_its_hyphens(self):
        # Short results of Latin-1 are made without the general decoder;
        # the others, and every wider hyphen, through it.
        for text in ("hyphenation", "Hyphenation's", "caf\u00e9 hyphenation", "\u00e9",
                     "\u0441\u043b\u043e\u0432\u043e hyphenation", "\U0001f600 hyphenation",
                     "hyphenation " * 30):
            for hyphen in ("\u00ad", "-", "\u00ff", "\u2010", "\U0001f600", ""):
                expected = " ".join(hyphen.join(liang.hyphenate(word)) if word.isascii()
                                    and word.isalpha() else word
                                    for word in text.split(" "))
                if text == "Hyphenation's":
                    expected = hyphen.join(liang.hyphenate("Hyphenation")) + "'s"
                result = liang.insert_hyphens(text, hyphen=hyphen)
                assert result == expected, (text, hyphen)
                assert type(result) is str

    def test_characters_outside_the_bmp_pass_through(self):
        text = "x\U0001f600 hyphenation \U0001f600hyphenation\U00010330."
        assert shown(text) == "x\U0001f600 hy-phen-ation \U0001f600hy-phen-ation\U00010330."
        assert shown("hyphenation", hyphen="\U0001f600") == "hy\U0001f600phen\U0001f600ation"
        assert shown("") == ""
        assert shown("1984, 2001.") == "1984, 2001."

    def test_lone_surrogates_have_no_utf8(self):
        with pytest.raises(UnicodeEncodeError):
            liang.insert_hyphens("hyphen\ud800ation")

    def test_capitals_are_hyphenated_by_default(self):
        assert shown("HYPHENATION Hyphenation") == "HY-PHEN-ATION Hy-phen-ation"


class TestRunningTextRules:
    def test_urls_and_addresses_are_left_alone(self):
        for text in (
            "see https://example.com/documentation",
            "www.hyphenation.org",
            "write to documentation@example.com",
        ):
            assert shown(text) == text

    def test_manual_soft_hyphens_win(self):
        word = "Informations\u00adverarbeitung"
        assert shown(word, "de") == word

    def test_decomposed_accents(self):
        assert shown("cafe\u0301s caf\u00e9s", "fr") == "ca-fe\u0301s ca-f\u00e9s"

    def test_words_with_letters_the_patterns_lack(self):
        assert shown("universit\u00e0 citt\u00e0 attivit\u00e0", "it") == (
            "uni-ver-si-t\u00e0 cit-t\u00e0 at-ti-vi-t\u00e0"
        )

    def test_mixed_case_identifiers_are_left_alone(self):
        assert shown("camelCaseIdentifier iPhone") == "camelCaseIdentifier iPhone"
        pieces = "-".join(liang.hyphenate("camelCaseIdentifier"))
        assert "-" in pieces
        assert shown("camelCaseIdentifier", mixed_case=True) == pieces
        stream = liang.TextStream("en-us", hyphen="-", mixed_case=True)
        assert stream.feed("camelCaseIdentifier ") + stream.finish() == pieces + " "

    def test_hyphenating_twice_changes_nothing(self):
        once = liang.insert_hyphens("prohibit hyphenation")
        assert shown(once) == once


class TestOptions:
    def test_min_word(self):
        assert shown("computer", min_word=8) == "com-puter"
        assert shown("computer table", min_word=9) == "computer table"

    def test_minima(self):
        assert shown("abandon early", left_min=1, right_min=1) == "a-ban-don ear-ly"
        assert shown("abandon early", right_min=2) == "aban-don ear-ly"

    def test_capitalized(self):
        assert shown("Hyphenation hyphenation", capitalized=False) == "Hyphenation hy-phen-ation"

    def test_all_caps(self):
        assert shown("HYPHENATION Hyphenation", all_caps=False) == "HYPHENATION Hy-phen-ation"

    def test_options_reach_hyphenator_method(self):
        h = liang.Hyphenator("en-us")
        assert h.insert_hyphens("hyphenation", hyphen="|") == "hy|phen|ation"
        with pytest.raises(TypeError):
            h.insert_hyphens("hyphenation", "-")  # options are keywords only


class TestCallsWithoutOptions:
    """A call that gives no option takes a shorter way to the library than one
    that does; both must give the same text, and raise the same errors."""

    TEXTS = [
        "hyphenation",
        "Hyphenation is tricky, isn't it?",
        "Silbentrennung STRASSENBAHN guarda-chuva \U0001f600x",
        "<p lang=de>Silbentrennung</p> https://example.org/hyphenation",
        "",
        "x" * 300_000,  # past a slice
    ]

    def test_the_same_text_as_with_the_defaults_given(self):
        explicit = {"hyphen": "\u00ad"}  # a default, given: the general way
        for lang in ("en-us", "de", "ru", "pt"):
            h = liang.Hyphenator(lang)
            for text in self.TEXTS:
                full = liang.insert_hyphens(text, lang, **explicit)
                assert liang.insert_hyphens(text, lang) == full
                assert liang.insert_hyphens(text, lang=lang) == full
                assert liang.insert_hyphens(text, h) == full
                assert h.insert_hyphens(text) == full
                assert h.insert_hyphens(text, **explicit) == full
        for text in self.TEXTS:
            assert liang.insert_hyphens(text) == liang.insert_hyphens(text, None, **explicit)
        assert liang.insert_hyphens(text=self.TEXTS[1]) == liang.insert_hyphens(self.TEXTS[1])

        class Text(str):
            pass

        assert liang.insert_hyphens(Text("hyphenation")) == liang.insert_hyphens("hyphenation")

    def test_the_same_errors(self):
        def raised(call):
            with pytest.raises(Exception) as caught:
                call()
            return type(caught.value), str(caught.value)

        for short, full in (
            (lambda: liang.insert_hyphens(b"word"),
             lambda: liang.insert_hyphens(b"word", hyphen="-")),
            (lambda: liang.insert_hyphens("word", "xx-nowhere"),
             lambda: liang.insert_hyphens("word", "xx-nowhere", hyphen="-")),
            (lambda: liang.insert_hyphens("hyphen\ud800ation"),
             lambda: liang.insert_hyphens("hyphen\ud800ation", hyphen="-")),
            (lambda: liang.Hyphenator.__new__(liang.Hyphenator).insert_hyphens("word"),
             lambda: liang.Hyphenator.__new__(liang.Hyphenator).insert_hyphens("word",
                                                                                hyphen="-")),
        ):
            assert raised(short) == raised(full)
        for call in (
            lambda: liang.insert_hyphens(),
            lambda: liang.insert_hyphens("a", "en-us", "extra"),
            lambda: liang.insert_hyphens("a", lang="de", colour="red"),
            lambda: liang.Hyphenator().insert_hyphens(),
            lambda: liang.Hyphenator().insert_hyphens("a", "b"),
        ):
            with pytest.raises(TypeError):
                call()

    def test_documented_like_the_general_call(self):
        assert "min_word" in liang.insert_hyphens.__doc__
        assert "min_word" in liang.Hyphenator.insert_hyphens.__doc__


# Each keyword of running text as the C++ option it stands for, set to the
# value the C++ case sets (text_options_cases.hpp).
KEYWORDS_OF_FIELDS = {
    "hyphen": {"hyphen": "="},
    "markup": {"html": True},
    "minWordLength": {"min_word": 9},
    "leftMin": {"left_min": 4},
    "rightMin": {"right_min": 6},
    "capitalized": {"capitalized": False},
    "allCaps": {"all_caps": False},
    "mixedCase": {"mixed_case": True},
    "technical": {"technical": True},
    "xml": {"html": True, "xml": True},
    "skipElements": {"html": True, "skip": ["em"]},
    "skipClasses": {"html": True, "skip_class": ["nohyphenate", "donthyphenate", "x"]},
}


def streamed(text, lang="en-us", **options):
    stream = liang.TextStream(lang, **options)
    return "".join(stream.feed(text[k : k + 5]) for k in range(0, len(text), 5)) + stream.finish()


class TestOptionsAgainstTheLibrary:
    def test_each_keyword_is_its_cxx_option(self, reference):
        cases = reference.option_cases()
        sample, default = cases.pop("sample"), cases.pop("default")
        assert set(KEYWORDS_OF_FIELDS) == set(cases)
        h = liang.Hyphenator("en-us")
        calls = {
            "insert_hyphens": lambda **kw: liang.insert_hyphens(sample, "en-us", **kw),
            "method": lambda **kw: h.insert_hyphens(sample, **kw),
            "stream": lambda **kw: streamed(sample, h, **kw),
        }
        for name, call in calls.items():
            assert call(hyphen="-") == default, name
            for field, keywords in KEYWORDS_OF_FIELDS.items():
                options = {"hyphen": "-", **keywords}
                assert call(**options) == cases[field], (name, field)

    def test_a_long_text_in_slices_is_the_text_at_once(self, reference):
        # Past the slice size, insert_hyphens goes a slice at a time; a line
        # ends every word and tag, so the long text is the short one repeated.
        cases = reference.option_cases()
        sample = cases.pop("sample") + "\n"
        repeats = 3 * (1 << 18) // len(sample) + 1
        for field, keywords in [("default", {}), *KEYWORDS_OF_FIELDS.items()]:
            options = {"hyphen": "-", **keywords}
            assert liang.insert_hyphens(sample * repeats, **options) == (
                cases[field] + "\n"
            ) * repeats, field
        text = "\u00e9l\u00e9gance \U0001f600 hyphenation " * 40000  # slices split characters
        assert liang.insert_hyphens(text, "fr", hyphen="-") == streamed(text, "fr", hyphen="-")


class TestMarkup:
    def test_tags_and_attributes_pass_through(self):
        text = '<blockquote>Hyphenation</blockquote> <table border=1> <p class="hyphenation">'
        assert shown(text, html=True) == (
            '<blockquote>Hy-phen-ation</blockquote> <table border=1> <p class="hyphenation">'
        )
        assert shown('<p class="x">Hyphenation</p>', html=True) == '<p class="x">Hy-phen-ation</p>'

    def test_code_comments_and_references(self):
        text = "<code>hyphenation</code><!-- hyphenation --> hyph&shy;enation"
        assert shown(text, html=True) == text

    def test_lang_attributes_switch_the_language(self):
        text = (
            '<p>Silbentrennung <span lang="de">Silbentrennung</span>'
            ' <i lang="zxx">hyphenation</i></p>'
        )
        english = "-".join(liang.hyphenate("Silbentrennung"))
        assert shown(text, html=True) == (
            f'<p>{english} <span lang="de">Sil-ben-tren-nung</span>'
            ' <i lang="zxx">hyphenation</i></p>'
        )

    def test_plain_mode_is_the_default(self):
        assert shown("<p>hyphenation</p>") == shown("<p>hyphenation</p>", html=False)


class TestStream:
    TEXT = (
        "Die Silbentrennung ist schwierig. \U0001f600 \u00dcbersetzung, "
        '<p class="hyphenation">Hyphenation &shy; '
        "\u0433\u0438\u043f\u043e\u0442\u0435\u0437\u0430</p>\n"
    ) * 5

    def test_any_chunks_give_the_whole_text(self):
        for lang, html in (("de", False), ("de", True), ("en-us", True)):
            whole = liang.insert_hyphens(self.TEXT, lang, hyphen="-", html=html)
            for size in (1, 2, 3, 7, 64, len(self.TEXT)):
                stream = liang.TextStream(lang, hyphen="-", html=html)
                starts = range(0, len(self.TEXT), size)
                pieces = [stream.feed(self.TEXT[k : k + size]) for k in starts]
                pieces.append(stream.finish())
                assert "".join(pieces) == whole, (lang, html, size)

    def test_a_finished_stream_takes_a_new_text(self):
        stream = liang.TextStream(liang.Hyphenator("de"), hyphen="=")
        for _ in range(2):
            assert stream.feed("Silbentrennung") + stream.feed(" ") + stream.finish() == (
                "Sil=ben=tren=nung "
            )
        assert liang.TextStream().feed("hyphenation ") == "hy\u00adphen\u00adation "

    def test_errors(self):
        with pytest.raises(TypeError):
            liang.TextStream().feed(b"hyphenation")
        with pytest.raises(KeyError, match="klingon"):
            liang.TextStream("klingon")
        with pytest.raises(ValueError):
            liang.TextStream(left_min=0)


class TestThreads:
    @staticmethod
    def gives_up_the_gil(call):
        # With a switch interval longer than the test, this thread gets the
        # GIL back while the worker runs only if the worker gives it up. The
        # worker calls until this thread has looked (or a bound of some
        # calls passes, which only a held GIL lets happen).
        started, looked = threading.Event(), threading.Event()
        calls = []

        def work():
            started.set()
            while not looked.is_set() and len(calls) < 2000:
                calls.append(call())

        interval = sys.getswitchinterval()
        sys.setswitchinterval(100.0)
        try:
            worker = threading.Thread(target=work)
            worker.start()
            started.wait()
            looked.set()
            worker.join()
        finally:
            sys.setswitchinterval(interval)
        return len(calls) < 2000

    def test_the_gil_is_released_while_text_is_hyphenated(self):
        text = "Hyphenation of associated computers is tricky. " * 2000
        h = liang.Hyphenator("en-us")  # made here: making one releases the GIL too
        h.insert_hyphens("warm")
        assert self.gives_up_the_gil(lambda: h.insert_hyphens(text))

    def test_the_gil_is_released_while_a_stream_is_fed(self):
        chunk = "Hyphenation of associated computers is tricky. " * 2000
        stream = liang.TextStream("en-us")
        stream.feed("warm ")
        assert self.gives_up_the_gil(lambda: stream.feed(chunk))

    def test_a_signal_stops_a_long_text(self):
        # A profiler marks when insert_hyphens runs; another thread raises
        # SIGINT's handler while it does. The handler must run inside the
        # call (between slices), not after it has returned. When the other
        # thread only got to run once the call had ended, nothing is shown,
        # and the try is made again.
        import _thread
        import signal

        text = "Hyphenation of associated computers is tricky. " * 200000  # 9.6 MB
        state = {"inside": False, "done": False}
        seen = []

        class Stop(Exception):
            pass

        def profile(frame, event, arg):
            if getattr(arg, "__name__", None) == "insert_hyphens":
                if event == "c_call":
                    state["inside"] = True
                elif event in ("c_return", "c_exception"):
                    state["inside"] = False

        def handler(signum, frame):
            # Run by the profiler's own code is after the call.
            seen.append(state["inside"] and frame.f_code is not profile.__code__)
            raise Stop

        def interrupt():
            while not state["inside"] and not state["done"]:
                pass
            if state["inside"]:
                sent.append(True)
                _thread.interrupt_main()

        previous = signal.signal(signal.SIGINT, handler)
        try:
            for _ in range(5):
                seen.clear()
                sent = []
                state["done"] = False
                other = threading.Thread(target=interrupt)
                other.start()
                sys.setprofile(profile)
                try:
                    liang.insert_hyphens(text)
                    for _ in range(1000):  # the handler runs at the latest here
                        pass
                except Stop:
                    pass
                finally:
                    sys.setprofile(None)
                    state["done"] = True
                    other.join()
                if sent == [True]:
                    break
            assert seen == [True]
        finally:
            signal.signal(signal.SIGINT, previous)

    def test_threads_agree_with_one_thread(self):
        words = [
            "hyphenation",
            "Silbentrennung",
            "anticonstitutionnellement",
            "\u0433\u0438\u043f\u043e\u0442\u0435\u0437\u0430",
        ]
        langs = ["en-us", "de", "fr", "ru", "it", "nl", "hu", "ta"]
        text = " ".join(words) * 50
        expected = {
            lang: ([liang.hyphenate(w, lang) for w in words], liang.insert_hyphens(text, lang))
            for lang in langs
        }
        failures = []

        def work(offset):
            for k in range(40):
                lang = langs[(offset + k) % len(langs)]
                h = liang.Hyphenator(lang)
                got = ([h.hyphenate(w) for w in words], h.insert_hyphens(text))
                if got != expected[lang]:
                    failures.append(lang)

        threads = [threading.Thread(target=work, args=(n,)) for n in range(8)]
        for t in threads:
            t.start()
        for t in threads:
            t.join()
        assert not failures

    def test_threads_racing_first_use(self, tmp_path):
        # A fresh process, so that no language is built yet: eight threads
        # make every language at once and hyphenate with it.
        import subprocess

        script = r"""
import sys, threading, liang
names = [row[0] for row in liang.languages()]
words = ["hyphenation", "HYPHENATION", "\u0433\u0438\u043f\u043e\u0442\u0435\u0437\u0430"]
results = {}
def work(offset):
    mine = {}
    for k in range(len(names)):
        name = names[(offset * 9 + k) % len(names)]
        h = liang.Hyphenator(name)
        mine[name] = [h.hyphenate(w) for w in words]
    results[offset] = mine
threads = [threading.Thread(target=work, args=(n,)) for n in range(8)]
for t in threads: t.start()
for t in threads: t.join()
first = results[0]
assert all(r == first for r in results.values())
print(repr(first))
"""
        out = subprocess.run(
            [sys.executable, "-c", script], capture_output=True, text=True, check=True
        ).stdout
        raced = ast.literal_eval(out)
        words = ["hyphenation", "HYPHENATION", "\u0433\u0438\u043f\u043e\u0442\u0435\u0437\u0430"]
        assert raced == {
            name: [liang.hyphenate(w, name) for w in words] for name, _, _, _ in liang.languages()
        }
