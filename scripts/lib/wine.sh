# Shared by the scripts: building a preset, and a private X server and a
# private Wine prefix, set up so that the programs show their Korean texts,
# and torn down again. Source it; it defines functions and the variables
# below, nothing runs.

WINE64=/usr/lib/wine/wine64
# The 32-bit loader, from Debian's wine32:i386; a 64-bit Wine process starts
# 32-bit programs through it too.
WINE32=/usr/lib/wine/wine
# The wineserver binary itself: Debian's wrapper script adds -p0, which would
# override our -p.
WINESERVER=/usr/lib/wine/wineserver64
export WINEDEBUG=-all
WINE_FONTS=/usr/share/wine/fonts

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
# With a number after it, also the display scale in DPI, which Wine takes
# from LogPixels when a program starts (96 is 100 %, 144 150 %, 192 200 %).
apply_wine_registry() {
  local headless="${1:-}" dpi="${2:-}" reg
  reg="$(mktemp --suffix=.reg)"
  {
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
    printf '"굴림"="NanumGothic"\r\n"Gulim"="NanumGothic"\r\n\r\n'
    if [[ "$headless" == headless ]]; then
      printf '[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Decorated"="N"\r\n"Managed"="N"\r\n\r\n'
    fi
    if [[ -n "$dpi" ]]; then
      printf '[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n"LogPixels"=dword:%08x\r\n\r\n' "$dpi"
    fi
  } | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$reg"
  # A .reg file in UTF-16 carries the Korean value name intact whatever the
  # locale; "reg add" on the command line would not.
  local status=0
  "$WINE64" regedit /S "Z:${reg//\//\\}" >/dev/null 2>&1 </dev/null || status=$?
  rm -f "$reg"
  # Wine 8 here does not load the fonts of its own data folder into a new
  # prefix: caption buttons, drawn with the symbol font Marlett, came out as
  # the letters "0", "1" and "r". A copy in the prefix's Fonts folder is used.
  if [[ -f "$WINE_FONTS/marlett.ttf" ]]; then
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts" &&
      cp "$WINE_FONTS/marlett.ttf" "$WINEPREFIX/drive_c/windows/Fonts/" || status=$?
  fi
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

# The Linux pid of the wine server of the prefix in $WINEPREFIX: the process
# running the server binary whose environment holds exactly that prefix,
# unique to each throw-away prefix, rather than any process of that name.
# Fails, saying why, unless exactly one process matches.
wineserver_pid() {
  local server entry pid found=()
  server="$(readlink -f "$WINESERVER")"
  for entry in /proc/[0-9]*; do
    pid="${entry#/proc/}"
    [[ "$(readlink "$entry/exe" 2>/dev/null)" == "$server" ]] || continue
    grep -Fxqz "WINEPREFIX=$WINEPREFIX" "$entry/environ" 2>/dev/null && found+=("$pid")
  done
  if ((${#found[@]} != 1)); then
    echo "${#found[@]} processes run $server with WINEPREFIX=$WINEPREFIX" >&2
    return 1
  fi
  echo "${found[0]}"
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

# Copies the working tree in the current folder, uncommitted changes
# included and ignored files left out, into the folder $1; outside a git
# checkout (a copy made by this function), everything but build/.
copy_working_tree() {
  if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files -z -co --exclude-standard | while IFS= read -r -d '' path; do
      # Deleted but not yet committed files are still listed.
      if [[ -e "$path" || -L "$path" ]]; then printf '%s\0' "$path"; fi
    done | tar --null -T - -cf -
  else
    tar --exclude=./build -cf - .
  fi | tar -C "$1" -xf -
}

# Messages of the calling script, named by $vexo_script, on standard error so
# that a script's own output (the benchmark's tables) stays clean.
say() { echo "== ${vexo_script:-vexo}: $*" >&2; }
fail() { echo "== ${vexo_script:-vexo}: FAILED: $*" >&2; exit 1; }

# A private X server and a throw-away Wine prefix for the rest of the calling
# script, in the folder $vexo_work; both are gone when the script exits. A
# script may define before_cleanup to stop its own children first. The
# prefix's display scale is the DPI given, 96 (100 %) without one.
start_headless_session() {
  vexo_work="$(mktemp -d "${TMPDIR:-/tmp}/vexo-${vexo_script:-vexo}.XXXXXX")"
  trap end_headless_session EXIT
  trap 'exit 130' INT TERM
  say "starting a private X server"
  start_private_xvfb || fail "cannot start Xvfb"
  start_wine_prefix wineprefix "${1:-96}"
}

# Makes and boots a new prefix $vexo_work/NAME at the display scale DPI, for
# the rest of the calling script; the prefix in use before must be stopped.
start_wine_prefix() {
  local name="$1" dpi="$2"
  export WINEPREFIX="$vexo_work/$name"
  mkdir -p "$WINEPREFIX"
  say "creating a private Wine prefix at $dpi DPI on DISPLAY=$DISPLAY (about 10 s)"
  boot_wine_prefix || fail "wineboot"
  apply_wine_registry headless "$dpi" || fail "cannot write the Wine registry settings"
}

end_headless_session() {
  local status=$?
  if declare -F before_cleanup >/dev/null; then before_cleanup; fi
  if [[ -n "${WINEPREFIX:-}" ]]; then stop_wine_prefix; fi
  stop_private_xvfb
  rm -rf "$vexo_work"
  exit $status
}

# Prints why this machine cannot run 32-bit programs at all, or nothing when
# it can: some kernels refuse 32-bit code (IA-32 emulation off), so a 32-bit
# Linux program of a few instructions is built and run, expecting exit code 42.
kernel_32bit_refusal() {
  local dir status=0 output
  dir="$(mktemp -d)"
  printf '.globl _start\n_start:\n  movl $1, %%eax\n  movl $42, %%ebx\n  int $0x80\n' >"$dir/probe.s"
  if ! as --32 -o "$dir/probe.o" "$dir/probe.s" 2>/dev/null || ! ld -m elf_i386 -o "$dir/probe" "$dir/probe.o" 2>/dev/null; then
    rm -rf "$dir"
    echo "cannot build a 32-bit probe program with as --32 and ld -m elf_i386"
    return
  fi
  output="$("$dir/probe" 2>&1)" || status=$?
  rm -rf "$dir"
  if [[ "$output" == *"Exec format error"* ]]; then
    echo "the kernel refuses 32-bit programs, exec format error: IA-32 emulation is off"
  elif ((status != 42)); then
    echo "a 32-bit test program failed with exit code $status${output:+: $output}"
  fi
}

# Prints why the 32-bit product cannot run in the booted prefix $WINEPREFIX,
# or nothing when it can: the kernel, the 32-bit Wine, the prefix's 32-bit
# part, and a 32-bit Windows program started from a 64-bit one.
wine_32bit_refusal() {
  local refusal status=0
  refusal="$(kernel_32bit_refusal)"
  if [[ -n "$refusal" ]]; then
    echo "$refusal"
  elif [[ ! -x "$WINE32" ]]; then
    echo "the 32-bit Wine (wine32:i386) is not installed"
  elif [[ -z "$(ls -A "$WINEPREFIX/drive_c/windows/syswow64" 2>/dev/null)" ]]; then
    echo "the Wine prefix $WINEPREFIX has no 32-bit part; a prefix made before the 32-bit Wine was installed never gets one"
  else
    timeout 120 "$WINE64" 'C:\windows\syswow64\cmd.exe' /c exit 7 >/dev/null 2>&1 </dev/null || status=$?
    ((status == 7)) || echo "a 32-bit Windows program did not run under Wine, exit code $status"
  fi
}

# Chooses the build a script runs: the 32-bit product that users get, or the
# 64-bit build when the script's arguments hold --64 or this machine cannot
# run 32-bit programs (then it says why, in one line). Needs the booted
# prefix in $WINEPREFIX; sets vexo_preset (win32 or win64).
choose_build() {
  local argument refusal
  vexo_preset=win32
  for argument in "$@"; do
    [[ "$argument" == --64 ]] && vexo_preset=win64
  done
  [[ "$vexo_preset" == win32 ]] || return 0
  refusal="$(wine_32bit_refusal)"
  if [[ -n "$refusal" ]]; then
    say "32-bit product NOT RUN here: $refusal; using the 64-bit build instead"
    vexo_preset=win64
  fi
}
