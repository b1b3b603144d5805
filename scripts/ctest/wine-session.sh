#!/usr/bin/env bash
# The ctest fixtures of the tests that run under Wine: a private X server
# and one Wine prefix per display scale, kept in a session folder of the
# build tree for the run, and torn down again.
#
#   wine-session.sh start-display SESSION          a private Xvfb
#   wine-session.sh make-prefix SESSION DPI [32]   a new prefix at DPI, booted;
#                                                  with 32, one that runs 32-bit programs
#   wine-session.sh stop SESSION                   ends the prefixes' Wine and the X server
#
# Everything started here outlives the fixture's own process and holds none
# of ctest's pipes, or ctest would wait for it.
set -euo pipefail
vexo_script=fixture
source "$(dirname "${BASH_SOURCE[0]}")/../lib/wine.sh"

action="${1:-}" session="${2:-}"
[[ -n "$session" ]] || fail "usage: $0 start-display|make-prefix|stop SESSION [DPI [32]]"

# Ends the Wine of one prefix, its keeper first.
stop_prefix() {
  if [[ -f "$1.keeper" ]]; then
    kill -- "-$(cat "$1.keeper")" 2>/dev/null || true
  fi
  [[ -d "$1" ]] && WINEPREFIX="$1" stop_wine_prefix
  rm -rf "$1" "$1.keeper"
}

stop_session() {
  local prefix
  for prefix in "$session"/prefix-*; do
    [[ -d "$prefix" ]] && stop_prefix "$prefix"
  done
  if [[ -f "$session/xvfb.pid" ]]; then
    kill "$(cat "$session/xvfb.pid")" 2>/dev/null || true
  fi
  rm -rf "$session"
}

case "$action" in
start-display)
  # What an interrupted run left behind goes first.
  stop_session
  mkdir -p "$session"
  start_private_xvfb || fail "cannot start Xvfb"
  echo "$DISPLAY" >"$session/display"
  echo "$vexo_xvfb_pid" >"$session/xvfb.pid"
  say "X server $DISPLAY for this run"
  ;;
make-prefix)
  dpi="${3:?the display scale in DPI}"
  [[ -f "$session/display" ]] || fail "no X server: the fixture Wine.display did not run"
  export DISPLAY="$(cat "$session/display")" WINEPREFIX="$session/prefix-$dpi"
  # Made again (ctest --repeat): its server and keeper go first.
  stop_prefix "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  say "creating a Wine prefix at $dpi DPI on DISPLAY=$DISPLAY (about 10 s)"
  boot_wine_prefix || fail "wineboot"
  apply_wine_registry headless "$dpi" || fail "cannot write the Wine registry settings"
  if [[ "${4:-}" == 32 ]]; then
    refusal="$(wine_32bit_refusal)"
    [[ -z "$refusal" ]] || fail "32-bit programs cannot run here: $refusal"
  fi
  # Wine closes the desktop some seconds after its last program ends, and
  # every program started after that waited 4 to 20 s for COM services that
  # did not come back ("Failed to start RpcSs service"): the tests that ran
  # after another prefix was made took 22 s each instead of half a second. A
  # console kept waiting for input holds the desktop for the whole session;
  # in a process group of its own, so that stop ends all of it.
  setsid bash -c 'sleep infinity | "$0" cmd.exe' "$WINE64" </dev/null >/dev/null 2>&1 &
  echo $! >"$WINEPREFIX.keeper"
  ;;
stop)
  stop_session
  ;;
*)
  fail "unknown action $action"
  ;;
esac
