#!/usr/bin/env bash
# The demo's Linux picture: the native plug-in's editor in a real X11 window
# of the native host, on the same private display as the Windows pictures,
# and the check that it shows exactly what the Windows DLL shows.
#   demo-linux.sh WINE-ENV NATIVE-BUILD-DIR OUT-DIR
set -eu
wine_env=$1 native=$2 out=$3
"$wine_env" display "$native/korvex-host" editor --screenshot "$out/editor-linux.png" "$native/korvex52.so"
if "$native/png_check" same "$out/editor.png" "$out/editor-linux.png" >/dev/null; then
  echo "  editor-linux.png (pixel for pixel the same as editor.png)"
else
  echo "  editor-linux.png DIFFERS from editor.png:" >&2
  "$native/png_check" same "$out/editor.png" "$out/editor-linux.png" >&2
  exit 1
fi
