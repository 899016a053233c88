#!/usr/bin/env bash
# Audio through the real DLL under Wine: bit-exact in bypass, and the same
# sound as the native build of the same sources (the two math libraries may
# differ in the last bit, so within a small tolerance).
set -u
host_exe=$1 dll=$2 wine_env=$3 native_host=$4 native_plugin=$5 work=$6
# The native side comes from the other build tree: without it the comparison
# cannot be made, which is a failure, never a pass.
for built in "$native_host" "$native_plugin"; do
  [ -f "$built" ] || { echo "needs the native build: $built is missing (make native)"; exit 1; }
done
mkdir -p "$work" && rm -f "$work"/*.wav
win() { "$wine_env" run "$host_exe" "$@"; }
status=0
win testsignal "$work/dry.wav" || exit 1
win render --bypass --tail 0 --block 100 "$dll" "$work/dry.wav" "$work/bypass.wav" || exit 1
win compare "$work/dry.wav" "$work/bypass.wav" || { echo "bypass is not bit-exact"; status=1; }
for settings in "" "--param 0=1 --param 3=0.4 --param Width=0.2"; do
  # shellcheck disable=SC2086
  win render --tail 1 --block 333 $settings "$dll" "$work/dry.wav" "$work/wine.wav" || exit 1
  # shellcheck disable=SC2086
  "$native_host" render --tail 1 --block 333 $settings "$native_plugin" "$work/dry.wav" "$work/native.wav" || exit 1
  win compare --tolerance 1e-5 "$work/native.wav" "$work/wine.wav" || { echo "DLL and native differ ($settings)"; status=1; }
done
# A failed render leaves no output file behind.
win render "$dll" "$work/missing-input.wav" "$work/never.wav" 2>/dev/null
[ $? -eq 2 ] || { echo "missing input: expected exit 2"; status=1; }
ls "$work"/never.wav* >/dev/null 2>&1 && { echo "a partial output file was left"; status=1; }
exit $status
