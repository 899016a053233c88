#!/usr/bin/env bash
# `korvex-host editor` in the native build without an X display: one line
# saying so and exit 1, after the plug-in was loaded and closed again; bad
# arguments are still exit 2.
#   editor_native_test.sh HOST PLUGIN WORK-DIR
set -u
host=$1 plugin=$2 work=$3
mkdir -p "$work" && rm -f "$work"/shot.png*
status=0
err=$(env -u DISPLAY "$host" editor --screenshot "$work/shot.png" "$plugin" 2>&1 >/dev/null); rc=$?
[ $rc -eq 1 ] || { echo "exit $rc, expected 1"; status=1; }
[ "$err" = "korvex-host: editor: no X display to open the editor in (is DISPLAY set?)" ] || { echo "message: $err"; status=1; }
ls "$work"/shot.png* >/dev/null 2>&1 && { echo "a screenshot file was left"; status=1; }
err=$("$host" editor --drag 1,2 "$plugin" 2>&1 >/dev/null); rc=$?
[ $rc -eq 2 ] || { echo "bad --drag: exit $rc, expected 2"; status=1; }
[ "$err" = "korvex-host: editor: bad --drag '1,2' (use X1,Y1,X2,Y2[,STEPS], 1 to 1000 steps)" ] ||
  { echo "bad --drag message: $err"; status=1; }
exit $status
