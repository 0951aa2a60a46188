#!/usr/bin/env bash
# The shipped vexilo.exe as users of scaled screens see it, under 32-bit Wine: on Xvfb screens of
# four sizes, with the prefix's LogPixels at 96, 120, 144 and 192. In each case the whole window
# is on the screen, the client area has the size of its scale, the spin count's "0" the height of
# the scaled font, the focused button's frame and each ring of its bevel round(scale) pixels; at
# 96 dpi the client area is the design's screenshot (to the pixel under the Wine it was taken
# with, to the shading of a text's edge under another), at 144 a click at a scaled button's
# centre records a spin. One Wine prefix serves all, one session (Xvfb, wineserver) each screen.
#   dpi.sh vexilo.exe board-probe.exe REFERENCE.png WORK_FOLDER
set -uo pipefail

# The scale is dpi / 96, else what fits the screen with Wine's frame (6 pixels wide, 6 plus a
# title bar high), never below 1.
#      screen     dpi  scale     client      digit  rule
cases=(
  "1366x768     96  1         834x711     16     1"
  "1366x768    120  738/711   866x738     17     1"
  "1366x768    144  734/711   861x734     17     1"
  "1366x768    192  725/711   850x725     16     1"
  "1920x1080    96  1         834x711     16     1"
  "1920x1080   120  1.25      1043x889    20     1"
  "1920x1080   144  1046/711  1227x1046   24     1"
  "1920x1080   192  1037/711  1216x1037   24     1"
  "2560x1440    96  1         834x711     16     1"
  "2560x1440   120  1.25      1043x889    20     1"
  "2560x1440   144  1.5       1251x1067   25     2"
  "2560x1440   192  1397/711  1639x1397   31     2"
  "3840x2160    96  1         834x711     16     1"
  "3840x2160   120  1.25      1043x889    20     1"
  "3840x2160   144  1.5       1251x1067   25     2"
  "3840x2160   192  2         1668x1422   32     2"
)
# From Wine 10 the title bar grows with the dpi (29 pixels at 96, 35 at 120, 42 at 144, 54 at
# 192), so where the board is fitted to the screen it fits at a smaller scale.
wider_frame=(
  "1366x768    120  730/711   856x730     17     1"
  "1366x768    144  723/711   848x723     16     1"
  "1366x768    192  1         834x711     16     1"
  "1920x1080   144  1035/711  1214x1035   24     1"
  "1920x1080   192  1023/711  1200x1023   23     1"
  "2560x1440   192  1383/711  1622x1383   31     2"
)

fail() { echo "dpi: FAILED: $*" >&2; exit 1; }
at() { awk -v v="$1" "BEGIN { printf \"%d\", v * $scale + 0.5 }"; }  # a design length, scaled
shot() { import -window root -crop "${width}x$height+$left+$top" +repage "$png"; }  # the client
pixel() { convert "$png" -format "%[hex:u.p{$1,$2}]" info: | cut -c1-6; }
run_of() { convert "$png" -crop "8x1+$1+$2" -depth 8 txt:- | grep -c "#$3"; }  # in 8 pixels
ink_height() {  # of what is not the colour in the box
  convert "$png" -crop "$3x$4+$1+$2" +repage -bordercolor "#$5" -border 1 -format '%@' info: |
    sed -n 's/^[0-9]*x\([0-9]*\)+.*/\1/p'
}
differing() { compare -metric AE ${fuzz:+-fuzz "$fuzz"} "$png" "$1" null: 2>&1; }
# The reference was taken under the Wine and FreeType named beside it (board-96dpi.versions) and
# is matched there to the pixel. Others shade the edge of a text a few levels otherwise (Debian
# 13's Wine 10 and FreeType 2.13: four grey pixels of "Back" and "DataSave", 13 levels lighter),
# so there only what differs by more than 8% counts, as every colour of the board, a missing
# line or a shifted glyph still does.
reference_versions() {
  dpkg-query -W -f '${Package}:${Architecture} ${Version}\n' wine32:i386 libfreetype6:i386 2>/dev/null |
    sort | cmp -s - "${1%.png}.versions" || echo 8%
}
# Up to ten seconds for a measure of the screen to be what it must, while the board paints.
expect() {  # what expected measure [ARGS...]
  local what=$1 expected=$2 got=""
  shift 2
  for _ in $(seq 30); do
    shot
    got=$("$@")
    [[ $got == "$expected" ]] && return
    sleep 0.3
  done
  fail "$name: $what is ${got:-nothing}, not $expected"
}

