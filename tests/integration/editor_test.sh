#!/usr/bin/env bash
# The real editor of the real plug-in in a real window on the project's Xvfb,
# driven by `korvex-host editor` with real pointer input: the DLL under Wine
# (SendInput), or the native .so in X11 (XTEST), with the same expectations:
#   editor_test.sh SCENARIO HOST PLUGIN WINE-ENV PNG-CHECK WORK-DIR [GOLDEN.png]
# Programs named *.exe run under Wine, others natively on the same display.
# Scenarios:
#   screenshot  the window shows exactly the headless render of the same size
#   scale2      X11 only: with the desktop's Xft.dpi at 192 the default window
#               is 728 x 1076 and shows exactly the headless render at scale 2
#   resize      a stored size from a chunk and a drag on the grip resize the host window
#   pointer     a drag on the Mix knob and a click on the Effect button automate
#   about       the info button opens the About box in its own window; Ok closes it
# Positions come from the editor's layout: the 144 x 538 panel is centred in
# the window (at the default 364 x 538 it starts at x 110, zoom 1).
set -u
scenario=$1 host_exe=$2 dll=$3 wine_env=$4 png_check=$5 work=$6 golden=${7:-}
mkdir -p "$work" && rm -f "$work"/*.png "$work"/*.txt
status=0
fail() { echo "FAIL: $*"; status=1; }
run() {
  case "$1" in
    *.exe) "$wine_env" run "$@" ;;
    *) "$wine_env" display "$@" ;;
  esac
}
editor() {  # runs the editor command, output into $work/$1.txt
  local name=$1; shift
  run "$host_exe" editor "$@" "$dll" >"$work/$name.txt" 2>&1
  local rc=$?
  [ $rc -eq 0 ] || { fail "editor $* exited $rc"; cat "$work/$name.txt"; }
  ! grep -q 'X error' "$work/$name.txt" || { fail "X errors in editor $*"; cat "$work/$name.txt"; }
}
png() { run "$png_check" "$@"; }
expect_line() {  # file, extended regex
  grep -qE -- "$2" "$1" || { fail "no line matching '$2' in $(basename "$1"):"; cat "$1"; }
}
panel_x=110

case "$scenario" in
screenshot)
  editor default --log-host-calls --screenshot "$work/editor.png"
  [ "$(png size "$work/editor.png")" = 364x538 ] || fail "screenshot is $(png size "$work/editor.png"), not 364x538"
  # The toolkit's pixel pipeline is integer and deterministic: the window
  # shows exactly what the headless backend renders.
  png same "$golden" "$work/editor.png" || fail "the window differs from $(basename "$golden")"
  ! grep -q '^sizeWindow' "$work/default.txt" || fail "the editor asked for a size unprompted"
  ;;

scale2)
  # Xft.dpi in the server's resource database is the desktop's scale setting.
  run xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "Xft.dpi: 192"
  editor scale2 --log-host-calls --screenshot "$work/editor.png"
  run xprop -root -remove RESOURCE_MANAGER
  [ "$(png size "$work/editor.png")" = 728x1076 ] || fail "screenshot is $(png size "$work/editor.png"), not 728x1076"
  png same "$golden" "$work/editor.png" || fail "the window differs from $(basename "$golden")"
  ;;

resize)
  # A size stored in the program chunk, restored while the plug-in is new:
  # the editor asks the host for it and the window opens at it.
  editor stored --size 500x600 --log-host-calls --list-windows --screenshot "$work/stored.png"
  expect_line "$work/stored.txt" '^sizeWindow 500 600$'
  expect_line "$work/stored.txt" '^host window ".*": client 500x600 at '
  [ "$(png size "$work/stored.png")" = 500x600 ] || fail "stored size: screenshot is not 500x600"
  # A stored size larger than the screen: the host window reaches past its
  # edge, and a picture of it fails in one line instead of coming back black.
  run "$host_exe" editor --size 3000x3000 --screenshot "$work/huge.png" "$dll" >"$work/huge.txt" 2>&1 &&
    fail "a capture past the screen's edge succeeded"
  { [ "$(wc -l <"$work/huge.txt")" = 1 ] &&
    grep -q "^korvex-host: editor: cannot capture '.*huge.png': .* does not lie wholly on the screen" "$work/huge.txt"; } ||
    { fail "no one-line refusal of the capture past the screen's edge:"; cat "$work/huge.txt"; }
  [ ! -e "$work/huge.png" ] || fail "a picture of a window past the screen's edge was written"
  # A stored size below the minimum of 184 x 538 is raised to it.
  editor small --size 100x100 --log-host-calls --list-windows
  expect_line "$work/small.txt" '^sizeWindow 184 538$'
  expect_line "$work/small.txt" '^host window ".*": client 184x538 at '
  # The grip is the bottom-right 20 x 20 pixels: pressed at 354,528 and
  # dragged by 100 right and 50 down, the window grows by as much.
  editor grip --log-host-calls --drag 354,528,454,578,10 --list-windows
  expect_line "$work/grip.txt" '^sizeWindow 464 588$'
  [ "$(grep '^sizeWindow' "$work/grip.txt" | tail -1)" = "sizeWindow 464 588" ] ||
    fail "the last size asked for is not 464 588"
  expect_line "$work/grip.txt" '^host window ".*": client 464x588 at '
  # A drag far to the right stops at five times the minimum width, 920.
  editor wide --log-host-calls --drag 354,528,1354,538,20 --list-windows
  [ "$(grep '^sizeWindow' "$work/wide.txt" | tail -1)" = "sizeWindow 920 548" ] ||
    fail "a drag beyond the limit did not end at 920 x 548"
  expect_line "$work/wide.txt" '^host window ".*": client 920x548 at '
  ;;

pointer)
  # Mix knob: centre (100, 358) on the panel, radius 22. A press left of
  # the centre and a drag clockwise over the top turns it up.
  mix_x=$((panel_x + 100)) mix_y=358
  editor mix --log-host-calls --screenshot "$work/before.png" \
    --drag $((mix_x - 15)),$((mix_y - 15)),$((mix_x + 15)),$((mix_y - 15)),10 \
    --screenshot "$work/after.png" --print-params
  calls=$(grep -E '^(beginEdit|automate|endEdit) 2( |$)' "$work/mix.txt" | cut -d' ' -f1 | uniq | tr '\n' ' ')
  [ "$calls" = "beginEdit automate endEdit " ] || fail "Mix gestures came as: $calls"
  mix=$(sed -n 's/^param 2 Mix //p' "$work/mix.txt")
  awk -v v="$mix" 'BEGIN { exit !(v > 0.52 && v <= 1.0) }' || fail "Mix is $mix after turning it up"
  last=$(grep '^automate 2 ' "$work/mix.txt" | tail -1 | cut -d' ' -f3)
  [ "$last" = "$mix" ] || fail "the host's last automation of Mix ($last) is not its value ($mix)"
  # The knob's redraw box is its square and two pixels around it.
  png differs "$work/before.png" "$work/after.png" $((mix_x - 24)),$((mix_y - 24)),48,48 ||
    fail "the Mix knob looks the same after the drag"
  # Effect button: 48 x 24 at (48, 446); it starts in, a click takes it out.
  editor effect --log-host-calls --click $((panel_x + 72)),458 --print-params
  expect_line "$work/effect.txt" '^param 9 Effect 0\.000000$'
  calls=$(grep -E '^(beginEdit|automate|endEdit) 9( |$)' "$work/effect.txt" | tr '\n' ' ')
  [ "$calls" = "beginEdit 9 automate 9 0.000000 endEdit 9 " ] || fail "Effect gestures came as: $calls"
  ;;

about)
  # The dialog window's size and place follow from the screen: Xvfb's
  # screen in the Wine set-up, capped at 1920 x 1080; a landscape screen
  # scales the 640 x 480 page by ((height - 720) / 360) x 0.25 + 1, and the
  # window is centred in the work area (the whole screen under Xvfb).
  read -r sw sh < <(grep -oE -- '-screen 0 [0-9]+x[0-9]+' "$wine_env" | head -1 | sed -E 's/.* ([0-9]+)x([0-9]+)/\1 \2/')
  read -r dw dh dx dy ok_x ok_y < <(awk -v sw="$sw" -v sh="$sh" 'BEGIN {
    w = sw < 1920 ? sw : 1920; h = sh < 1080 ? sh : 1080
    z = ((h - 720) / 360) * 0.25 + 1
    dw = int(640 * z + 0.5); dh = int(480 * z + 0.5)
    # The Ok button: 96 x 32 at ((640 - 96) / 2, 300) on the page.
    print dw, dh, int((sw - dw) / 2), int((sh - dh) / 2), int(320 * z + 0.5), int(316 * z + 0.5) }')
  title="KORVEX52 VST Plug-In"
  # The info button: a 32 x 16 frame centred at (52, 11).
  editor about --click $((panel_x + 52)),11 --list-windows \
    --screenshot-window "$title" "$work/about.png" \
    --click-window "$title" "$ok_x,$ok_y" --list-windows
  opened=$(grep -c "^window \"$title\": ${dw}x${dh} at $dx,$dy\$" "$work/about.txt")
  [ "$opened" = 1 ] || { fail "expected one listing of \"$title\" at ${dw}x${dh} at $dx,$dy:"; cat "$work/about.txt"; }
  listings=$(grep -c '^host window' "$work/about.txt")
  [ "$listings" = 2 ] || fail "expected two window listings, got $listings"
  # After Ok, the second listing shows the host window alone.
  [ "$(grep -c "^window \"$title\":" "$work/about.txt")" = 1 ] || fail "the About window stayed after Ok"
  [ "$(png size "$work/about.png")" = "${dw}x${dh}" ] || fail "the About picture is not ${dw}x${dh}"
  ;;

*) echo "unknown scenario '$scenario'"; exit 2 ;;
esac
exit $status
