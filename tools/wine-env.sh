#!/usr/bin/env bash
# The one Wine set-up shared by the tests, the demo and users:
# a private Xvfb display (24-bit, so window captures are pixel exact), a
# throw-away prefix under build/wine, and one wineserver kept alive for the
# whole run (warm starts take milliseconds instead of half a second).
#
#   tools/wine-env.sh run PROGRAM.exe [ARGS...]   run a Windows program, exit status passed through
#   tools/wine-env.sh start                       prepare display, prefix and server
#   tools/wine-env.sh stop                        end the server and the display
#   tools/wine-env.sh env                         print the environment for 'eval'
#   tools/wine-env.sh display PROGRAM [ARGS...]   run a native program on the private display
set -u
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
state=${KORVEX_WINE_DIR:-$(cd "$here/.." && pwd)/build/wine}
mkdir -p "$state"

export WINEPREFIX="$state/prefix"
export WINEDEBUG=${WINEDEBUG:--all,err+module}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEARCH=win64

display_alive() {
  [ -s "$state/xvfb.pid" ] && [ -s "$state/display" ] && kill -0 "$(cat "$state/xvfb.pid")" 2>/dev/null
}

start_display() {
  display_alive && return 0
  command -v Xvfb >/dev/null || { echo "wine-env: Xvfb is missing (apt-get install xvfb)" >&2; return 1; }
  rm -f "$state/display"
  # -displayfd lets the server pick a free display number and tell us which.
  # -noreset: properties set on the root window (the desktop's Xft.dpi) stay
  # when the last client disconnects.
  # The screen holds the editor's largest window at display scale 2.0
  # (1840 x 2152 plus the host's frame at 40,40): what lies off the screen
  # cannot be captured.
  setsid Xvfb -displayfd 3 -screen 0 2560x2400x24 -nolisten tcp -noreset \
    3>"$state/display.tmp" 9>&- </dev/null >/dev/null 2>&1 &
  echo $! >"$state/xvfb.pid"
  for _ in $(seq 1 100); do
    if [ -s "$state/display.tmp" ]; then
      echo ":$(tr -dc 0-9 <"$state/display.tmp")" >"$state/display"
      return 0
    fi
    sleep 0.05
  done
  echo "wine-env: Xvfb did not start" >&2
  return 1
}

start_prefix() {
  [ -f "$WINEPREFIX/.korvex-ready" ] && return 0
  command -v wine >/dev/null || { echo "wine-env: wine is missing (apt-get install wine wine64)" >&2; return 1; }
  wineboot -i 9>&- </dev/null >/dev/null 2>&1
  # Managed=N: without a window manager every top-level DestroyWindow stalls 2 s.
  # ShowCrashDialog=0: a crash must end the test, not wait for a click.
  cat >"$state/prefix.reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000
REG
  wine regedit /S "$state/prefix.reg" 9>&- </dev/null >/dev/null 2>&1
  wineserver -w 9>&-
  touch "$WINEPREFIX/.korvex-ready"
}

start_server() {
  # One persistent server per prefix; it outlives the programs until 'stop'.
  # The rundll32 call starts Wine's helper processes with their output detached;
  # otherwise they inherit a test's output pipe and 'wine x.exe | grep' can hang.
  if [ -f "$state/server.up" ] && pgrep -x 'wineserver(64)?' >/dev/null 2>&1; then return 0; fi
  setsid wineserver -p 9>&- </dev/null >/dev/null 2>&1
  wine rundll32.exe user32.dll,GetDesktopWindow 9>&- </dev/null >/dev/null 2>&1
  touch "$state/server.up"
}

start_all() {
  (
    flock 9
    start_display && start_prefix && DISPLAY=$(cat "$state/display") start_server
  ) 9>"$state/lock"
}

stop_all() {
  (
    flock 9
    wineserver -k 2>/dev/null
    rm -f "$state/server.up"
    if display_alive; then kill "$(cat "$state/xvfb.pid")" 2>/dev/null; fi
    rm -f "$state/xvfb.pid" "$state/display" "$state/display.tmp"
  ) 9>"$state/lock"
}

case "${1:-}" in
  run)
    shift
    [ $# -ge 1 ] || { echo "usage: wine-env.sh run PROGRAM [ARGS...]" >&2; exit 2; }
    start_all || exit 125
    export DISPLAY; DISPLAY=$(cat "$state/display")
    exec wine "$@"
    ;;
  display)
    shift
    [ $# -ge 1 ] || { echo "usage: wine-env.sh display PROGRAM [ARGS...]" >&2; exit 2; }
    ( flock 9; start_display ) 9>"$state/lock" || exit 125
    export DISPLAY; DISPLAY=$(cat "$state/display")
    exec "$@"
    ;;
  start) start_all ;;
  stop) stop_all ;;
  env)
    start_all || exit 125
    printf 'export WINEPREFIX=%q DISPLAY=%q WINEDEBUG=%q WINEDLLOVERRIDES=%q\n' \
      "$WINEPREFIX" "$(cat "$state/display")" "$WINEDEBUG" "$WINEDLLOVERRIDES"
    ;;
  *) echo "usage: wine-env.sh run PROGRAM [ARGS...] | display PROGRAM [ARGS...] | start | stop | env" >&2; exit 2 ;;
esac
