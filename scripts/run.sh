#!/usr/bin/env bash
# Builds the program and starts it under Wine: the 32-bit vexo.exe that users
# get, or the 64-bit build with --64 or where this machine cannot run 32-bit
# programs (it says so).
# With a usable $DISPLAY the panel opens there, in a Wine prefix of its own
# under ~/.local/share/vexo, and the script returns when the program ends.
# Without one the panel is started on a private X server, photographed into
# build/screenshot.png, and everything is ended again.
#   scripts/run.sh [--64]
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
vexo_script=run
source scripts/lib/wine.sh

scripts/setup.sh

if display_usable; then
  export WINEPREFIX="${XDG_DATA_HOME:-$HOME/.local/share}/vexo/wineprefix"
  mkdir -p "$WINEPREFIX"
  if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
    say "creating the Wine prefix $WINEPREFIX (once, about 10 s)"
  fi
  boot_wine_prefix || fail "wineboot"
  apply_wine_registry || fail "cannot write the Wine registry settings"
  choose_build "$@"
  build_preset "$vexo_preset" --target vexo
  exe="$root/build/$vexo_preset/bin/vexo.exe"
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
choose_build "$@"
build_preset "$vexo_preset" --target vexo
exe="$root/build/$vexo_preset/bin/vexo.exe"

log="$root/build/run.log"
say "starting $exe (its output goes to $log)"
LC_ALL=ko_KR.UTF-8 "$WINE64" "$exe" >"$log" 2>&1 </dev/null &
program_pid=$!

window="$(wait_for_panel "$program_pid" "$log")"

shot="$root/build/screenshot.png"
import -window root "$shot" || fail "cannot take the screenshot"
say "panel window $window is up; screenshot saved to $shot"
say "ending the program and the private X server"
