#!/usr/bin/env bash
# The demo's audio: the built-in test signal through the real plug-in with
# its default settings, with a long decay, and through every factory preset.
set -eu
host=$1 dll=$2 out=$3
mkdir -p "$out"
echo
echo "Rendering the built-in test signal into $out/:"
render() {
  local name=$1; shift
  "$host" render "$@" "$dll" "$out/$name.wav"
  echo "  $name.wav"
}
render default
render long-decay --param "RT60 Time=1.0" --param "Mix=0.4" --tail 6
programs=("05-ambience" "06-damped" "07-bright-plate" "08-large-plate" "09-mono" "10-wide")
for i in "${!programs[@]}"; do
  render "${programs[$i]}" --program $((i + 4))
done
