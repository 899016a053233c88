// The editor's panel: every control, where it sits, its colours and the
// state it takes from the parameter mirrors at each opening; the full
// drawing order and the redraw of one control into the panel.
#include "editor/CEditorGUI.h"

#include <new>

#include "afx/afx_bitmap_font.h"
#include "afx/afx_pixbuf.h"
#include "afx/widgets/afx_filmstrip.h"
#include "afx/widgets/afx_image.h"
#include "afx/widgets/afx_knob.h"
#include "afx/widgets/afx_lcd.h"
#include "afx/widgets/afx_led.h"
#include "afx/widgets/afx_switch.h"
#include "afx/widgets/afx_toggle_button.h"
#include "editor/PanelLayout.h"

namespace ZEPHRA2F9C41D07 {

namespace {

constexpr int32_t kPanelImageId = 128;
constexpr uint32_t kRestoreGrey = 40;  // what a control restores when it has no picture

// Knob caps by parameter: red for the time controls, grey for the levels.
constexpr afx_rgb kKnobCaps[kNumKnobParameters] = {
    {129, 4, 0}, {129, 4, 0}, {96, 96, 96}, {129, 4, 0}, {96, 96, 96}, {96, 96, 96}, {96, 96, 96},
};
constexpr float kKnobDeadRadius = 16.0f;
// Picture strips by picture: info, previous, next, name plate.
constexpr int32_t kPictureImageIds[4] = {134, 131, 132, 198};

uint32_t u(int32_t v) { return static_cast<uint32_t>(v); }

template <typename T>
bool make(T*& control) {
    if (!control) control = new (std::nothrow) T();
    return control != nullptr;
}

// The knob's default is the parameter's (a detent at 50 percent, or none at 0).
void configureKnob(afx_knob* knob, const PanelBox& box, afx_rgb cap, float defaultValue,
                   uint32_t mode, float value) {
    afx_knob_set_cap_colour(knob, cap.r, cap.g, cap.b);
    afx_knob_set_arc_colour(knob, 253, 125, 43);
    afx_knob_set_pointer_colour(knob, 224, 224, 224);
    afx_knob_set_x(knob, u(box.x));
    afx_knob_set_y(knob, u(box.y));
    afx_knob_set_radius(knob, u(box.w / 2));
    afx_knob_set_dead_radius(knob, kKnobDeadRadius);
    afx_knob_set_mode(knob, mode);
    afx_knob_clear_dragging(knob);
    afx_knob_set_smoothing(knob, true);
    afx_knob_set_shadow(knob, true);
    afx_knob_set_default(knob, defaultValue * 100.0f);
    afx_knob_set_value(knob, value * 100.0f);
}

void configureSwitch(afx_switch* sw, const PanelBox& box, bool on) {
    afx_widget_set_x(&sw->widget, u(box.x));
    afx_widget_set_y(&sw->widget, u(box.y));
    afx_switch_set_width(sw, u(box.w));
    afx_switch_set_height(sw, u(box.h));
    afx_widget_set_radius(&sw->widget, 2);
    afx_switch_set_thumb_side(sw, 1);  // on: thumb at the right end
    afx_switch_set_thumb_highlight(sw, true);
    afx_switch_set_pressed(sw, false);
    afx_switch_set_caption(sw, nullptr);
    afx_switch_set_on(sw, on);
}

void switchColours(afx_switch* sw) {
    afx_switch_set_frame_colour(sw, 22, 22, 22);
    afx_switch_set_thumb_colour(sw, 96, 96, 96);
    afx_switch_set_track_on_colour(sw, 48, 48, 48);
}

void configureEffectButton(afx_toggle_button* fx, const PanelBox& box, bool on) {
    afx_widget_set_x(&fx->widget, u(box.x));
    afx_widget_set_y(&fx->widget, u(box.y));
    afx_toggle_button_set_width(fx, u(box.w));
    afx_toggle_button_set_height(fx, u(box.h));  // font size: half the smaller side, 12
    afx_toggle_button_set_alignment(fx, 1);
    afx_toggle_button_set_text_colour(fx, 240, 240, 240);
    afx_toggle_button_set_on_text_colour(fx, 240, 240, 240);
    afx_toggle_button_set_fill(fx, 80, 80, 80);
    afx_toggle_button_set_on_fill(fx, 183, 30, 22);
    afx_toggle_button_set_hover_fill(fx, 80, 80, 80);
    afx_widget_set_radius(&fx->widget, 2);
    afx_toggle_button_set_border_colour(fx, 22, 22, 22);
    afx_toggle_button_set_highlight(fx, true);
    afx_toggle_button_set_highlight_colour(fx, 0, 0, 0);
    afx_toggle_button_set_highlight_alpha(fx, 32);
    afx_toggle_button_set_pressed(fx, false);
    afx_toggle_button_set_on(fx, on);
}

// A picture button by its frame: placed by the frame's centre, hit inside the frame.
void configurePicture(afx_filmstrip* p, const PanelBox& frame) {
    afx_filmstrip_set_centre_x(p, u(frame.x + frame.w / 2));
    afx_filmstrip_set_centre_y(p, u(frame.y + frame.h / 2));
    afx_filmstrip_set_frame_width(p, u(frame.w));
    afx_filmstrip_set_frame_height(p, u(frame.h));
    afx_filmstrip_set_frame_count(p, 2);
    afx_filmstrip_set_hit_width(p, u(frame.w));
    afx_filmstrip_set_hit_height(p, u(frame.h));
    afx_filmstrip_set_hit_offset_x(p, 0);
    afx_filmstrip_set_hit_offset_y(p, 0);
    afx_filmstrip_set_value(p, 0.0f);
    afx_filmstrip_set_pressed(p, false);
}

void configureDisplay(afx_lcd* lcd, const PanelBox& box) {
    afx_lcd_set_x(lcd, u(box.x));
    afx_lcd_set_y(lcd, u(box.y));
    afx_lcd_set_width(lcd, u(box.w));
    afx_lcd_set_height(lcd, u(box.h));
    afx_lcd_set_text_colour(lcd, 218, 120, 4);
    afx_lcd_set_background_colour(lcd, 0, 0, 0);
    afx_lcd_set_frame_colour(lcd, 48, 48, 48);
    afx_lcd_set_frame(lcd, false);
    afx_lcd_set_shadow(lcd, false);
    afx_lcd_set_scroll_position(lcd, 0.0f);
    afx_lcd_set_max_chars(lcd, 64);
    afx_lcd_set_visible(lcd, true);
}

}  // namespace

bool CEditorGUI::createControls() {
    bool made = make(background) && make(wetOnlySwitch) && make(muteSwitch) && make(effectButton) &&
                make(overloadLamp) && make(messageDisplay);
    for (afx_knob*& knob : knobs) made = made && make(knob);
    for (afx_filmstrip*& picture : pictures) made = made && make(picture);
    if (!made) return false;
    if (!controlsReady) {
        // Every widget kind starts from its own defaults, once.
        afx_image_init(background, context);
        for (afx_knob* knob : knobs) afx_knob_init(knob, context);
        afx_switch_init(wetOnlySwitch, context);
        afx_switch_init(muteSwitch, context);
        afx_toggle_button_init(effectButton, context);
        afx_led_init(overloadLamp, context);
        for (afx_filmstrip* picture : pictures) afx_filmstrip_init(picture, context);
        afx_lcd_init(messageDisplay, context, afx_bitmap_font_get(false));
        afx_toggle_button_set_caption(effectButton, "In");
        controlsReady = 1;
    }
    if (!panelImage) panelImage = afx_pixbuf_new_from_inline(context, kPanelImageId);
    if (!panelImage) return false;
    for (int32_t i = 0; i < kPictureCount; ++i) {
        if (!pictureImages[i])
            pictureImages[i] = afx_pixbuf_new_from_inline(context, kPictureImageIds[i]);
        if (!pictureImages[i]) return false;
    }
    // The read-out sizes its text strip for its box and character count.
    afx_lcd_set_max_chars(messageDisplay, 64);
    afx_lcd_set_width(messageDisplay, u(kPanelLayout.display.w));
    afx_lcd_set_height(messageDisplay, u(kPanelLayout.display.h));
    return afx_lcd_prepare(messageDisplay);
}

void CEditorGUI::configureControls() {
    // Restore colours, then the picture every control restores from.
    for (afx_knob* knob : knobs)
        afx_knob_set_background_colour(knob, kRestoreGrey, kRestoreGrey, kRestoreGrey);
    afx_switch_set_background_colour(wetOnlySwitch, kRestoreGrey, kRestoreGrey, kRestoreGrey);
    afx_switch_set_background_colour(muteSwitch, kRestoreGrey, kRestoreGrey, kRestoreGrey);
    afx_toggle_button_set_background_colour(effectButton, kRestoreGrey, kRestoreGrey, kRestoreGrey);
    afx_led_set_background_colour(overloadLamp, kRestoreGrey, kRestoreGrey, kRestoreGrey);
    for (afx_knob* knob : knobs) afx_knob_set_background(knob, panelImage);
    afx_switch_set_background(wetOnlySwitch, panelImage);
    afx_switch_set_background(muteSwitch, panelImage);
    afx_toggle_button_set_background(effectButton, panelImage);
    afx_led_set_background(overloadLamp, panelImage);
    for (afx_filmstrip* picture : pictures) afx_filmstrip_set_background(picture, panelImage);
    afx_lcd_set_background(messageDisplay, panelImage);

    switchColours(wetOnlySwitch);
    switchColours(muteSwitch);
    afx_led_set_lamp_colour(overloadLamp, 240, 39, 16);
    for (int32_t i = 0; i < kPictureCount; ++i)
        afx_filmstrip_set_strip(pictures[i], pictureImages[i]);

    // Geometry and state, every value from the mirrors: what arrived while
    // the window was closed is in them, so nothing pending is left to take.
    paramMirror.take();
    const PanelLayout& at = kPanelLayout;
    afx_image_set_pixbuf(background, panelImage);
    afx_image_set_width(background, u(at.panel.w));
    afx_image_set_height(background, u(at.panel.h));
    afx_image_set_x(background, u(at.panel.x));
    afx_image_set_y(background, u(at.panel.y));
    for (int32_t i = 0; i < kKnobCount; ++i) {
        configureKnob(knobs[i], at.knobs[i], kKnobCaps[i], parameterDefault(i),
                      static_cast<uint32_t>(knobMode), paramMirror.value(i));
    }
    configureSwitch(wetOnlySwitch, at.wetOnly, editorShowsOn(paramMirror.value(kWetOnly)));
    configureSwitch(muteSwitch, at.mute, editorShowsOn(paramMirror.value(kMute)));
    configureEffectButton(effectButton, at.effect, editorShowsOn(paramMirror.value(kEffect)));
    afx_led_set_x(overloadLamp, u(at.lamp.x));
    afx_led_set_y(overloadLamp, u(at.lamp.y));
    afx_led_set_radius(overloadLamp, u(at.lamp.w / 2));
    afx_led_set_on(overloadLamp, false);
    paramMirror.darkenLamp();
    for (int32_t i = 0; i < kPictureCount; ++i) configurePicture(pictures[i], at.pictures[i]);
    configureDisplay(messageDisplay, at.display);
    greetWithVersion();
}

void CEditorGUI::drawAllControls() {
    if (!panelSurface) return;
    afx_image_draw(background, panelSurface);
    afx_toggle_button_redraw(effectButton, panelSurface);
    afx_switch_redraw(wetOnlySwitch, panelSurface);
    afx_switch_redraw(muteSwitch, panelSurface);
    for (afx_knob* knob : knobs) afx_knob_redraw(knob, panelSurface);
    afx_led_redraw(overloadLamp, panelSurface);
    afx_filmstrip_redraw(pictures[kInfo], panelSurface);
    afx_filmstrip_redraw(pictures[kPrevious], panelSurface);
    afx_filmstrip_redraw(pictures[kNext], panelSurface);
    afx_filmstrip_redraw(pictures[kNamePlate], panelSurface);
    afx_lcd_restore(messageDisplay, panelSurface);
    afx_lcd_draw(messageDisplay, panelSurface);
    // Everything is on the panel now: nothing is left for the timer.
    for (afx_knob* knob : knobs) afx_knob_set_refresh(knob, false);
    afx_switch_set_dirty(wetOnlySwitch, false);
    afx_switch_set_dirty(muteSwitch, false);
    afx_toggle_button_set_dirty(effectButton, false);
    afx_led_set_dirty(overloadLamp, false);
    displayDirty = 0;
    for (uint8_t& dirty : pictureDirty) dirty = 0;
}

void CEditorGUI::freeControls() {
    for (afx_knob*& knob : knobs) {
        if (knob) afx_knob_release(knob);
        delete knob;
        knob = nullptr;
    }
    if (controlsReady) {
        afx_switch_release(wetOnlySwitch);
        afx_switch_release(muteSwitch);
        afx_toggle_button_release(effectButton);
        afx_led_release(overloadLamp);
        afx_lcd_release(messageDisplay);
        controlsReady = 0;
    }
    delete wetOnlySwitch;
    delete muteSwitch;
    delete effectButton;
    delete overloadLamp;
    delete messageDisplay;
    delete background;
    wetOnlySwitch = muteSwitch = nullptr;
    effectButton = nullptr;
    overloadLamp = nullptr;
    messageDisplay = nullptr;
    background = nullptr;
    for (afx_filmstrip*& picture : pictures) {
        delete picture;
        picture = nullptr;
    }
    for (afx_pixbuf*& image : pictureImages) {
        afx_pixbuf_free(context, image);
        image = nullptr;
    }
    afx_pixbuf_free(context, panelImage);
    panelImage = nullptr;
}

void CEditorGUI::markDirty(int32_t role) {
    if (role < kKnobCount) {
        if (knobs[role]) afx_knob_set_refresh(knobs[role], true);
    } else if (role == kRoleWetOnly) {
        if (wetOnlySwitch) afx_switch_set_dirty(wetOnlySwitch, true);
    } else if (role == kRoleMute) {
        if (muteSwitch) afx_switch_set_dirty(muteSwitch, true);
    } else if (role == kRoleEffect) {
        if (effectButton) afx_toggle_button_set_dirty(effectButton, true);
    } else if (role == kRoleLamp) {
        if (overloadLamp) afx_led_set_dirty(overloadLamp, true);
    } else if (role == kRoleDisplay) {
        displayDirty = 1;
    }
}

bool CEditorGUI::controlDirty(int32_t role) const {
    if (role < kKnobCount) return knobs[role] && afx_knob_get_refresh(knobs[role]);
    switch (role) {
        case kRoleWetOnly: return wetOnlySwitch && wetOnlySwitch->dirty;
        case kRoleMute: return muteSwitch && muteSwitch->dirty;
        case kRoleEffect: return effectButton && effectButton->dirty;
        case kRoleLamp: return overloadLamp && overloadLamp->dirty;
        case kRoleDisplay: return displayDirty != 0;
        default: return false;
    }
}

void CEditorGUI::redrawControl(int32_t role) {
    int32_t x = 0, y = 0, w = 0, h = 0;
    const bool drawable = panelSurface && isWindowOpen;
    if (role < kKnobCount) {
        afx_knob_set_refresh(knobs[role], false);
        if (!drawable) return;
        afx_knob_redraw(knobs[role], panelSurface);
        afx_knob_dirty_rect(knobs[role], &x, &y, &w, &h);
    } else if (role == kRoleWetOnly || role == kRoleMute) {
        afx_switch* sw = role == kRoleWetOnly ? wetOnlySwitch : muteSwitch;
        afx_switch_set_dirty(sw, false);
        if (!drawable) return;
        afx_switch_redraw(sw, panelSurface);
        afx_switch_dirty_rect(sw, &x, &y, &w, &h);
    } else if (role == kRoleEffect) {
        afx_toggle_button_set_dirty(effectButton, false);
        if (!drawable) return;
        afx_toggle_button_redraw(effectButton, panelSurface);
        afx_toggle_button_dirty_rect(effectButton, &x, &y, &w, &h);
    } else if (role == kRoleLamp) {
        afx_led_set_dirty(overloadLamp, false);
        // The lamp is told after every audio block: draw it only when it changed.
        if (!drawable || !afx_led_update(overloadLamp, panelSurface)) return;
        afx_led_dirty_rect(overloadLamp, &x, &y, &w, &h);
    } else {
        displayDirty = 0;
        if (!drawable) return;
        afx_lcd_restore(messageDisplay, panelSurface);
        afx_lcd_draw(messageDisplay, panelSurface);
        afx_lcd_dirty_rect(messageDisplay, &x, &y, &w, &h);
    }
    invalidatePanelRect(x, y, w, h);
}

void CEditorGUI::redrawPicture(int32_t picture) {
    pictureDirty[picture] = 0;
    if (!pictures[picture] || !panelSurface || !isWindowOpen) return;
    afx_filmstrip_redraw(pictures[picture], panelSurface);
    int32_t x = 0, y = 0, w = 0, h = 0;
    afx_filmstrip_dirty_rect(pictures[picture], &x, &y, &w, &h);
    invalidatePanelRect(x, y, w, h);
}

float CEditorGUI::knobValue(int32_t parameter) const {
    if (parameter < 0 || parameter >= kKnobCount || !controlsReady) return -1.0f;
    return afx_knob_get_value(knobs[parameter]);
}

uint32_t CEditorGUI::knobDragMode(int32_t parameter) const {
    if (parameter < 0 || parameter >= kKnobCount || !controlsReady)
        return static_cast<uint32_t>(knobMode);
    return afx_knob_get_mode(knobs[parameter]);
}

bool CEditorGUI::switchOn(int32_t parameter) const {
    if (!controlsReady) return false;
    if (parameter == kWetOnly) return afx_switch_is_on(wetOnlySwitch);
    if (parameter == kMute) return afx_switch_is_on(muteSwitch);
    if (parameter == kEffect) return afx_toggle_button_is_on(effectButton);
    return false;
}

bool CEditorGUI::overloadLit() const { return controlsReady && afx_led_is_on(overloadLamp); }

}  // namespace ZEPHRA2F9C41D07
