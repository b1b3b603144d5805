#!/usr/bin/env bash
# Runs a test program under Wine in this run's session, as ctest's emulator:
#   wine-run.sh LOADER PROGRAM [ARGUMENTS...]
# on the session's X server, in its prefix for the scale VEXO_DPI (96 unless
# set), with the code page LC_ALL gives. The fixtures Wine.display and
# Wine.prefix<DPI> make the session; ctest runs them first.
set -euo pipefail
session="${VEXO_WINE_SESSION:?run through ctest, whose fixtures set up the X server and the Wine prefixes}"
dpi="${VEXO_DPI:-96}"
if [[ ! -f "$session/display" || ! -d "$session/prefix-$dpi" ]]; then
  echo "no X server or Wine prefix at $dpi DPI in $session: run the tests through ctest, whose fixtures make them" >&2
  exit 1
fi
loader="$1"
shift
export DISPLAY="$(cat "$session/display")" WINEPREFIX="$session/prefix-$dpi" WINEDEBUG=-all
exec "$loader" "$@"
