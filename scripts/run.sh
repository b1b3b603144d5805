#!/usr/bin/env bash
# Builds the 64-bit program and starts it under Wine.
# With a usable $DISPLAY the panel opens there, in a Wine prefix of its own
# under ~/.local/share/vexo, and the script returns when the program ends.
# Without one the panel is started on a private X server, photographed into
# build/screenshot.png, and everything is ended again.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
vexo_script=run
source scripts/lib/wine.sh

scripts/setup.sh

build_preset win64 --target vexo
exe="$root/build/win64/bin/vexo.exe"
[[ -f "$exe" ]] || fail "$exe was not built"

if display_usable; then
  export WINEPREFIX="${XDG_DATA_HOME:-$HOME/.local/share}/vexo/wineprefix"
  mkdir -p "$WINEPREFIX"
  if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
    say "creating the Wine prefix $WINEPREFIX (once, about 10 s)"
  fi
  boot_wine_prefix || fail "wineboot"
  apply_wine_registry || fail "cannot write the Wine registry settings"
  say "starting $exe on DISPLAY=$DISPLAY; close the panel to end"
  status=0
  LC_ALL=ko_KR.UTF-8 "$WINE64" "$exe" || status=$?
  # The persistent server started for wineboot is not needed any more.
  "$WINESERVER" -k >/dev/null 2>&1 </dev/null || true
  say "the program ended (status $status)"
  exit "$status"
fi

if [[ -n "${DISPLAY:-}" ]]; then
  say "DISPLAY=$DISPLAY does not answer; using a private X server instead"
else
  say "no DISPLAY; using a private X server"
fi

start_headless_session

log="$root/build/run.log"
say "starting $exe (its output goes to $log)"
LC_ALL=ko_KR.UTF-8 "$WINE64" "$exe" >"$log" 2>&1 </dev/null &
program_pid=$!

window="$(wait_for_panel "$program_pid" "$log")"

shot="$root/build/screenshot.png"
import -window root "$shot" || fail "cannot take the screenshot"
say "panel window $window is up; screenshot saved to $shot"
say "ending the program and the private X server"
