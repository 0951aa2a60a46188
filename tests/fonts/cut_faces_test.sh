#!/usr/bin/env bash
# fonts/cut-faces --check on a copy of fonts/: where the recorded versions are installed it
# passes on the kept faces and fails naming a face that drifted; where they are not, and where
# a recorded version is changed, it skips in one line that says why. Each row: what is changed
# in the copy, then the status and a word of its line, where the versions are and are not there.
set -uo pipefail
fonts=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

rows=(
  "nothing        0 byte      0 skipped"
  "a-face-byte    1 sans.otf  0 skipped"
  "a-version      0 0~never   0 0~never"
)
# Whether this machine has the recorded versions: the unchanged copy, the first row, says.
cp -r "$fonts" "$work/nothing"
first=$("$work/nothing/cut-faces" --check)
first_status=$?
if [[ $first == *skipped* ]]; then here=elsewhere; else here=recorded; fi

for row in "${rows[@]}"; do
  read -r change status word skip_status skip_word <<<"$row"
  copy=$work/$change
  [[ -d $copy ]] || cp -r "$fonts" "$copy"
  case $change in
    a-face-byte) printf 'X' | dd of="$copy/sans.otf" bs=1 seek=2000 conv=notrunc status=none ;;
    a-version) sed -i 's/^python3-fonttools = .*/python3-fonttools = "0~never"/' "$copy/faces.toml" ;;
  esac
  [[ $here == elsewhere ]] && { status=$skip_status; word=$skip_word; }
  if [[ $change == nothing ]]; then
    out=$first got=$first_status
  else
    out=$("$copy/cut-faces" --check)
    got=$?
  fi
  [[ $got == "$status" && $(wc -l <<<"$out") == 1 && $out == *"$word"* ]] ||
    { echo "FAIL $change ($here): status $got, said: $out"; failed=1; }
done
((failed == 0)) && echo "cut_faces_test: ${#rows[@]} rows passed, versions $here"
exit $failed
