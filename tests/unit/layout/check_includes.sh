#!/usr/bin/env bash
# The one-way include chain: every quoted #include of product code and tools
# must point into a folder its own folder may use. Also keeps each platform
# backend to itself, windows.h and _WIN32 inside win32/ folders (and the
# library entry in frame/), X11 headers inside x11/ folders, and the portable
# toolkit free of conditional compilation. Prints each offending line; exit status 1 when any.
set -u
root=${1:?usage: check_includes.sh SOURCE_DIR}
cd "$root" || exit 2

# The platform folder a path lies in, up to and including its win32/, x11/,
# posix/ or headless/ folder; empty for portable code. A backend is chosen by
# which files a target builds, so backends never include each other.
platform_dir() {
  [[ "$1" =~ ^(.*/)?(win32|x11|posix|headless)/ ]] && echo "${BASH_REMATCH[1]}${BASH_REMATCH[2]}"
}
# The platform itself: win32, x11, posix or headless; empty for portable code.
platform_of() {
  [[ "$1" =~ (^|/)(win32|x11|posix|headless)/ ]] && echo "${BASH_REMATCH[2]}"
}

# The folder an included path lives in, at the granularity of the chain.
folder_of() {
  local platform
  platform=$(platform_dir "$1")
  if [ -n "$platform" ]; then echo "$platform"; return; fi
  case "$1" in
    afx/platform/*) echo "afx/platform" ;;
    afx/widgets/*)  echo "afx/widgets" ;;
    tools/*/*)      local rest=${1#tools/}; echo "tools/${rest%%/*}" ;;
    */*)            echo "${1%%/*}" ;;
    *)              echo "" ;;
  esac
}

# file -> folders (or single files) it may include, besides its own platform
# folder. The first matching pattern wins; "*" means unchecked.
allowed_for() {
  case "$1" in
    dsp/*)               echo "dsp" ;;
    params/*)            echo "params" ;;
    afx/platform/*)      echo "afx/platform" ;;
    afx/widgets/*)       echo "afx/widgets afx afx/platform resources" ;;
    afx/*)               echo "afx afx/platform resources" ;;
    dialogs/*)           echo "dialogs afx/widgets afx afx/platform resources" ;;
    editor/*)            echo "editor params dialogs afx/widgets afx afx/platform resources frame" ;;
    # The library's load routine starts and stops the toolkit; the rest of
    # the frame knows only the plug-in ABI and its own classes.
    frame/LibraryEntry.cpp) echo "frame afx" ;;
    frame/*)             echo "frame" ;;
    plugin/*)            echo "plugin params editor dialogs afx/widgets afx afx/platform resources frame dsp" ;;
    # The host knows a plug-in only through the ABI; the asset generator
    # draws with the toolkit.
    tools/host/*)        echo "tools/host frame/vst_abi.h" ;;
    tools/assets/*)      echo "tools/assets afx" ;;
    tools/*/*)           folder_of "$1" ;;
    *)                   echo "*" ;;
  esac
}

sources() {
  find "$@" -type d \( -name node_modules -o -name build \) -prune -o \
       -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.c' -o -name '*.inc' \) -print 2>/dev/null | sort
}

status=0
while IFS= read -r file; do
  allowed=$(allowed_for "$file")
  own_platform=$(platform_dir "$file")
  own_system=$(platform_of "$file")
  while IFS= read -r line; do
    [[ "${line#*:}" =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"([^\"]*)\" ]] || continue
    target=${BASH_REMATCH[1]}
    folder=$(folder_of "$target")
    [ -n "$folder" ] || continue  # a sibling include by bare name
    target_system=$(platform_of "$target")
    if [ -n "$target_system" ] && [ -n "$own_system" ] && [ "$target_system" != "$own_system" ]; then
      echo "$file:${line%%:*}: includes $target: one platform's code never includes another's"
      status=1
      continue
    fi
    [ "$allowed" = "*" ] && continue
    ok=0
    for a in $allowed $own_platform; do
      [ "$folder" = "$a" ] || [ "$target" = "$a" ] && ok=1
    done
    if [ $ok -eq 0 ]; then
      echo "$file:${line%%:*}: includes $target, but $(dirname "$file")/ may not include $folder/"
      status=1
    fi
  done < <(grep -n '#[[:space:]]*include[[:space:]]*"' "$file")
done < <(sources dsp params frame afx dialogs editor plugin tools tests bench)

# windows.h and _WIN32 live only in win32/ folders, and in the frame, whose
# library entry is declared once for both systems; png_check, a test tool
# built for both, switches stdout to binary on Windows.
fence=$(sources dsp params afx dialogs editor plugin resources tools tests bench |
          grep -v -E '(^|/)win32/|^tests/integration/png_check\.cpp$' |
          xargs grep -n -E '#[[:space:]]*include[[:space:]]*<windows\.h>|\b_WIN32\b' /dev/null)
if [ -n "$fence" ]; then
  echo "$fence" | sed 's/$/  <- Windows code outside a win32\/ folder and the frame/'
  status=1
fi

# Likewise the X11 headers, only in x11/ folders.
xfence=$(sources dsp params frame afx dialogs editor plugin resources tools tests bench |
           grep -v -E '(^|/)x11/' |
           xargs grep -n -E '#[[:space:]]*include[[:space:]]*<X11/' /dev/null)
if [ -n "$xfence" ]; then
  echo "$xfence" | sed 's/$/  <- X11 code outside an x11\/ folder/'
  status=1
fi

# The portable toolkit and the platform interface pick no platform: no
# conditional compilation there, so every backend builds the same code.
conditional=$(ls afx/*.h afx/*.cpp afx/platform/*.h 2>/dev/null |
                xargs grep -n -E '^[[:space:]]*#[[:space:]]*(if|ifdef|ifndef|elif)\b' /dev/null)
if [ -n "$conditional" ]; then
  echo "$conditional" | sed 's/$/  <- conditional compilation in the portable toolkit/'
  status=1
fi
exit $status
