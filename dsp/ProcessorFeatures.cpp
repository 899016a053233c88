// ProcessorFeatures: whether this processor, and the operating system on it,
// can run the AVX2/FMA or the AVX-512 sub-block loops. Asked once per
// process, never per block.
#include "dsp/BlockKernels.h"

#include <cpuid.h>

namespace ZEPHRA2F9C41D07 {

namespace {

// XCR0 bits 1 and 2: the operating system saves the SSE and the upper AVX
// register halves on a task switch. Without them AVX instructions fault even
// where the processor has them (an old Windows, a virtual machine that hides them).
constexpr unsigned kSseAndAvxState = 0x6u;
// XCR0 bits 5 to 7: the mask registers, the upper halves of zmm0-15 and
// zmm16-31.
constexpr unsigned kAvx512State = 0xE0u;

unsigned enabledRegisterState() {
    unsigned low = 0;
    unsigned high = 0;
    __asm__ volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(0u));
    return low;
}

}  // namespace

bool block::processorHasAvx2Fma() {
    unsigned eax = 0;
    unsigned ebx = 0;
    unsigned ecx = 0;
    unsigned edx = 0;
    if (__get_cpuid_max(0, nullptr) < 7) return false;
    __cpuid(1, eax, ebx, ecx, edx);
    const bool avx = (ecx & bit_AVX) != 0;
    // Fused multiply-add came with AVX2 on every processor so far, but is
    // announced separately, and a virtual machine may hide either.
    const bool fma = (ecx & bit_FMA) != 0;
    // XGETBV exists only where OSXSAVE says the system has enabled it.
    const bool systemSavesState = (ecx & bit_OSXSAVE) != 0;
    if (!avx || !fma || !systemSavesState) return false;
    if ((enabledRegisterState() & kSseAndAvxState) != kSseAndAvxState) return false;
    __cpuid_count(7, 0, eax, ebx, ecx, edx);
    return (ebx & bit_AVX2) != 0;
}

bool block::processorHasAvx512() {
    if (!processorHasAvx2Fma()) return false;
    if ((enabledRegisterState() & kAvx512State) != kAvx512State) return false;
    unsigned eax = 0;
    unsigned ebx = 0;
    unsigned ecx = 0;
    unsigned edx = 0;
    __cpuid_count(7, 0, eax, ebx, ecx, edx);
    const unsigned needed = bit_AVX512F | bit_AVX512DQ | bit_AVX512BW | bit_AVX512VL;
    return (ebx & needed) == needed;
}

}  // namespace ZEPHRA2F9C41D07
