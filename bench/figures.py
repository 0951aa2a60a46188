#!/usr/bin/env python3
"""Vexilo's figures: start-up, peak memory and the benchmarks, as medians over repeated runs.

Usage: bench/figures.py BUILD_DIR [REPETITIONS]
BUILD_DIR is a built default preset (scripts/figures builds it first). Each benchmark runs
REPETITIONS times (default 5) and the start-up probe twice as often. Start-up, memory and a
label's repaint are measured on the bare window too (Qt's stock widgets, no logic), in turn
with Vexilo's, and printed beside it as a ratio; then the medians of the other figures and
the machine they were measured on.
"""
import json
import os
import platform
import statistics
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "qt"))
import startup  # noqa: E402  (bench/qt/startup.py)

# (what, benchmark executable, Vexilo's benchmark, the bare window's benchmark)
BESIDE_BARE = [
    ("A label written and repainted", "qt/qt_bench", "BM_LabelRepaint", "BM_BareLabelRepaint"),
]
# (what, benchmark executable, benchmark name, divisor): the divisor turns a benchmark's time
# into the time of one item where a benchmark runs many (4096 shares per run).
WINDOW = [
    ("A number pressed, with its repaint", "qt/qt_bench", "BM_PressWithRepaint", 1),
    ("Back at 100000 spins, with its repaint", "qt/qt_bench", "BM_BackOfAFullHistory", 1),
    ("Reset, with its repaint", "qt/qt_bench", "BM_ResetAfterSpins", 1),
    ("DataSave of 100000 spins (1 MB written and flushed)", "qt/qt_bench",
     "BM_DataSaveOfAFullHistory", 1),
]
ENGINE = [
    ("Engine: a spin and every display text", "engine/engine_bench", "BM_SpinPress", 1),
    ("Engine: a spin taken back", "engine/engine_bench", "BM_TakeBack", 1),
    ("Engine: a spin taken back and every display text", "engine/engine_bench",
     "BM_TakeBackPress", 1),
    ("Engine: Reset of a full history", "engine/engine_bench", "BM_ResetTally", 1),
    ("Engine: one share, exact extended-precision rounding", "engine/engine_bench",
     "BM_ShareEmulated", 4096),
    ("Spin log: 100000 lines formatted", "export/export_bench", "BM_FormatSpinLog", 1),
    ("Spin log: 100000 lines saved safely", "export/export_bench", "BM_SaveFullHistory", 1),
]
STATS = [
    ("Stats: 10^7 spins read and analysed (benchmark, one log)", "stats/stats_bench",
     "BM_ReadAndAnalyse10M", 1),
    ("Stats: the same spins as two logs (benchmark)", "stats/stats_bench",
     "BM_ReadAndAnalyseTwoLogs", 1),
    ("Stats: the verdict, 10000 fair wheels of 10^7 spins", "stats/stats_bench",
     "BM_Verdict/10000000", 1),
    ("Stats: the verdict, 10000 fair wheels of 1000 spins, spin by spin", "stats/stats_bench",
     "BM_Verdict/1000", 1),
    ("Stats: the power now, 5 x 1000 biased wheels of 10^7 spins", "stats/stats_bench",
     "BM_PowerNow/10000000", 1),
    ("Stats: the evidence alone on 10^7 spins, one core", "stats/stats_bench", "BM_Evidence10M", 1),
    ("Stats: the bettor alone on 10^7 spins, one core", "stats/stats_bench", "BM_Bettor10M", 1),
]
# Debian's Python, which has pandas and SciPy for the side-by-side run.
SYSTEM_PYTHON = "/usr/bin/python3"

UNITS = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}


def readable(seconds):
    for unit, scale in (("s", 1.0), ("ms", 1e-3), ("µs", 1e-6)):
        if seconds >= scale:
            return f"{seconds / scale:.3g} {unit}"
    return f"{seconds / 1e-9:.3g} ns"


