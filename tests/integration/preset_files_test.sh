#!/usr/bin/env bash
# Preset and bank files through korvex-host and a real plug-in:
#   preset_files_test.sh WORKDIR PLUGIN HOST-COMMAND...
# (HOST-COMMAND is the host itself, or "wine-env.sh run korvex-host.exe").
# A bank built program by program survives saving and loading into fresh
# instances; a preset round trip changes nothing; renders from files equal
# renders from the same settings; damaged files are refused in one line.
set -u
work=$1 plugin=$2; shift 2
host=("$@")
if [ "${host[1]:-}" = run ] && [[ "${host[0]}" == *wine-env.sh ]]; then
  # Set the Wine environment up once and call wine directly: each
  # "wine-env.sh run" re-checks (and may restart) the shared server.
  eval "$("${host[0]}" env)" || exit 1
  host=(wine "${host[@]:2}")
fi
mkdir -p "$work" && rm -f "$work"/*
status=0
fail() { echo "FAIL: $*"; status=1; }

# Program p gets parameter p edited; the displays expected follow from the
# parameter mappings (RT60 x3 s, Damping x10, Mix %, Pre Delay x250 ms,
# Width %, trims x12-6 dB, switches on above 0.5).
values=(0.5 0.33 0.2 0.6 0.1 0.75 0.25 1 1 0)
expected=("RT60 Time 1.50 sec" "Damping 3.3" "Mix 20.00 %" "Pre Delay 150.00 ms" "Width 10.00 %"
          "Out Trim 3.00 dB" "In Trim -3.00 dB" "Wet Only On" "Mute On" "Effect Out")
names=("01 User Preset 1" "02 User Preset 2" "03 User Preset 3" "04 User Preset 4" "05 Ambience"
       "06 Damped" "07 Bright Plate" "08 Large Plate" "09 Mono" "10 Wide")

# Five programs get their edit, each save starting a fresh instance from the
# previous file, so every step is also a load; the other five keep their
# factory values.
edited=(0 3 5 7 9)
previous=()
for p in "${edited[@]}"; do
  "${host[@]}" bank save "${previous[@]}" --program $p --param $p=${values[$p]} \
    "$plugin" "$work/bank$p.fxb" || fail "bank save of program $p"
  previous=(--bank "$work/bank$p.fxb")
done
bank=$work/bank9.fxb
[ "$(stat -c %s "$bank")" -eq 960 ] || fail "a bank file is a 160-byte header and the 800-byte chunk"

listing=$("${host[@]}" bank load "$plugin" "$bank") || fail "bank load"
grep -q "^Bank: .*'KV52' version 1, 10 programs, current 9, 800-byte chunk" <<<"$listing" || fail "bank header line"
for p in 0 1 2 3 4 5 6 7 8 9; do
  line=$(grep -E "^ +$p  ${names[$p]} " <<<"$listing")
  [ -n "$line" ] || { fail "program $p (${names[$p]}) missing"; continue; }
  if [[ " ${edited[*]} " == *" $p "* ]]; then
    grep -qF "${expected[$p]}" <<<"$line" || fail "program $p lost its edit '${expected[$p]}': $line"
  elif grep -qF "${expected[$p]}" <<<"$line"; then
    fail "program $p took another program's edit: $line"
  fi
done
# Beside its edit, "08 Large Plate" keeps its factory values; "05 Ambience"
# is untouched.
grep -E "^ +7  08 Large Plate " <<<"$listing" | grep -qF "RT60 Time 2.15 sec | Damping 5.1 | Mix 31.50 % | Pre Delay 92.10 ms | Width 80.00 %" \
  || fail "program 7 lost its factory values"
grep -E "^ +4  05 Ambience " <<<"$listing" | grep -qF "RT60 Time 0.78 sec | Damping 6.1 | Mix 18.42 % | Pre Delay 39.47 ms | Width 80.30 % | Out Trim 0.00 dB" \
  || fail "program 4 lost its factory values"

# A loaded bank saved again is the same file, byte for byte.
"${host[@]}" bank save --bank "$bank" "$plugin" "$work/again.fxb" || fail "bank resave"
cmp -s "$bank" "$work/again.fxb" || fail "bank round trip changed the file"

# A preset round trip changes nothing either.
"${host[@]}" preset save --bank "$bank" --program 5 "$plugin" "$work/p5.fxp" || fail "preset save"
[ "$(stat -c %s "$work/p5.fxp")" -eq 140 ] || fail "a preset file is a 60-byte header and the 80-byte chunk"
"${host[@]}" preset save --preset "$work/p5.fxp" "$plugin" "$work/p5again.fxp" || fail "preset resave"
cmp -s "$work/p5.fxp" "$work/p5again.fxp" || fail "preset round trip changed the file"
shown=$("${host[@]}" preset load "$plugin" "$work/p5.fxp") || fail "preset load"
grep -q '^Preset: .*"06 Damped", 80-byte chunk' <<<"$shown" || fail "preset header line: $shown"
grep -E '^ +5  06 Damped ' <<<"$shown" | grep -qF "Out Trim 3.00 dB" || fail "preset load shows the edit: $shown"

# Audio from files equals audio from the same settings given directly.
"${host[@]}" testsignal "$work/dry.wav" || fail "testsignal"
render() { "${host[@]}" render --tail 0.5 --block 256 "$@"; }
render --bank "$bank" --program 3 "$plugin" "$work/dry.wav" "$work/from-bank.wav" || fail "render --bank"
render --program 3 --param 3=0.6 "$plugin" "$work/dry.wav" "$work/direct3.wav" || fail "render direct 3"
"${host[@]}" compare "$work/direct3.wav" "$work/from-bank.wav" >/dev/null || fail "render --bank differs from the same settings"
render --preset "$work/p5.fxp" "$plugin" "$work/dry.wav" "$work/from-preset.wav" || fail "render --preset"
render --program 5 --param 5=0.75 "$plugin" "$work/dry.wav" "$work/direct5.wav" || fail "render direct 5"
"${host[@]}" compare "$work/direct5.wav" "$work/from-preset.wav" >/dev/null || fail "render --preset differs from the same settings"

# Damaged files: one line naming the problem, exit 2, no output left behind.
patch() { printf "$3" | dd of="$1" bs=1 seek="$2" conv=notrunc status=none; }
cp "$work/p5.fxp" "$work/other-id.fxp" && patch "$work/other-id.fxp" 16 ABCD
cp "$work/p5.fxp" "$work/bad-magic.fxp" && patch "$work/bad-magic.fxp" 0 CcnX
head -c 40 "$work/p5.fxp" >"$work/truncated.fxp"
cp "$bank" "$work/long.fxb" && printf 'x' >>"$work/long.fxb"
cp "$bank" "$work/chunk-size.fxb" && patch "$work/chunk-size.fxb" 156 '\000\000\003\041'
refused() {  # expected-pattern, then the host's arguments
  local pattern=$1; shift
  local err rc
  err=$("${host[@]}" "$@" 2>&1 >/dev/null); rc=$?
  [ $rc -eq 2 ] || fail "'$*': exit $rc, expected 2"
  [ "$(printf '%s\n' "$err" | grep -c .)" -eq 1 ] || fail "'$*': expected one line, got: $err"
  grep -qE -- "$pattern" <<<"$err" || fail "'$*': '$err' does not match $pattern"
}
refused "preset load: '.*other-id.fxp': different unique id: the preset is for plug-in 'ABCD', this one is 'KV52'" \
  preset load "$plugin" "$work/other-id.fxp"
refused "wrong magic: the file begins with 'CcnX', not 'CcnK'" preset load "$plugin" "$work/bad-magic.fxp"
refused "wrong magic: the file begins with 'RIFF'" bank load "$plugin" "$work/dry.wav"
refused "truncated header: 40 bytes, a preset file's header has 60" preset load "$plugin" "$work/truncated.fxp"
refused "size mismatch: the header counts 952 bytes after its size field, the file holds 953 bytes" \
  bank load "$plugin" "$work/long.fxb"
refused "size mismatch: the chunk size field says 801 bytes, 800 bytes follow" bank load "$plugin" "$work/chunk-size.fxb"
refused "wrong magic: 'FBCh' is a bank, expected 'FPCh'" preset load "$plugin" "$bank"
refused "cannot read '.*missing.fxb'" bank load "$plugin" "$work/missing.fxb"
refused "render: '.*other-id.fxp': different unique id" render --preset "$work/other-id.fxp" "$plugin" "$work/dry.wav" "$work/never.wav"
refused "bank save: '.*truncated.fxp': truncated header" bank save --preset "$work/truncated.fxp" "$plugin" "$work/never.fxb"
ls "$work"/never.* >/dev/null 2>&1 && fail "a refused file still produced output"
exit $status
