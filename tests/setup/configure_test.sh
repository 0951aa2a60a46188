#!/usr/bin/env bash
# The configure on a machine with the build list alone: GoogleTest and Google Benchmark hidden
# from CMake, it still succeeds, says in one line what it leaves out and why, and generates the
# two programs and no test.
set -uo pipefail
source_dir=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "configure_test: FAIL: $*"; cat "$work/configure.log"; exit 1; }

cmake -S "$source_dir" -B "$work/build" -G Ninja -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON \
  -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON >"$work/configure.log" 2>&1 || fail "the configure failed"
[[ $(grep -c 'not built' "$work/configure.log") == 1 ]] || fail "not one line on what is left out"
grep -qx -- '-- Vexilo: tests and benchmarks not built, for want of GoogleTest (libgtest-dev, libgmock-dev), Google Benchmark (libbenchmark-dev): scripts/setup test installs them' \
  "$work/configure.log" || fail "the line does not say what is left out and why"
# The targets' names, as Make ("... NAME") and Ninja ("NAME: phony") list them.
targets=$(cmake --build "$work/build" --target help | sed -E 's/^\.\.\. //; s/:.*//')
grep -qx vexilo <<<"$targets" && grep -qx vexilo-stats <<<"$targets" || fail "a program is missing"
! grep -Eq '_(tests|bench)$' <<<"$targets" || fail "a test or benchmark is still built"
echo "configure_test: passed"
