#!/usr/bin/env bash
# Photographs the panel for the README into docs/panel.png: builds the
# 32-bit vexo.exe that users get (the 64-bit build with --64, or where this
# machine cannot run 32-bit programs; the panel is the same in both), starts
# it with default settings on a private X server and Wine prefix, and saves
# the panel window with its frame. With --dpi N the prefix runs at the display
# scale N (96 is 100 %, 192 is 200 %) and the picture goes to
# docs/panel-<N>dpi.png instead.
#   scripts/screenshot.sh [--64] [--dpi N]
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
vexo_script=screenshot
source scripts/lib/wine.sh

dpi=96 shot="$root/docs/panel.png"
arguments=("$@")
for ((i = 0; i < ${#arguments[@]}; i++)); do
  if [[ "${arguments[i]}" == --dpi ]]; then
    dpi="${arguments[i + 1]:-}"
    [[ "$dpi" =~ ^[1-9][0-9]*$ ]] || fail "--dpi wants a number of dots per inch, e.g. --dpi 192"
    ((dpi == 96)) || shot="$root/docs/panel-${dpi}dpi.png"
  fi
done

scripts/setup.sh

start_headless_session "$dpi"
choose_build "$@"
build_preset "$vexo_preset" --target vexo
exe="$root/build/$vexo_preset/bin/vexo.exe"

log="$vexo_work/program.log"
LC_ALL=ko_KR.UTF-8 "$WINE64" "$exe" >"$log" 2>&1 </dev/null &
window="$(wait_for_panel $! "$log")"

# Without the time chunks an unchanged panel gives an unchanged file.
import -window "$window" -strip -define png:exclude-chunks=date,time "$shot" || fail "cannot take the screenshot"
say "panel of the $vexo_preset build at $dpi DPI saved to $shot ($(identify -format '%wx%h' "$shot"))"
