"""What every test of the module reaches: the module itself, the command line beside it and
the examples, all named by the environment ctest sets."""

import importlib.util
import json
import os
import pathlib
import subprocess

import pytest

for module, package in (("numpy", "python3-numpy"), ("jsonschema", "python3-jsonschema")):
    if importlib.util.find_spec(module) is None:
        raise ImportError(f"{module} is missing: install the Debian package {package}")

CLI = os.environ["ARRAYPATTERN_CLI"]
EXAMPLES = pathlib.Path(os.environ["ARRAYPATTERN_EXAMPLES"])
SOURCE = pathlib.Path(__file__).resolve().parents[2]


def example_files():
    return sorted(EXAMPLES.glob("*.txt"))


def cli(*args, cwd=None):
    """The command line's standard output; a failure fails the test with its message."""
    done = subprocess.run([CLI, *map(str, args)], capture_output=True, text=True, cwd=cwd,
                          env={**os.environ, "LC_ALL": "C"})
    assert done.returncode == 0, done.stderr
    return done.stdout


def cli_json(*args):
    return json.loads(cli("pattern", "--format", "json", *args))


@pytest.fixture(params=example_files(), ids=lambda p: p.stem)
def example(request):
    return request.param


@pytest.fixture
def example_dir():
    return EXAMPLES
