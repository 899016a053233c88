#!/usr/bin/env bash
# The demo: the built-in test signal through the real plug-in with
# its default settings, with a long decay, and through every factory preset;
# then pictures of the editor and its About box from real windows.
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

# The editor as a user sees it, from a real window of the host: at its
# default size, and the About box its info button opens (the button sits at
# 52,11 on the 144-pixel panel, which is centred in the 364-pixel window).
echo
echo "Taking pictures of the editor into $out/:"
"$host" editor --screenshot "$out/editor.png" "$dll"
echo "  editor.png"
"$host" editor --click 162,11 --screenshot-window "KORVEX52 VST Plug-In" "$out/about.png" "$dll"
echo "  about.png"
