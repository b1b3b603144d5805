#!/usr/bin/env bash
# Builds the 64-bit preset and runs the benchmark of the real program under
# Wine, on a private X server with a private Wine prefix, both removed again.
# Prints Markdown tables of figures; nothing is judged.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

WINE64=/usr/lib/wine/wine64
# The server binary itself: Debian's wrapper adds -p0, which overrides -p.
WINESERVER=/usr/lib/wine/wineserver64
export WINEDEBUG=-all LC_ALL=ko_KR.UTF-8

say() { echo "== bench: $*" >&2; }

say "configure and build preset win64"
cmake --preset win64 >&2
cmake --build --preset win64 --parallel "$(nproc 2>/dev/null || echo 2)" >&2

work="$(mktemp -d "${TMPDIR:-/tmp}/vexo-bench.XXXXXX")"
xvfb_pid=""
cleanup() {
  local status=$?
  if [[ -n "${WINEPREFIX:-}" ]]; then
    "$WINESERVER" -k >/dev/null 2>&1 </dev/null || true
    "$WINESERVER" -w >/dev/null 2>&1 </dev/null || true
  fi
  if [[ -n "$xvfb_pid" ]]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
  exit $status
}
trap cleanup EXIT
trap 'exit 130' INT TERM

unset DISPLAY
# The first free display of :80..:89; the screen size of a common desktop.
for n in {80..89}; do
  [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]] && continue
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 </dev/null &
  xvfb_pid=$!
  for _ in {1..50}; do
    DISPLAY=":$n" xdpyinfo >/dev/null 2>&1 && export DISPLAY=":$n" && break
    sleep 0.2
  done
  [[ -n "${DISPLAY:-}" && "$DISPLAY" == ":$n" ]] && break
  kill "$xvfb_pid" 2>/dev/null || true
  wait "$xvfb_pid" 2>/dev/null || true
  xvfb_pid=""
done
[[ -n "$xvfb_pid" ]] || { say "no free X display in :80..:89"; exit 1; }

export WINEPREFIX="$work/wineprefix"
mkdir -p "$WINEPREFIX"
say "creating a private Wine prefix on DISPLAY=$DISPLAY (about 10 s)"
# Every output redirected: Wine's background services would hold our pipes open.
"$WINESERVER" -p >/dev/null 2>&1 </dev/null
WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" "$WINE64" wineboot -i >/dev/null 2>&1 </dev/null

say "running the benchmark (about 2 minutes)"
# Through a file: a Wine service started on the way would keep a pipe open.
"$WINE64" build/win64/bin/vexo_bench.exe >"$work/bench.md" 2>"$work/bench.err" </dev/null || {
  cat "$work/bench.err" >&2
  exit 1
}
tr -d '\r' <"$work/bench.md"
