#!/usr/bin/env bash
# vexilo-stats.exe started the way Explorer starts it (explorer-start.exe: a console of its own,
# nobody reading its output). A log dropped on it: the page beside it, handed through Wine's
# browser launcher to a stand-in that records what it was asked to open. A bad log: a message box
# with the error icon, read back through its window's text, and exit code 2. Runs inside
# scripts/wine-run --native (WINE and DISPLAY set).
#   explorer_start.sh vexilo-stats.exe explorer-start.exe WORK_FOLDER
set -euo pipefail
stats=$1 starter=$2 work=$3
fail() { echo "explorer_start: FAILED: $*" >&2; exit 1; }
windows() { local name=${1//\//\\}; echo "Z:$name"; }

rm -rf "$work" && mkdir -p "$work"
printf '#!/bin/sh\nprintf "%%s\\n" "$1" >>"%s/asked"\n' "$work" >"$work/browser"
chmod +x "$work/browser"
# winebrowser hands web pages to its list's first program; a prefix without mshtml maps no .html.
"$WINE" reg add 'HKCR\.html' /ve /d htmlfile /f >/dev/null 2>&1
"$WINE" reg add 'HKCU\Software\Wine\WineBrowser' /v Browsers /d "$work/browser" /f >/dev/null 2>&1
trap '"$WINE" reg delete "HKCU\Software\Wine\WineBrowser" /v Browsers /f >/dev/null 2>&1' EXIT
printf '17,Black\r\n0,Green\r\n' >"$work/good log.CSV"
printf '17,Black\r\n17,Red\r\n' >"$work/bad.CSV"

out=$("$WINE" "$starter" "$stats" "$(windows "$work/good log.CSV")" 2>&1) || fail "$out"
[[ ${out//$'\r'/} == 'exit code 0' ]] || fail "a good log: $out"
for _ in $(seq 50); do [[ -s $work/asked ]] && break; sleep 0.2; done
[[ $(cat "$work/asked" 2>/dev/null) == "file://${work// /%20}/good%20log.CSV.report.html" ]] ||
  fail "the browser was asked for '$(cat "$work/asked" 2>/dev/null)'"
grep -q '<title>Vexilo Stats: 2 spins</title>' "$work/good log.CSV.report.html" ||
  fail "no page beside the log"

status=0
out=$("$WINE" "$starter" "$stats" "$(windows "$work/bad.CSV")" 2>&1) || status=$?
expected="message box: Vexilo Stats: $(windows "$work/bad.CSV"):2: expected the colour \"Black\" for 17, found \"Red\", error icon
exit code 2"
[[ $status == 2 && ${out//$'\r'/} == "$expected" ]] || fail "a bad log, status $status: $out"
