#!/usr/bin/env bash
# Builds everything (the 32-bit product with its ZIP package and its tests,
# the 64-bit build with the same tests, the 32-bit program and its unit tests
# again with clang), checks the package as a user would and that a second
# build gives the same bytes, then runs each build's tests with ctest (the
# clang build's include clang-tidy over src/), whose fixtures start a private X server and a Wine prefix per
# display scale (see cmake/WineTests.cmake): the 32-bit suites against the
# very vexo.exe that goes into the ZIP. A machine that cannot run 32-bit
# programs runs only the 32-bit product's file checks, and the last line
# says so. Extra arguments go to every ctest run, e.g.
#   scripts/test.sh -R Settings
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
vexo_script=test
source scripts/lib/wine.sh

scripts/setup.sh
scripts/check-links.py || fail "broken links in the Markdown files (above)"

build_start=$SECONDS
build_preset win32
build_32=$((SECONDS - build_start))
build_preset win64
build_64=$((SECONDS - build_start - build_32))
build_preset win32-clang
build_clang=$((SECONDS - build_start - build_32 - build_64))
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

# Runs one preset's tests with the ctest arguments given, and leaves in
# suite_line what passed: counts, and the code pages and scales that ran
# (the variants' names end in .cp<page> and .dpi<DPI>). In the background,
# so that an interrupt reaches the cleanup at once.
ctest_pid=""
junit_folder="$(mktemp -d "${TMPDIR:-/tmp}/vexo-test.XXXXXX")"
# An interrupted ctest runs no cleanup fixture: its sessions end here.
end_sessions() {
  if [[ -n "$ctest_pid" ]]; then kill "$ctest_pid" 2>/dev/null || true; fi
  wait 2>/dev/null || true
  local preset
  for preset in win32 win64 win32-clang; do
    [[ -d "build/$preset/wine-session" ]] && scripts/ctest/wine-session.sh stop "build/$preset/wine-session" 2>/dev/null
  done
  rm -rf "$junit_folder"
}
trap end_sessions EXIT
trap 'exit 130' INT TERM
suite_line=""
run_suite() {
  local preset="$1" junit="$junit_folder/$1.xml" status=0
  shift
  rm -f "$junit"
  # No second try: a test that fails once fails the run.
  ctest --preset "$preset" --output-junit "$junit" "$@" &
  ctest_pid=$!
  wait "$ctest_pid" || status=$?
  ctest_pid=""
  local total failed pages scales
  # The first counts in the report are the whole run's.
  total="$(grep -o -m 1 'tests="[0-9]*"' "$junit" 2>/dev/null | tr -dc 0-9 || true)"
  failed="$(grep -o -m 1 'failures="[0-9]*"' "$junit" 2>/dev/null | tr -dc 0-9 || true)"
  pages="$(grep -o 'name="[^"]*\.cp[0-9]*"' "$junit" 2>/dev/null | sed 's/.*\.cp//; s/"//' | sort -un | paste -sd ' ' || true)"
  scales="$(grep -o 'name="[^"]*\.dpi[0-9]*"' "$junit" 2>/dev/null | sed 's/.*\.dpi//; s/"//' | sort -un | paste -sd ' ' || true)"
  suite_line="$((${total:-0} - ${failed:-0})) of ${total:-0} tests passed"
  [[ -z "$pages" ]] || suite_line+=", the text tests again under code pages ${pages// /, }"
  [[ -z "$scales" ]] || suite_line+=", the scale checks again at ${scales// /, } DPI"
  [[ -z "$scales" ]] || ran_scales+=" $scales"
  return $status
}

# Information, not a check: the rooms of src/ (its .cpp files) with no unit
# test file named after them; docs/rooms.md says where a room's tests go.
untested_rooms() {
  local file rooms=""
  for file in src/*/*.cpp; do
    [[ -f "tests/unit/$(basename "$file" .cpp)Tests.cpp" ]] || rooms+=" ${file#src/}"
  done
  echo "rooms with no tests/unit/<Room>Tests.cpp:${rooms:- none}"
}

status=0 ran_scales=""
# Where the kernel or Wine cannot run 32-bit programs at all, the 32-bit
# suites cannot start; the prefix's own 32-bit part is the fixtures' check.
refusal_32="$(kernel_32bit_refusal)"
[[ -n "$refusal_32" || -x "$WINE32" ]] || refusal_32="the 32-bit Wine (wine32:i386) is not installed"
test_start=$SECONDS
if [[ -z "$refusal_32" ]]; then
  say "running the 32-bit tests against the shipped vexo.exe"
  run_suite win32 "$@" || status=1
  line_32="32-bit product: ${suite_line}"
else
  say "32-bit product NOT RUN: $refusal_32; only its file checks run"
  run_suite win32 -L product || status=1
  line_32="32-bit product: NOT RUN: $refusal_32; only its file checks ran (${suite_line})"
fi
seconds_32=$((SECONDS - test_start))

say "running the 64-bit tests"
test_start=$SECONDS
run_suite win64 "$@" || status=1
line_64="64-bit build: ${suite_line}"
seconds_64=$((SECONDS - test_start))

# The clang build has no end-to-end tests: a selection may leave it none.
say "running the clang build's unit tests and clang-tidy"
test_start=$SECONDS
if [[ -z "$refusal_32" ]]; then
  run_suite win32-clang --no-tests=ignore "$@" || status=1
  line_clang="clang build: ${suite_line} (unit tests under Wine, clang-tidy over src/)"
else
  run_suite win32-clang --no-tests=ignore -L tidy || status=1
  line_clang="clang build: NOT RUN: $refusal_32; only clang-tidy ran (${suite_line})"
fi
seconds_clang=$((SECONDS - test_start))

say "build took ${build_seconds} s (${build_32} s 32-bit, ${build_64} s 64-bit, ${build_clang} s clang, then the package);" \
  "tests took ${seconds_32} s (32-bit), ${seconds_64} s (64-bit) and ${seconds_clang} s (clang)"
((status == 0)) && say "all passed" || say "FAILED: see the ctest output above"
echo "$(scripts/count-lines.sh)"
untested_rooms
echo "display scales: $(echo 96 $ran_scales | tr ' ' '\n' | sort -un | paste -sd ' ' | sed 's/ /, /g') DPI"
echo "$line_repro"
echo "$line_clang"
echo "$line_64"
echo "$line_32"
exit $status
