#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets into fuzz/corpus/<target>/.

The seeds are the worked examples of the formats, odd shapes at their
edges, and short slices of the shipped data (data/*.gz), laid out in each
target's input format (see the comment at the top of each *_fuzz.cpp).
Run from anywhere; it rewrites the seed files it owns and leaves others
(inputs added by hand or kept from fuzzing runs) alone.
"""
import gzip
import pathlib

ROOT = pathlib.Path(__file__).resolve().parent.parent
CORPUS = ROOT / "fuzz" / "corpus"


def data(name, lines=None, start=0):
    """Text of a shipped file, or `lines` of its lines from `start` on."""
    text = gzip.decompress((ROOT / "data" / name).read_bytes()).decode("utf-8")
    if lines is None:
        return text
    return "".join(text.splitlines(keepends=True)[start:start + lines])


def minimum(value):
    """The header byte that Input::minimum reads as `value` (-5..10)."""
    assert -5 <= value <= 10
    return bytes([value + 5])


EXTREME = {"min": 224, "min+1": 225, "max-1": 234, "max": 235}


def extreme(name):
    return bytes([EXTREME[name]])


def write(target, name, content):
    directory = CORPUS / target
    directory.mkdir(parents=True, exist_ok=True)
    if isinstance(content, str):
        content = content.encode("utf-8")
    (directory / name).write_bytes(content)


def u8(text):
    return text.encode("utf-8")


def raw(c):
    """The escape of fuzz::codePoints for any char32_t."""
    return b"\xfe" + c.to_bytes(4, "little")


# pattern: fold, left, right, pattern text, NUL, words.
def pattern_seeds():
    identity, lower, tiny = b"\x00", b"\x01", b"\x02"
    cases = {
        "worked_example": (identity, minimum(1), minimum(1), "a1b\n.c2\nb3.\n", "cab\nabc\n"),
        "edge_start": (identity, minimum(0), minimum(0), ".a1b\n", "ab\ncab\n"),
        "edge_end": (identity, minimum(1), minimum(0), "b1.\n", "ab\nabab\n"),
        "two_digits": (identity, minimum(0), minimum(0), "a12b\n", "ab\naab\n"),
        "root_line": (identity, minimum(0), minimum(0), "\n", "abc\n\n"),
        "root_digit": (identity, minimum(-1), minimum(-1), "3\n", "ab\n"),
        "upper_line_wins": (identity, minimum(1), minimum(1), "a1b\na3b\n", "ab\n"),
        "carriage_return": (identity, minimum(1), minimum(1), "a1b\r\nb1c\r\n", "abc\nab\r\n"),
        "dot_in_word": (identity, minimum(0), minimum(0), ".a1\nb1.\n", "b.a\n"),
        "digits_only": (identity, minimum(0), minimum(0), "0123456789\n", "abc\n"),
        "many_digits": (identity, minimum(1), minimum(1), "7" * 300 + "\n", "abcd\n"),
        "dots_only": (identity, minimum(0), minimum(0), ".\n..\n.....\n", ".\n..\nab\n"),
        "extremes_min_max": (identity, extreme("min"), extreme("max"), "a1b\n", "abab\n"),
        "extremes_max_min": (identity, extreme("max"), extreme("min"), "a1b\n", "abab\n"),
        "extremes_min_min": (identity, extreme("min"), extreme("min+1"), "a1b\nb1.\n", "abab\n"),
        "english_slice": (lower, minimum(2), minimum(3), data("hyph-en-us.pat.txt.gz", 400),
                          "Hyphenation\ncomputer\nassociate\nachievement\n"),
        "english_tail": (lower, minimum(2), minimum(3),
                         data("hyph-en-us.pat.txt.gz", 300, 4000), "zygote\nyesterday\n"),
        "german_slice": (identity, minimum(2), minimum(2), data("hyph-de-1996.pat.txt.gz", 300),
                         "silbentrennung\nabend\n"),
        "russian_slice": (identity, minimum(2), minimum(2), data("hyph-ru.pat.txt.gz", 200),
                          "\u0430\u0431\u0430\u0436\u0443\u0440\n"),
        "greek_slice": (identity, minimum(1), minimum(1),
                        data("hyph-el-monoton.pat.txt.gz", 200), "\u03b1\u03bd\u03b8\u03c1\u03c9\u03c0\u03bf\u03c2\n"),
        "hindi_slice": (identity, minimum(1), minimum(1), data("hyph-hi.pat.txt.gz", 200),
                        "\u0939\u093f\u0928\u094d\u0926\u0940\n"),
        "tiny_fold": (tiny, minimum(1), minimum(1), "a1b\nb2c\nc3a\n", "xyzxyz\nABC\n"),
    }
    for name, (fold, left, right, patterns, words) in cases.items():
        write("pattern", name, fold + left + right + u8(patterns) + b"\0" + u8(words))
    write("pattern", "non_scalar", b"\x00" + minimum(0) + minimum(0) + b"a1" + raw(0xD800) +
          b"\n" + raw(0x110000) + b"1b\n\0a" + raw(0xD800) + b"\n" + raw(0x110000) + b"b\n")


# exception: fold, left, right, exception text, NUL, pattern text, NUL, words.
def exception_seeds():
    identity, lower = b"\x00", b"\x01"
    cases = {
        "worked_entries": (identity, minimum(1), minimum(1),
                           "as-so-ciate\nhard-ware\nsandaal\n-ab\nab-\na--b\n", "", "ab\n"),
        "blank_and_dash": (identity, minimum(0), minimum(0), "a\n\nb\n-\n", "", "\n"),
        "disagreeing": (identity, minimum(1), minimum(1), "ta-ble\ntab-le\n", "a1b\n", "table\n"),
        "shorter_wins": (identity, minimum(0), minimum(0), "a-b\na--b\n", "", "ab\n"),
        "carriage_return": (identity, minimum(1), minimum(1), "ta-ble\r\n", "", "table\r\n"),
        "capital": (lower, minimum(2), minimum(2), "War-sza-wa\n", "1w1a\n", "Warszawa\nwarszawa\n"),
        "dashes_only": (identity, minimum(0), minimum(0), "-\n--\n---\n" + "-" * 200 + "\n", "", ""),
        "no_final_lf": (identity, minimum(1), minimum(1), "as-so-ciate", "", "associate\n"),
        "extremes": (identity, extreme("min"), extreme("max"), "as-so-ciate\n", "", "associate\n"),
        "negative_left": (identity, minimum(-3), minimum(2), "as-so-ciate\n", "", "associate\n"),
        "english": (lower, minimum(2), minimum(3), data("hyph-en-us.hyp.txt.gz"),
                    data("hyph-en-us.pat.txt.gz", 200), "Associate\nproject\ntable\n"),
        "uppersorbian": (lower, minimum(2), minimum(2), data("hyph-hsb.hyp.txt.gz", 40), "",
                         "Warszawa\n"),
    }
    for name, (fold, left, right, entries, patterns, words) in cases.items():
        write("exception", name,
              fold + left + right + u8(entries) + b"\0" + u8(patterns) + b"\0" + u8(words))


# merge: mode, count, three pattern texts and three exception texts.
def merge_seeds():
    cases = {
        "worked": (0, minimum(3), ["a1b\n", "a3b\n", "b1.\n"],
                   ["ta-ble\n", "tab-le\n", "as-so-ciate\n"]),
        "inserted": (1, minimum(1), ["a1b\n.c2\n", "a1b\nab3c\n", ""], ["a-b\n", "a--b\n", ""]),
        "empty": (0, minimum(0), ["", "", ""], ["", "", ""]),
        "roots": (1, minimum(-1), ["\n", "3\n", "12\n"], ["\n", "-\n", "--\n"]),
        "huge_count": (0, extreme("max"), ["a1b\n", "b1c\n", "c1a\n"], ["a-b\n", "b-c\n", "c-a\n"]),
        "least_count": (1, extreme("min"), ["a1b\n", "a1b\n", "a1b\n"], ["a-b\n"] * 3),
        "english_german": (1, minimum(2), [data("hyph-en-us.pat.txt.gz", 120),
                                           data("hyph-en-gb.pat.txt.gz", 120),
                                           data("hyph-de-1996.pat.txt.gz", 60)],
                           [data("hyph-en-us.hyp.txt.gz"), data("hyph-en-gb.hyp.txt.gz"), ""]),
    }
    for name, (mode, count, patterns, exceptions) in cases.items():
        write("merge", name, bytes([mode]) + count + b"\0".join(u8(t) for t in patterns + exceptions))


# chars: mode, text.
def chars_seeds():
    for affix in ["en-us", "de-1996", "tr", "hy", "el-monoton", "sa", "ru", "hu"]:
        write("chars", "shipped_" + affix, b"\x00" + u8(data("hyph-%s.chr.txt.gz" % affix)))
    write("chars", "worked", b"\x00" + u8("aA\n\u00dfSS\n\n x\nq\nb"))
    write("chars", "carriage_return", b"\x00" + b"aA\r\nbB\r\n")
    write("chars", "latin1_byte", b"\x00" + b"\xe9E\nxy\xe9\n")
    write("chars", "non_scalar", b"\x01" + b"a" + raw(0xD800) + raw(0x110000) + b"\n" +
          raw(0xFFFFFFFF) + b"b\n" + raw(0x10FFFF) + raw(0x110001) + b"\n")


# utf8: selector, bytes.
def utf8_seeds():
    english, german, french, small = 13, 24, 19, 230
    cases = {
        "english": (english, b"hyphenation"),
        "english_capital": (english, b"Hyphenation"),
        "german": (german, u8("Silbentrennung")),
        "german_strasse": (german, b"STRASSE"),
        "french": (french, u8("hyph\u00e9nation")),
        "lead_alone": (english, b"\xc3"),
        "stray_continuation": (english, b"hyph\x80enation"),
        "truncated": (english, b"hyphen\xe2\x80"),
        "overlong": (english, b"\xc0\xaftable"),
        "surrogate": (english, b"\xed\xa0\x80ab"),
        "above_max": (english, b"\xf4\x90\x80\x80"),
        "bom_and_ff": (english, b"\xef\xbb\xbf\xff\xfecomputer"),
        "latin1": (small, b"caf\xe9abcabc"),
        "euro": (small, u8("\u20acabcde\u20ac")),
        "tag_en_gb": (english, b"en-GB"),
        "tag_locale": (german, b"de_CH.UTF-8"),
        "tag_serbian": (english, b"sr_RS@latin"),
        "tag_private": (english, b"la-x-classic"),
        "four_bytes": (small, u8("a\U0001F600b\U0010FFFFc")),
    }
    for name, (selector, word) in cases.items():
        write("utf8", name, bytes([selector]) + word)


# text: selector, chunking, flags, text minima, left, right, hyphen, NUL,
# patterns, NUL, text. Flags: bit 0 markup; bits 1, 2, 3 no capitalised
# words, no all-caps words, mixed case; bits 4-6 the least word length;
# bit 7 XML's rules. Text minima: bits 0-1 left, 2-3 right, bit 4 technical
# tokens hyphenated (given here as bit 8 of the flags).
def text_seeds():
    english, german, french, made = 13, 24, 19, 200
    portuguese, russian, ukrainian, afrikaans, turkmen = 53, 56, 70, 0, 69
    markup, xml, technical = 1, 0x80, 0x100
    manual = ("-A, --almost-all  /usr/share/doc  sources.list  $HOME  systemd.service(5) "
              "Uint8Array snake_case std::vector [Requirements](#requirements) U.S.A. z.B. "
              "deb.debian.org x86_64 4th-generation and/or hyphenation.\n")
    soft = u8("\u00ad")
    cases = {
        "english": (english, 7, 0, soft, "", "Hyphenation of running text, computer-aided; "
                    "associate (table) and project.\n"),
        "german": (german, 3, 0, b"-", "", "Silbentrennung: STRASSE und Stra\u00dfe."),
        "french": (french, 11, 0, b"=", "", "L'hyph\u00e9nation fran\u00e7aise, n'est-ce pas ?"),
        "ill_formed": (english, 1, 0, soft, "", b"hyph\x80enation caf\xe9 \xe2\x80 computer\xc3"),
        "made_all_letters": (made, 5, 0, b"|", "a1b\nb1c\n1c\n", "abcabc ab.c a-b\n"),
        "made_edges": (made + 2, 9, 0, b"--", ".a1\nb1.\n", "ab ba .ab. aab"),
        "greek": (27, 2, 0, soft, "", u8("\u03b1\u03bd\u03b8\u03c1\u03c9\u03c0\u03bf\u03c2 "
                                          "\u03bb\u03cc\u03b3\u03bf\u03c2 \u03bc\u03b5\u0301\u03c1\u03b1")),
        "thai": (67, 4, 0, soft, "", u8("\u0e20\u0e32\u0e29\u0e32\u0e44\u0e17\u0e22")),
        "empty_hyphen": (english, 6, 0, b"", "", "nothing changes here, hyphenation"),
        "urls_and_soft_hyphens": (english, 8, 0, b"-", "",
                                  "see https://example.com/documentation, www.example.org and "
                                  "documentation@example.com; Infor\u00admation cafe\u0301s"),
        "case_options": (english, 12, 2 | 4 | (5 << 4), b"-", "",
                         "Hyphenation HYPHENATION hyphenation camelCaseHyphenation iPhone cat"),
        "markup": (english, 13, markup, b"-", "",
                   '<?xml version="1.0"?><!DOCTYPE html><p class="hyphenation" title=\'a>b\'>'
                   "Hyphenation <b>computer</b> <!-- hyphenation --> caf&#233;s hy&shy;phenation "
                   '&amp; a < b</p><p lang="de">Silbentrennung</p><code>hyphenation</code>'
                   "<script>if (a<b) hyphenation();</script><![CDATA[hyphenation]]>"
                   "<?pi hyphenation?><svg:svg>hyphenation</svg:svg>"),
        "markup_broken": (english, 14, markup, b"-", "",
                          'hyphenation <p class="hyphenation <!-- hyphenation &#x'),
        "chapter": (english, 15, markup, u8("\u2027"), "",
                    (ROOT / "tests" / "data" / "chapter.xhtml").read_bytes()),
        "hard_hyphens_pt": (portuguese, 17, 0, b"=", "",
                            "palavra-passe guarda-chuva apt-cache bem\u2010vindo guarda\u2011roupa"),
        "hard_hyphens_ru": (russian, 18, markup, b"=", "",
                            "<p>\u043a\u0442\u043e-\u043d\u0438\u0431\u0443\u0434\u044c "
                            "\u0438\u0437-\u0437\u0430 \u043f\u043e&#45;\u0440\u0443\u0441"
                            "\u0441\u043a\u0438</p>"),
        "hard_hyphens_uk_af_tk": (ukrainian, 19, 0, b"=", "",
                                  "\u0431\u0443\u0434\u044c-\u044f\u043a\u0438\u0439 "
                                  "Suid-Afrikaanse jemgy\u00fdet\u00e7ilik-sy\u00fdasy"),
        "hard_hyphens_af": (afrikaans, 20, 0, b"=", "", "Suid-Afrikaanse nie-amptelike"),
        "hard_hyphens_tk": (turkmen, 21, 0, b"=", "", "jemgy\u00fdet\u00e7ilik-sy\u00fdasy"),
        "technical_tokens": (english, 22, 0, b"=", "", manual),
        "technical_tokens_hyphenated": (german, 23, technical, b"=", "", manual),
        "technical_tokens_markup": (english, 24, markup, b"=", "",
                                    "<p>" + manual + "<b>--al</b>most-all &#36;HOME</p>"),
        "capital_sharp_s": (german, 25, 0, b"=", "", "GRO\u1e9eE STRA\u1e9eENBAHN GR\u00d6SSE"),
        "pages_docbook": (english, 17, markup | xml, u8("\u2027"), "",
                          (ROOT / "tests" / "data" / "pages" / "docbook-chapter.xhtml").read_bytes()),
        "pages_sphinx": (french, 18, markup, b"|", "",
                         (ROOT / "tests" / "data" / "pages" / "sphinx-page.html").read_bytes()),
        "pages_epub": (english, 19, markup | xml, b"-", "",
                       (ROOT / "tests" / "data" / "pages" / "epub-chapter.xhtml").read_bytes()),
        "markup_structure": (english, 20, markup | xml, b"-", "",
                             '<r><div lang="de"><div class="x">computer</div> computer '
                             '<code>computer<i>computer</i><code/>computer</code> computer'
                             '<p class="a nohyphenate">computer<b>computer</b></p><x:style>'
                             'a<b</X:STYLE> computer <!--->computer<title>a<b</title>computer'
                             '</div></r>'),
    }
    for name, (selector, chunking, flags, hyphen, patterns, text) in cases.items():
        if isinstance(text, str):
            text = u8(text)
        write("text", name, bytes([selector, chunking, flags & 0xFF, (flags >> 8) << 4]) +
              minimum(1) + minimum(1) +
              hyphen + b"\0" + u8(patterns) + b"\0" + text)
    # The text's own minima: left 3, right 1.
    write("text", "text_minima", bytes([english, 16, 0, 3 | 1 << 2]) + minimum(1) + minimum(1) +
          b"-\0\0" + u8("hyphenation representation"))


# c_interface: selector, capacity, chunking, two minima, then the hyphen,
# patterns, exceptions and text, NUL-separated. Selectors from 146 on make a
# hyphenator of the patterns and exceptions; an even one folds as a language.
def c_interface_seeds():
    english, german = 13, 24
    made_plain, made_folding_english = 147, 232  # odd: no fold; 232 % 73 == 13
    soft = u8("\u00ad")
    cases = {
        "english": (english, 40, 7, soft, "", "", "Hyphenation of running text, "
                    "computer-aided; associate (table) and project.\n"),
        "german_short_room": (german, 1, 3, b"-", "", "", "Silbentrennung \u00dcbersetzung"),
        "capacity_zero": (english, 0, 5, b"=", "", "", "hyphenation"),
        "ill_formed": (english, 9, 1, soft, "", "", b"hyph\x80enation caf\xe9 \xe2\x80 comp\xc3"),
        "made_with_exceptions": (made_plain, 3, 9, b"|", "a1b\nb1c\n", "ab-ab\nabc-abc\n",
                                 "abab abcabc ABAB"),
        "made_folding": (made_folding_english, 2, 4, b"--", "a1b\n", "ab-ab\n", "ABAB abab"),
        "made_no_minimum": (made_plain + 2, 5, 2, b"-", "1a\n1b\n", "", "ab ba a"),
    }
    for name, (selector, capacity, chunking, hyphen, patterns, exceptions, text) in cases.items():
        if isinstance(text, str):
            text = u8(text)
        header = bytes([selector, capacity, chunking]) + minimum(1) + minimum(1)
        if name == "made_no_minimum":
            header = bytes([selector, capacity, chunking]) + minimum(0) + minimum(-1)
        write("c_interface", name, header + hyphen + b"\0" + u8(patterns) + b"\0" +
              u8(exceptions) + b"\0" + text)


# c_stream: language, options, min_word_length, two minima (byte % 9 - 1),
# the seed of the feed and read sizes, then the hyphen and the text.
def c_stream_seeds():
    english, german, french = 13, 24, 19
    markup, capitalized, all_caps, mixed_case, soft = 1, 2, 4, 8, 16
    defaults = capitalized | all_caps
    page = ('<p lang="de">Silbentrennung</p> <code>hyphenation</code> &shy;x '
            "Hyphenation HYPHENATION camelCase https://example.org/hyphenation\n")
    cases = {
        "english_defaults": (english, defaults | soft, 0, 1, 1, 7, b"", "Hyphenation of running "
                             "text, computer-aided; associate (table) and project.\n"),
        "markup_page": (english, defaults | markup, 0, 1, 1, 3, b"-", page),
        "every_option": (german, markup | mixed_case, 5, 4, 6, 11, b"=",
                         "Silbentrennung SILBENTRENNUNG \u00dcbersetzung iPhone " * 3),
        "negative_minimum": (english, defaults, 0, 0, 1, 2, b"-", "hyphenation"),
        "ill_formed": (french, defaults, 2, 3, 3, 5, b"\xc2\xad",
                       b"\xc3\xa9l\xc3\xa9gance\x80 caf\xe9 \xe2\x80 comp\xc3"),
        "empty_text": (english, defaults, 0, 1, 1, 1, b"-", ""),
    }
    for name, (language, flags, min_word, left, right, seed, hyphen, text) in cases.items():
        if isinstance(text, str):
            text = u8(text)
        header = bytes([language, flags, min_word, left, right, seed])
        write("c_stream", name, header + hyphen + b"\0" + text)


# The prebuilt image of the trie of pattern `text` (src/core/PatternImage.hpp
# describes the layout), for lines whose digits each stand before a letter or
# at the end; the loader reads it in place of text.
def pattern_image(text):
    def varint(value):
        out = bytearray()
        while value >= 0x80:
            out.append(value & 0x7F | 0x80)
            value >>= 7
        out.append(value)
        return bytes(out)

    children, scores = [{}], [None]
    for line in text.split("\n")[:-1] if text.endswith("\n") else text.split("\n"):
        letters = "".join(c for c in line if not c.isdigit())
        marks = [0] * (len(letters) + 1)
        at = 0
        for c in line:
            if c.isdigit():
                marks[at] = int(c)
            else:
                at += 1
        node = 0
        for c in letters:
            if c not in children[node]:
                children[node][c] = len(children)
                children.append({})
                scores.append(None)
            node = children[node][c]
        if scores[node] is None:
            scores[node] = marks
    order, nodes, letters_column, marks_column = [0], b"", b"", b""
    for node in order:
        previous = 0
        for c in sorted(children[node]):
            letters_column += varint(ord(c) - previous)
            previous = ord(c)
            order.append(children[node][c])
        mark = 0
        if scores[node] is not None:
            nonzero = [(k, v) for k, v in enumerate(scores[node]) if v]
            mark = 1 + len(nonzero)
            last = 0
            for k, v in nonzero:
                marks_column += bytes([(k - last) << 4 | v])
                last = k + 1
        nodes += varint(len(children[node]) << 4 | mark)
    entries = sum(len(s) for s in scores if s is not None)
    return (b"\0liang trie 1\n" + varint(len(children)) + varint(entries) + varint(len(nodes))
            + varint(len(letters_column)) + nodes + letters_column + marks_column)


# loader: language, kinds, then three fields with a two-byte length each.
def loader_seeds():
    def sized(content):
        return len(content).to_bytes(2, "little") + content

    def seed(language, kinds, fields):
        kind = kinds[0] | kinds[1] << 2 | kinds[2] << 4
        return bytes([language, kind]) + b"".join(sized(f) for f in fields)

    def shipped_files(affix):
        return [(ROOT / "data" / ("hyph-" + affix + suffix)).read_bytes()
                for suffix in [".chr.txt.gz", ".pat.txt.gz", ".hyp.txt.gz"]]

    # Hindi's files are small enough to be carried whole; English's pattern
    # file is not, so a slice of its text is compressed by the target.
    write("loader", "shipped_hindi", seed(30, [1, 1, 1], shipped_files("hi")))
    shipped = shipped_files("en-us")
    write("loader", "shipped_english",
          seed(13, [1, 2, 1], [shipped[0], u8(data("hyph-en-us.pat.txt.gz", 300)), shipped[2]]))
    write("loader", "absent_all", seed(13, [0, 0, 0], [b"", b"", b""]))
    write("loader", "compressed_here", seed(24, [2, 2, 2], [u8("sS\n\u00dfSS\n"), b"a1b\n", b"ta-ble\n"]))
    write("loader", "truncated", seed(13, [1, 1, 1], [shipped[0][:40], shipped[1][:100], shipped[2][:-4]]))
    damaged = bytearray(shipped[0])
    damaged[20] ^= 0xFF
    write("loader", "damaged", seed(13, [1, 2, 1], [bytes(damaged), b"a1b\n", b"garbage"]))
    write("loader", "mixed", seed(31, [2, 0, 1], [b"aA\n", b"", shipped[2]]))
    write("loader", "ill_formed_text", seed(19, [2, 2, 2], [b"\xe9E\n", b"\xe91b\n", b"\xe9-b\n"]))
    # Pattern files as the build embeds them: a trie's image, as it stands
    # and gzipped.
    english_image = pattern_image(data("hyph-en-us.pat.txt.gz", 300))
    write("loader", "pattern_image",
          seed(13, [1, 1, 1], [shipped[0], english_image, shipped[2]]))
    write("loader", "pattern_image_compressed",
          seed(13, [1, 2, 1], [shipped[0], pattern_image("1a\nab2\n\u00e93b\n"), shipped[2]]))


# pattern_image: an image without its magic, which the target puts back.
def pattern_image_seeds():
    magic = len(b"\0liang trie 1\n")
    write("pattern_image", "english_slice", pattern_image(data("hyph-en-us.pat.txt.gz", 200))[magic:])
    write("pattern_image", "small", pattern_image("1a\nab2\n\u00e93b\n.x4y\n")[magic:])
    write("pattern_image", "empty_line", pattern_image("\na1\n")[magic:])


if __name__ == "__main__":
    pattern_image_seeds()
    pattern_seeds()
    exception_seeds()
    merge_seeds()
    chars_seeds()
    utf8_seeds()
    text_seeds()
    c_interface_seeds()
    c_stream_seeds()
    loader_seeds()
