#!/usr/bin/env bash
# Drives the real vexilo.exe from outside, as a user would: a few number clicks, Back and Reset
# with the mouse, each step checked on a screenshot of the screen; then the close box, after
# which the program must have ended with exit code 0. Runs inside scripts/wine-run --native
# (WINE and DISPLAY set).
#   smoke.sh PATH/TO/vexilo.exe [FOLDER FOR THE SCREENSHOTS]
set -euo pipefail
exe=$1
shots=${2:-$(mktemp -d)}
mkdir -p "$shots"

fail() { echo "smoke: FAILED: $*" >&2; exit 1; }

start=$(date +%s%N)
"$WINE" "$exe" 2>"$shots/wine.log" &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT

# Asked again and again rather than with xdotool's --sync, which dies with BadWindow when a window
# it looks at goes away meanwhile, as Wine's own windows do while a program starts.
window=""
for _ in $(seq 300); do
  window=$(xdotool search --onlyvisible --name '^Vexilo$' 2>/dev/null | head -1) || window=""
  [[ -n $window ]] && break
  kill -0 $pid 2>/dev/null || fail "the program ended before its window appeared"
  sleep 0.2
done
[[ -n $window ]] || fail "no window named Vexilo appeared within 60 s"
shown=$(date +%s%N)
echo "smoke: window shown $(( (shown - start) / 1000000 )) ms after start"

eval "$(xdotool getwindowgeometry --shell "$window")"  # X, Y, WIDTH, HEIGHT of the framed window
border=$(( (WIDTH - 834) / 2 ))
left=$(( X + border ))
top=$(( Y + HEIGHT - 711 - border ))
echo "smoke: window $WIDTH x $HEIGHT at $X,$Y; client area at $left,$top"
[[ $border -ge 0 && $top -ge $Y ]] || fail "the window is smaller than its 834 x 711 client area"

shot=0
screenshot() {
  shot=$((shot + 1))
  import -window root "$shots/step$shot.png"
}
# The colour of a client-area pixel on the last screenshot, as RRGGBB.
pixel() {
  convert "$shots/step$shot.png" -alpha off -format "%[hex:u.p{$((left + $1)),$((top + $2))}]" info: |
    cut -c1-6
}
# Waits up to ten seconds for the screen to show colour at x, y of the client area.
expect() {  # x y colour what
  local got
  for _ in $(seq 30); do
    got=$(pixel "$1" "$2")
    [[ "$got" == "$3" ]] && return 0
    sleep 0.3
    screenshot
  done
  fail "step $shot: $4: pixel $1,$2 is $got, not $3"
}
click() {
  xdotool mousemove $((left + $1)) $((top + $2)) click 1
  sleep 0.2
}
# Centre of the button of number n.
number() {
  local n=$1
  if [[ $n -eq 0 ]]; then click 36 76; return; fi
  click $(( 64 + 48 * ((n - 1) / 3) + 20 )) $(( 104 - 48 * ((n - 1) % 3) + 20 ))
}

LIME=00FF00 RED=FF0000 BLACK=000000
strip_y=297  # below the digits of the strip labels, whose box spans 272 to 299

screenshot
expect 16 8 003F00 "the zero button has the focus frame at start"
# The empty window background, once it is drawn: the window paints control by control, and on a
# busy machine the zero button can show before the background does, on the black screen.
for _ in $(seq 30); do
  face=$(pixel 830 300)
  [[ $face != "$BLACK" ]] && break
  sleep 0.3
  screenshot
done
expect 55 $strip_y "$face" "the strip is empty at start"

number 17
number 32
number 0
screenshot
expect 55 $strip_y $LIME "newest spin, 0, in slot 1"
expect 87 $strip_y $RED "32 in slot 2"
expect 119 $strip_y $BLACK "17 in slot 3"
[[ "$(pixel 698 336)" != "$face" ]] || fail "the red bar shows nothing after one red in three"

click 45 260  # Back
screenshot
expect 55 $strip_y $RED "after Back, 32 is the newest"
expect 87 $strip_y $BLACK "17 in slot 2"
expect 119 $strip_y "$face" "slot 3 empty again"

click 653 260  # Reset
screenshot
for x in 55 87 119; do expect $x $strip_y "$face" "the strip is empty after Reset"; done
expect 698 336 "$face" "the red bar is empty after Reset"

# The close box sits at the right end of the title bar that Wine draws.
xdotool mousemove $(( X + WIDTH - border - 9 )) $(( Y + border + 9 )) click 1
for _ in $(seq 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
kill -0 $pid 2>/dev/null && fail "the program is still running after its window was closed"
trap - EXIT
status=0
wait $pid || status=$?
[[ $status -eq 0 ]] || fail "exit code $status"
echo "smoke: passed; screenshots in $shots"
