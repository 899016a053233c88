#!/usr/bin/env bash
# The validation battery on the real plug-in (the DLL under Wine, or the
# native library):
#   validate_test.sh PLUGIN STRICTNESS HOST-COMMAND... [-- EXTRA-OPTIONS...]
# "N passed, 0 failed" ends the output. With --require-editor every check
# must pass; without it only the editor checks may skip, and only for want
# of a display to open the editor on.
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
skips=$(grep -E '^SKIP  ' <<<"$out")
if [[ " ${extra[*]} " != *" --require-editor "* ]]; then
  skips=$(grep -vE '^SKIP  editors? [^:]*: skipped \(no X display' <<<"$skips")
fi
[ -z "$skips" ] || { echo "unexpected skips:"; echo "$skips"; status=1; }
exit $status
