#!/usr/bin/env bash
# Soaks the real program under Wine for the given number of minutes (default
# 10), on a private X server with a private Wine prefix set up as for the
# tests, both removed again: the 32-bit vexo.exe that users get, or the
# 64-bit build with --64 or where this machine cannot run 32-bit programs
# (it says so). It clicks at 10 ms into a counting window with a sweep every
# 30 s and prints, at the start and every minute, the clicks against the
# ideal and the program's USER and GDI objects, handles and private memory;
# the last line is the verdict. Exits non-zero if a figure grew or the
# program died, hung or did not close and save cleanly.
#   scripts/soak.sh [--64] [minutes]
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
vexo_script=soak
source scripts/lib/wine.sh

minutes=10
for argument in "$@"; do
  [[ "$argument" == --64 ]] || minutes="$argument"
done
[[ "$minutes" =~ ^[1-9][0-9]*$ ]] && ((minutes >= 2 && minutes <= 1440)) || fail "minutes must be a whole number from 2 (the first is warm-up) to 1440"

scripts/setup.sh >&2

soak_pid=""
before_cleanup() { if [[ -n "$soak_pid" ]]; then kill "$soak_pid" 2>/dev/null || true; fi; }
start_headless_session
choose_build "$@"
build_preset "$vexo_preset" --target vexo_soak

say "soaking the $vexo_preset build for $minutes minutes"
# Through a file, shown as it grows: a Wine service started on the way would
# keep a pipe open. Bounded: a crash would otherwise wait for ever in Wine's
# debugger; five minutes cover start, the end checks and closing.
: >"$vexo_work/soak.md"
LC_ALL=ko_KR.UTF-8 timeout $((minutes * 60 + 300)) "$WINE64" "build/$vexo_preset/bin/vexo_soak.exe" "$minutes" \
  >"$vexo_work/soak.md" 2>"$vexo_work/soak.err" </dev/null &
soak_pid=$!
# The figures only, without the test runner's lines.
tail -n +1 -f --pid="$soak_pid" "$vexo_work/soak.md" | sed -u -e 's/\r$//' -e '/^\[/d'
status=0
wait "$soak_pid" || status=$?
soak_pid=""
if ((status != 0)); then
  cat "$vexo_work/soak.err" >&2
  ((status == 124)) && fail "the soak did not end within its bound"
  fail "the soak (see the verdict above)"
fi
