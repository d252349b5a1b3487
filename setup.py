"""Builds the extension liang._liang with the project's own CMake build.

The metadata lives in pyproject.toml; this file only runs CMake for the one
target the package needs and puts the module where setuptools packs it.
LIANG_CMAKE_ARGS in the environment adds arguments to the configure step
(say "-DCMAKE_CXX_COMPILER=clang++").
"""

import os
import re
import shlex
import shutil
import subprocess
import sys
from pathlib import Path

from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext

ROOT = Path(__file__).resolve().parent


def project_version() -> str:
    text = (ROOT / "CMakeLists.txt").read_text(encoding="utf-8")
    return re.search(r"project\(liang VERSION ([0-9.]+)", text).group(1)


class CMakeExtension(Extension):
    def __init__(self, name: str) -> None:
        super().__init__(name, sources=[])


class CMakeBuild(build_ext):
    def build_extension(self, ext: Extension) -> None:
        package_dir = Path(self.get_ext_fullpath(ext.name)).resolve().parent
        build_dir = Path(self.build_temp).resolve() / "cmake"
        configure = [
            "cmake",
            "-S", str(ROOT),
            "-B", str(build_dir),
            "-DCMAKE_BUILD_TYPE=Release",
            "-DLIANG_PYTHON=ON",
            "-DLIANG_TEST=OFF",
            "-DLIANG_TOOLS=OFF",
            "-DLIANG_INSTALL=OFF",
            f"-DPython_EXECUTABLE={sys.executable}",
            f"-DLIANG_PYTHON_OUTPUT_DIR={package_dir}",
        ]
        try:
            import pybind11

            configure.append(f"-Dpybind11_DIR={pybind11.get_cmake_dir()}")
        except ImportError:
            pass  # CMake looks in the system's places (Debian's pybind11-dev)
        if shutil.which("ninja"):
            configure += ["-G", "Ninja"]
        configure += shlex.split(os.environ.get("LIANG_CMAKE_ARGS", ""))
        subprocess.run(configure, check=True)
        build = ["cmake", "--build", str(build_dir), "--target", "liang_python"]
        if self.parallel:
            build += ["--parallel", str(self.parallel)]
        subprocess.run(build, check=True)


setup(
    version=project_version(),
    ext_modules=[CMakeExtension("liang._liang")],
    cmdclass={"build_ext": CMakeBuild},
)
