#!/usr/bin/env python3
"""The shipped vexilo-stats.exe against the Linux program, on the same generated logs.

Usage: check_same_on_windows.py LINUX_STATS WINE_RUN WINDOWS_STATS

Both run in one folder on the same arguments. The exit code, standard error and the text report
must be the same (the console's CR LF read as LF), and so must the HTML page; only where a file
could not be opened may the reason differ, being each system's own words for it ("missing.CSV:
No such file or directory" against "missing.CSV: File not found"). In the JSON object
every count, text and the simulated p-value (arc_p_value) must be identical; the other figures
come through each platform's maths library and may differ in their last digit, so they must
agree to 1e-12 relative.
"""
import json
import math
import os
import random
import subprocess
import sys
import tempfile

RED = {1, 3, 5, 7, 9, 12, 14, 16, 18, 19, 21, 23, 25, 27, 30, 32, 34, 36}
RELATIVE = 1e-12
EXACT_KEYS = {"arc_p_value"}


def write_log(path, spins, tail=""):
    words = ["Green" if n == 0 else "Red" if n in RED else "Black" for n in spins]
    with open(path, "w", newline="") as f:
        f.write("".join(f"{n},{w}\r\n" for n, w in zip(spins, words)) + tail)


def draw(count, seed, favoured=(), weight=1.0):
    rng = random.Random(seed)
    return rng.choices(range(37), [weight if n in favoured else 1.0 for n in range(37)], k=count)


def differences(linux, windows, where="$"):
    """Where the two JSON values differ beyond what the maths libraries may."""
    if isinstance(linux, dict) and isinstance(windows, dict):
        if linux.keys() != windows.keys():
            return [f"{where}: keys {sorted(linux)} against {sorted(windows)}"]
        return [d for k in linux for d in differences(linux[k], windows[k], f"{where}.{k}")]
    if isinstance(linux, list) and isinstance(windows, list) and len(linux) == len(windows):
        return [d for i, (a, b) in enumerate(zip(linux, windows))
                for d in differences(a, b, f"{where}[{i}]")]
    exact = type(linux) is not float or where.rsplit(".", 1)[-1] in EXACT_KEYS
    if linux == windows or (not exact and type(windows) in (int, float)
                            and math.isclose(linux, windows, rel_tol=RELATIVE, abs_tol=1e-300)):
        return []
    return [f"{where}: {linux!r} on Linux, {windows!r} on Windows"]


def same_message(linux, windows, system_reason):
    if system_reason:  # the system's words after the file's name
        return linux.rsplit(": ", 1)[0] == windows.rsplit(": ", 1)[0] and windows.count(": ")
    return linux == windows


def main(linux_stats, wine_run, windows_stats):
    if not os.access(linux_stats, os.X_OK):
        sys.exit(f"no Linux program at {linux_stats}: build it first "
                 "(cmake --build --preset default --target vexilo-stats)")
    folder = tempfile.mkdtemp(prefix="vexilo-same-")
    os.chdir(folder)
    write_log("fair.CSV", draw(50000, 1))
    write_log("monday.CSV", draw(6000, 2, favoured={2, 25, 17, 34, 6}, weight=1.25))
    write_log("tuesday.CSV", draw(4000, 3, favoured={2, 25, 17, 34, 6}, weight=1.25))
    write_log("bad.CSV", draw(10, 4), tail="17,Red\r\n")
    runs = [
        ["--json", "fair.CSV"],
        ["fair.CSV"],
        ["--json", "--last", "3000", "--seed", "7", "monday.CSV", "tuesday.CSV"],
        ["--html", "page.html", "monday.CSV", "tuesday.CSV"],
        ["bad.CSV"],
        ["missing.CSV"],  # the system's reason
        ["--last", "x", "fair.CSV"],
        [],
        ["--html", "no-such-folder/page.html", "fair.CSV"],
    ]
    failures = []
    for args in runs:
        linux = subprocess.run([linux_stats, *args], capture_output=True, text=True)
        page = open("page.html", "rb").read() if "page.html" in args else None
        windows = subprocess.run([wine_run, windows_stats, *args], capture_output=True)
        out, err = (s.decode().replace("\r\n", "\n") for s in (windows.stdout, windows.stderr))
        what = " ".join(["vexilo-stats", *args])
        if (linux.returncode != windows.returncode
                or not same_message(linux.stderr, err, "missing.CSV" in args)):
            failures.append(f"{what}: exit {linux.returncode} {linux.stderr!r} on Linux, "
                            f"{windows.returncode} {err!r} on Windows")
        elif "--json" in args:
            failures += [f"{what}: {d}" for d in differences(json.loads(linux.stdout),
                                                             json.loads(out))]
        elif linux.stdout != out:
            failures.append(f"{what}: the text reports differ")
        if page is not None and open("page.html", "rb").read() != page:
            failures.append(f"{what}: the pages differ")
    for failure in failures:
        print("FAILED:", failure)
    print(f"{len(runs)} runs compared in {folder}: {len(failures)} differences")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
