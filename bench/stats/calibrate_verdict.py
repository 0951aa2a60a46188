#!/usr/bin/python3
"""How often Vexilo Stats' one-reading verdict says "biased": on fair wheels (its false-alarm
rate, which must be at most 5%) and on biased ones (how often it catches them).

Usage: calibrate_verdict.py VEXILO_STATS [FAIR_LOGS_PER_LENGTH] [BIASED_LOGS_PER_ROW] [SEED]

Generates logs with numpy (from SEED, 20240901 unless told), runs `VEXILO_STATS --json --seed I LOG` on each, a
different seed each run, and reads one_reading.biased (verdict.p_value before format 3). The
verdict that holds however often the record is read is measured by stats_evidence_table.
Prints each rate with its Monte Carlo standard error, sqrt(r (1 - r) / logs).
"""
import concurrent.futures
import json
import math
import os
import subprocess
import sys
import tempfile

import numpy as np

RED = {1, 3, 5, 7, 9, 12, 14, 16, 18, 19, 21, 23, 25, 27, 30, 32, 34, 36}
SECTORS = [[32, 15, 19, 4, 21, 2, 25, 17, 34], [6, 27, 13, 36, 11, 30, 8, 23, 10],
           [5, 24, 16, 33, 1, 20, 14, 31, 9], [22, 18, 29, 7, 28, 12, 35, 3, 26]]
WHEEL = np.array([0] + [n for sector in SECTORS for n in sector])
LEVEL = 0.05
FAIR_LENGTHS = [100, 300, 1000, 3000, 10000, 30000, 100000]
BIASED_LENGTHS = [1000, 10000, 100000]


def fair(rng, spins):
    return rng.integers(0, 37, spins)


def hot_places(rng, spins, pockets, excess):
    """Places round the wheel of a wheel whose `pockets` neighbours come up `excess` more."""
    start = rng.integers(0, 37)
    chances = np.full(37, (1 - pockets * (1 + excess) / 37) / (37 - pockets))
    chances[(start + np.arange(pockets)) % 37] = (1 + excess) / 37
    return rng.choice(37, spins, p=chances)


def one_pocket(rng, spins):
    return WHEEL[hot_places(rng, spins, 1, 0.25)]


def arc_of_five(rng, spins):
    return WHEEL[hot_places(rng, spins, 5, 0.15)]


def signature(rng, spins):
    """A dealer who lands the ball 5 neighbouring distances round the wheel 25% more often."""
    start = rng.integers(0, 37)
    chances = np.full(37, (1 - 5 * 1.25 / 37) / 32)
    chances[(start + np.arange(5)) % 37] = 1.25 / 37
    steps = rng.choice(37, spins - 1, p=chances)
    places = np.concatenate([[rng.integers(0, 37)], steps]).cumsum() % 37
    return WHEEL[places]


KINDS = {"one pocket +25%": one_pocket, "an arc of 5 +15%": arc_of_five,
         "a dealer's signature (5 distances +25%)": signature}


def write_log(path, numbers):
    words = ["Green"] + ["Red" if n in RED else "Black" for n in range(1, 37)]
    with open(path, "w", newline="") as f:
        f.write("".join(f"{n},{words[n]}\r\n" for n in numbers.tolist()))


def biased(program, folder, job):
    index, numbers = job
    path = os.path.join(folder, f"log-{index}.CSV")
    write_log(path, numbers)
    out = subprocess.run([program, "--json", "--seed", str(index), path], check=True,
                         capture_output=True, text=True).stdout
    os.remove(path)
    report = json.loads(out)
    # The one-reading verdict: "one_reading" from format 3 on, "verdict" before.
    verdict = report["one_reading"] if report["format_version"] >= 3 else report["verdict"]
    return verdict.get("biased", verdict["p_value"] < LEVEL)


def rate(program, folder, pool, jobs):
    said = list(pool.map(lambda job: biased(program, folder, job), jobs))
    r = sum(said) / len(said)
    return r, math.sqrt(r * (1 - r) / len(said)), len(said)


def main():
    program = sys.argv[1]
    fair_logs = int(sys.argv[2]) if len(sys.argv) > 2 else 300
    biased_logs = int(sys.argv[3]) if len(sys.argv) > 3 else 200
    seed = int(sys.argv[4]) if len(sys.argv) > 4 else 20240901
    rng = np.random.default_rng(seed)
    index = 0 if seed == 20240901 else seed * 1000000
    alarms = 0
    runs = 0
    with tempfile.TemporaryDirectory() as folder, \
            concurrent.futures.ThreadPoolExecutor(os.cpu_count()) as pool:
        print(f"{'wheel':42} {'spins':>7} {'logs':>5} {'says biased':>12} {'± MC error':>10}")
        for spins in FAIR_LENGTHS:
            jobs = [(index + i, fair(rng, spins)) for i in range(fair_logs)]
            index += fair_logs
            r, error, n = rate(program, folder, pool, jobs)
            alarms += round(r * n)
            runs += n
            print(f"{'fair':42} {spins:7} {n:5} {100 * r:11.2f}% {100 * error:9.2f}%", flush=True)
        r = alarms / runs
        print(f"{'fair, every length':42} {'':7} {runs:5} {100 * r:11.2f}% "
              f"{100 * math.sqrt(r * (1 - r) / runs):9.2f}%", flush=True)
        for name, make in KINDS.items() if biased_logs > 0 else ():
            for spins in BIASED_LENGTHS:
                jobs = [(index + i, make(rng, spins)) for i in range(biased_logs)]
                index += biased_logs
                r, error, n = rate(program, folder, pool, jobs)
                print(f"{name:42} {spins:7} {n:5} {100 * r:11.2f}% {100 * error:9.2f}%",
                      flush=True)


if __name__ == "__main__":
    main()
