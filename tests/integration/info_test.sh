#!/usr/bin/env bash
# korvex-host info through the real Windows DLL under Wine: the identity and
# the ten parameters with their default texts, as the plug-in reports them.
set -u
host_exe=$1 dll=$2 wine_env=$3
out=$("$wine_env" run "$host_exe" info "$dll" 2>&1) || { echo "info failed: $out"; exit 1; }
status=0
expect() {
  if ! grep -qE -- "$1" <<<"$out"; then echo "missing: $1"; status=1; fi
}
expect '^Effect: +KORVEX52$'
expect '^Product: +Plate Reverb$'
expect '^Vendor: +Corvane Audio Systems Ltd \(version 3140\)$'
expect '^VST version: +2400$'
expect "^Unique ID: +'KV52'"
expect '^Flags: +49 '
expect '^I/O: +2 in, 2 out$'
expect '^ +0 +RT60 Time +0\.00 sec '
expect '^ +1 +Damping +0\.0 '
expect '^ +2 +Mix +50\.00 % '
expect '^ +3 +Pre Delay +0\.00 ms '
expect '^ +4 +Width +50\.00 % '
expect '^ +5 +Out Trim +0\.00 dB '
expect '^ +6 +In Trim +0\.00 dB '
expect '^ +7 +Wet Only +Off '
expect '^ +8 +Mute +Off '
expect '^ +9 +Effect +In '
expect '^ +7 +08 Large Plate$'
json=$("$wine_env" run "$host_exe" info --json "$dll" 2>&1) || { echo "info --json failed"; exit 1; }
for field in '"effect": "KORVEX52"' '"vendorVersion": 3140' '"uniqueId": "KV52"' \
             '"name": "Pre Delay", "display": "0.00 ms"' '"name": "10 Wide"'; do
  grep -qF -- "$field" <<<"$json" || { echo "json missing: $field"; status=1; }
done
[ $status -eq 0 ] || printf '%s\n' "$out"
exit $status
