#!/usr/bin/env bash
# The native plug-in in a real DAW: Ardour's headless session tool (Debian's
# ardour package) puts it on a stereo track, reads and sets its parameters and
# plays audio through it (ardour_session.lua says what is checked):
#   ardour_test.sh PLUGIN.so WORK-DIR
# Ardour finds Linux VST plug-ins only on its own path and, without its GUI,
# only through its scanner's cache: the test gives Ardour a home folder whose
# configuration names the plug-in's folder, and scans the plug-in once.
set -u
plugin=$1 work=$2
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
scanner=/usr/lib/ardour7/ardour-vst-scanner
# Ardour is one of the suite's Debian packages (`make test` installs it):
# without it the test fails, it never passes unseen.
if ! command -v ardour7-lua >/dev/null || [ ! -x "$scanner" ]; then
  echo "FAIL: Ardour 7 is missing (apt-get install ardour)"
  exit 1
fi
rm -rf "$work" && mkdir -p "$work/vst" "$work/home/.config/ardour7" || exit 1
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_CACHE_HOME=$work/home/.cache
installed=$work/vst/$(basename "$plugin")
cp "$plugin" "$installed" || exit 1
# The cache counts only when it is newer than the plug-in by whole seconds.
touch -d '1 minute ago' "$installed"
cat >"$XDG_CONFIG_HOME/ardour7/config" <<CONFIG
<?xml version="1.0" encoding="UTF-8"?>
<Ardour>
  <Config>
    <Option name="plugin-path-lxvst" value="$work/vst"/>
  </Config>
</Ardour>
CONFIG
status=0
LD_LIBRARY_PATH=/usr/lib/ardour7 "$scanner" -f "$installed" >"$work/scan.txt" 2>&1 ||
  { echo "FAIL: Ardour's scanner refused the plug-in:"; cat "$work/scan.txt"; exit 1; }
timeout 120 ardour7-lua "$here/ardour_session.lua" "$work/session" >"$work/ardour.txt" 2>&1
rc=$?
cat "$work/ardour.txt"
[ $rc -eq 0 ] || { echo "FAIL: ardour7-lua exited $rc"; status=1; }
if grep -qE '^(\[(ERROR|FATAL)\]|Error:)' "$work/ardour.txt"; then
  echo "FAIL: Ardour reported errors"
  status=1
fi
exit $status
