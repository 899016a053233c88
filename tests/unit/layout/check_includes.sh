#!/usr/bin/env bash
# The one-way include chain: every quoted #include of product code must point
# into a folder its own folder may use. Also keeps windows.h and _WIN32 inside
# the platform fence. Prints each offending line; exit status 1 when any.
set -u
root=${1:?usage: check_includes.sh SOURCE_DIR}
cd "$root" || exit 2

# folder -> folders it may include (its own included). Longest prefix wins.
allowed_for() {
  case "$1" in
    dsp/*)               echo "dsp" ;;
    params/*)            echo "params" ;;
    afx/platform/*)      echo "afx/platform" ;;
    afx/widgets/*)       echo "afx/widgets afx afx/platform resources" ;;
    afx/*)               echo "afx afx/platform resources" ;;
    dialogs/*)           echo "dialogs afx/widgets afx afx/platform resources" ;;
    editor/*)            echo "editor params dialogs afx/widgets afx afx/platform resources frame" ;;
    frame/*)             echo "frame afx afx/platform resources" ;;
    plugin/*)            echo "plugin params editor dialogs afx/widgets afx afx/platform resources frame dsp" ;;
    *)                   echo "*" ;;
  esac
}

# The folder an included path lives in, at the granularity of the chain.
folder_of() {
  case "$1" in
    afx/platform/*) echo "afx/platform" ;;
    afx/widgets/*)  echo "afx/widgets" ;;
    */*)            echo "${1%%/*}" ;;
    *)              echo "" ;;
  esac
}

status=0
while IFS= read -r file; do
  allowed=$(allowed_for "$file")
  [ "$allowed" = "*" ] && continue
  while IFS= read -r line; do
    target=$(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' <<<"${line#*:}")
    [ -n "$target" ] || continue
    folder=$(folder_of "$target")
    [ -n "$folder" ] || continue  # a sibling include by bare name
    ok=0
    for a in $allowed; do [ "$folder" = "$a" ] && ok=1; done
    if [ $ok -eq 0 ]; then
      echo "$file:${line%%:*}: includes $target, but $(dirname "$file")/ may not include $folder/"
      status=1
    fi
  done < <(grep -n '#[[:space:]]*include[[:space:]]*"' "$file")
done < <(find dsp params frame afx dialogs editor plugin -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.inc' \) 2>/dev/null | sort)

# windows.h and _WIN32 live only behind the platform fence and in the frame.
fence=$(grep -rn -E '#[[:space:]]*include[[:space:]]*<windows\.h>|\b_WIN32\b' \
          dsp params afx dialogs editor plugin resources 2>/dev/null | grep -v '^afx/platform/win32/')
if [ -n "$fence" ]; then
  echo "$fence" | sed 's/$/  <- Windows code outside afx\/platform\/win32 and frame/'
  status=1
fi
exit $status
