"""The engine runs without the interpreter's lock: Python threads go on while it works."""

import threading
import time

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
