#!/usr/bin/env bash
# The stage times check-fresh-machine reports, from a log of scripts/test with each line led by
# the seconds since the start: one that passed, and one that stopped inside a stage.
set -uo pipefail
# shellcheck source=packaging/debian-tree.sh
source "$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf '%6d %s\n' 0 'setup: installing' 90 '' 90 '==== Faces: cut again (at 0 s)' 95 '' \
  95 '==== default: build (at 5 s)' 400 '[144/144] Linking' 400 '==== default: tests (at 310 s)' \
  700 '' 700 '==== All stages passed (at 610 s)' >"$work/passed.log"
head -7 "$work/passed.log" >"$work/stopped.log"
printf '%6d %s\n' 650 'The following tests FAILED:' >>"$work/stopped.log"
expected_passed=$(printf '%7d s  %s\n' 90 scripts/setup 5 'Faces: cut again' 305 'default: build' 300 'default: tests')
expected_stopped=$(printf '%7d s  %s\n' 90 scripts/setup 5 'Faces: cut again' 305 'default: build' 250 'default: tests')
failed=0
[[ $(stage_times "$work/passed.log") == "$expected_passed" ]] || { echo "FAIL passed:"; stage_times "$work/passed.log"; failed=1; }
[[ $(stage_times "$work/stopped.log") == "$expected_stopped" ]] || { echo "FAIL stopped:"; stage_times "$work/stopped.log"; failed=1; }
((failed == 0)) && echo "stage_times_test: passed"
exit $failed
