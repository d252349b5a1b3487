"""liang.hyphenate_epub on the EPUB 3 of tests/data/epub, zipped here with zipfile."""

import pathlib
import zipfile

import pytest

import liang

DATA = pathlib.Path(__file__).resolve().parents[2] / "tests" / "data" / "epub" / "book3"
SHY = "\u00ad"

pytestmark = pytest.mark.skipif(
    not hasattr(liang, "hyphenate_epub"), reason="built without liang::epub"
)


def make_book(path):
    files = sorted(p for p in DATA.rglob("*") if p.is_file())
    with zipfile.ZipFile(path, "w") as book:
        book.write(DATA / "mimetype", "mimetype", compress_type=zipfile.ZIP_STORED)
        for file in files:
            name = file.relative_to(DATA).as_posix()
            if name != "mimetype":
                book.write(file, name, compress_type=zipfile.ZIP_DEFLATED)


def test_hyphenates_the_chapters_only(tmp_path):
    source, destination = tmp_path / "book.epub", tmp_path / "out.epub"
    make_book(source)
    report = liang.hyphenate_epub(source, destination)
    assert report["language"] == "en"
    assert report["documents"] == 2
    assert report["encrypted"] == ["EPUB/font.otf"]
    with zipfile.ZipFile(source) as before, zipfile.ZipFile(destination) as after:
        assert after.namelist() == before.namelist()
        for name in before.namelist():
            old, new = before.read(name), after.read(name)
            if name.startswith("EPUB/text/"):
                assert new.decode().replace(SHY, "") == old.decode()
                assert SHY in new.decode()
            else:
                assert new == old
        chapter = after.read("EPUB/text/chapter2.xhtml").decode().replace(SHY, "-")
        assert "Die Sil-ben-tren-nung" in chapter


def test_options_and_language(tmp_path):
    source, destination = tmp_path / "book.epub", tmp_path / "out.epub"
    make_book(source)
    liang.hyphenate_epub(str(source), str(destination), "de", hyphen="=")
    with zipfile.ZipFile(destination) as after:
        assert "Die Sil=ben=tren=nung" in after.read("EPUB/text/chapter2.xhtml").decode()


def test_failures_raise_and_leave_nothing(tmp_path):
    source, destination = tmp_path / "text.epub", tmp_path / "out.epub"
    source.write_text("not a book")
    with pytest.raises(liang.Error, match="not a zip archive"):
        liang.hyphenate_epub(source, destination)
    assert sorted(p.name for p in tmp_path.iterdir()) == ["text.epub"]
