#!/usr/bin/env bash
# Builds everything (32-bit product, 64-bit product and tests), checks both
# products are plain Windows executables, and runs every test under Wine on a
# private X server with a private Wine prefix. Extra arguments go to ctest,
# e.g. scripts/test.sh -R Settings
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
vexo_script=test
source scripts/lib/wine.sh


scripts/setup.sh

jobs="$(nproc 2>/dev/null || echo 2)"
build_start=$SECONDS
for preset in win32 win64; do
  say "configure and build preset $preset"
  cmake --preset "$preset" || fail "configure of preset $preset"
  cmake --build --preset "$preset" --parallel "$jobs" || fail "build of preset $preset"
done
build_seconds=$((SECONDS - build_start))

# The product must start on a bare Windows: right machine type, and only DLLs
# every Windows has (the MinGW runtime is linked in statically).
allowed_dlls='^(kernel32|user32|gdi32|shell32|comctl32|advapi32|comdlg32|ole32|oleaut32|shlwapi|uxtheme|imm32|winmm|version|msvcrt|ucrtbase|api-ms-win-crt-[a-z0-9-]+)\.dll$'
check_product() { # exe objdump-prefix expected-format expected-magic
  local exe="$1" objdump="$2-objdump" format="$3" magic="$4" dump dll bad=0
  [[ -f "$exe" ]] || fail "$exe was not built"
  dump="$("$objdump" -p "$exe")" || fail "$objdump cannot read $exe"
  grep -q "file format $format\$" <<<"$dump" || fail "$exe is not $format"
  grep -q "^Magic[[:space:]]*$magic" <<<"$dump" || fail "$exe has not the optional header magic $magic"
  local dlls
  dlls="$(sed -n 's/^[[:space:]]*DLL Name:[[:space:]]*//p' <<<"$dump")"
  [[ -n "$dlls" ]] || fail "$exe: no imported DLL found (objdump output not understood)"
  while read -r dll; do
    if ! grep -qiE "$allowed_dlls" <<<"$dll"; then
      echo "== test: $exe imports $dll, which is not a Windows system DLL" >&2
      bad=1
    fi
  done <<<"$dlls"
  ((bad == 0)) || fail "$exe depends on non-system DLLs"
  say "$exe: $format, imports $(tr '\n' ' ' <<<"$dlls")"
}
check_product build/win32/bin/vexo.exe i686-w64-mingw32 pei-i386 '010b'
check_product build/win64/bin/vexo.exe x86_64-w64-mingw32 pei-x86-64 '020b'

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
