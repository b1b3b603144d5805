#!/usr/bin/env bash
# Builds everything (the 32-bit product with its ZIP package and its tests,
# the 64-bit build with the same tests) and runs every test under Wine on a
# private X server with a private Wine prefix: the 32-bit suites against the
# very vexo.exe that goes into the ZIP, the 64-bit suites against the 64-bit
# build. Everything runs under code page 949, as on a Korean Windows, and at
# a display scale of 96 DPI (100 %); the tests of what the user reads
# (ctest label "text") run again under code pages 1252 (Western Windows) and
# 65001 (Windows' UTF-8 option), and the scale checks (label "dpi") in a new
# prefix at 144 and one at 192 DPI. A machine that cannot run 32-bit
# programs runs only the 32-bit product's file checks there, and the last
# line says so. Extra arguments go to the ctest runs of the suites, e.g.
# scripts/test.sh -R Settings
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
vexo_script=test
source scripts/lib/wine.sh

scripts/setup.sh

build_start=$SECONDS
build_preset win32
build_32=$((SECONDS - build_start))
build_preset win64
build_64=$((SECONDS - build_start - build_32))
# The download, so that every run proves it can still be made.
say "package the 32-bit product"
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/win32/CMakeCache.txt)"
package="build/win32/vexo-$version-win32.zip"
rm -f "$package"
cmake --build --preset win32 --target package >/dev/null || fail "packaging"
[[ -f "$package" && -f "$package.sha256" ]] || fail "$package or its SHA-256 was not made"
# As a user checks the download: in the ZIP's folder, and digit for digit
# against the ZIP's own bytes.
(cd "$(dirname "$package")" && sha256sum --check --strict "$(basename "$package").sha256") >&2 ||
  fail "the published SHA-256 does not check out against $package"
[[ "$(cut -d ' ' -f 1 "$package.sha256")" == "$(sha256sum "$package" | cut -d ' ' -f 1)" ]] ||
  fail "the published SHA-256 is not the one of $package"
say "package: $package"

# The same sources give the same bytes: the product and its ZIP are made again
# from a copy of the tree in another folder, and must match to the byte.
say "build the product again in another folder, to compare"
again="$(mktemp -d "${TMPDIR:-/tmp}/vexo-again.XXXXXX")"
trap 'rm -rf "$again"' EXIT
copy_working_tree "$again" || fail "cannot copy the tree"
(cd "$again" && cmake --preset win32 -DVEXO_BUILD_TESTS=OFF && cmake --build --preset win32 --target package) >&2 ||
  fail "the second build"
for file in bin/vexo.exe "${package#build/win32/}" "${package#build/win32/}.sha256"; do
  cmp "build/win32/$file" "$again/build/win32/$file" >&2 || fail "$file differs between two builds of the same sources"
done
rm -rf "$again"
trap - EXIT
line_repro="reproducible: vexo.exe ($(stat -c %s build/win32/bin/vexo.exe) bytes) and $(basename "$package"), built twice in two folders, are the same; SHA-256 $(cut -d ' ' -f 1 "$package.sha256")"
build_seconds=$((SECONDS - build_start))

ctest_pid=""
before_cleanup() { if [[ -n "$ctest_pid" ]]; then kill "$ctest_pid" 2>/dev/null || true; fi; }
start_headless_session

refusal_32="$(wine_32bit_refusal)"

# Wine takes a program's code page from LC_ALL. Besides Korean's, the text
# tests run under these "locale code-page" pairs.
other_code_pages=("en_US.UTF-8 1252" "hi_IN.UTF-8 65001")

