#!/usr/bin/env bash
# Builds everything (32-bit product and its ZIP package, 64-bit product and
# tests) and runs every test, among them the checks that both products are
# plain Windows executables, under Wine on a private X server with a private
# Wine prefix. Extra arguments go to ctest, e.g. scripts/test.sh -R Settings
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
vexo_script=test
source scripts/lib/wine.sh

scripts/setup.sh

build_start=$SECONDS
build_preset win32
build_preset win64
# The download, so that every run proves it can still be made.
say "package the 32-bit product"
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/win32/CMakeCache.txt)"
package="build/win32/vexo-$version-win32.zip"
rm -f "$package"
cmake --build --preset win32 --target package >/dev/null || fail "packaging"
[[ -f "$package" ]] || fail "$package was not made"
say "package: $package"
build_seconds=$((SECONDS - build_start))

ctest_pid=""
before_cleanup() { if [[ -n "$ctest_pid" ]]; then kill "$ctest_pid" 2>/dev/null || true; fi; }
start_headless_session

say "running the tests"
test_start=$SECONDS
status=0
# In the background so that an interrupt reaches the cleanup at once instead
# of waiting for a hung test.
LC_ALL=ko_KR.UTF-8 ctest --preset win64 -j1 --output-on-failure "$@" &
ctest_pid=$!
wait "$ctest_pid" || status=$?
ctest_pid=""
test_seconds=$((SECONDS - test_start))

say "build took ${build_seconds} s, tests took ${test_seconds} s"
((status == 0)) || fail "ctest exited with status $status"
say "all passed"
