#!/usr/bin/env bash
# Builds the 64-bit preset and runs the benchmark of the real program under
# Wine, on a private X server with a private Wine prefix set up as for the
# tests, both removed again. Prints Markdown tables of figures; judges nothing.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
source scripts/lib/wine.sh

say() { echo "== bench: $*" >&2; }
fail() { echo "== bench: FAILED: $*" >&2; exit 1; }

scripts/setup.sh >&2
say "configure and build preset win64"
cmake --preset win64 >&2 || fail "configure"
cmake --build --preset win64 --parallel "$(nproc 2>/dev/null || echo 2)" >&2 || fail "build"

work="$(mktemp -d "${TMPDIR:-/tmp}/vexo-bench.XXXXXX")"
cleanup() {
  local status=$?
  if [[ -n "${WINEPREFIX:-}" ]]; then stop_wine_prefix; fi
  stop_private_xvfb
  rm -rf "$work"
  exit $status
}
trap cleanup EXIT
trap 'exit 130' INT TERM

say "starting a private X server"
start_private_xvfb || fail "cannot start Xvfb"
export WINEPREFIX="$work/wineprefix"
mkdir -p "$WINEPREFIX"
say "creating a private Wine prefix on DISPLAY=$DISPLAY (about 10 s)"
boot_wine_prefix || fail "wineboot"
apply_wine_registry headless || fail "cannot write the Wine registry settings"

say "running the benchmark (about 2.5 minutes)"
# Through a file: a Wine service started on the way would keep a pipe open.
# Bounded: a crash would otherwise wait for ever in Wine's debugger.
LC_ALL=ko_KR.UTF-8 timeout 900 "$WINE64" build/win64/bin/vexo_bench.exe >"$work/bench.md" 2>"$work/bench.err" \
  </dev/null || { cat "$work/bench.md" "$work/bench.err" >&2; fail "the benchmark program"; }
# The tables only, without the test runner's lines.
tr -d '\r' <"$work/bench.md" | grep -v '^\['

