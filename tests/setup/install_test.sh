#!/usr/bin/env bash
# scripts/setup against stand-ins for dpkg-query, dpkg and apt-get: it asks apt for the missing
# packages alone, says for what before it does, adds the i386 architecture only for what needs
# it, and with everything in place runs nothing and prints nothing. Each row: the list, the
# packages not installed, then what apt must be asked for and a word of what setup says.
set -uo pipefail
setup=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"
# dpkg-query: installed unless named in $work/missing; dpkg: amd64 with no foreign architecture.
cat >"$work/bin/dpkg-query" <<'STUB'
#!/bin/sh
eval "pkg=\${$#}"
grep -qxF "$pkg" "$STUBS/missing" && exit 1
echo "install ok installed"
STUB
printf '#!/bin/sh\necho "dpkg $*" >>"$STUBS/calls"; [ "$1" = --print-architecture ] && echo amd64; exit 0\n' >"$work/bin/dpkg"
printf '#!/bin/sh\necho "apt-get $*" >>"$STUBS/calls"\n' >"$work/bin/apt-get"
printf '#!/bin/sh\nexec "$@"\n' >"$work/bin/sudo"  # never the real one, whoever runs the test
chmod +x "$work/bin/"*
failed=0

rows=(
  "build |                      |                                    |"
  "build | cmake                | install -y -qq --no-install-recommends cmake | to build and run"
  "test  | cmake valgrind       | install -y -qq --no-install-recommends cmake valgrind | for the tests"
  "test  | wine32:i386          | --add-architecture i386            | wine32:i386"
)
for row in "${rows[@]}"; do
  IFS='|' read -r list missing call word <<<"$row"
  printf '%s\n' $missing >"$work/missing"
  : >"$work/calls"
  out=$(STUBS=$work PATH="$work/bin:$PATH" "$setup" $list 2>&1)
  if [[ -z ${missing// } ]]; then
    [[ -z $out && ! -s $work/calls ]] || { echo "FAIL $row: said '$out', ran $(cat "$work/calls")"; failed=1; }
    continue
  fi
  grep -qF -- "$(echo $call)" "$work/calls" && [[ $out == *"$(echo $word)"* ]] ||
    { echo "FAIL $row: said '$out', ran $(cat "$work/calls")"; failed=1; }
done
((failed == 0)) && echo "install_test: ${#rows[@]} rows passed"
exit $failed
