#!/usr/bin/env bash
# Builds and runs the benchmark of the real program under Wine, on a private
# X server with a private Wine prefix set up as for the tests, both removed
# again: of the 32-bit vexo.exe that users get, or of the 64-bit build with
# --64 or where this machine cannot run 32-bit programs (it says so).
# Prints Markdown tables of figures; judges nothing but whether its CPU
# figures follow a known burn.
#   scripts/bench.sh [--64]
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
vexo_script=bench
source scripts/lib/wine.sh

scripts/setup.sh >&2
start_headless_session
choose_build "$@"
build_preset "$vexo_preset" --target vexo_bench

# The benchmark reads the wine server's CPU from Linux: which process it is,
# and the unit of /proc's figures.
export VEXO_CLOCK_TICKS="$(getconf CLK_TCK)"
if server_pid="$(wineserver_pid)"; then
  export VEXO_WINESERVER_PID="$server_pid"
else
  say "the wine server's CPU will show as not available"
fi

say "running the benchmark of the $vexo_preset build (about 4 minutes)"
# Through a file: a Wine service started on the way would keep a pipe open.
# Bounded: a crash would otherwise wait for ever in Wine's debugger.
LC_ALL=ko_KR.UTF-8 timeout 900 "$WINE64" "build/$vexo_preset/bin/vexo_bench.exe" >"$vexo_work/bench.md" 2>"$vexo_work/bench.err" \
  </dev/null || { cat "$vexo_work/bench.md" "$vexo_work/bench.err" >&2; fail "the benchmark program"; }
# The tables only, without the test runner's lines.
tr -d '\r' <"$vexo_work/bench.md" | grep -v '^\['

