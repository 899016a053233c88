#!/usr/bin/env bash
# The shipped plug-in library exports the entry point under its two names and
# nothing else, needs only the system's own libraries (the C++ runtime is
# linked in), and holds nothing of when or where it was built (no link time,
# no path of the source tree), so that builds in two folders are identical:
#   binary_test.sh x86_64-w64-mingw32-objdump korvex52.dll SOURCE-TREE
#   binary_test.sh readelf korvex52.so SOURCE-TREE
# On Linux the allowed libraries are the C and maths libraries, the X
# libraries of the editor, and the dynamic loader, which the linked-in C++
# runtime needs for its thread-local storage.
set -u
tool=$1 library=$2 tree=$3
export LC_ALL=C TZ=UTC
status=0
if [[ $library == *.so ]]; then
  exports=$("$tool" --dyn-syms -W "$library" | awk '$1 ~ /^[0-9]+:$/ && $7 != "UND" { print $8 }') || exit 1
  needs=$("$tool" -d "$library" | sed -n 's/.*(NEEDED).*\[\(.*\)\]$/\1/p') || exit 1
  allowed="libc.so.6 libm.so.6 libX11.so.6 libXext.so.6 ld-linux-x86-64.so.2"
else
  dump=$("$tool" -p "$library") || exit 1
  exports=$(sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/s/^\s*\[\s*[0-9]*\] //p' <<<"$dump")
  needs=$(sed -n 's/^\s*DLL Name: //p' <<<"$dump" | tr 'a-z' 'A-Z')
  allowed="KERNEL32.DLL USER32.DLL GDI32.DLL SHELL32.DLL WINMM.DLL MSVCRT.DLL"
  grep -qE '^Time/Date\s+Thu Jan  1 00:00:00 1970$' <<<"$dump" ||
    { echo "the header holds a link time: $(grep '^Time/Date' <<<"$dump")"; status=1; }
fi
if grep -qF "$tree" "$library"; then
  echo "the library holds the path of the tree it was built in, $tree"
  status=1
fi
exports=$(sort -u <<<"$exports" | xargs)
if [ "$exports" != "VSTPluginMain main" ]; then
  echo "exports $(wc -w <<<"$exports") symbols, not just VSTPluginMain and main: $(cut -d' ' -f1-6 <<<"$exports") ..."
  status=1
fi
needs=$(sort -u <<<"$needs" | xargs)
[ -n "$needs" ] || { echo "no needed libraries found"; status=1; }
for name in $needs; do
  [[ " $allowed " == *" $name "* ]] || { echo "unexpected library: $name"; status=1; }
done
[ $status -eq 0 ] && echo "exports: $exports" && echo "needs: $needs"
exit $status
