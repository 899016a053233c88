#!/usr/bin/env bash
# `korvex-host editor` against a probe plug-in whose editor answers every
# kind of input in one known way (probe_editor_plugin.cpp), so the host's
# own part is pinned down independently of the product's editor: the window
# is sized from effEditGetRect, captures are exact, real pointer input
# arrives in order, audioMasterSizeWindow resizes the client area, other
# top-level windows are listed, captured and clicked by their title.
#   probe_editor_test.sh HOST.exe PROBE.dll WINE-ENV PNG-CHECK.exe WORK-DIR
set -u
host_exe=$1 dll=$2 wine_env=$3 png_check=$4 work=$5
mkdir -p "$work" && rm -f "$work"/*.png "$work"/*.txt
status=0
fail() { echo "FAIL: $*"; status=1; }
editor() {  # expected exit status, output name, then the options
  local want=$1 name=$2; shift 2
  "$wine_env" run "$host_exe" editor "$@" "$dll" >"$work/$name.txt" 2>&1
  local rc=$?
  [ $rc -eq "$want" ] || { fail "editor $* exited $rc, expected $want"; cat "$work/$name.txt"; }
}
png() { "$wine_env" run "$png_check" "$@"; }
expect_line() {
  grep -qE -- "$2" "$1" || { fail "no line matching '$2' in $(basename "$1"):"; cat "$1"; }
}

# Opened at the size the editor reports; level 0.25 paints red 64.
editor 0 open --list-windows --screenshot "$work/open.png"
expect_line "$work/open.txt" '^host window "korvex-host - Probe": client 200x120 at '
[ "$(png size "$work/open.png")" = 200x120 ] || fail "screenshot is not 200x120"
for at in 0,0 199,0 0,119 199,119 100,60; do
  [ "$(png pixel "$work/open.png" $at)" = 64,64,128 ] || fail "pixel $at is $(png pixel "$work/open.png" $at)"
done

# A drag from x 20 to x 150: begin, automations, end, in that order; the
# level follows the pointer to 150 / 200 and the picture follows the level.
editor 0 drag --log-host-calls --drag 20,60,150,60,13 --print-params --screenshot "$work/drag.png"
order=$(grep -E '^(beginEdit|automate|endEdit) ' "$work/drag.txt" | cut -d' ' -f1 | uniq | tr '\n' ' ')
[ "$order" = "beginEdit automate endEdit " ] || fail "gestures came as: $order"
moves=$(grep -c '^automate 0 ' "$work/drag.txt")
[ "$moves" -ge 13 ] || fail "only $moves automation calls for 13 moves"
[ "$(grep '^automate 0 ' "$work/drag.txt" | tail -1)" = "automate 0 0.750000" ] || fail "last automation is not 0.75"
expect_line "$work/drag.txt" '^param 0 Level 0\.750000$'
[ "$(png pixel "$work/drag.png" 100,60)" = 191,64,128 ] || fail "after the drag the editor shows $(png pixel "$work/drag.png" 100,60)"
png differs "$work/open.png" "$work/drag.png" 0,0,200,120 >/dev/null || fail "the picture did not change"

# The grip: pressed at 190,110 and released 60 right and 40 down; the host
# takes the size the editor asks for.
editor 0 grip --log-host-calls --drag 190,110,250,150,4 --list-windows --screenshot "$work/grip.png"
expect_line "$work/grip.txt" '^sizeWindow 260 160$'
expect_line "$work/grip.txt" '^host window "korvex-host - Probe": client 260x160 at '
[ "$(png size "$work/grip.png")" = 260x160 ] || fail "after the grip the screenshot is not 260x160"

# A double click opens the probe's dialog; it is listed with its place and
# size, captured by its title, and closed by a click in it.
editor 0 dialog --double-click 50,50 --list-windows --screenshot-window "Probe Dialog" "$work/dialog.png" \
  --click-window "Probe Dialog" 10,10 --list-windows
[ "$(grep -c '^window "Probe Dialog": 240x160 at 600,300$' "$work/dialog.txt")" = 1 ] ||
  { fail "the dialog was not listed once at 600,300"; cat "$work/dialog.txt"; }
[ "$(grep -c '^host window' "$work/dialog.txt")" = 2 ] || fail "expected two listings"
[ "$(png size "$work/dialog.png")" = 240x160 ] || fail "the dialog picture is not 240x160"
[ "$(png pixel "$work/dialog.png" 120,80)" = 0,160,0 ] || fail "the dialog picture shows $(png pixel "$work/dialog.png" 120,80)"

# What cannot be done is a one-line failure, exit 1.
editor 1 missing --click-window "No Such Window" 1,1
[ "$(cat "$work/missing.txt")" = "korvex-host: editor: no window titled 'No Such Window'" ] ||
  fail "missing window: $(cat "$work/missing.txt")"
editor 1 nochunk --size 300x200 --screenshot "$work/never.png"
[ "$(cat "$work/nochunk.txt")" = "korvex-host: editor: --size needs a plug-in that keeps the editor size in its program chunk" ] ||
  fail "--size without chunks: $(cat "$work/nochunk.txt")"
[ ! -e "$work/never.png" ] || fail "a screenshot was taken after a failed set-up"
exit $status
