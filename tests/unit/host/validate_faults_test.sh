#!/usr/bin/env bash
# The validator against a plug-in with planted faults:
#   validate_faults_test.sh FAULTY_PLUGIN HOST-COMMAND...
# (HOST-COMMAND is the host itself, or "wine-env.sh run korvex-host.exe").
# Without a fault the small plug-in does everything right and must pass the
# whole battery; each planted fault must make its own check fail (and the
# run exit 1), so no check of the battery is one that cannot fail.
set -u
plugin=$1; shift
host=("$@")
if [ "${host[1]:-}" = run ] && [[ "${host[0]}" == *wine-env.sh ]]; then
  eval "$("${host[0]}" env)" || exit 1  # once, then wine directly
  host=(wine "${host[@]:2}")
fi
status=0

out=$("${host[@]}" validate --strictness 3 "$plugin" 2>&1); rc=$?
if [ $rc -ne 0 ] || ! grep -qE '^[0-9]+ passed, 0 failed' <<<"$out"; then
  echo "the fault-free plug-in did not pass (exit $rc):"; grep -v '^PASS' <<<"$out"; status=1
fi
grep -q '^SKIP  editor opens and closes: skipped (no editor)' <<<"$out" || { echo "editor checks did not skip"; status=1; }

# Under Wine the faults marked "all" run: the checks are the same code, but
# threads, library loading and timing are the platform's own.
under_wine=0
[ "${host[0]}" = wine ] && under_wine=1

# fault | the check that must find it | words its reason must contain | where
while IFS='|' read -r fault check reason where; do
  [ -n "$fault" ] || continue
  [ $under_wine -eq 1 ] && [ "$where" != all ] && continue
  out=$(KORVEX_FAULT=$fault "${host[@]}" validate --strictness 2 --only "$check" "$plugin" 2>&1); rc=$?
  line=$(grep -F "FAIL  $check" <<<"$out")
  if [ $rc -ne 1 ] || [ -z "$line" ]; then
    echo "fault $fault: '$check' did not fail (exit $rc): $out"; status=1
  elif ! grep -qF -- "$reason" <<<"$line"; then
    echo "fault $fault: reason lacks '$reason': $line"; status=1
  fi
done <<'FAULTS'
nan-output|loud, DC and denormal input|not finite|native
subnormal-output|silence in, silence out|subnormal|native
overrun|block sizes|wrote past its end|all
long-name|texts fit host buffers|runs past 24 bytes|native
shared-parameter|instances alive together|another instance's value|all
chunk-counter|bank chunk round trip|byte 0 differs|native
dc-offset|silence in, silence out|silence in gives output|native
block-gain|output does not depend on block size|differ from blocks of 64|native
bypass-ignored|bypass passes the input unchanged|differs from the input|all
in-place-alias|processing in place|in place differs|native
program-drift|programs keep their values|changed their values|native
refused-but-changed|damaged chunks|changed the state|native
nan-parameter|hostile parameter values while audio runs|not finite|all
endless-tail|silence after the tail|still above -120 dBFS|all
FAULTS
exit $status
