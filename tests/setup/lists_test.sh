#!/usr/bin/env bash
# scripts/setup's lists for each release: which names each list gives, and that the build list
# holds nothing of the tests'. Each row: release, list, a package, whether the list has it.
set -uo pipefail
setup=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

rows=(
  "bookworm build g++ yes"
  "bookworm build qt6-base-dev yes"
  "bookworm build libgtest-dev no"
  "bookworm build python3-fonttools no"
  "bookworm test g++ yes"
  "bookworm test file yes"
  "bookworm test python3-fonttools yes"
  "bookworm test wine32:i386 yes"
  "trixie test python3-fonttools no"
  "trixie test fonts-noto-cjk no"
  "trixie test wine32:i386 yes"
  "trixie test libqt6test6 yes"
)
for row in "${rows[@]}"; do
  read -r release list package wanted <<<"$row"
  printf 'VERSION_CODENAME=%s\n' "$release" >"$work/os-release"
  VEXILO_OS_RELEASE=$work/os-release "$setup" --list "$list" >"$work/list" || { echo "FAIL $row: setup failed"; failed=1; continue; }
  if grep -qxF "$package" "$work/list"; then have=yes; else have=no; fi
  [[ $have == "$wanted" ]] || { echo "FAIL $row: got $have"; failed=1; }
  # A name appears once, and no release prefix or list header leaks into it.
  [[ -z $(sort "$work/list" | uniq -d) ]] || { echo "FAIL $row: repeated $(sort "$work/list" | uniq -d)"; failed=1; }
  grep -E '^(bookworm|trixie):|^\[' "$work/list" && { echo "FAIL $row: a prefix or header in the list"; failed=1; }
done
((failed == 0)) && echo "lists_test: ${#rows[@]} rows passed"
exit $failed
