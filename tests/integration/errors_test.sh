#!/usr/bin/env bash
# Bad input to korvex-host: one line on stderr naming the problem, exit 2.
set -u
host_exe=$1 dll=$2 wine_env=$3
status=0
check() {  # expected-pattern, then the host's arguments
  local pattern=$1; shift
  local err rc
  err=$("$wine_env" run "$host_exe" "$@" 2>&1 >/dev/null); rc=$?
  if [ $rc -ne 2 ]; then echo "'$*': exit $rc, expected 2"; status=1; fi
  if [ "$(printf '%s\n' "$err" | grep -c .)" -ne 1 ]; then echo "'$*': expected one line, got: $err"; status=1; fi
  if ! grep -qE -- "$pattern" <<<"$err"; then echo "'$*': '$err' does not match $pattern"; status=1; fi
}
check "no such file" info /nonexistent/plugin.dll
check "exports neither VSTPluginMain nor main" info "$host_exe"
check "unknown option '--bogus'" info --bogus "$dll"
check "unknown command 'frobnicate'" frobnicate
check "missing plug-in path" info
check "^korvex-host: editor: bad --click '5' \\(use X,Y\\)$" editor --click 5 "$dll"
check "^korvex-host: editor: --screenshot file 'shot.bmp' is not a .png$" editor --screenshot shot.bmp "$dll"
check "^korvex-host: cannot open plug-in '/nonexistent/plugin.dll': no such file$" editor /nonexistent/plugin.dll
exit $status
