"""`pip install ./python` gives a package that works from anywhere."""

import os
import shutil
import subprocess
import sys

from conftest import EXAMPLE, HERE

SOURCE = os.path.dirname(HERE)


def run(args, **kwargs):
    done = subprocess.run(args, capture_output=True, text=True, timeout=300, check=False, **kwargs)
    assert done.returncode == 0, done.stdout + done.stderr
    return done.stdout


def test_installed_package_checks_a_document(tmp_path):
    # A copy, so the build leaves nothing in the source tree; no index, no
    # isolation: the system's setuptools builds it offline.
    source = shutil.copytree(SOURCE, tmp_path / "src", ignore=shutil.ignore_patterns("tests", "__pycache__"))
    venv = tmp_path / "venv"
    run(["/usr/bin/python3", "-m", "venv", "--system-site-packages", str(venv)])
    python = str(venv / "bin" / "python")
    run([python, "-m", "pip", "install", "-q", "--no-index", "--no-build-isolation", str(source)])
    document = shutil.copy(EXAMPLE, tmp_path)
    env = {k: v for k, v in os.environ.items() if k != "PYTHONPATH"}
    out = run([python, "-c", "import sys, veskar; r = veskar.check(sys.argv[1]); "
               "print(veskar.__file__); print(len(r.findings))", document], env=env, cwd=tmp_path)
    module, count = out.split()
    assert module.startswith(str(venv)) and int(count) > 0
