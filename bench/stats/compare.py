#!/usr/bin/env python3
"""Vexilo Stats end to end, beside what a data-minded user would run instead.

Usage: compare.py VEXILO_STATS [REPETITIONS]

Makes a log of 10^7 spins of a fair wheel (and the same spins as two logs), then times, in one
run and as medians over REPETITIONS (default 5): vexilo-stats reading and analysing the log
(with its peak resident memory), the same on two logs (both cores), and pandas' read_csv plus
SciPy's chisquare on the same file. Prints the rows of a Markdown table.
"""
import os
import random
import statistics
import subprocess
import sys
import tempfile
import time

SPINS = 10_000_000
RED = {1, 3, 5, 7, 9, 12, 14, 16, 18, 19, 21, 23, 25, 27, 30, 32, 34, 36}


def write_logs(folder):
    """A chunk at a time, so that this process stays small: its size is no part of the figures."""
    lines = [f"{n},{'Green' if n == 0 else 'Red' if n in RED else 'Black'}\r\n" for n in range(37)]
    rng = random.Random(5)
    paths = [os.path.join(folder, name) for name in ("all.CSV", "first.CSV", "second.CSV")]
    chunk = 100_000
    with open(paths[0], "w", newline="") as whole, open(paths[1], "w", newline="") as first, \
            open(paths[2], "w", newline="") as second:
        for start in range(0, SPINS, chunk):
            text = "".join(lines[rng.randrange(37)] for _ in range(chunk))
            whole.write(text)
            (first if start < SPINS // 2 else second).write(text)
    return paths


def run_program(program, logs):
    """Wall time, CPU time (user + system) and peak resident memory (KiB) of one run."""
    # Started by GNU time, a small process: a child started from this one would count this
    # process's memory in its peak until it runs the program.
    with tempfile.NamedTemporaryFile("r") as peak:
        start = time.perf_counter()
        child = subprocess.Popen(["/usr/bin/time", "-f", "%M", "-o", peak.name, program, *logs],
                                 stdout=subprocess.DEVNULL)
        _, status, usage = os.wait4(child.pid, 0)
        wall = time.perf_counter() - start
        if status != 0:
            sys.exit(f"{program} failed: status {status}")
        return wall, usage.ru_utime + usage.ru_stime, int(peak.read().split()[-1])


def pandas_way(path):
    import numpy
    import pandas
    from scipy import stats
    start, cpu = time.perf_counter(), time.process_time()
    frame = pandas.read_csv(path, header=None, names=["number", "colour"])
    counts = numpy.bincount(frame["number"].to_numpy(), minlength=37)
    stats.chisquare(counts)
    return time.perf_counter() - start, time.process_time() - cpu


def main():
    program = sys.argv[1]
    repetitions = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    with tempfile.TemporaryDirectory() as folder:
        whole, first, second = write_logs(folder)
        ours, two = [], []
        for _ in range(repetitions):
            ours.append(run_program(program, [whole]))
            two.append(run_program(program, [first, second]))
        theirs = [pandas_way(whole) for _ in range(repetitions)]
    wall = statistics.median(r[0] for r in ours)
    cpu = statistics.median(r[1] for r in ours)
    two_wall = statistics.median(r[0] for r in two)
    two_cpu = statistics.median(r[1] for r in two)
    pandas_wall = statistics.median(r[0] for r in theirs)
    pandas_cpu = statistics.median(r[1] for r in theirs)
    rows = [
        ("Stats: 10^7 spins read and analysed, one log", f"{wall * 1e3:.0f} ms"),
        ("Stats: the same, spins a second (wall / CPU)",
         f"{SPINS / wall / 1e6:.0f} M / {SPINS / cpu / 1e6:.0f} M"),
        ("Stats: peak memory (resident) of that run",
         f"{statistics.median(r[2] for r in ours) / 1024:.1f} MiB"),
        ("Stats: the same spins as two logs (CPU time / wall)",
         f"{two_wall * 1e3:.0f} ms ({two_cpu / two_wall:.2f} cores)"),
        ("pandas read_csv + SciPy chisquare, the same log", f"{pandas_wall * 1e3:.0f} ms"),
        ("Stats against pandas + SciPy, end to end", f"{pandas_wall / wall:.0f}× faster"),
        ("Stats against pandas + SciPy, CPU time of one log", f"{pandas_cpu / cpu:.0f}× less"),
    ]
    for what, value in rows:
        print(f"{what}\t{value}")


if __name__ == "__main__":
    main()
