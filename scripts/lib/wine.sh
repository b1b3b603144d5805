# Shared by the scripts: building a preset, and a private X server and a
# private Wine prefix, set up so that the programs show their Korean texts,
# and torn down again. Source it; it defines functions and the variables
# below, nothing runs.

WINE64=/usr/lib/wine/wine64
# The wineserver binary itself: Debian's wrapper script adds -p0, which would
# override our -p.
WINESERVER=/usr/lib/wine/wineserver64
export WINEDEBUG=-all

vexo_xvfb_pid=""

# True when $DISPLAY names an X server that answers.
display_usable() {
  [[ -n "${DISPLAY:-}" ]] && xdpyinfo >/dev/null 2>&1
}

# Starts Xvfb on the first free display of :90..:99 and exports DISPLAY.
start_private_xvfb() {
  local n
  for n in {90..99}; do
    [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 </dev/null &
    vexo_xvfb_pid=$!
    local tries
    for tries in {1..50}; do
      if DISPLAY=":$n" xdpyinfo >/dev/null 2>&1; then
        export DISPLAY=":$n"
        return 0
      fi
      kill -0 "$vexo_xvfb_pid" 2>/dev/null || break # lost a race for :$n
      sleep 0.2
    done
    kill "$vexo_xvfb_pid" 2>/dev/null || true
    wait "$vexo_xvfb_pid" 2>/dev/null || true
    vexo_xvfb_pid=""
  done
  echo "no free X display in :90..:99 (or Xvfb does not start)" >&2
  return 1
}

stop_private_xvfb() {
  if [[ -n "$vexo_xvfb_pid" ]]; then
    kill "$vexo_xvfb_pid" 2>/dev/null || true
    wait "$vexo_xvfb_pid" 2>/dev/null || true
    vexo_xvfb_pid=""
  fi
}

# Writes the registry settings the programs need into the prefix in
# $WINEPREFIX. The dialogs ask for the face "굴림", which Wine does not ship:
# map it to Nanum Gothic explicitly rather than rely on font fallback.
# With "headless" also let Wine draw the window frames and manage the windows
# itself, since Xvfb has no window manager (captions and system menus would
# vanish, and every window that hides would wait 2 s for one to answer).
apply_wine_registry() {
  local headless="${1:-}" reg
  reg="$(mktemp --suffix=.reg)"
  {
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
    printf '"굴림"="NanumGothic"\r\n"Gulim"="NanumGothic"\r\n\r\n'
    if [[ "$headless" == headless ]]; then
      printf '[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Decorated"="N"\r\n"Managed"="N"\r\n\r\n'
    fi
  } | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$reg"
  # A .reg file in UTF-16 carries the Korean value name intact whatever the
  # locale; "reg add" on the command line would not.
  local status=0
  "$WINE64" regedit /S "Z:${reg//\//\\}" >/dev/null 2>&1 </dev/null || status=$?
  rm -f "$reg"
  return $status
}

# Creates or updates the prefix in $WINEPREFIX with a persistent wineserver.
# Every output is redirected: Wine's background services inherit whatever
# they are given and would hold a caller's pipes open for ever.
boot_wine_prefix() {
  "$WINESERVER" -p >/dev/null 2>&1 </dev/null
  # No Mono or Gecko installer prompts, no desktop menu entries.
  WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" \
    "$WINE64" wineboot -i >/dev/null 2>&1 </dev/null
}

# Ends every Wine process of the prefix in $WINEPREFIX and its server.
stop_wine_prefix() {
  "$WINESERVER" -k >/dev/null 2>&1 </dev/null || true
  "$WINESERVER" -w >/dev/null 2>&1 </dev/null || true
}

# The panel is the program's visible top-level window larger than a few
# pixels (Wine also makes 1x1 helper windows per process).
panel_window() {
  xwininfo -root -children 2>/dev/null |
    awk '/"vexo\.exe" "vexo\.exe"/ { split($0, a, ": \\(\"vexo.exe\" \"vexo.exe\"\\)  "); split(a[2], g, "[x+]"); if (g[1] > 20 && g[2] > 20) print $1 }' |
    while read -r id; do
      xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable' && { echo "$id"; break; }
    done
}

# Waits up to 30 s for the panel of the program started as process $1, whose
# output goes to the file $2, and prints its X window id once it has painted.
wait_for_panel() {
  local program_pid="$1" log="$2" window="" tenths
  for ((tenths = 0; tenths < 300; tenths += 5)); do
    window="$(panel_window || true)"
    [[ -n "$window" ]] && break
    kill -0 "$program_pid" 2>/dev/null || { cat "$log" >&2; fail "the program ended before showing its panel"; }
    sleep 0.5
  done
  [[ -n "$window" ]] || fail "no panel window within 30 s"
  sleep 1 # let it finish painting
  echo "$window"
}

# Configures and builds a preset, all of it or the targets given as
# "--target name". The tools' output goes to standard error, so that a
# script's own output (the benchmark's tables) stays clean.
build_preset() {
  local preset="$1"
  shift
  say "configure and build preset $preset"
  cmake --preset "$preset" >&2 || fail "configure of preset $preset"
  cmake --build --preset "$preset" --parallel "$(nproc 2>/dev/null || echo 2)" "$@" >&2 ||
    fail "build of preset $preset"
}

# Messages of the calling script, named by $vexo_script, on standard error so
# that a script's own output (the benchmark's tables) stays clean.
say() { echo "== ${vexo_script:-vexo}: $*" >&2; }
fail() { echo "== ${vexo_script:-vexo}: FAILED: $*" >&2; exit 1; }

# A private X server and a throw-away Wine prefix for the rest of the calling
# script, in the folder $vexo_work; both are gone when the script exits. A
# script may define before_cleanup to stop its own children first.
start_headless_session() {
  vexo_work="$(mktemp -d "${TMPDIR:-/tmp}/vexo-${vexo_script:-vexo}.XXXXXX")"
  trap end_headless_session EXIT
  trap 'exit 130' INT TERM
  say "starting a private X server"
  start_private_xvfb || fail "cannot start Xvfb"
  export WINEPREFIX="$vexo_work/wineprefix"
  mkdir -p "$WINEPREFIX"
  say "creating a private Wine prefix on DISPLAY=$DISPLAY (about 10 s)"
  boot_wine_prefix || fail "wineboot"
  apply_wine_registry headless || fail "cannot write the Wine registry settings"
}

end_headless_session() {
  local status=$?
  if declare -F before_cleanup >/dev/null; then before_cleanup; fi
  if [[ -n "${WINEPREFIX:-}" ]]; then stop_wine_prefix; fi
  stop_private_xvfb
  rm -rf "$vexo_work"
  exit $status
}
