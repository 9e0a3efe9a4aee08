"""The module and the command line give one answer: figures, pattern, cut and coupling."""

import json
import math
import warnings

import numpy
import pytest

import arraypattern as ap
from conftest import cli, cli_json

# Where the JSON writes a figure: its head, the metrics object, the coupling object, or the
# top level; figures sharing a key are one array there.
METRICS = {"beamwidth_deg", "first_null_beamwidth_deg", "front_to_back_db", "front_to_rear_db",
           "front_to_side_db", "side_lobe_db"}
WIRES = {"input_power_w", "radiated_power_w", "efficiency"}
RANGE = {"takeoff_low_deg": 0, "takeoff_high_deg": 1}


def json_figure(data, key):
    if key in METRICS:
        return data["metrics"][key] if data["metrics"] else None
    if key in WIRES:
        return data["coupling"][key] if data["coupling"] else None
    if key in RANGE:
        pair = data["takeoff_range_deg"]
        return pair[RANGE[key]] if pair else None
    return data[key]


def within_an_ulp(ours, theirs):
    """The JSON writes an infinity, which has no JSON number, as null."""
    if ours is None or theirs is None:
        return theirs is None and (ours is None or not math.isfinite(ours))
    return ours == theirs or abs(ours - theirs) <= math.ulp(max(abs(ours), abs(theirs)))


def assert_close_arrays(ours, theirs):
    theirs = numpy.array([math.nan if v is None else v for v in theirs])
    ulps = numpy.spacing(numpy.maximum(numpy.abs(ours), numpy.abs(theirs)))
    same = (ours == theirs) | (numpy.abs(ours - theirs) <= ulps) | (
        ~numpy.isfinite(ours) & numpy.isnan(theirs))
    assert same.all(), numpy.flatnonzero(~same)


def test_every_figure_pattern_and_port_matrix_match_the_command_line(example):
    data = cli_json("--config", example)
    result = ap.analyse(ap.load(str(example)))
    for key, value in result.figures.items():
        assert within_an_ulp(value, json_figure(data, key)), (key, value, json_figure(data, key))
    assert result.model == data["model"]
    assert_close_arrays(result.samples, data["samples"])
    assert_close_arrays(result.elevation_cut, data["elevation_cut"]["samples"])
    assert result.cut_bearing == data["elevation_cut"]["bearing"]
    coupling = data["coupling"]
    if coupling is None:
        assert result.impedance_matrix is None and result.currents is None
        return
    matrix = numpy.array([[complex(*z) for z in row] for row in coupling["impedance_matrix_ohm"]])
    assert numpy.array_equal(result.impedance_matrix, matrix)
    assert result.wire_emitters == [e["number"] for e in coupling["emitters"]]
    for k, emitter in enumerate(coupling["emitters"]):
        n = emitter["number"]
        assert within_an_ulp(result.feed_figures[f"swr_{n}"], emitter["swr"])
        assert within_an_ulp(abs(result.currents[k]), emitter["current"]["amplitude"]) or \
            math.isclose(abs(result.currents[k]), emitter["current"]["amplitude"], rel_tol=1e-15)


def sweep_rows(*args):
    return [json.loads(line) for line in cli("sweep", "--format", "json", *args).splitlines()]


@pytest.mark.parametrize("name, parameter, values, options", [
    # Values a double holds exactly: the command line reads its decimals in extended precision.
    ("yagi-2.txt", "frequency", [13.5, 14.0, 14.5], ["--frequency", "14"]),
    ("four-square.txt", "2:phase", [0.0, 0.125, 0.25], []),
    ("dipole-pair-over-average-ground.txt", "height", [0.25, 0.5], []),
])
def test_a_sweep_gives_the_command_lines_columns(example_dir, name, parameter, values, options):
    array = ap.load(str(example_dir / name))
    if parameter == "frequency":
        array.frequency = 14.0
    table = ap.sweep(array, parameter, values)
    rows = sweep_rows("--config", example_dir / name, "--vary", parameter, "--from", values[0],
                      "--to", values[-1], "--steps", len(values), *options)
    assert list(table) == list(rows[0])
    for column, ours in table.items():
        assert_close_arrays(ours, [row[column] for row in rows])


@pytest.mark.parametrize("goal, options", [
    ("max-directivity", {}),
    ("nulls", {"nulls": [180.0, 270.0]}),
    ("front-to-back", {}),
    ("front-to-rear", {"free_amplitudes": True}),
])
def test_a_design_saves_the_file_the_command_line_writes(example_dir, tmp_path, goal, options):
    source = example_dir / "four-square.txt"
    flags = ["--goal", goal]
    for null in options.get("nulls", []):
        flags += ["--null", null]
    if options.get("free_amplitudes"):
        flags += ["--amplitudes", "free"]
    cli("design", "--config", source, *flags, tmp_path / "cli.txt")
    with warnings.catch_warnings():
        warnings.simplefilter("ignore")  # a super-directive design is warned of, as the CLI does
        designed = ap.design(ap.load(str(source)), goal, **options)
    designed.save(str(tmp_path / "module.txt"))
    assert (tmp_path / "module.txt").read_bytes() == (tmp_path / "cli.txt").read_bytes()


def test_a_saved_array_is_the_command_lines_save_of_the_same_file(example, tmp_path):
    cli("save", "--config", example, tmp_path / "cli.txt")
    ap.load(str(example)).save(str(tmp_path / "module.txt"))
    assert (tmp_path / "module.txt").read_bytes() == (tmp_path / "cli.txt").read_bytes()


