"""Shared fixtures: the repository's data files, and the C++ reference.

The reference is the small C++ program reference_pieces.cpp, which ctest
names in LIANG_REFERENCE_PIECES. Run by hand against an installed package,
the tests that need it are skipped, unless LIANG_REQUIRE_REFERENCE is set
(as ctest sets it), when its absence is a failure.
"""

import gzip
import os
import random
import subprocess
from pathlib import Path
from typing import Dict, List, Sequence, Tuple

import pytest

DATA_DIR = Path(__file__).resolve().parents[2] / "data"


def data_text(affix: str, kind: str) -> str:
    """The text of data/hyph-AFFIX.KIND.txt.gz ("pat" or "hyp")."""
    with gzip.open(DATA_DIR / f"hyph-{affix}.{kind}.txt.gz", "rt", encoding="utf-8") as f:
        return f.read()


def sample_words(affix: str, count: int, seed: int = 17) -> List[str]:
    """Words of a language: its exception words, and runs of its pattern letters
    joined two or three at a time, so that every language (also those without
    exceptions) gives words its patterns break, and in the capitals too.
    """
    rng = random.Random(f"{affix}-{seed}")
    exceptions = [line.replace("-", "") for line in data_text(affix, "hyp").split("\n") if line]
    letters = []
    for line in data_text(affix, "pat").split("\n"):
        run = "".join(c for c in line if not c.isdigit() and c != ".")
        if run and not run.isspace() and "\t" not in run:
            letters.append(run)
    words = rng.sample(exceptions, min(len(exceptions), count // 3))
    while len(words) < count and letters:
        words.append("".join(rng.choice(letters) for _ in range(rng.randint(2, 3))))
    capitals = [w.upper() for w in words[: count // 4]]
    titles = [w.title() for w in words[: count // 8]]
    return words + capitals + titles


class Reference:
    """The pieces the C++ library gives for UTF-8 words, by language name."""

    def __init__(self, program: str) -> None:
        self.program = program

    def pieces(self, queries: Sequence[Tuple[str, str]]) -> List[List[str]]:
        lines = "".join(f"{lang}\t{word}\n" for lang, word in queries)
        out = subprocess.run(
            [self.program], input=lines.encode(), capture_output=True, check=True
        ).stdout.decode()
        answers = out.split("\n")[:-1]
        assert len(answers) == len(queries)
        return [answer.split("\t") for answer in answers]

    def option_cases(self) -> Dict[str, str]:
        """The running-text cases of the C++ tests: "sample" (an English text),
        "default" (its output with "-" for a hyphen), and for each field of
        TextOptions, by its C++ name, the output with that field alone set."""
        out = subprocess.run(
            [self.program, "options"], capture_output=True, check=True
        ).stdout.decode()
        return dict(line.split("\t", 1) for line in out.split("\n") if line)


@pytest.fixture(scope="session")
def reference() -> Reference:
    program = os.environ.get("LIANG_REFERENCE_PIECES")
    if not program:
        if os.environ.get("LIANG_REQUIRE_REFERENCE"):
            pytest.fail("LIANG_REFERENCE_PIECES names no program")
        pytest.skip("no C++ reference (set LIANG_REFERENCE_PIECES)")
    return Reference(program)


@pytest.fixture(scope="session")
def samples() -> Dict[str, List[str]]:
    """Sample words of every language, by affix."""
    if not DATA_DIR.is_dir():
        pytest.skip("the repository's data/ is not beside the tests")
    import liang

    return {affix: sample_words(affix, 40) for affix, _, _, _ in liang.languages()}
