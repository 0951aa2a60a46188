#!/usr/bin/env bash
# vexilo-stats --open as a file manager starts it, with no terminal: the page goes to the cache
# folder, named after the first log, past a log saved under that name, and its name to xdg-open
# (a stand-in that records its argument). Run again, it replaces its own page.
#   open_in_browser.sh PATH/TO/vexilo-stats
set -euo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin" "$work/cache/vexilo"
printf '#!/bin/sh\nprintf %%s "$1" >"%s/asked"\n' "$work" >"$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"
log="$work/lundi soirée.CSV"
printf '17,Black\r\n0,Green\r\n' >"$log"
taken="$work/cache/vexilo/lundi soirée.CSV.report.html"
printf '32,Red\r\n' >"$taken"

page="$work/cache/vexilo/lundi soirée.CSV (2).report.html"
for run in first second; do
  PATH="$work/bin:$PATH" XDG_CACHE_HOME="$work/cache" "$1" --open "$log" </dev/null >/dev/null
  asked=$(cat "$work/asked")
  [[ $asked == "$page" ]] || { echo "$run run: xdg-open was handed '$asked', not '$page'"; exit 1; }
done
grep -q '<title>Vexilo Stats: 2 spins</title>' "$page" || { echo "no report in $page"; exit 1; }
[[ $(cat "$taken") == 32,Red* ]] || { echo "the log named like the page was written over"; exit 1; }