def test_the_frequency_and_z0_are_saved_as_the_command_line_saves_them(example_dir, tmp_path):
    source = example_dir / "four-square-monopoles.txt"
    cli("save", "--config", source, "--frequency", "3.6", "--z0", "75", tmp_path / "cli.txt")
    array = ap.load(str(source))
    array.frequency, array.z0 = 3.6, 75
    array.save(str(tmp_path / "module.txt"))
    assert (tmp_path / "module.txt").read_bytes() == (tmp_path / "cli.txt").read_bytes()
    back = ap.load(str(tmp_path / "cli.txt"))
    assert (back.frequency, back.z0) == (3.6, 75)


def test_the_files_elevation_and_formula_are_read_as_the_command_line_reads_them(tmp_path):
    path = tmp_path / "view.txt"
    path.write_bytes("[Все излучатели]\r\nТип=1\r\nУгол места=30\r\nФормула=free-space\r\n"
                     "[Излучатель 1]\r\nВключен=1\r\nX=0\r\nY=0\r\nФаза=0\r\n"
                     "[Излучатель 2]\r\nВключен=1\r\nX=0.5\r\nY=0\r\nФаза=0\r\n".encode("cp1251"))
    data = cli_json("--config", path)
    array = ap.load(str(path))
    assert (array.elevation, array.model) == (30, "free-space") == (data["elevation"], data["model"])
    assert within_an_ulp(ap.analyse(array).max_gain, data["max_gain"])


def test_an_array_built_from_keywords_is_analysed_as_its_saved_file(tmp_path):
    array = ap.Array([ap.Emitter(0, 0, length=0.5), ap.Emitter(0.25, 0, phase=0.25, length=0.5)],
                     type=1, ground="real", soil="average", height=0.3, frequency=7.1,
                     radius=0.001, feed="voltage")
    array.save(str(tmp_path / "pair.txt"))
    data = cli_json("--config", tmp_path / "pair.txt")
    result = ap.analyse(array)
    assert within_an_ulp(result.gain_dbi, data["gain_dbi"])
    assert within_an_ulp(result.takeoff_elevation_deg, data["takeoff_elevation_deg"])
    assert result.impedance_matrix.shape == (2, 2)


def test_the_grid_covers_the_sphere_at_the_step_asked():
    result = ap.analyse(ap.Array(), grid_step=5.0)
    assert result.grid.shape == (len(result.grid_elevations), len(result.grid_bearings))
    assert result.grid_bearings[-1] == 360.0 and result.grid_elevations[0] == -90.0
    assert ap.analyse(ap.Array()).grid is None


def set_radius(array, number, radius):
    emitters = list(array.emitters)
    emitters[number - 1] = emitters[number - 1].replace(radius=radius)
    array.emitters = emitters


def test_the_wire_keywords_give_the_command_lines_figures(example_dir):
    config = example_dir / "dipole-pair-over-average-ground.txt"
    array = ap.load(str(config))
    ap.analyse(array)
    # Each change after an analysis of the same wires: none may be answered from the last one.
    array.ground_model = "reflection"
    options = ["--ground-model", "reflection"]
    for change, more in ((lambda: None, []),
                         (lambda: set_radius(array, 1, 0.001), ["--set", "1:radius=0.001"]),
                         (lambda: setattr(array, "modes_per_wavelength", 60),
                          ["--modes-per-wavelength", "60"])):
        change()
        options += more
        data = cli_json("--config", config, *options)
        result = ap.analyse(array)
        for key, value in result.figures.items():
            assert within_an_ulp(value, json_figure(data, key)), (options, key, value)
        assert numpy.array_equal(result.impedance_matrix, numpy.array(
            [[complex(*z) for z in row] for row in data["coupling"]["impedance_matrix_ohm"]]))


@pytest.fixture
def fed_four_square(example_dir, tmp_path):
    """The four-square of monopoles and the network the command line designs to feed it."""
    config = str(example_dir / "four-square-monopoles.txt")
    net = tmp_path / "feed.net"
    cli("design", "--goal", "feed", "--method", "current-forcing", "--frequency", "7.1",
        "--config", config, str(net))
    return config, net


def test_a_feed_network_gives_the_command_lines_figures(fed_four_square):
    config, net = fed_four_square
    data = cli_json("--config", config, "--frequency", "7.1", "--network", net)
    array = ap.load(config)
    array.frequency = 7.1
    array.network = str(net)
    result = ap.analyse(array)
    for key, value in result.figures.items():
        assert within_an_ulp(value, json_figure(data, key)), (key, value, json_figure(data, key))
    ours, theirs = result.network, data["network"]
    assert ours["transmitter"]["impedance_ohm"] == complex(*theirs["transmitter"]["impedance_ohm"])
    assert within_an_ulp(ours["loss_w"], theirs["loss_w"])
    for mine, its in zip(ours["emitters"], theirs["emitters"], strict=True):
        assert mine["number"] == its["number"]
        assert within_an_ulp(mine["current"]["amplitude"], its["current"]["amplitude"])
        assert within_an_ulp(mine["power_w"], its["power_w"])


@pytest.mark.parametrize("parameter, values", [
    ("frequency", [7.0, 7.125, 7.25]),
    ("2:phase", [0.0, 0.125]),
])
def test_a_sweep_through_a_network_gives_the_command_lines_columns(fed_four_square, parameter,
                                                                  values):
    config, net = fed_four_square
    array = ap.load(config)
    array.frequency = 7.1
    array.network = str(net)
    table = ap.sweep(array, parameter, values)
    rows = sweep_rows("--config", config, "--frequency", "7.1", "--network", net, "--vary",
                      parameter, "--from", values[0], "--to", values[-1], "--steps", len(values))
    assert {"tx_swr", "current_error_db_1", "current_error_deg_4"} <= set(table)
    assert list(table) == list(rows[0])
    for column, ours in table.items():
        assert_close_arrays(ours, [row[column] for row in rows])
