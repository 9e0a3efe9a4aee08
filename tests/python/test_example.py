"""The notebook-style example runs as a script, with no display and without matplotlib."""

import os
import subprocess
import sys

from conftest import SOURCE


def test_the_spacing_example_runs_headless(tmp_path):
    env = {k: v for k, v in os.environ.items() if k != "DISPLAY"}
    done = subprocess.run([sys.executable, SOURCE / "examples" / "python" / "spacing_sweep.py"],
                          capture_output=True, text=True, cwd=tmp_path, env=env)
    assert done.returncode == 0, done.stderr
    lines = done.stdout.splitlines()
    assert len([line for line in lines if line.startswith("spacing ")]) == 19
    assert "best F/B" in lines[-1]
