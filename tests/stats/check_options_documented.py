#!/usr/bin/env python3
"""The read-me's table of options and the manual page's OPTIONS name exactly the options that
vexilo-stats --help lists (which its option table writes), each with the same value name.

Usage: check_options_documented.py VEXILO_STATS README.md vexilo-stats.1.in
"""
import re
import subprocess
import sys


def from_help(program):
    text = subprocess.run([program, "--help"], check=True, capture_output=True, text=True).stdout
    return {m.group(1).strip() for m in re.finditer(r"^  (--[a-z-]+(?: [A-Z]+)?)  ", text, re.M)}


def from_readme(path):
    with open(path, encoding="utf-8") as f:
        readme = f.read()
    section = re.search(r"^## Analysing saved logs\n(.*?)^##", readme, re.M | re.S).group(1)
    return {m.group(1) for m in re.finditer(r"^\| `(--[^`]*)` \|", section, re.M)}


def from_manual(path):
    with open(path, encoding="utf-8") as f:
        manual = f.read()
    section = re.search(r"^\.SH OPTIONS\n(.*?)^\.SH", manual, re.M | re.S).group(1)
    options = set()
    for m in re.finditer(r'^\.TP\n\.BI? (\\-\\-[a-z-]+)(?: " ([A-Z]+)")?$', section, re.M):
        name = m.group(1).replace("\\-", "-")
        options.add(f"{name} {m.group(2)}" if m.group(2) else name)
    return options


def main(program, readme, manual):
    listed = from_help(program)
    ok = True
    for where, documented in (("the read-me", from_readme(readme)), ("the manual page", from_manual(manual))):
        for option in sorted(listed - documented):
            print(f"vexilo-stats takes {option}, which {where} does not describe")
            ok = False
        for option in sorted(documented - listed):
            print(f"{where} describes {option}, which vexilo-stats does not take")
            ok = False
    return 0 if ok and listed else 1


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
