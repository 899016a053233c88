// AllocationHook: replaces the global allocation functions of the test program
// so tests can count allocations and make the non-throwing ones fail.
#pragma once

#include <cstdint>

namespace ZEPHRA2F9C41D07 {

// Allocations of any kind since the program started.
int64_t allocationCount();
// Non-throwing allocations (the engine's delay memory) since the program started.
int64_t nothrowAllocationCount();
// Makes the non-throwing allocation with this index (counted from the current
// count, 0 = the next one) and every later one fail; -1 lets all succeed.
void failNothrowAllocationsFrom(int64_t index);

}  // namespace ZEPHRA2F9C41D07
