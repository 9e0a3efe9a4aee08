"""The Python module's costs, printed, never asserted: the interpreter's lock released around
the engine, the call's overhead over C++, and a loop of analyses against processes of the
command line. A result computes each part when first read, so each loop says what it reads.

Usage: PYTHONPATH=build/python /usr/bin/python3 bench/python_module.py build
"""

import json
import os
import pathlib
import statistics
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


def median_of(runs, job, clock=seconds):
    """Other builds share the machine: the median of several runs, not the luckiest one."""
    return statistics.median(clock(job) for _ in range(runs))


# The lock: one thread analysing 2,000 arrays against two threads of 1,000 each, every part
# read (each is computed when first read, without the lock).
arrays = [eight_ideal(k) for k in range(2000)]


def analyse_all(part, read=lambda r: r.figures):
    for a in part:
        read(ap.analyse(a))


one = median_of(3, lambda: analyse_all(arrays))


def two_threads():
    threads = [threading.Thread(target=analyse_all, args=(arrays[k::2],)) for k in range(2)]
    for t in threads:
        t.start()
    for t in threads:
        t.join()


two = median_of(3, two_threads)
# More processor time than wall time: both threads were in the engine at once.
busy_start, wall_start = time.process_time(), time.perf_counter()
two_threads()
busy = (time.process_time() - busy_start) / (time.perf_counter() - wall_start)
print(f"one thread, 2,000 arrays: {one:.3f} s; two threads, 1,000 each: {two:.3f} s "
      f"({two / one:.2f} of one thread's); cores busy during the two: {busy:.2f}")

# One analysis of the four-square from Python against the same in C++: in full (every part
# read), as far as the samples, and the call alone. Each result is dropped at once, as the C++
# loop drops its own.
four = ap.load(str(examples / "four-square.txt"))
calls = 2000
reads = {"full": ("BM_AnalyseFourSquare", lambda r: r.figures),
         "samples": ("BM_PatternFourSquare", lambda r: r.samples),
         "call alone": ("BM_BeginFourSquare", lambda r: r)}
peer = subprocess.run([build / "bench" / "bench_python_peer", "--benchmark_format=json",
                       "--benchmark_repetitions=5"], capture_output=True, text=True, check=True)
runs = [b for b in json.loads(peer.stdout)["benchmarks"] if b.get("run_type") == "iteration"]


def per_call(read, clock):
    def job():
        for _ in range(calls):
            read(ap.analyse(four))
    return median_of(5, job, clock) / calls * 1e6


for name, (benchmark, read) in reads.items():
    python_us = per_call(read, seconds)
    python_cpu_us = per_call(read, cpu_seconds)
    ours = [b for b in runs if b["run_name"] == benchmark]
    cpp_us = statistics.median(b["real_time"] for b in ours)
    cpp_cpu_us = statistics.median(b["cpu_time"] for b in ours)
    print(f"four-square analyse, {name}: Python {python_us:.1f} us, C++ {cpp_us:.1f} us, "
          f"{python_us - cpp_us:+.1f} us (processor time: {python_cpu_us:.1f} against "
          f"{cpp_cpu_us:.1f} us, {python_cpu_us - cpp_cpu_us:+.1f} us)")

# 1,000 analyses of eight ideal emitters in a loop against 1,000 processes of the command line,
# which computes every figure for its output; the loop reading nothing, the samples, the
# directivity, and every figure.
with tempfile.TemporaryDirectory() as work:
    path = os.path.join(work, "eight.txt")
    eight_ideal(1).save(path)
    cli = build / "arraypattern-cli"
    run_all = lambda: [subprocess.run([cli, "pattern", "--config", path],  # noqa: E731
                                      stdout=subprocess.DEVNULL, check=True)
                       for _ in range(1000)]
    processes = median_of(3, run_all)
    processes_cpu = median_of(3, run_all, cpu_seconds)
print(f"1,000 command-line processes: {processes:.3f} s, processor time {processes_cpu:.3f} s")
for name, read in (("nothing read", lambda r: r), ("samples", lambda r: r.samples),
                   ("directivity_dbi", lambda r: r.directivity_dbi),
                   ("every figure", lambda r: r.figures)):
    loop = median_of(3, lambda: analyse_all(arrays[:1000], read))
    loop_cpu = median_of(3, lambda: analyse_all(arrays[:1000], read), cpu_seconds)
    print(f"1,000 analyses of eight ideal emitters, {name}: Python loop {loop:.3f} s "
          f"({processes / loop:.1f} x); processor time {loop_cpu:.3f} s "
          f"({processes_cpu / loop_cpu:.1f} x)")
print(f"load average while measuring: {os.getloadavg()[0]:.2f} on {os.cpu_count()} cores")
