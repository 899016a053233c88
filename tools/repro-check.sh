#!/usr/bin/env bash
# Builds korvex52.so and korvex52.dll from copies of the tree in two different
# folders and compares them byte for byte:
#   tools/repro-check.sh [WORK-DIR]      (default build/repro)
# Prints each product's SHA-256 when the two builds are identical, the
# differing bytes otherwise. Each build is clean: no compiler cache.
set -u
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
work=${1:-$top/build/repro}
export CCACHE_DISABLE=1
rm -rf "$work" && mkdir -p "$work" || exit 1
trees=("$work/first/korvex52" "$work/second/another-name")
for tree in "${trees[@]}"; do
  mkdir -p "$tree"
  # The files git knows or would add, as they are now, edits included.
  (cd "$top" && git ls-files -z --cached --others --exclude-standard | xargs -0 tar cf -) | tar xf - -C "$tree" || exit 1
  for preset in native win64; do
    (cd "$tree" && cmake --preset "$preset" >"$work/configure.log" 2>&1 &&
       cmake --build --preset "$preset" --target korvex52 >"$work/build.log" 2>&1) ||
      { echo "repro-check: the $preset build in $tree failed:"; tail -20 "$work/build.log"; exit 1; }
  done
done
status=0
for product in native/korvex52.so win64/korvex52.dll; do
  first=${trees[0]}/build/$product second=${trees[1]}/build/$product
  if cmp -s "$first" "$second"; then
    echo "identical  $(sha256sum "$first" | cut -d' ' -f1)  $(basename "$product")"
  else
    echo "DIFFERENT  $(basename "$product"): $(cmp -l "$first" "$second" | wc -l) bytes differ, the first at:"
    cmp -l "$first" "$second" | head -5
    status=1
  fi
done
exit $status
