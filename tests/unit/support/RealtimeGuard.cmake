# The realtime guard for a test program: its source, and the linker wrapping
# the mutex calls it counts. Included by every folder whose tests use it.
include_guard(GLOBAL)
add_library(korvex_realtime_guard INTERFACE)
target_sources(korvex_realtime_guard INTERFACE ${CMAKE_CURRENT_LIST_DIR}/RealtimeGuard.cpp)
target_link_options(korvex_realtime_guard INTERFACE -Wl,--wrap=pthread_mutex_lock)
