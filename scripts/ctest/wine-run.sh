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
# Wine's errors stay on: a program that the loader refuses, or that dies
# before its first line of output, would otherwise fail without a word.
export DISPLAY="$(cat "$session/display")" WINEPREFIX="$session/prefix-$dpi" WINEDEBUG=-all,err+all
start=$SECONDS
# Ended here, before ctest's own timeout, so that what was still running can
# be named.
limit="${VEXO_RUN_LIMIT:-150}"
timeout --kill-after=5 "$limit" "$loader" "$@" &
child=$!
# A timeout ends this script: the program goes with it, or it would hold
# ctest's pipes.
trap 'kill -TERM "$child" 2>/dev/null || true' TERM INT HUP
status=0
while :; do
  wait "$child" && status=0 || status=$?
  kill -0 "$child" 2>/dev/null || break
done
program="$(basename -- "$1") ${*:2}"
if ((status == 124 || status == 137)); then
  echo "$program did not end within $limit s and was ended; Windows programs still running:" >&2
  ps -eo pid,etimes,args | grep -F '.exe' | grep -v -e 'grep' -e 'services.exe' -e 'winedevice.exe' -e 'plugplay.exe' \
    -e 'svchost.exe' -e 'cmd.exe' >&2 || true
elif ((status != 0)); then
  echo "$program ended with exit status $status after $((SECONDS - start)) s" >&2
fi
exit "$status"
