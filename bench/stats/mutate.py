#!/usr/bin/env python3
"""How many plausible slips in Vexilo Stats would its tests catch?

Applies single-line slips, one at a time, to the statistics code, rebuilds the programs the
stats tests run, runs `ctest -L stats`, puts the line back and says whether a test failed.
The slips are data (bench/stats/slips.txt): each names its area, its file, a text found
exactly once in that file and what it becomes. Run by hand from the source folder, on a
configured and built tree; never part of CI (a slip is a rebuild and a test run, about half a
minute each on two cores):

    bench/stats/mutate.py                      # the slips of bench/stats/slips.txt
    bench/stats/mutate.py --slips bench/stats/anytime-slips.txt --build build
    bench/stats/mutate.py --only holdout       # the slips whose area holds that text

Every file is put back as it was, however the run ends; a slip whose text is missing or found
twice stops the run before anything is changed.
"""

import argparse
import json
import os
import signal
import subprocess
import sys
import time
from dataclasses import dataclass
from pathlib import Path

SOURCE = Path(__file__).resolve().parents[2]
KEYS = ("area", "file", "find", "into")


@dataclass
class Slip:
    area: str
    file: str
    find: str
    into: str
    line: int  # where it starts in the slips file, for messages


def read_slips(path):
    """Blocks of `key: value` lines, one blank line or more between them; # starts a comment."""
    slips, block, start = [], {}, 0
    lines = path.read_text(encoding="utf-8").splitlines() + [""]
    for number, text in enumerate(lines, 1):
        if text.startswith("#"):
            continue
        if not text.strip():
            if block:
                missing = [k for k in KEYS if k not in block]
                if missing:
                    sys.exit(f"{path}:{start}: the slip has no {', '.join(missing)}")
                slips.append(Slip(**block, line=start))
                block = {}
            continue
        key, sep, value = text.partition(": ")
        if not sep or key not in KEYS:
            sys.exit(f"{path}:{number}: expected one of {', '.join(KEYS)}, then ': '")
        if not block:
            start = number
        block[key] = value
    return slips


def check(slips, path):
    for slip in slips:
        text = (SOURCE / slip.file).read_text(encoding="utf-8")
        found = text.count(slip.find)
        if found != 1 or slip.find == slip.into:
            why = "changes nothing" if found == 1 else f"is found {found} times in {slip.file}"
            sys.exit(f"{path}:{slip.line}: the slip's text {why}")


def stats_programs(build):
    """The programs under the build tree the stats tests run, by their target names."""
    shown = subprocess.run(["ctest", "--test-dir", str(build), "-L", "stats",
                            "--show-only=json-v1"], capture_output=True, text=True, check=True)
    programs = set()
    for test in json.loads(shown.stdout)["tests"]:
        for word in test.get("command", []):
            path = Path(word)
            if path.is_absolute() and build in path.parents and os.access(path, os.X_OK):
                programs.add(path.name)
    if not programs:
        sys.exit(f"{build}: no stats tests; configure and build it first")
    return sorted(programs)


def rebuild(build, programs):
    made = subprocess.run(["cmake", "--build", str(build), "--target", *programs],
                          capture_output=True, text=True)
    return made.returncode == 0


def tests_pass(build, jobs):
    # The slowest stats test takes a few seconds: one that runs a minute was sent into a loop by
    # the slip, and counts as caught.
    run = subprocess.run(["ctest", "--test-dir", str(build), "-L", "stats", "-j", str(jobs),
                          "--stop-on-failure", "--timeout", "60"], capture_output=True, text=True)
    return run.returncode == 0


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--slips", type=Path, default=SOURCE / "bench/stats/slips.txt")
    parser.add_argument("--build", type=Path, default=SOURCE / "build")
    parser.add_argument("--only", default="", help="only the slips whose area holds this text")
    parser.add_argument("-j", "--jobs", type=int, default=os.cpu_count() or 1)
    parser.add_argument("--check", action="store_true", help="only check the list, change nothing")
    args = parser.parse_args()
    # A stop asked by the system still puts the slipped line back (the finally below).
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    build = args.build.resolve()
    slips = [s for s in read_slips(args.slips) if args.only in s.area]
    check(slips, args.slips)
    if args.check:
        print(f"{len(slips)} slips, each found once")
        return 0
    programs = stats_programs(build)
    if not rebuild(build, programs) or not tests_pass(build, args.jobs):
        sys.exit("the stats tests do not pass as the code stands: nothing to measure")

    caught, unbuilt, missed = 0, [], []
    for number, slip in enumerate(slips, 1):
        path = SOURCE / slip.file
        original = path.read_bytes()
        started = time.monotonic()
        if original.count(slip.find.encode()) != 1:
            sys.exit(f"{args.slips}:{slip.line}: {slip.file} changed while the slips ran")
        try:
            path.write_bytes(original.replace(slip.find.encode(), slip.into.encode(), 1))
            if not rebuild(build, programs):
                outcome = "does not build"
                unbuilt.append(slip)
            elif tests_pass(build, args.jobs):
                outcome = "MISSED"
                missed.append(slip)
            else:
                outcome = "caught"
                caught += 1
        finally:
            path.write_bytes(original)
        print(f"{number:3}/{len(slips)} {outcome:14} {slip.area} ({slip.file}) "
              f"{time.monotonic() - started:.0f} s", flush=True)
    rebuild(build, programs)

    judged = len(slips) - len(unbuilt)
    print(f"\ncaught {caught} of {judged} slips ({100 * caught / max(judged, 1):.0f}%)"
          + (f"; {len(unbuilt)} did not build and are not counted" if unbuilt else ""))
    for slip in missed:
        print(f"missed: {slip.area}: {slip.file}: {slip.find!r} -> {slip.into!r}")
    return 0 if not missed else 1


if __name__ == "__main__":
    sys.exit(main())
