// Where everything on the editor's panel sits, in panel pixels, and the
// sizes its window may take. The panel is scaled as a whole into the window,
// so this one layout serves every window size and display scale.
#pragma once

#include <cstdint>

#include "params/ParameterTable.h"

namespace ZEPHRA2F9C41D07 {

struct PanelBox {
    int32_t x, y, w, h;
};

struct PanelLayout {
    PanelBox panel;                      // the background picture: the whole panel
    PanelBox knobs[kNumKnobParameters];  // by parameter; the 2r square, r = 22
    PanelBox wetOnly;
    PanelBox mute;
    PanelBox effect;
    PanelBox lamp;         // the lamp's 2r square, r = 6
    PanelBox display;      // the one-line read-out
    PanelBox pictures[4];  // info, previous, next, name plate: one frame each
};

constexpr PanelLayout kPanelLayout = {
    {0, 0, 144, 538},
    {{78, 193, 44, 44},
     {21, 230, 44, 44},
     {78, 336, 44, 44},
     {21, 156, 44, 44},
     {78, 276, 44, 44},
     {21, 382, 44, 44},
     {78, 110, 44, 44}},
    {27, 320, 32, 16},
    {84, 396, 32, 16},
    {48, 446, 48, 24},
    {37, 292, 12, 12},
    {18, 64, 108, 16},
    // Placed by their centres (52, 11), (92, 11), (126, 11) and (72, 527).
    {{36, 3, 32, 16}, {76, 3, 32, 16}, {110, 3, 32, 16}, {2, 519, 140, 16}},
};

// Window sizes in logical pixels (device pixels divided by the display
// scale). The lowest window is as high as the panel.
constexpr int32_t kDefaultWindowWidth = 364;
constexpr int32_t kDefaultWindowHeight = 538;
constexpr int32_t kMinWindowWidth = 184;
constexpr int32_t kMinWindowHeight = 538;
// A drag of the grip stops at five times the narrowest and twice the lowest.
constexpr int32_t kMaxDragWidth = 920;
constexpr int32_t kMaxDragHeight = 1076;

}  // namespace ZEPHRA2F9C41D07
