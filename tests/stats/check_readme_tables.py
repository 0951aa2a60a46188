#!/usr/bin/env python3
"""The read-me's tables that copy the program hold what the program says.

- The read-me's table of options and the manual page's OPTIONS name exactly the options that
  vexilo-stats --help lists (which its option table writes), each with the same value name, and
  say the same default and limits as --help.
- The read-me's power table is the report's own: the same biased wheels, in the same words, with
  the spins needed of stats/analysis/Power.h.

Usage: check_readme_tables.py VEXILO_STATS README.md vexilo-stats.1.in
"""
import os
import re
import subprocess
import sys
import tempfile

# What --help says of an option's value, which its descriptions must say too.
NUMBER = r"\d+(?:\.\d+)?"
FIGURES = (rf"default ({NUMBER})", rf"({NUMBER} to {NUMBER})")


def from_help(program):
    """Each option and value name, with the figures its help gives."""
    text = subprocess.run([program, "--help"], check=True, capture_output=True, text=True).stdout
    options, current = {}, None
    for line in text.splitlines():
        head = re.match(r"^  (--[a-z-]+(?: [A-Z]+)?)  +(.*)", line)
        if head:
            current = head.group(1).strip()
            options[current] = head.group(2)
        elif current and line.startswith(" " * 20):
            options[current] += " " + line.strip()
        else:
            current = None
    return {name: figures(help) for name, help in options.items()}


def figures(text):
    return {m for pattern in FIGURES for m in re.findall(pattern, text)}


def from_readme(readme):
    section = re.search(r"^## Analysing saved logs\n(.*?)^##", readme, re.M | re.S).group(1)
    return {m.group(1): m.group(2) for m in re.finditer(r"^\| `(--[^`]*)` \| (.*) \|$", section, re.M)}


def from_manual(path):
    with open(path, encoding="utf-8") as f:
        manual = f.read()
    section = re.search(r"^\.SH OPTIONS\n(.*?)^\.SH", manual, re.M | re.S).group(1)
    options = {}
    for entry in re.split(r"^\.TP\n", section, flags=re.M)[1:]:
        m = re.match(r'\.BI? (\\-\\-[a-z-]+)(?: " ([A-Z]+)")?\n(.*)', entry, re.S)
        if m:
            name = m.group(1).replace("\\-", "-")
            options[f"{name} {m.group(2)}" if m.group(2) else name] = m.group(3)
    return options


def check_options(program, readme, manual):
    listed = from_help(program)
    problems = []
    for where, documented in (("the read-me", from_readme(readme)), ("the manual page", from_manual(manual))):
        for option in sorted(listed.keys() - documented.keys()):
            problems.append(f"vexilo-stats takes {option}, which {where} does not describe")
        for option in sorted(documented.keys() - listed.keys()):
            problems.append(f"{where} describes {option}, which vexilo-stats does not take")
        for option in sorted(listed.keys() & documented.keys()):
            for figure in sorted(listed[option] - figures(documented[option])):
                problems.append(f"{where} does not say {figure!r} of {option}, as --help does")
    return problems if listed else ["vexilo-stats --help lists no option"]


def power_rows(program):
    """The rows of the report's power table: the biased wheel in words and its spins needed."""
    with tempfile.TemporaryDirectory() as folder:
        log = os.path.join(folder, "three.CSV")
        with open(log, "wb") as f:
            f.write(b"17,Black\r\n0,Green\r\n32,Red\r\n")
        text = subprocess.run([program, "--simulations", "1000", log], check=True,
                              capture_output=True, text=True).stdout
    table = text.split("\nHow many spins are enough")[1].splitlines()[2:]
    return [(m.group(1), m.group(2)) for m in (re.match(r"^  (\S.*?)  +(\d+)  +\S+$", row) for row in table) if m]


def check_power_table(program, readme):
    section = re.search(r"^### How the power is computed\n(.*?)^##", readme, re.M | re.S).group(1)
    documented = re.findall(r"^\| ([a-z].*?) +\| +(\d+) +\|$", section, re.M)
    report = power_rows(program)
    if documented == report and report:
        return []
    return [f"the read-me's power table {documented} is not the report's {report}"]


def main(program, readme_path, manual):
    with open(readme_path, encoding="utf-8") as f:
        readme = f.read()
    problems = check_options(program, readme, manual) + check_power_table(program, readme)
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