# Runs one preset's tests under a locale and the code page Wine makes of it
# (the test programs refuse to run under another), with the ctest arguments
# after those, and leaves "passed of total" in suite_counts. In the
# background so that an interrupt reaches the cleanup at once instead of
# waiting for a hung test.
suite_counts=""
run_suite() {
  local preset="$1" locale="$2" code_page="$3" junit="$vexo_work/$1-$3.xml" status=0
  shift 3
  LC_ALL="$locale" VEXO_CODE_PAGE="$code_page" \
    ctest --preset "$preset" -j1 --output-on-failure --output-junit "$junit" "$@" &
  ctest_pid=$!
  wait "$ctest_pid" || status=$?
  ctest_pid=""
  local total failed
  # The first counts in the report are the whole run's.
  total="$(grep -o -m 1 'tests="[0-9]*"' "$junit" 2>/dev/null | tr -dc 0-9 || true)"
  failed="$(grep -o -m 1 'failures="[0-9]*"' "$junit" 2>/dev/null | tr -dc 0-9 || true)"
  suite_counts="$((${total:-0} - ${failed:-0})) of ${total:-0}"
  return $status
}

# Runs a preset's whole suites under code page 949, then its text tests under
# the other code pages; leaves the counts in suite_line.
suite_line=""
run_suites() {
  local preset="$1" pair locale code_page result=0
  shift
  run_suite "$preset" ko_KR.UTF-8 949 "$@" || result=1
  suite_line="${suite_counts} tests passed under code page 949; text tests"
  for pair in "${other_code_pages[@]}"; do
    read -r locale code_page <<<"$pair"
    say "running the $preset text tests under code page $code_page ($locale)"
    run_suite "$preset" "$locale" "$code_page" -L text --no-tests=ignore "$@" || result=1
    suite_line+=" ${suite_counts} under $code_page,"
  done
  suite_line="${suite_line%,}"
  return $result
}

status=0
# The scale checks compare the prefix's scale with the one meant.
export VEXO_EXPECTED_DPI=96
say "running the 32-bit tests against the shipped vexo.exe"
test_start=$SECONDS
if [[ -z "$refusal_32" ]]; then
  run_suites win32 "$@" || status=1
  line_32="32-bit product: ${suite_line}"
else
  say "32-bit product NOT RUN: $refusal_32; only its file checks run"
  run_suite win32 ko_KR.UTF-8 949 -L product || status=1
  line_32="32-bit product: NOT RUN: $refusal_32; only its file checks ran (${suite_counts} passed)"
fi
seconds_32=$((SECONDS - test_start))

say "running the 64-bit tests"
test_start=$SECONDS
run_suites win64 "$@" || status=1
line_64="64-bit build: ${suite_line}"
seconds_64=$((SECONDS - test_start))

# The same programs at Windows' 150 % and 200 %, each scale in a prefix of
# its own as a Windows session has one scale; skipped when the arguments
# select no scale check.
scales="96" scale_seconds=0
scale_selected="$(ctest --preset win64 -N -L dpi "$@" 2>/dev/null | sed -n 's/^Total Tests: //p')"
if ((${scale_selected:-0} > 0)); then
  test_start=$SECONDS
  for dpi in 144 192; do
    stop_wine_prefix
    start_wine_prefix "wineprefix-$dpi" "$dpi"
    export VEXO_EXPECTED_DPI=$dpi
    if [[ -z "$refusal_32" ]]; then
      say "running the 32-bit scale checks at $dpi DPI"
      run_suite win32 ko_KR.UTF-8 949 -L dpi "$@" || status=1
      line_32+="; at $dpi DPI ${suite_counts} scale checks passed"
    fi
    say "running the 64-bit scale checks at $dpi DPI"
    run_suite win64 ko_KR.UTF-8 949 -L dpi "$@" || status=1
    line_64+="; at $dpi DPI ${suite_counts} scale checks passed"
    scales+=", $dpi"
  done
  scale_seconds=$((SECONDS - test_start))
fi

say "build took ${build_seconds} s (${build_32} s 32-bit, ${build_64} s 64-bit, then the package);" \
  "tests took ${seconds_32} s (32-bit) and ${seconds_64} s (64-bit), and ${scale_seconds} s at the other scales"
((status == 0)) && say "all passed" || say "FAILED: see the ctest output above"
echo "$(scripts/count-lines.sh)"
echo "display scales: ${scales} DPI"
echo "$line_repro"
echo "$line_64"
echo "$line_32"
exit $status
