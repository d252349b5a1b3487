"""Running out of memory during a language's first use is no verdict on it.

For every k, a fresh process uses Interlingua for the first time with its
k-th C++ allocation failing (through a preloaded operator new, the library
built by CMake and named in LIANG_FAILING_ALLOCATIONS): the use either
succeeds or raises MemoryError, and the same use then succeeds, exactly.
Each k runs in a child forked from a process that has not used the language.

The use goes through the module's functions: making a liang.Hyphenator
object ends in pybind11 registering the instance, after its handlers, where
a failed allocation terminates the process (pybind11 2.10) whatever the
library does.
"""

import json
import os
import subprocess
import sys

import pytest

import liang

WORDS = ["alcunissime", "alcunmente", "hyphenation", "internationalisation"]

CHILDREN = r"""
import ctypes, json, os, sys
import liang

hooks = ctypes.CDLL(os.environ["LIANG_FAILING_ALLOCATIONS"])
hooks.liang_test_fail_allocation.argtypes = [ctypes.c_uint64]
words, expected = json.loads(sys.argv[1])


def first_use():
    return [liang.hyphenate(w, lang="ia") for w in words] + [liang.positions(w, "ia") for w in words]


def child(k):
    hooks.liang_test_fail_allocation(k)
    try:
        first_use()
    except MemoryError:
        pass
    failed = hooks.liang_test_allocation_failed()
    hooks.liang_test_fail_allocation(0)
    if not failed:
        return 1  # the use made fewer than k allocations
    got = first_use()
    if got != expected:
        sys.stderr.write(f"k = {k}: {got!r}\n")
        return 2
    return 0


# The extension's own first use, made beforehand with another language (the
# subject here is Interlingua's): pybind11 fills its type caches on a type's
# first object, and makes its table of exception translators on the first
# exception it translates -- in a handler, where a failure cannot be passed on.
english = liang.Hyphenator("en-us")
[english.hyphenate(w) for w in words] + [liang.hyphenate(w, lang="en-us") for w in words]
try:
    liang.Hyphenator("no such language")
except KeyError:
    pass

for k in range(1, 200000):
    sys.stdout.flush()
    sys.stderr.flush()
    pid = os.fork()
    if pid == 0:
        try:
            code = child(k)
        except BaseException as e:  # anything else is a failure of the test
            sys.stderr.write(f"k = {k}: {e!r}\n")
            code = 3
        sys.stderr.flush()
        os._exit(code)
    _, status = os.waitpid(pid, 0)
    code = os.WEXITSTATUS(status) if os.WIFEXITED(status) else -1
    if code == 1:
        print(k - 1)
        break
    if code != 0:
        sys.exit(f"k = {k}: the child ended with {code}")
"""


@pytest.mark.skipif(not hasattr(os, "fork"), reason="needs fork")
def test_a_first_use_recovers_from_every_failed_allocation():
    preload = os.environ.get("LIANG_FAILING_ALLOCATIONS")
    if not preload:
        pytest.skip("no failing allocator (set LIANG_FAILING_ALLOCATIONS)")
    expected = [liang.hyphenate(w, lang="ia") for w in WORDS] + [liang.positions(w, "ia") for w in WORDS]
    assert expected[0] == ["alc", "u", "nis", "si", "me"]  # the exception file's own entry
    env = dict(os.environ)
    env["LD_PRELOAD"] = " ".join(filter(None, [preload, env.get("LD_PRELOAD")]))
    done = subprocess.run(
        [sys.executable, "-c", CHILDREN, json.dumps([WORDS, expected])],
        env=env,
        capture_output=True,
        text=True,
        timeout=600,
    )
    assert done.returncode == 0, done.stderr[-2000:]
    assert int(done.stdout.split()[-1]) > 20, done.stdout  # failure points tried
