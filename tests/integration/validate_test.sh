#!/usr/bin/env bash
# The validation battery on the real DLL under Wine:
#   validate_test.sh DLL STRICTNESS HOST-COMMAND... [-- EXTRA-OPTIONS...]
# Every check passes or skips with its reason; "N passed, 0 failed" ends the
# output. While the plug-in has no editor object the editor checks must say
# "skipped (no editor...)"; once it has one, they must pass (run with
# --require-editor, and any skip other than a missing window system fails).
set -u
dll=$1 strictness=$2; shift 2
host=()
while [ $# -gt 0 ] && [ "$1" != -- ]; do host+=("$1"); shift; done
[ "${1:-}" = -- ] && shift
extra=("$@")
if [ "${host[1]:-}" = run ] && [[ "${host[0]}" == *wine-env.sh ]]; then
  eval "$("${host[0]}" env)" || exit 1
  host=(wine "${host[@]:2}")
fi
out=$("${host[@]}" validate --strictness "$strictness" "${extra[@]}" "$dll" 2>&1); rc=$?
printf '%s\n' "$out"
status=0
[ $rc -eq 0 ] || { echo "validate exited $rc"; status=1; }
grep -qE '^[0-9]+ passed, 0 failed \([0-9]+ skipped\)$' <<<"$out" || { echo "no clean summary line"; status=1; }
checks=$(grep -cE '^(PASS|FAIL|SKIP)  ' <<<"$out")
[ "$checks" -ge 30 ] || { echo "only $checks checks ran"; status=1; }
# Skips are allowed only for a missing editor or a feature the plug-in lacks.
bad_skips=$(grep -E '^SKIP  ' <<<"$out" | grep -vE ': skipped \(no editor' )
[ -z "$bad_skips" ] || { echo "unexpected skips:"; echo "$bad_skips"; status=1; }
exit $status
