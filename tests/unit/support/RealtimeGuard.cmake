# The realtime guard for a test program: its source and, natively, the linker
# wrapping the mutex calls it counts. The Windows build counts allocations
# only: there the wrapping would also catch the threads library's own calls.
include_guard(GLOBAL)
add_library(korvex_realtime_guard INTERFACE)
target_sources(korvex_realtime_guard INTERFACE ${CMAKE_CURRENT_LIST_DIR}/RealtimeGuard.cpp)
if(NOT CMAKE_SYSTEM_NAME STREQUAL "Windows")
  target_compile_definitions(korvex_realtime_guard INTERFACE KORVEX_GUARD_COUNTS_LOCKS)
  target_link_options(korvex_realtime_guard INTERFACE -Wl,--wrap=pthread_mutex_lock)
endif()
