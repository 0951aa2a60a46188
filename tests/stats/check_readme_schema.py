#!/usr/bin/env python3
"""The read-me's table of JSON keys names exactly the keys that vexilo-stats --json writes.

Usage: check_readme_schema.py VEXILO_STATS README.md
"""
import json
import os
import re
import subprocess
import sys
import tempfile


def key_paths(value, path=""):
    """Every key as the read-me writes it: "numbers[]", "numbers[].z", "signature.test"."""
    if isinstance(value, dict):
        if path:
            yield path
        for key, item in value.items():
            yield from key_paths(item, f"{path}.{key}" if path else key)
    elif isinstance(value, list) and value and isinstance(value[0], dict):
        for item in value:
            yield from key_paths(item, path + "[]")
    else:
        yield path


def documented(readme):
    section = re.search(r"^### The JSON object\n(.*?)^##", readme, re.M | re.S).group(1)
    keys = set()
    for row in re.findall(r"^\| (.*?) \|", section, re.M):
        keys.update(re.findall(r"`([^`]+)`", row))
    return keys


def main(program, readme_path):
    written = set()
    with tempfile.TemporaryDirectory() as folder:
        logs = [os.path.join(folder, name) for name in ("monday.CSV", "tuesday.CSV", "hot.CSV")]
        texts = [b"17,Black\r\n0,Green\r\n32,Red\r\n17,Black\r\n", b"2,Black\r\n", b"17,Black\r\n" * 60]
        for log, text in zip(logs, texts):
            with open(log, "wb") as f:
                f.write(text)
        # One log, and two, which add the keys of the logs agreeing; a hot one, on which the
        # bettor stakes.
        for given in (logs[:1], logs[:2], logs[2:]):
            run = subprocess.run([program, "--json", *given], check=True, capture_output=True)
            written.update(key_paths(json.loads(run.stdout)))
    with open(readme_path, encoding="utf-8") as f:
        described = documented(f.read())
    for key in sorted(written - described):
        print(f"vexilo-stats writes {key}, which the read-me does not describe")
    for key in sorted(described - written):
        print(f"the read-me describes {key}, which vexilo-stats does not write")
    return 0 if written == described else 1


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
