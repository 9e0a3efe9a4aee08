"""The hand-written stubs say what the module has: mypy's stubtest compares them."""

import importlib.util
import os
import pathlib
import subprocess
import sys

import arraypattern
from conftest import SOURCE


def test_the_stubs_match_the_module():
    assert importlib.util.find_spec("mypy") is not None, "mypy is missing: install Debian's mypy"
    folder = pathlib.Path(arraypattern.__file__).parent
    env = {**os.environ, "MYPYPATH": str(folder), "PYTHONPATH": str(folder)}
    allowlist = SOURCE / "src" / "python" / "stubtest-allowlist.txt"
    done = subprocess.run([sys.executable, "-m", "mypy.stubtest", "arraypattern",
                           "--allowlist", str(allowlist)], capture_output=True, text=True,
                          env=env, cwd=folder)
    assert done.returncode == 0, done.stdout + done.stderr


def test_help_describes_every_public_name():
    for name in ("Array", "Emitter", "Analysis", "load", "analyse", "sweep", "design"):
        assert getattr(arraypattern, name).__doc__, name
    assert "directivity_dbi" in arraypattern.Analysis.__doc__
