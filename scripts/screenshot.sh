#!/usr/bin/env bash
# Photographs the panel for the README into docs/panel.png: builds the
# 64-bit program (the one Wine runs here; the panel is the same in both
# builds), starts it with default settings on a private X server and Wine
# prefix, and saves the panel window with its frame.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
vexo_script=screenshot
source scripts/lib/wine.sh

scripts/setup.sh

build_preset win64 --target vexo
exe="$root/build/win64/bin/vexo.exe"

start_headless_session

log="$vexo_work/program.log"
LC_ALL=ko_KR.UTF-8 "$WINE64" "$exe" >"$log" 2>&1 </dev/null &
window="$(wait_for_panel $! "$log")"

# Without the time chunks an unchanged panel gives an unchanged file.
shot="$root/docs/panel.png"
import -window "$window" -strip -define png:exclude-chunks=date,time "$shot" || fail "cannot take the screenshot"
say "panel saved to $shot ($(identify -format '%wx%h' "$shot"))"
