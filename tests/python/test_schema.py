"""The JSON outputs keep the contract written in docs/schema, which names the catalogue's keys."""

import json

import jsonschema
import pytest

import arraypattern as ap
from conftest import SOURCE, cli, cli_json

SCHEMA = SOURCE / "docs" / "schema"


def schema(name):
    document = json.loads((SCHEMA / name).read_text())
    jsonschema.Draft202012Validator.check_schema(document)
    return jsonschema.Draft202012Validator(document)


def test_every_examples_pattern_keeps_the_schema(example):
    schema("pattern.schema.json").validate(cli_json("--config", example))


@pytest.mark.parametrize("options", [
    ["--config", "yagi-2.txt", "--vary", "frequency", "--frequency", "14", "--from", "13.8"],
    ["--config", "four-square-over-average-ground.txt", "--vary", "height", "--from", "0.2"],
    ["--config", "broadside-line-8.txt", "--vary", "elevation", "--from", "0"],
], ids=["wires", "ground", "ideal"])
def test_every_sweep_row_keeps_the_schema(example_dir, options):
    validator = schema("sweep-row.schema.json")
    options = [str(example_dir / o) if o.endswith(".txt") else o for o in options]
    rows = cli("sweep", "--format", "json", *options, "--to", "14.2" if "frequency" in options
               else "0.6", "--steps", "3").splitlines()
    for row in rows:
        validator.validate(json.loads(row))


def test_the_outputs_through_a_feed_network_keep_the_schemas(example_dir, tmp_path):
    config = str(example_dir / "four-square-monopoles.txt")
    net = tmp_path / "feed.net"
    cli("design", "--goal", "feed", "--method", "current-forcing", "--frequency", "7.1",
        "--config", config, str(net))
    through = ["--config", config, "--frequency", "7.1", "--network", str(net)]
    pattern = cli_json(*through)
    assert pattern["network"]["transmitter"]["swr"] < 1.2
    schema("pattern.schema.json").validate(pattern)
    validator = schema("sweep-row.schema.json")
    for row in cli("sweep", "--format", "json", *through, "--vary", "frequency", "--from", "7",
                   "--to", "7.2", "--steps", "2").splitlines():
        validator.validate(json.loads(row))


def test_the_schemas_name_every_figure_of_the_catalogue():
    figures = set(ap.analyse(ap.Array()).figures)
    pattern = json.loads((SCHEMA / "pattern.schema.json").read_text())["properties"]
    written = set(pattern) | set(pattern["metrics"]["oneOf"][1]["properties"]) | set(
        pattern["coupling"]["oneOf"][1]["properties"]) | {"takeoff_low_deg", "takeoff_high_deg"}
    assert figures <= written, figures - written
    sweep = json.loads((SCHEMA / "sweep-row.schema.json").read_text())
    network = {"tx_swr", "tx_r_ohm", "tx_x_ohm"}
    assert set(sweep["properties"]) == figures | {"parameter"} | network
    wires = ap.analyse(ap.load(str(SOURCE / "examples" / "yagi-2.txt")))
    validator = schema("sweep-row.schema.json")
    validator.validate({"parameter": 0, **{k: 0 for k in sweep["required"]}, **wires.feed_figures})
