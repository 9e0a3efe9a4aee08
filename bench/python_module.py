"""The Python module's costs, printed, never asserted: the interpreter's lock released around
the engine, the call's overhead over C++, and a loop of analyses against processes of the
command line.

Usage: PYTHONPATH=build/python /usr/bin/python3 bench/python_module.py build
"""

import json
import os
import pathlib
import subprocess
import sys
import tempfile
import threading
import time

import arraypattern as ap

build = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "build")
examples = pathlib.Path(__file__).resolve().parents[1] / "examples"


def eight_ideal(k):
    """Eight vertical dipoles spread over a wavelength, the phases moving with k."""
    return ap.Array([ap.Emitter(0.25 * (n % 4) - 0.375, 0.25 * (n // 4) - 0.125,
                                phase=0.01 * k * n) for n in range(8)], type=1)


def seconds(job):
    start = time.perf_counter()
    job()
    return time.perf_counter() - start


def cpu_seconds(job):
    """The processor time of this process and its children: what other loads cannot stretch."""
    start = os.times()
    job()
    end = os.times()
    return sum(end[:4]) - sum(start[:4])


def best_of(runs, job, clock=seconds):
    return min(clock(job) for _ in range(runs))


# The lock: one thread analysing 2,000 arrays against two threads of 1,000 each.
arrays = [eight_ideal(k) for k in range(2000)]


def analyse_all(part):
    for a in part:
        ap.analyse(a)


one = best_of(3, lambda: analyse_all(arrays))


def two_threads():
    threads = [threading.Thread(target=analyse_all, args=(arrays[k::2],)) for k in range(2)]
    for t in threads:
        t.start()
    for t in threads:
        t.join()


two = best_of(3, two_threads)
# More processor time than wall time: both threads were in the engine at once.
busy_start, wall_start = time.process_time(), time.perf_counter()
two_threads()
busy = (time.process_time() - busy_start) / (time.perf_counter() - wall_start)
print(f"one thread, 2,000 arrays: {one:.3f} s; two threads, 1,000 each: {two:.3f} s "
      f"({two / one:.2f} of one thread's); cores busy during the two: {busy:.2f}")

# One analysis of the four-square from Python against the same in C++.
four = ap.load(str(examples / "four-square.txt"))
calls = 2000
python_us = best_of(5, lambda: [ap.analyse(four) for _ in range(calls)]) / calls * 1e6
python_cpu_us = best_of(5, lambda: [ap.analyse(four) for _ in range(calls)], cpu_seconds) / calls * 1e6
peer = subprocess.run([build / "bench" / "bench_python_peer", "--benchmark_format=json",
                       "--benchmark_repetitions=5"], capture_output=True, text=True, check=True)
runs = [b for b in json.loads(peer.stdout)["benchmarks"] if b.get("run_type") == "iteration"]
cpp_us = min(b["real_time"] for b in runs)
cpp_cpu_us = min(b["cpu_time"] for b in runs)
print(f"four-square analyse: Python {python_us:.1f} us, C++ {cpp_us:.1f} us, "
      f"{python_us - cpp_us:+.1f} us (processor time: {python_cpu_us:.1f} against "
      f"{cpp_cpu_us:.1f} us, {python_cpu_us - cpp_cpu_us:+.1f} us)")

# 1,000 analyses of eight ideal emitters in a loop against 1,000 processes of the command line.
loop = best_of(3, lambda: analyse_all(arrays[:1000]))
loop_cpu = best_of(3, lambda: analyse_all(arrays[:1000]), cpu_seconds)
with tempfile.TemporaryDirectory() as work:
    path = os.path.join(work, "eight.txt")
    eight_ideal(1).save(path)
    cli = build / "arraypattern-cli"
    run_all = lambda: [subprocess.run([cli, "pattern", "--config", path],  # noqa: E731
                                      stdout=subprocess.DEVNULL, check=True)
                       for _ in range(1000)]
    processes = seconds(run_all)
    processes_cpu = cpu_seconds(run_all)
print(f"1,000 analyses of eight ideal emitters: Python loop {loop:.3f} s, 1,000 command-line "
      f"processes {processes:.3f} s ({processes / loop:.1f} x); processor time {loop_cpu:.3f} "
      f"against {processes_cpu:.3f} s ({processes_cpu / loop_cpu:.1f} x)")
print(f"load average while measuring: {os.getloadavg()[0]:.2f} on {os.cpu_count()} cores")
