// The plug-in's parameters as both its halves see them: indices, names,
// defaults, the law that turns a normalised value into the parameter's unit,
// the host's display texts and the points at which each switch flips. The
// plug-in and its editor both read them from here; nothing here depends on
// either, so the header includes nothing of ours.
#pragma once

#include <cstddef>
#include <cstdio>

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
    kNumKnobParameters = kWetOnly,  // 0 to 6 turn on knobs; 7 to 9 are switches
    kOverload = 10,                 // pseudo-parameter: the engine's overload report, editor only
    kEditorWidth = 98,              // editor width in unscaled pixels, stored in programs
    kEditorHeight = 99,             // editor height in unscaled pixels, stored in programs
};

// Programs in the bank: the host's program indices run 0 to 9.
constexpr int kNumPrograms = 10;

// The unit a parameter's normalised value is turned into.
enum class ParameterUnit { Seconds, Damping, Percent, Millis, Decibels, OnOff, InOut };

struct ParameterFacts {
    const char* name;
    float defaultValue;
    ParameterUnit unit;
};

constexpr ParameterFacts kParameterFacts[kNumParameters] = {
    {"RT60 Time", 0.0f, ParameterUnit::Seconds}, {"Damping", 0.0f, ParameterUnit::Damping},
    {"Mix", 0.5f, ParameterUnit::Percent},       {"Pre Delay", 0.0f, ParameterUnit::Millis},
    {"Width", 0.5f, ParameterUnit::Percent},     {"Out Trim", 0.5f, ParameterUnit::Decibels},
    {"In Trim", 0.5f, ParameterUnit::Decibels},  {"Wet Only", 0.0f, ParameterUnit::OnOff},
    {"Mute", 0.0f, ParameterUnit::OnOff},        {"Effect", 1.0f, ParameterUnit::InOut},
};

constexpr bool isParameter(int index) { return index >= 0 && index < kNumParameters; }

// The name of parameter 0 to 9 ("RT60 Time" ...); an empty text otherwise.
constexpr const char* parameterName(int index) {
    return isParameter(index) ? kParameterFacts[index].name : "";
}

// The default normalised value of parameter 0 to 9; 0.0 otherwise.
constexpr float parameterDefault(int index) {
    return isParameter(index) ? kParameterFacts[index].defaultValue : 0.0f;
}

// The value in the parameter's unit (seconds, 0-10, percent, ms, dB, or the
// switch value itself), as the engine receives it and the displays print it;
// single precision, no clamping. 0.0 for indices outside 0 to 9.
inline float parameterInUnits(int index, float value) {
    if (!isParameter(index)) return 0.0f;
    switch (kParameterFacts[index].unit) {
        case ParameterUnit::Seconds: return value * 3.0f;
        case ParameterUnit::Damping: return value * 10.0f;
        case ParameterUnit::Percent: return value * 100.0f;
        case ParameterUnit::Millis: return value * 250.0f;
        // Two single-precision steps, so the display and the engine agree to the bit.
        case ParameterUnit::Decibels: {
            const float scaled = value * 12.0f;
            return scaled - 6.0f;
        }
        case ParameterUnit::OnOff:
        case ParameterUnit::InOut: return value;
    }
    return 0.0f;
}

// Every switch flips at one half, but the places that read a switch do not
// agree whether one half itself counts as on; each rule keeps its own test.
constexpr float kSwitchMidpoint = 0.5f;

// The host's display text: a switch reads "On " or "In " only above one half.
constexpr bool displayShowsOn(float value) { return value > kSwitchMidpoint; }
// The effect in/out rule: the effect is in while bypass gate x Effect (each
// clamped to 0-1) is not below one half, so an Effect of exactly 0.5 is in.
constexpr bool effectIsIn(float gateTimesEffect) { return gateTimesEffect >= kSwitchMidpoint; }
// The editor: a switch, the Effect button and their read-out texts are on
// from one half up.
constexpr bool editorShowsOn(float value) { return value >= kSwitchMidpoint; }
// The editor greys its window while the host's bypass gate is below one half.
constexpr bool gateBypasses(float gate) { return gate < kSwitchMidpoint; }
// The overload lamp lights when the indicator, as a percentage, reaches one half.
constexpr bool overloadLights(float value) { return value * 100.0f >= kSwitchMidpoint; }

// Formats the host's display text of parameter index at value into text
// (capacity bytes, always terminated). Empty for indices outside 0 to 9.
inline void formatParameterDisplay(int index, float value, char* text, size_t capacity) {
    if (!text || capacity == 0) return;
    text[0] = 0;
    if (!isParameter(index)) return;
    const double shown = parameterInUnits(index, value);
    switch (kParameterFacts[index].unit) {
        case ParameterUnit::Seconds: std::snprintf(text, capacity, "%.2f sec", shown); break;
        case ParameterUnit::Damping: std::snprintf(text, capacity, "%.1f", shown); break;
        case ParameterUnit::Percent: std::snprintf(text, capacity, "%.2f %%", shown); break;
        case ParameterUnit::Millis: std::snprintf(text, capacity, "%.2f ms", shown); break;
        case ParameterUnit::Decibels: std::snprintf(text, capacity, "%.2f dB", shown); break;
        // Every switch text is three characters; "On " and "In " end in a blank.
        case ParameterUnit::OnOff:
            std::snprintf(text, capacity, "%s", displayShowsOn(value) ? "On " : "Off");
            break;
        case ParameterUnit::InOut:
            std::snprintf(text, capacity, "%s", displayShowsOn(value) ? "In " : "Out");
            break;
    }
}

}  // namespace ZEPHRA2F9C41D07
