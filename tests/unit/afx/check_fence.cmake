# The toolkit's platform fence: portable afx/ files name no platform and pick
# no backend; windows.h appears only in afx/platform/win32/ and X11 headers
# only in afx/platform/x11/.
#   cmake -DSOURCE_DIR=<repository> -P check_fence.cmake
file(GLOB portable ${SOURCE_DIR}/afx/*.h ${SOURCE_DIR}/afx/*.cpp ${SOURCE_DIR}/afx/platform/*.h)
file(GLOB_RECURSE everything ${SOURCE_DIR}/afx/*.h ${SOURCE_DIR}/afx/*.cpp)
set(problems "")
# Adds every line of f that matches regex to the problems.
function(forbid f regex)
  file(STRINGS ${f} lines REGEX "${regex}")
  foreach(line IN LISTS lines)
    string(APPEND problems "${f}: ${line}\n")
  endforeach()
  set(problems "${problems}" PARENT_SCOPE)
endfunction()
foreach(f IN LISTS portable)
  forbid(${f} "#[ \t]*(if|ifdef|ifndef|elif)|_WIN32|windows\\.h|X11/|platform/(win32|x11|headless)/")
endforeach()
foreach(f IN LISTS everything)
  if(NOT f MATCHES "/afx/platform/win32/")
    forbid(${f} "windows\\.h|_WIN32")
  endif()
  if(NOT f MATCHES "/afx/platform/x11/")
    forbid(${f} "#[ \t]*include[ \t]*<X11/")
  endif()
endforeach()
if(problems)
  message(FATAL_ERROR "platform fence crossed:\n${problems}")
endif()
