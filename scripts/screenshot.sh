#!/usr/bin/env bash
# Photographs the panel for the README into docs/panel.png: builds the
# 32-bit vexo.exe that users get (the 64-bit build with --64, or where this
# machine cannot run 32-bit programs; the panel is the same in both), starts
# it with default settings on a private X server and Wine prefix, and saves
# the panel window with its frame.
#   scripts/screenshot.sh [--64]
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
vexo_script=screenshot
source scripts/lib/wine.sh

scripts/setup.sh

start_headless_session
choose_build "$@"
build_preset "$vexo_preset" --target vexo
exe="$root/build/$vexo_preset/bin/vexo.exe"

log="$vexo_work/program.log"
LC_ALL=ko_KR.UTF-8 "$WINE64" "$exe" >"$log" 2>&1 </dev/null &
window="$(wait_for_panel $! "$log")"

# Without the time chunks an unchanged panel gives an unchanged file.
shot="$root/docs/panel.png"
import -window "$window" -strip -define png:exclude-chunks=date,time "$shot" || fail "cannot take the screenshot"
say "panel of the $vexo_preset build saved to $shot ($(identify -format '%wx%h' "$shot"))"
