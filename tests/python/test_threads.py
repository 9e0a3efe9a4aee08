"""The engine runs without the interpreter's lock: Python threads go on while it works."""

import threading
import time

import numpy
import pytest

import arraypattern as ap
from conftest import EXAMPLES


def test_a_python_thread_runs_while_a_sweep_solves_wires():
    yagi = ap.load(str(EXAMPLES / "yagi-2.txt"))
    yagi.frequency = 14.0
    done = threading.Event()
    ticks = []

    def tick():
        while not done.is_set():
            ticks.append(time.perf_counter())
            time.sleep(0.001)

    ticker = threading.Thread(target=tick)
    ticker.start()
    start = time.perf_counter()
    # One call, hundreds of wire analyses: with the lock held the ticker could not move in it.
    table = ap.sweep(yagi, "frequency", [13.0 + 0.005 * k for k in range(401)])
    end = time.perf_counter()
    done.set()
    ticker.join()
    assert len(table["parameter"]) == 401
    middle = [t for t in ticks if start + 0.25 * (end - start) < t < start + 0.75 * (end - start)]
    assert middle, f"no tick in the middle of a {end - start:.2f} s sweep"


PARTS = ("elevation_cut", "directivity_dbi", "front_to_back_db", "samples", "nulls")


@pytest.mark.parametrize("name", ["four-square.txt", "four-square-over-average-ground.txt"])
def test_parts_read_in_any_order_by_two_threads_at_once_are_the_full_analysis(name):
    array = ap.load(str(EXAMPLES / name))
    full = ap.analyse(array)
    whole = full.figures
    lazy = ap.analyse(array)
    threads = [threading.Thread(target=lambda order=order: [getattr(lazy, p) for p in order])
               for order in (PARTS, PARTS[::-1])]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    assert lazy.figures == whole
    for part in ("samples", "elevation_cut", "main_lobes"):
        assert numpy.array_equal(getattr(lazy, part), getattr(full, part)), part
    assert lazy.nulls == full.nulls and lazy.cut_bearing == full.cut_bearing
