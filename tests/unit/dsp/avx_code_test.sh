#!/usr/bin/env bash
# The plug-in runs on any x86-64 processor: only the AVX2 and AVX-512 loops
# may hold AVX instructions, and the engine enters them only after asking the
# processor. A helper inlined or instantiated with AVX elsewhere would crash
# on older processors long before anyone here noticed.
set -u
objdump=$1 binary=$2
listing=$("$objdump" -d --no-show-raw-insn "$binary") || exit 1
offenders=$(awk '/^[0-9a-f]+ <.*>:$/ { name = $2 }
                 /\tv[a-z0-9]+ |%ymm|%zmm/ { if (name !~ /Avx2|Avx512/) hits[name]++ }
                 END { for (n in hits) print hits[n], n }' <<<"$listing")
if [ -n "$offenders" ]; then
  echo "AVX instructions outside the AVX2 and AVX-512 loops (count, function):"
  echo "$offenders"
  exit 1
fi
grep -q '<[^>]*Avx2[^>]*>:' <<<"$listing" || { echo "no AVX2 loops in $binary"; exit 1; }
# 512-bit registers appear only in the AVX-512 loops, and there they must:
# without them the build lost its -mavx512f.
wide=$(awk '/^[0-9a-f]+ <.*>:$/ { name = $2 }
            /%zmm/ { if (name ~ /Avx512/) n++; else stray++ }
            END { print n + 0, stray + 0 }' <<<"$listing")
read -r inLoops elsewhere <<<"$wide"
[ "$elsewhere" -eq 0 ] || { echo "512-bit registers outside the AVX-512 loops of $binary"; exit 1; }
[ "$inLoops" -gt 0 ] || { echo "no 512-bit registers in the AVX-512 loops of $binary"; exit 1; }
# The AVX2 loops are built for FMA as well (the dispatch asks for both):
# without fused multiply-adds in them the build lost its -mfma.
fused=$(awk '/^[0-9a-f]+ <.*>:$/ { name = $2 }
             /\tvfn?madd/ { if (name ~ /Avx2/) n++ }
             END { print n + 0 }' <<<"$listing")
[ "$fused" -gt 0 ] || { echo "no fused multiply-adds in the AVX2 loops of $binary"; exit 1; }
echo "AVX instructions only in the AVX2 and AVX-512 loops ($inLoops with 512-bit registers), $fused fused multiply-adds in the AVX2 loops"
