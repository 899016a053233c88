// The widget gallery against its reviewed image: every widget kind in each of
// its states on the editor's grey, knobs at 0 to 100 in each cap colour.
#include "afx/afx_bitmap_font.h"
#include "afx/afx_pen.h"
#include "afx/afx_pixbuf.h"
#include "afx/afx_text.h"
#include "afx/widgets/afx_filmstrip.h"
#include "afx/widgets/afx_knob.h"
#include "afx/widgets/afx_lcd.h"
#include "afx/widgets/afx_led.h"
#include "afx/widgets/afx_push_button.h"
#include "afx/widgets/afx_switch.h"
#include "afx/widgets/afx_text_box.h"
#include "afx/widgets/afx_toggle_button.h"
#include "golden_image.h"

void* golden_widgets_resources_module();

namespace {

constexpr uint32_t kGrey = 40;  // the editor's restore colour
constexpr int32_t kLeft = 12;
constexpr int32_t kGalleryWidth = 400, kGalleryHeight = 468;

// A widget's place and corner radius.
void place(afx_widget* w, int32_t x, int32_t y, uint32_t radius) {
    afx_widget_set_x(w, uint32_t(x));
    afx_widget_set_y(w, uint32_t(y));
    afx_widget_set_radius(w, radius);
}

// A section title at the baseline y.
void label(afx_text* text, float y, const char* title) {
    afx_text_move_to(text, kLeft, y);
    afx_text_draw(text, title);
}

void knobs(afx_pixbuf* sheet, int32_t top, afx_rgb cap, float detent, bool editor_colours) {
    const float values[] = {0, 25, 50, 75, 100};
    for (int32_t i = 0; i < 5; ++i) {
        afx_knob k;
        afx_knob_init(&k, nullptr);
        afx_knob_set_x(&k, uint32_t(kLeft + 4 + i * 58));
        afx_knob_set_y(&k, uint32_t(top));
        afx_knob_set_radius(&k, 22);
        afx_knob_set_background_colour(&k, kGrey, kGrey, kGrey);
        afx_knob_set_cap_colour(&k, cap.r, cap.g, cap.b);
        if (editor_colours) {
            afx_knob_set_arc_colour(&k, 253, 125, 43);
            afx_knob_set_pointer_colour(&k, 224, 224, 224);
            afx_knob_set_shadow(&k, true);
        }
        afx_knob_set_default(&k, detent);
        afx_knob_set_value(&k, values[i]);
        afx_knob_redraw(&k, sheet);
        afx_knob_release(&k);
    }
}

void switches(afx_pixbuf* sheet, int32_t top) {
    // The editor's: thumb right while on, shaded thumb, no caption.
    for (int32_t i = 0; i < 2; ++i) {
        afx_switch s;
        afx_switch_init(&s, nullptr);
        place(&s.widget, kLeft + 4 + i * 44, top + 2, 2);
        afx_switch_set_width(&s, 32);
        afx_switch_set_height(&s, 16);
        afx_switch_set_thumb_colour(&s, 96, 96, 96);
        afx_switch_set_track_on_colour(&s, 48, 48, 48);
        afx_switch_set_thumb_side(&s, 1);
        afx_switch_set_thumb_highlight(&s, true);
        afx_switch_set_background_colour(&s, kGrey, kGrey, kGrey);
        afx_switch_set_on(&s, i == 1);
        afx_switch_redraw(&s, sheet);
        afx_switch_release(&s);
    }
    // Toolkit colours with a caption: thumb sides 0 and 1, off and on.
    for (int32_t i = 0; i < 4; ++i) {
        afx_switch s;
        afx_switch_init(&s, nullptr);
        place(&s.widget, kLeft + 100 + i * 68, top, 3);
        afx_switch_set_width(&s, 56);
        afx_switch_set_height(&s, 20);
        afx_switch_set_caption(&s, "ON");
        afx_switch_set_thumb_side(&s, uint32_t(i / 2));
        afx_switch_set_background_colour(&s, kGrey, kGrey, kGrey);
        afx_switch_set_on(&s, i % 2 == 1);
        afx_switch_redraw(&s, sheet);
        afx_switch_release(&s);
    }
}

void toggles_and_lamps(afx_pixbuf* sheet, int32_t top) {
    // The editor's Effect button: off, on, and off under the pointer.
    for (int32_t i = 0; i < 3; ++i) {
        afx_toggle_button b;
        afx_toggle_button_init(&b, nullptr);
        place(&b.widget, kLeft + 4 + i * 60, top, 2);
        afx_toggle_button_set_width(&b, 48);
        afx_toggle_button_set_height(&b, 24);
        afx_toggle_button_set_caption(&b, "In");
        afx_toggle_button_set_alignment(&b, 1);
        afx_toggle_button_set_text_colour(&b, 240, 240, 240);
        afx_toggle_button_set_on_text_colour(&b, 240, 240, 240);
        afx_toggle_button_set_fill(&b, 80, 80, 80);
        afx_toggle_button_set_on_fill(&b, 183, 30, 22);
        afx_toggle_button_set_hover_fill(&b, 104, 104, 104);
        afx_toggle_button_set_highlight(&b, true);
        afx_toggle_button_set_background_colour(&b, kGrey, kGrey, kGrey);
        afx_toggle_button_set_on(&b, i == 1);
        afx_toggle_button_set_hover(&b, i == 2);
        afx_toggle_button_redraw(&b, sheet);
        afx_toggle_button_release(&b);
    }
    // The overload lamp, off and on.
    for (int32_t i = 0; i < 2; ++i) {
        afx_led led;
        afx_led_init(&led, nullptr);
        afx_led_set_x(&led, uint32_t(kLeft + 196 + i * 24));
        afx_led_set_y(&led, uint32_t(top + 6));
        afx_led_set_radius(&led, 6);
        afx_led_set_lamp_colour(&led, 240, 39, 16);
        afx_led_set_background_colour(&led, kGrey, kGrey, kGrey);
        afx_led_set_on(&led, i == 1);
        afx_led_redraw(&led, sheet);
        afx_led_release(&led);
    }
}

// Two 24 x 24 frames of a dialog's close button: normal above pressed.
afx_pixbuf* close_button_image() {
    afx_pixbuf* image = afx_pixbuf_new(nullptr, 24, 48);
    afx_pixbuf_fill(nullptr, image, kGrey, kGrey, kGrey, 255);
    afx_pen pen;
    afx_pen_init(&pen);
    afx_pen_set_target(&pen, image);
    for (int32_t frame = 0; frame < 2; ++frame) {
        const float y = float(frame * 24);
        afx_set_colour(&pen, frame ? 183 : 70, frame ? 30 : 70, frame ? 22 : 70, 255);
        afx_fill_disc(&pen, 12, y + 12, 10);
        afx_set_colour(&pen, 240, 240, 240, 255);
        afx_pen_set_radius(&pen, 1.25f);
        afx_stroke_line(&pen, 8, y + 8, 16, y + 16);
        afx_stroke_line(&pen, 16, y + 8, 8, y + 16);
    }
    return image;
}

void push_buttons(afx_pixbuf* sheet, int32_t top, const afx_pixbuf* close_image) {
    const char* captions[] = {"Ok", "Ok", "Ok", "Cancel", "Hidden"};
    for (int32_t i = 0; i < 5; ++i) {
        afx_push_button b;
        afx_push_button_init(&b, nullptr);
        place(&b.widget, kLeft + 4 + i * 64, top, 4);
        afx_push_button_set_width(&b, 56);
        afx_push_button_set_height(&b, 22);
        afx_push_button_set_caption(&b, captions[i]);
        afx_push_button_set_alignment(&b, i == 3 ? 0 : 1);
        afx_push_button_set_fill(&b, 70, 70, 70);
        afx_push_button_set_hover_fill(&b, 96, 96, 96);
        afx_push_button_set_pressed_fill(&b, 253, 125, 43);
        afx_push_button_set_text_colour(&b, 230, 230, 230);
        afx_push_button_set_pressed_text_colour(&b, 20, 20, 20);
        afx_push_button_set_background_colour(&b, kGrey, kGrey, kGrey);
        afx_push_button_set_hover(&b, i == 1);
        afx_push_button_set_pressed(&b, i == 2);
        afx_push_button_redraw(&b, sheet);
        if (i == 4) {  // drawn, then hidden: the next redraw erases it
            afx_push_button_set_hidden(&b, true);
            afx_push_button_redraw(&b, sheet);
        }
        afx_push_button_release(&b);
    }
    for (int32_t i = 0; i < 2; ++i) {
        afx_push_button b;
        afx_push_button_init(&b, nullptr);
        place(&b.widget, kLeft + 324 + i * 30, top - 1, 0);
        afx_push_button_set_width(&b, 24);
        afx_push_button_set_height(&b, 24);
        afx_push_button_set_image(&b, close_image);
        afx_push_button_set_pressed(&b, i == 1);
        afx_push_button_draw(&b, sheet);
        afx_push_button_release(&b);
    }
}

void text_boxes(afx_pixbuf* sheet, int32_t top) {
    for (uint32_t alignment = 0; alignment < 3; ++alignment) {
        afx_text_box t;
        afx_text_box_init(&t, nullptr);
        place(&t.widget, kLeft + 4 + int32_t(alignment) * 124, top, 2);
        afx_text_box_set_width(&t, 116);
        afx_text_box_set_height(&t, 20);
        afx_text_box_set_fill(&t, 236, 236, 236);
        afx_text_box_set_text_colour(&t, 24, 24, 24);
        afx_text_box_set_alignment(&t, alignment);
        afx_text_box_set_caption(
            &t, alignment < 2 ? "Plate Reverb" : "C:/Presets/Plates/Long Dark Hall.fxp");
        afx_text_box_set_background_colour(&t, kGrey, kGrey, kGrey);
        afx_text_box_redraw(&t, sheet);
        afx_text_box_release(&t);
    }
}

// A film strip of two frames (w x 16): a panel button, lit while pressed.
afx_pixbuf* button_strip(uint32_t width, bool arrow) {
    afx_pixbuf* strip = afx_pixbuf_new(nullptr, width, 32);
    afx_pixbuf_fill(nullptr, strip, kGrey, kGrey, kGrey, 255);
    afx_pen pen;
    afx_pen_init(&pen);
    afx_pen_set_target(&pen, strip);
    afx_pen_set_radius(&pen, 3.0f);
    for (int32_t frame = 0; frame < 2; ++frame) {
        const float y = float(frame * 16);
        afx_set_colour(&pen, 22, 22, 22, 255);
        afx_fill_round_rect(&pen, 1, y + 1, float(width) - 3.0f, 13);
        afx_set_colour(&pen, frame ? 96 : 60, frame ? 96 : 60, frame ? 96 : 60, 255);
        afx_fill_round_rect(&pen, 2, y + 2, float(width) - 5.0f, 11);
        afx_set_colour(&pen, frame ? 253 : 200, frame ? 125 : 200, frame ? 43 : 200, 255);
        if (arrow) {
            afx_pen_set_radius(&pen, 1.0f);
            afx_stroke_line(&pen, 18, y + 4.5f, 13, y + 8);
            afx_stroke_line(&pen, 13, y + 8, 18, y + 11.5f);
            afx_pen_set_radius(&pen, 3.0f);
        } else {
            afx_fill_disc(&pen, float(width) / 2.0f, y + 8, 3.0f);
        }
    }
    return strip;
}

void film_strips(afx_pixbuf* sheet, int32_t top, const afx_pixbuf* arrow, const afx_pixbuf* plate) {
    const struct {
        const afx_pixbuf* strip;
        uint32_t width;
        int32_t centre_x;
        float value;
    } items[] = {{arrow, 32, kLeft + 20, 0},
                 {arrow, 32, kLeft + 60, 100},
                 {plate, 140, kLeft + 170, 0},
                 {plate, 140, kLeft + 318, 100}};
    for (const auto& it : items) {
        afx_filmstrip f;
        afx_filmstrip_init(&f, nullptr);
        afx_filmstrip_set_strip(&f, it.strip);
        afx_filmstrip_set_frame_width(&f, it.width);
        afx_filmstrip_set_frame_height(&f, 16);
        afx_filmstrip_set_frame_count(&f, 2);
        afx_filmstrip_set_centre_x(&f, uint32_t(it.centre_x));
        afx_filmstrip_set_centre_y(&f, uint32_t(top + 8));
        afx_filmstrip_set_value(&f, it.value);
        afx_filmstrip_draw(&f, sheet);
    }
}

void read_outs(afx_pixbuf* sheet, afx_bitmap_font* font, int32_t top) {
    const struct {
        const char* text;
        int32_t max_chars;
        bool frame, shadow;
    } items[] = {
        {"Mix 35.00 %", 64, false, false},
        {"KORVEX52  V3.1.4  Plate Reverb", 12, false, false},
        {"RT60 Time 1.2 sec", 64, true, false},
        {"Pre Delay 25.0 ms", 64, false, true},
    };
    for (int32_t i = 0; i < 4; ++i) {
        afx_lcd lcd;
        afx_lcd_init(&lcd, nullptr, font);
        afx_lcd_set_x(&lcd, uint32_t(kLeft + 4 + (i % 2) * 188));
        afx_lcd_set_y(&lcd, uint32_t(top + (i / 2) * 24));
        afx_lcd_set_width(&lcd, 108);
        afx_lcd_set_height(&lcd, 16);
        afx_lcd_set_text_colour(&lcd, 218, 120, 4);
        afx_lcd_set_background_colour(&lcd, 0, 0, 0);
        afx_lcd_set_frame_colour(&lcd, 48, 48, 48);
        afx_lcd_set_frame(&lcd, items[i].frame);
        afx_lcd_set_shadow(&lcd, items[i].shadow);
        afx_lcd_set_max_chars(&lcd, items[i].max_chars);
        if (afx_lcd_prepare(&lcd)) {
            afx_lcd_set_text(&lcd, items[i].text);
            afx_lcd_draw(&lcd, sheet);
        }
        afx_lcd_release(&lcd);
    }
}

afx_pixbuf* render_widget_gallery() {
    afx_text text;
    afx_text_init(&text);
    afx_bitmap_font* font = afx_bitmap_font_get(true);
    afx_pixbuf* sheet =
        text.atlas && font ? afx_pixbuf_new(nullptr, kGalleryWidth, kGalleryHeight) : nullptr;
    if (!sheet) {
        afx_text_release(&text);
        return nullptr;
    }
    afx_pixbuf_fill(nullptr, sheet, kGrey, kGrey, kGrey, 255);
    afx_text_set_target(&text, sheet);
    afx_text_set_size(&text, 11.0f);
    afx_set_colour(&text, 160, 160, 160, 255);

    label(&text, 16, "Knobs at 0, 25, 50, 75, 100: detent at 50, and without");
    knobs(sheet, 24, afx_rgb{96, 96, 96}, 50.0f, true);
    knobs(sheet, 76, afx_rgb{129, 4, 0}, 0.0f, true);
    label(&text, 140, "Toolkit colours");
    knobs(sheet, 146, afx_rgb{96, 96, 96}, 0.0f, false);
    label(&text, 208, "Switches: off, on; captioned, thumb side 0 and 1, off and on");
    switches(sheet, 214);
    label(&text, 252, "Toggle off, on, hover; lamp off, on");
    toggles_and_lamps(sheet, 258);
    label(&text, 298, "Push buttons: normal, hover, pressed, left, hidden; picture");
    afx_pixbuf* close_image = close_button_image();
    push_buttons(sheet, 304, close_image);
    label(&text, 342, "Text boxes: left, centred, end kept in view; film strips");
    text_boxes(sheet, 348);
    afx_pixbuf* arrow = button_strip(32, true);
    afx_pixbuf* plate = button_strip(140, false);
    film_strips(sheet, 376, arrow, plate);
    label(&text, 414, "Read-outs: fits, cut at 12 characters, framed, shadowed");
    read_outs(sheet, font, 420);
    afx_pixbuf_free(nullptr, close_image);
    afx_pixbuf_free(nullptr, arrow);
    afx_pixbuf_free(nullptr, plate);
    afx_text_release(&text);
    return sheet;
}

using WidgetGallery = GoldenFixture;

TEST_F(WidgetGallery, MatchesTheReviewedGallery) {
    useResources(golden_widgets_resources_module());
    afx_pixbuf* sheet = render_widget_gallery();
    ASSERT_NE(sheet, nullptr);
#ifdef KORVEX_ASSET_PREVIEW_DIR
    EXPECT_TRUE(
        golden_write_png(KORVEX_ASSET_PREVIEW_DIR "/widget-gallery.png", golden_picture(sheet)));
#endif
    EXPECT_TRUE(golden_match("widget-gallery", sheet));
    afx_pixbuf_free(nullptr, sheet);
}

}  // namespace
