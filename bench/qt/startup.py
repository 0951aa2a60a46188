#!/usr/bin/env python3
"""Start-up time to the first painted frame, and peak memory, of vexilo on the offscreen platform.

Usage: bench/qt/startup.py build/app/vexilo [runs]
Qt's painting log marks the moment the first frame is flushed; the peak resident set size is
read from /proc just before the program is stopped.
"""
import os
import signal
import statistics
import subprocess
import sys
import time


def one_run(program):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen",
               QT_LOGGING_RULES="qt.widgets.painting=true")
    start = time.monotonic()
    child = subprocess.Popen([program], env=env, stderr=subprocess.PIPE, text=True)
    painted = None
    for line in child.stderr:
        if "Flushing" in line:
            painted = time.monotonic() - start
            break
    time.sleep(0.3)
    peak_kib = 0
    with open(f"/proc/{child.pid}/status") as status:
        for line in status:
            if line.startswith("VmHWM:"):
                peak_kib = int(line.split()[1])
    child.send_signal(signal.SIGTERM)
    child.communicate()
    return painted, peak_kib


def main():
    program = sys.argv[1]
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 10
    results = [one_run(program) for _ in range(runs)]
    times = [r[0] * 1000 for r in results if r[0] is not None]
    peaks = [r[1] / 1024 for r in results]
    print(f"first paint: median {statistics.median(times):.1f} ms "
          f"(min {min(times):.1f}, max {max(times):.1f}, {len(times)} runs)")
    print(f"peak memory: median {statistics.median(peaks):.1f} MiB")


if __name__ == "__main__":
    main()