def medians(build, executable, repetitions):
    """The median wall-clock time of every benchmark in one executable, in seconds."""
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    with tempfile.NamedTemporaryFile(suffix=".json") as out:
        ran = subprocess.run([os.path.join(build, "bench", executable),
                              f"--benchmark_repetitions={repetitions}",
                              "--benchmark_report_aggregates_only=true",
                              f"--benchmark_out={out.name}", "--benchmark_out_format=json"],
                             stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True,
                             env=env)
        if ran.returncode != 0:
            sys.exit(f"{executable} failed:\n{ran.stderr}")
        report = json.load(out)
    # A benchmark timed on the wall clock is named with a "/real_time" suffix.
    return {b["run_name"].removesuffix("/real_time"): b["real_time"] * UNITS[b["time_unit"]]
            for b in report["benchmarks"] if b.get("aggregate_name") == "median"}


def stats_side_by_side(build, repetitions):
    """vexilo-stats end to end, with its peak memory, beside pandas + SciPy (bench/stats)."""
    script = os.path.join(os.path.dirname(os.path.abspath(__file__)), "stats", "compare.py")
    output = command_output([SYSTEM_PYTHON, script, os.path.join(build, "app", "vexilo-stats"),
                             str(repetitions)])
    return [tuple(line.split("\t", 1)) for line in output.splitlines() if "\t" in line]


def command_output(command):
    try:
        return subprocess.run(command, capture_output=True, text=True, check=True).stdout
    except (OSError, subprocess.CalledProcessError):
        return ""


def machine():
    cpu = next((line.split(":", 1)[1].strip() for line in open("/proc/cpuinfo")
                if line.startswith("model name")), platform.processor())
    system = platform.platform()
    if os.path.exists("/etc/debian_version"):
        system = "Debian " + open("/etc/debian_version").read().strip()
    compiler = command_output(["g++", "-dumpfullversion"]).strip()
    qt = command_output(["dpkg-query", "-W", "-f=${Version}", "libqt6core6"]).split("+")[0]
    return (f"{os.cpu_count()} × {cpu}; {system}; g++ {compiler}; Qt {qt}; "
            f"load average {os.getloadavg()[0]:.2f} at the start")


def table(header, rows):
    widths = [max(len(str(row[i])) for row in [header, *rows]) for i in range(len(header))]
    line = lambda row: "| " + " | ".join(f"{str(c):<{w}}" for c, w in zip(row, widths)) + " |"
    print(line(header))
    print("|" + "|".join("-" * (w + 2) for w in widths) + "|")
    for row in rows:
        print(line(row))


def main():
    build = sys.argv[1]
    repetitions = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    where = machine()

    # Start-up of both programs in turn, so that both meet the same conditions.
    programs = {"vexilo": os.path.join(build, "app", "vexilo"),
                "bare": os.path.join(build, "bench", "qt", "bare_window")}
    runs = {name: [] for name in programs}
    for _ in range(2 * repetitions):
        for name, program in programs.items():
            runs[name].append(startup.one_run(program))
    painted = {name: statistics.median([r[0] for r in results if r[0] is not None] or [0])
               for name, results in runs.items()}
    peak = {name: statistics.median(r[1] for r in results) * 1024
            for name, results in runs.items()}

    found = {}
    for executable in dict.fromkeys(row[1] for row in BESIDE_BARE + WINDOW + ENGINE + STATS):
        found[executable] = medians(build, executable, repetitions)

    def beside(what, ours, bare, show):
        shown = [show(value) if value else "not measured" for value in (ours, bare)]
        return (what, *shown, f"{ours / bare:.2f}" if ours and bare else "-")

    def mib(size):
        return f"{size / 2**20:.1f} MiB"

    compared = [
        beside("Start-up, process start to the first painted frame", painted["vexilo"],
               painted["bare"], readable),
        beside("Peak memory (resident) after start-up", peak["vexilo"], peak["bare"], mib),
    ]
    for what, executable, ours, bare in BESIDE_BARE:
        compared.append(beside(what, found[executable].get(ours), found[executable].get(bare),
                               readable))
    table(("Beside the bare window", "Vexilo", "Bare window", "Ratio"), compared)

    rows = []
    for what, executable, name, divisor in WINDOW + ENGINE + STATS:
        time = found[executable].get(name)
        rows.append((what, readable(time / divisor) if time is not None else "not measured"))
    rows += stats_side_by_side(build, repetitions)
    print()
    table(("What", "Median"), rows)
    print(f"\nMeasured on: {where}")


if __name__ == "__main__":
    main()
