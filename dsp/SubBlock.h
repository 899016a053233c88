// SubBlock: the longest run of frames that the engine's controls hold still
// for. The plug-in cuts every host block into sub-blocks of at most this many
// frames; the control-rate smoothing steps once per sub-block and spreads its
// ramps over it; the vector loops size their working buffers and the mirrored
// loop ends by it.
#pragma once

#include <cstdint>

namespace ZEPHRA2F9C41D07 {

// 64 frames: 1.5 ms at 44.1 kHz, short enough that a control's steps stay
// inaudible, long enough that the per-sub-block cooking costs next to nothing.
constexpr int32_t kMaxSubBlockFrames = 64;

}  // namespace ZEPHRA2F9C41D07
