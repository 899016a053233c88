// Parameter table: one row per parameter, in host index order.
#include "plugin/ParameterTable.h"

#include <cstdio>

namespace ZEPHRA2F9C41D07 {

namespace {

enum class Shape { Seconds, Damping, Percent, Millis, Decibels, OnOff, InOut };

struct ParameterRow {
    const char* name;
    float defaultValue;
    Shape shape;
};

constexpr ParameterRow kRows[kNumParameters] = {
    {"RT60 Time", 0.0f, Shape::Seconds},
    {"Damping", 0.0f, Shape::Damping},
    {"Mix", 0.5f, Shape::Percent},
    {"Pre Delay", 0.0f, Shape::Millis},
    {"Width", 0.5f, Shape::Percent},
    {"Out Trim", 0.5f, Shape::Decibels},
    {"In Trim", 0.5f, Shape::Decibels},
    {"Wet Only", 0.0f, Shape::OnOff},
    {"Mute", 0.0f, Shape::OnOff},
    {"Effect", 1.0f, Shape::InOut},
};

bool valid(int index) { return index >= 0 && index < kNumParameters; }

}  // namespace

const char* parameterName(int index) { return valid(index) ? kRows[index].name : ""; }

float parameterDefault(int index) { return valid(index) ? kRows[index].defaultValue : 0.0f; }

float parameterToEngine(int index, float value) {
    if (!valid(index)) return 0.0f;
    switch (kRows[index].shape) {
        case Shape::Seconds: return value * 3.0f;
        case Shape::Damping: return value * 10.0f;
        case Shape::Percent: return value * 100.0f;
        case Shape::Millis: return value * 250.0f;
        // Two single-precision steps, so the display and the engine agree to the bit.
        case Shape::Decibels: {
            float scaled = value * 12.0f;
            return scaled - 6.0f;
        }
        case Shape::OnOff:
        case Shape::InOut: return value;
    }
    return 0.0f;
}

void formatParameterDisplay(int index, float value, char* text, size_t capacity) {
    if (!text || capacity == 0) return;
    text[0] = 0;
    if (!valid(index)) return;
    float shown = parameterToEngine(index, value);
    switch (kRows[index].shape) {
        case Shape::Seconds: std::snprintf(text, capacity, "%.2f sec", shown); break;
        case Shape::Damping: std::snprintf(text, capacity, "%.1f", shown); break;
        case Shape::Percent: std::snprintf(text, capacity, "%.2f %%", shown); break;
        case Shape::Millis: std::snprintf(text, capacity, "%.2f ms", shown); break;
        case Shape::Decibels: std::snprintf(text, capacity, "%.2f dB", shown); break;
        // Every switch text is three characters; "On " and "In " end in a blank.
        case Shape::OnOff: std::snprintf(text, capacity, "%s", value > 0.5f ? "On " : "Off"); break;
        case Shape::InOut: std::snprintf(text, capacity, "%s", value > 0.5f ? "In " : "Out"); break;
    }
}

}  // namespace ZEPHRA2F9C41D07
