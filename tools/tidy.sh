#!/usr/bin/env bash
# tidy.sh [BUILD_DIR]: runs clang-tidy with the tree's .clang-tidy over every
# source file in the build's compile database (default build/native), leaving
# out the resource tables the build generates, one process per core. Prints
# each finding; exit status 1 when there is any, 2 when the compile database
# is missing.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 2
build=${1:-build/native}
database=$build/compile_commands.json
if [ ! -f "$database" ]; then
    echo "tidy: no $database: configure that build first (cmake --preset native)" >&2
    exit 2
fi
start=$SECONDS
root=$(pwd)
# A file built into two libraries appears twice in the database: check it once.
mapfile -t files < <(sed -n 's/^ *"file": "\(.*\)",\{0,1\}$/\1/p' "$database" |
                     grep "^$root/" | grep -v "^$root/build/" | sort -u)
# The Windows build's database names mingw's g++. Clang then reads the sources
# for the mingw target, with mingw's C++ library and system headers but its own
# intrinsics headers (g++'s call builtins clang does not know). Only the
# Windows-only sources are checked there: the native run covers the rest.
extra=()
compiler=$(sed -n 's/^ *"command": "\([^ ]*\) .*/\1/p' "$database" | head -n 1)
if [[ $compiler == *mingw32* ]]; then
    extra+=(--extra-arg=--target=x86_64-w64-mingw32 --extra-arg=-nostdinc++)
    while read -r dir; do
        dir=$(realpath -m "$dir")
        [[ $dir == */lib/gcc/* && $dir != */c++* ]] && continue
        extra+=("--extra-arg=-isystem$dir")
    done < <("$compiler" -E -x c++ - -v </dev/null 2>&1 |
             sed -n '/^#include <...>/,/^End of search/{/^ /s/^ //p}')
    mapfile -t files < <(printf '%s\n' "${files[@]}" | grep '/win32/')
fi
# The builds judge compiler warnings (-Werror there); here clang reads g++'s
# flags, so its own warnings stay warnings and only the chosen checks count.
out=$(printf '%s\n' "${files[@]}" |
      xargs -P "$(nproc)" -n 4 clang-tidy-14 -p "$build" --quiet --extra-arg=-Wno-error "${extra[@]}" 2>&1)
status=$?
# clang-tidy's own tallies ("12 warnings generated.") count the suppressed
# findings in system headers too; only the findings themselves are of use.
grep -v -E '^[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$' <<<"$out"
echo "tidy: ${#files[@]} files in $((SECONDS - start)) s: $([ $status -eq 0 ] && echo clean || echo findings)"
[ $status -eq 0 ] || exit 1