run_case() {  # screen dpi scale client digit rule, inside scripts/wine-run --native
  local screen=$1 dpi=$2 scale=$3 client=$4 digit=$5 rule=$6 where="" right bottom
  name="$screen at $dpi dpi" png="$work/$screen-$dpi.png"
  printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n"LogPixels"=dword:%08x\r\n' \
    "$dpi" >"$work/dpi.reg"
  "$WINE" regedit /S "Z:${work//\//\\}\\dpi.reg" >/dev/null 2>&1 || fail "regedit failed"
  # A new dpi holds from the session's start, as on Windows from the next sign-in (Wine 10 keeps
  # the one it booted with): the server and Wine's services start again under it.
  "$WINESERVER" -k && "$WINESERVER" -w
  "$WINESERVER" -p >/dev/null 2>&1 </dev/null && "$WINE" wineboot >/dev/null 2>&1 </dev/null ||
    fail "Wine did not start again"
  "$WINE" "$exe" 2>"$work/wine.log" &
  pid=$!
  for _ in $(seq 150); do
    where=$("$WINE" "$probe" 2>/dev/null | tr -d '\r') && break
    sleep 0.2
  done
  read -r left top width height outer_left outer_top right bottom <<<"$where"
  [[ ${width:-}x${height:-} == "$client" ]] || fail "$name: client area ${width:-}x${height:-}, not $client"
  ((outer_left >= 0 && outer_top >= 0 && right <= ${screen%x*} && bottom <= ${screen#*x})) ||
    fail "$name: the window $where leaves the screen"
  # At start the zero button has the focus and its dark frame; the spin count shows "0",
  # right-justified in the box from 784, 176 of the design.
  expect "the zero button's frame" "$rule" run_of "$(at 16)" "$(at 76)" 003F00
  expect "the zero button's bevel" $((2 * rule)) run_of "$(at 16)" "$(at 76)" 80FF80
  expect "the height of the spin count's 0" "$digit" ink_height "$(at 784)" "$(at 176)" \
    "$(at 46)" "$(at 32)" "$(pixel "$(at 830)" "$(at 300)")"
  [[ $dpi != 96 ]] || expect "the count of pixels unlike the design's screenshot" 0 differing "$reference"
  if [[ $dpi == 144 ]]; then
    # 17 is the 41-pixel square at 304, 56; slot 1 of the strip ends at 58, below its digit at 297.
    xdotool mousemove $((left + ($(at 304) + $(at 345)) / 2)) $((top + ($(at 56) + $(at 97)) / 2)) click 1
    expect "after a click on 17, slot 1" 000000 pixel $(($(at 58) - 2)) "$(at 297)"
  fi
  kill $pid && wait $pid 2>/dev/null
  printf 'dpi: %-9s %3s dpi  scale %5.3f  client %4d x %-4d  digit %2d px  rule %d px  ok\n' \
    "$screen" "$dpi" "$(awk "BEGIN { print $scale }")" "$width" "$height" "$digit" "$rule"
}

if [[ ${1:-} == --screen ]]; then  # exe probe reference work screen: one session's cases
  exe=$2 probe=$3 reference=$4 work=$5
  trap 'kill ${pid:-} 2>/dev/null' EXIT
  wine_major=$("$WINE" --version | sed -n 's/^wine-\([0-9]*\).*/\1/p')
  for row in "${cases[@]}"; do
    [[ $row == "$6 "* ]] || continue
    if ((wine_major >= 10)); then
      for wider in "${wider_frame[@]}"; do
        [[ $(awk '{ print $1, $2 }' <<<"$wider") == $(awk '{ print $1, $2 }' <<<"$row") ]] &&
          row=$wider
      done
    fi
    run_case $row
  done
  exit 0
fi

[[ $# == 4 ]] || fail "usage: dpi.sh vexilo.exe board-probe.exe REFERENCE.png WORK_FOLDER"
wine_run=$(cd "$(dirname "$0")/../.." && pwd)/scripts/wine-run
exe=$(realpath "$1") probe=$(realpath "$2") reference=$(realpath "$3") work=$(realpath -m "$4")
fuzz=$(reference_versions "$reference")
export fuzz
[[ -z $fuzz ]] || echo "dpi: not the Wine and FreeType of $(basename "$reference"): text shading within $fuzz"
mkdir -p "$work"
export VEXILO_WINEPREFIX=$work/prefix
trap '"$wine_run" --stop' EXIT
for screen in $(printf '%s\n' "${cases[@]}" | awk '{ print $1 }' | uniq); do
  VEXILO_XVFB_SCREEN=${screen}x24 "$wine_run" --start >/dev/null || fail "no session on $screen"
  "$wine_run" --native "$0" --screen "$exe" "$probe" "$reference" "$work" "$screen" || exit 1
done
echo "dpi: passed, ${#cases[@]} cases; screenshots in $work"
