#!/usr/bin/env python3
"""check_same_on_windows.py LINUX_STATS WINE_RUN WINDOWS_STATS: both programs on the same logs
give the same exit codes, messages (bar the system's words), text, pages and JSON (the figures
from each system's maths library to 1e-12 relative, the evidence and the bettor's, sums of
thousands of its logarithms, to 1e-9; counts, texts and the simulated p exactly)."""
import json
import math
import os
import random
import shutil
import subprocess
import sys
import tempfile

RED = {1, 3, 5, 7, 9, 12, 14, 16, 18, 19, 21, 23, 25, 27, 30, 32, 34, 36}
LOGS = (("fair", 50000, (), ""), ("mon", 6000, (2, 25, 17), ""), ("tue", 4000, (2, 25, 17), ""),
        ("bad", 10, (), "17,Red\r\n"))  # name, spins, favoured pockets, a last line
RUNS = (["--json", "fair.CSV"], ["fair.CSV"], ["--html", "page.html", "mon.CSV", "tue.CSV"],
        ["--json", "--last", "3000", "--seed", "7", "mon.CSV", "tue.CSV"], ["bad.CSV"],
        ["missing.CSV"], ["--last", "x", "fair.CSV"], [], ["--html", "no/page.html", "fair.CSV"])


def write_log(path, count, seed, favoured=(), tail=""):
    spins = random.Random(seed).choices(range(37), [1 + (n in favoured) / 4 for n in range(37)],
                                        k=count)
    with open(path, "w", newline="") as f:
        f.write("".join(f"{n},{'Green' if n == 0 else 'Red' if n in RED else 'Black'}\r\n"
                        for n in spins) + tail)


def differences(a, b, where="$"):
    if isinstance(a, dict) and isinstance(b, dict) and a.keys() == b.keys():
        return [d for k in a for d in differences(a[k], b[k], f"{where}.{k}")]
    if isinstance(a, list) and isinstance(b, list) and len(a) == len(b):
        return [d for i, (x, y) in enumerate(zip(a, b)) for d in differences(x, y, f"{where}[{i}]")]
    summed = where.startswith(("$.evidence", "$.bettor")) or where == "$.verdict.p_value"
    near = (type(a) is float and type(b) in (int, float) and not where.endswith(".arc_p_value")
            and math.isclose(a, b, rel_tol=1e-9 if summed else 1e-12, abs_tol=1e-300))
    return [] if a == b or near else [f"{where}: {a!r} on Linux, {b!r} on Windows"]


def main(linux_stats, wine_run, windows_stats):
    if not os.access(linux_stats, os.X_OK):
        sys.exit(f"no {linux_stats}: build it first "
                 "(cmake --build --preset default --target vexilo-stats)")
    os.chdir(tempfile.mkdtemp(prefix="vexilo-same-"))
    for name, count, favoured, tail in LOGS:
        write_log(f"{name}.CSV", count, len(name) + count, favoured, tail)
    failures = []
    for args in RUNS:
        what = " ".join(["vexilo-stats", *args])
        linux = subprocess.run([linux_stats, *args], capture_output=True, text=True)
        page = open("page.html", "rb").read() if "page.html" in args else None
        windows = subprocess.run([wine_run, windows_stats, *args], capture_output=True)
        out, err = (s.decode().replace("\r\n", "\n") for s in (windows.stdout, windows.stderr))
        if "missing.CSV" in args:  # the system's own words follow the name
            linux.stderr, err = linux.stderr.split(": ")[0], err.split(": ")[0]
        if (linux.returncode, linux.stderr) != (windows.returncode, err):
            failures.append(f"{what}: exit {linux.returncode} {linux.stderr!r} on Linux, "
                            f"{windows.returncode} {err!r} on Windows")
        elif "--json" in args:
            found = differences(json.loads(linux.stdout), json.loads(out))
            failures += [f"{what}: {d}" for d in found]
        elif linux.stdout != out or (page and open("page.html", "rb").read() != page):
            failures.append(f"{what}: the reports differ")
    print("\n".join(f"FAILED: {f}" for f in failures) or "the same reports")
    if failures:
        return f"the logs are in {os.getcwd()}"
    shutil.rmtree(os.getcwd())
    return 0

if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
