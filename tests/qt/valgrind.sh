#!/usr/bin/env bash
# The real program under valgrind memcheck on a virtual X server, driven from outside as a user
# would: numbers pressed from the keyboard, Back, Reset, the spin log saved through the save
# dialog, then the window closed as a window manager's close box does. Fails on any memory
# error and on any block lost, unless valgrind.supp puts it to a library below the program.
#   valgrind.sh VEXILO QT_CLOSE_WINDOW SUPPRESSIONS
set -euo pipefail
program=$1 closer=$2 suppressions=$3
work=$(mktemp -d)
fail() { echo "valgrind: FAILED: $*" >&2; [[ -f $work/memcheck.log ]] && cat "$work/memcheck.log" >&2; exit 1; }

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; [[ -n ${pid:-} ]] && kill $pid 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.1; done
[[ -s $work/display ]] || fail "Xvfb did not start"
export DISPLAY=:$(head -1 "$work/display")
unset QT_QPA_PLATFORM
export DBUS_SESSION_BUS_ADDRESS=unix:path=$work/no-bus  # no session bus, and none started
export HOME=$work
# Qt compiles regular expressions (the dialog's file filters) to machine code that valgrind
# cannot follow; interpreted, they are checked like the rest.
export QT_ENABLE_REGEXP_JIT=0

valgrind --leak-check=full --errors-for-leak-kinds=definite --show-leak-kinds=definite \
  --error-exitcode=99 --child-silent-after-fork=yes --num-callers=30 \
  --suppressions="$suppressions" --log-file="$work/memcheck.log" "$program" &
pid=$!

window=$(timeout 120 xdotool search --sync --onlyvisible --name '^Vexilo$' | head -1) ||
  fail "no window named Vexilo appeared"
for _ in $(seq 300); do [[ $(xdotool getwindowfocus) == "$window" ]] && break; sleep 0.1; done
echo "valgrind: window $window shown and focused"

# A new window of the save dialog or its question, once it is shown: focused by hand, since no
# window manager gives it the focus.
modal() {  # ids of the windows already seen...
  local id
  for _ in $(seq 600); do
    for id in $(xdotool search --onlyvisible --name '^Save As$' 2>/dev/null); do
      [[ " $* " == *" $id "* ]] && continue
      xdotool windowfocus --sync "$id" && echo "$id" && return 0
    done
    sleep 0.1
  done
  return 1
}

# From 0, which has the focus: 0, then 1 and 2 with the arrow key; 35 tabs on to Back; Tab, Tab
# to DataSave.
xdotool key --delay 200 space Right space Right space
xdotool key --delay 50 $(printf 'Tab %.0s' $(seq 35))
xdotool key --delay 200 space Tab Tab space
dialog=$(modal "$window") || fail "the save dialog did not open"
xdotool type --delay 20 "$work/log"
xdotool key Return
prompt=$(modal "$window" "$dialog") || fail "the save dialog did not ask before creating the file"
xdotool key y
for _ in $(seq 600); do [[ -s $work/log.CSV ]] && break; sleep 0.1; done
[[ "$(cat "$work/log.CSV")" == $'0,Green\r\n1,Red\r' ]] || fail "the log reads: $(od -c "$work/log.CSV" | head)"
xdotool windowfocus --sync "$window"
xdotool key --delay 200 shift+Tab space  # Reset
sleep 1
"$closer" "$window" || fail "the window could not be asked to close"
status=0
wait $pid || status=$?
pid=
[[ $status -eq 0 ]] || fail "exit code $status"
grep -E 'ERROR SUMMARY|definitely lost|in use at exit' "$work/memcheck.log"
echo "valgrind: passed"
