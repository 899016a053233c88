#!/usr/bin/env bash
# The shipped DLL: exports the entry point under both names, and imports
# nothing but Windows system libraries (the C++ runtime is linked in).
set -u
objdump=$1 dll=$2
dump=$("$objdump" -p "$dll") || exit 1
status=0
for name in VSTPluginMain main; do
  grep -qE "^\s+\[\s*[0-9]+\] $name$" <<<"$dump" || { echo "export $name missing"; status=1; }
done
imports=$(sed -n 's/^\s*DLL Name: //p' <<<"$dump" | tr 'a-z' 'A-Z' | sort -u)
[ -n "$imports" ] || { echo "no import table found"; status=1; }
for dll_name in $imports; do
  case "$dll_name" in
    KERNEL32.DLL|USER32.DLL|GDI32.DLL|SHELL32.DLL|WINMM.DLL|MSVCRT.DLL) ;;
    *) echo "unexpected import: $dll_name"; status=1 ;;
  esac
done
echo "imports: $(echo $imports)"
exit $status
