"""Shared fixtures: where the built tool, the example thesis and the real
documents are (ctest passes them in the environment; the defaults suit a
source checkout built into ./build), and private copies of documents, since
a check writes its files beside the document."""

import os
import shutil
import subprocess
import sys

import pytest

HERE = os.path.dirname(os.path.abspath(__file__))
CHECKOUT = os.path.dirname(os.path.dirname(HERE))
BUILD = os.path.join(CHECKOUT, "build")

# Tests run programs from other folders: the library's path must hold there.
if os.environ.get("VESKAR_LIBRARY"):
    os.environ["VESKAR_LIBRARY"] = os.path.abspath(os.environ["VESKAR_LIBRARY"])

# The package under test is the source tree's, not one installed elsewhere.
sys.path.insert(0, os.path.dirname(HERE))


def _setting(name, default):
    return os.environ.get(name) or default


TOOL = _setting("VESKAR_TOOL", os.path.join(BUILD, "veskar"))
EXAMPLE = _setting("VESKAR_EXAMPLE", os.path.join(BUILD, "examples", "thesis.docx"))
CORPUS = _setting("VESKAR_CORPUS", os.path.join(os.path.dirname(CHECKOUT), "shared", "corpus"))
DATA = _setting("VESKAR_DATA", BUILD)


@pytest.fixture(scope="session", autouse=True)
def _logs_aside(tmp_path_factory):
    # The library writes its day logs into the current folder unless told.
    os.environ.setdefault("VESKAR_LOG_DIR", str(tmp_path_factory.mktemp("logs")))
    os.environ.setdefault("VESKAR_DATA", DATA)


def corpus_file(relative):
    path = os.path.join(CORPUS, relative)
    if not os.path.isfile(path):
        pytest.skip(f"no corpus document {path}")
    return path


@pytest.fixture
def copy_of(tmp_path):
    """copy_of(path, folder="a"): a copy of a document in a folder of its own."""
    def copy(path, folder="doc"):
        target = tmp_path / folder
        target.mkdir(exist_ok=True)
        return str(shutil.copy(path, target))
    return copy


def run_tool(*args):
    """Runs the built tool; its standard output."""
    done = subprocess.run([TOOL, *args, "--data", DATA], capture_output=True, text=True, timeout=300,
                          check=False)
    assert done.returncode == 0, done.stderr
    return done.stdout
