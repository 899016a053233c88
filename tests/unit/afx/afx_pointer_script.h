// The pointer gestures and keys that the real-input tests of both window
// backends play through the system's input queue over a 200 x 150 toolkit
// child window at (kAfxPointerHostX, kAfxPointerHostY) of the screen, and the
// callbacks they must produce: moves only while a button is held, a quick
// second click as a double click, the right button, a wheel notch each way;
// then Escape, A, Enter and Left pressed and released.
#pragma once

#include <cstdint>
#include <string>

#include "afx/afx_window.h"

enum class afx_pointer_action { Move, LeftDown, LeftUp, RightDown, RightUp, WheelUp, WheelDown };

struct afx_pointer_step {
    int32_t x, y;  // in the child window
    afx_pointer_action action;
};

constexpr int kAfxPointerHostX = 100, kAfxPointerHostY = 100;

inline constexpr afx_pointer_step kAfxPointerScript[] = {
    {20, 30, afx_pointer_action::Move},  // no button: not delivered
    {20, 30, afx_pointer_action::LeftDown},
    {40, 50, afx_pointer_action::Move},  // held: delivered
    {40, 50, afx_pointer_action::LeftUp},
    {45, 55, afx_pointer_action::Move},       // released again: not delivered
    {100, 80, afx_pointer_action::LeftDown},  // two quick clicks: a double click
    {100, 80, afx_pointer_action::LeftUp},
    {100, 80, afx_pointer_action::LeftDown},
    {100, 80, afx_pointer_action::LeftUp},
    {150, 20, afx_pointer_action::RightDown},
    {150, 20, afx_pointer_action::RightUp},
    {60, 70, afx_pointer_action::WheelUp},
    {60, 70, afx_pointer_action::WheelDown},
};

// As "what(x,y,code) " each; codes 0 left, 1 right, 2 wheel up and every
// wheel release, 3 wheel down. Keys as "key(code,pressed,0) ".
inline constexpr char kAfxPointerCallbacks[] =
    "down(20,30,0) move(40,50,0) up(40,50,0) "
    "down(100,80,0) up(100,80,0) double(100,80,0) up(100,80,0) down(150,20,1) up(150,20,1) "
    "down(60,70,2) up(60,70,2) down(60,70,3) up(60,70,2) ";
inline constexpr char kAfxPointerKeys[] =
    "key(27,1,0) key(27,0,0) key(65,1,0) key(65,0,0) key(13,1,0) key(13,0,0) key(37,1,0) "
    "key(37,0,0) ";

// Callbacks that write what they see in the form above, registered on a window.
inline std::string& afx_pointer_seen() {
    static std::string seen;
    return seen;
}
inline void afx_pointer_note(const char* what, int32_t x, int32_t y, int32_t code) {
    afx_pointer_seen() += std::string(what) + "(" + std::to_string(x) + "," + std::to_string(y) +
                          "," + std::to_string(code) + ") ";
}
inline void afx_pointer_record(afx_context* ctx, int32_t index) {
    afx_window_on_button_down(ctx, index, [](int32_t x, int32_t y, int32_t b, int32_t, void*) {
        afx_pointer_note("down", x, y, b);
    });
    afx_window_on_button_up(ctx, index, [](int32_t x, int32_t y, int32_t b, int32_t, void*) {
        afx_pointer_note("up", x, y, b);
    });
    afx_window_on_double_click(ctx, index, [](int32_t x, int32_t y, int32_t b, int32_t, void*) {
        afx_pointer_note("double", x, y, b);
    });
    afx_window_on_move(ctx, index, [](int32_t x, int32_t y, int32_t, void*) {
        afx_pointer_note("move", x, y, 0);
    });
    auto key = [](int32_t, int32_t key, int32_t pressed, int32_t, void*) {
        afx_pointer_note("key", key, pressed, 0);
    };
    afx_window_on_key_down(ctx, index, key);
    afx_window_on_key_up(ctx, index, key);
}
