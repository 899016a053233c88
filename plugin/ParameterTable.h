// The plug-in's ten automatable parameters: names, defaults, display texts
// and the mapping of each normalised value onto the reverb engine's units.
#pragma once

#include <cstddef>

namespace ZEPHRA2F9C41D07 {

enum ParameterIndex : int {
    kRT60 = 0,
    kDamping,
    kMix,
    kPreDelay,
    kWidth,
    kOutTrim,
    kInTrim,
    kWetOnly,
    kMute,
    kEffect,
    kNumParameters,
    kOverload = 10,      // pseudo-parameter: the engine's overload report, editor only
    kEditorWidth = 98,   // editor width in unscaled pixels, stored in programs
    kEditorHeight = 99,  // editor height in unscaled pixels, stored in programs
};

// The name of parameter 0 to 9 ("RT60 Time" ...); an empty text otherwise.
const char* parameterName(int index);
// The default normalised value of parameter 0 to 9; 0.0 otherwise.
float parameterDefault(int index);
// The value in the engine's unit (seconds, 0-10, percent, ms, dB, or the
// switch value itself); computed in single precision, no clamping.
float parameterToEngine(int index, float value);
// Formats the display text of parameter index at value into text (capacity
// bytes, always terminated). Empty for indices outside 0 to 9.
void formatParameterDisplay(int index, float value, char* text, size_t capacity);

}  // namespace ZEPHRA2F9C41D07
