#include "artwork.h"

#include <cmath>
#include <cstring>

#include "afx/afx_pen.h"
#include "afx/afx_pixbuf.h"
#include "afx/afx_text.h"

const ArtImage kArtImages[kArtImageCount] = {
    {128, 144, 538, 144, 538, "images/128-panel.pixdata", "editor panel"},
    {131, 32, 32, 32, 16, "images/131-previous.pixdata", "previous program"},
    {132, 32, 32, 32, 16, "images/132-next.pixdata", "next program"},
    {134, 32, 32, 32, 16, "images/134-info.pixdata", "info"},
    {198, 140, 32, 140, 16, "images/198-name-plate.pixdata", "name plate"},
    {251, 24, 48, 24, 24, "images/251-close.pixdata", "dialog close"},
    {135, 32, 32, 32, 16, "images/135-menu.pixdata", "menu button (spare)"},
    {137, 32, 32, 32, 16, "images/137-help.pixdata", "help button (spare)"},
    {136, 32, 80, 32, 16, "images/136-meter.pixdata", "five-step level lamp (spare)"},
    {199, 500, 275, 500, 275, "images/199-banner.pixdata", "product banner (spare)"},
    {252, 24, 48, 24, 24, "images/252-back.pixdata", "dialog back (spare)"},
    {253, 24, 48, 24, 24, "images/253-confirm.pixdata", "dialog confirm (spare)"},
};

const PanelBox kPanelBoxes[kPanelBoxCount] = {
    {78, 110, 44, 44, "Input knob"},    {21, 156, 44, 44, "Pre-delay knob"},
    {78, 193, 44, 44, "RT60 knob"},     {21, 230, 44, 44, "Damping knob"},
    {78, 276, 44, 44, "Width knob"},    {78, 336, 44, 44, "Mix knob"},
    {21, 382, 44, 44, "Output knob"},   {27, 320, 32, 16, "Wet-Only switch"},
    {84, 396, 32, 16, "Mute switch"},   {48, 446, 48, 24, "Effect button"},
    {37, 292, 12, 12, "overload lamp"}, {18, 64, 108, 16, "message display"},
    {36, 3, 32, 16, "info button"},     {76, 3, 32, 16, "previous button"},
    {110, 3, 32, 16, "next button"},    {2, 519, 140, 16, "name plate"},
};

namespace {

const uint8_t kOrange[3] = {253, 125, 43};  // the knobs' value arc

struct Painter {
    afx_pixbuf* pb;
    afx_pen pen;
    afx_text text;
    bool fontsOk;

    explicit Painter(afx_pixbuf* target) : pb(target) {
        afx_pen_init(&pen);
        afx_pen_set_target(&pen, pb);
        afx_pen_set_clip(&pen, -1, int32_t(pb->width) + 1, -1, int32_t(pb->height) + 1);
        afx_text_init(&text);
        fontsOk = text.atlas != nullptr;
        afx_text_set_target(&text, pb);
        afx_text_set_box(&text, -1.0f, -1.0f, float(pb->width) + 2.0f, float(pb->height) + 2.0f);
    }
    ~Painter() { afx_text_release(&text); }

    void rect(int32_t x, int32_t y, int32_t w, int32_t h, uint8_t r, uint8_t g, uint8_t b) {
        afx_pixbuf_fill_rect(nullptr, pb, x, y, w, h, r, g, b);
    }
    void blendRect(int32_t x, int32_t y, int32_t w, int32_t h, uint8_t r, uint8_t g, uint8_t b,
                   uint8_t a) {
        for (int32_t j = 0; j < h; ++j)
            afx_pixbuf_blend_hline(nullptr, pb, x, y + j, x + w - 1, r, g, b, a);
    }
    void colour(uint32_t r, uint32_t g, uint32_t b, uint32_t a = 255) {
        afx_set_colour(&pen, r, g, b, a);
    }
    void roundRect(float x, float y, float w, float h, float radius) {
        afx_pen_set_radius(&pen, radius);
        afx_fill_round_rect(&pen, x, y, w, h);
    }
    void disc(float cx, float cy, float r) { afx_fill_disc(&pen, cx, cy, r); }
    void line(float x1, float y1, float x2, float y2, float halfWidth) {
        afx_pen_set_radius(&pen, halfWidth);
        afx_stroke_line(&pen, x1, y1, x2, y2);
    }
    void arc(float cx, float cy, float inner, float outer, float a0, float a1) {
        afx_fill_arc(&pen, cx, cy, inner, outer, a0, a1);
    }

    // Text with its baseline at y; align -1 left of x, 0 centred on x, 1 right of it.
    float label(const char* font, float px, float x, float y, int align, uint32_t r, uint32_t g,
                uint32_t b, const char* s) {
        afx_text_set_font(&text, afx_font_find(font));
        afx_text_set_size(&text, px);
        afx_set_colour(&text, r, g, b, 255);
        const float w = afx_text_width(&text, s);
        const float left = align < 0 ? x : (align == 0 ? x - w / 2.0f : x - w);
        afx_text_move_to(&text, std::floor(left + 0.5f), y);
        afx_text_draw(&text, s);
        return w;
    }

    // A small slotted screw head, its slot turned by `deg`.
    void screw(float cx, float cy, float r, float deg) {
        colour(18, 18, 18, 200);
        disc(cx + 0.5f, cy + 0.8f, r + 0.6f);
        colour(96, 96, 98);
        disc(cx, cy, r);
        colour(70, 70, 72);
        disc(cx + 0.4f, cy + 0.5f, r - 1.0f);
        const float a = deg * 3.14159265f / 180.0f;
        const float dx = std::cos(a) * (r - 0.8f), dy = std::sin(a) * (r - 0.8f);
        colour(26, 26, 26);
        line(cx - dx, cy - dy, cx + dx, cy + dy, 0.45f);
    }

    // An engraved line: a dark groove over a faint light edge.
    void divider(int32_t x1, int32_t x2, int32_t y) {
        afx_pixbuf_blend_hline(nullptr, pb, x1, y, x2, 0, 0, 0, 110);
        afx_pixbuf_blend_hline(nullptr, pb, x1, y + 1, x2, 255, 255, 255, 18);
    }
};

// Label grey on the face: quiet enough to read as printing, not as a control.
constexpr uint32_t kInk = 178;
constexpr float kLabelPx = 8.0f;

void drawPanel(Painter& p) {
    const int32_t w = 144, h = 538;
    p.rect(0, 0, w, h, kPanelFace, kPanelFace, kPanelFace);
    // The face's edge: a light top-left bevel and a dark bottom-right one.
    afx_pixbuf_blend_hline(nullptr, p.pb, 0, 0, w - 1, 255, 255, 255, 24);
    afx_pixbuf_blend_hline(nullptr, p.pb, 0, h - 1, w - 1, 0, 0, 0, 120);
    afx_pixbuf_blend_vline(nullptr, p.pb, 0, 1, h - 2, 255, 255, 255, 16);
    afx_pixbuf_blend_vline(nullptr, p.pb, w - 1, 1, h - 2, 0, 0, 0, 100);

    // Screws in the four corners, clear of the top buttons and the name plate.
    p.screw(14.0f, 11.0f, 3.2f, 30.0f);
    p.screw(8.0f, 505.0f, 3.2f, 120.0f);
    p.screw(136.0f, 505.0f, 3.2f, 75.0f);

    // Product name and type above the message display.
    p.label("Michroma", 13.0f, 72.0f, 42.0f, 0, 226, 226, 228, "KORVEX52");
    p.label("Arial Small", 9.0f, 72.0f, 55.0f, 0, kOrange[0], kOrange[1], kOrange[2],
            "PLATE REVERB");

    // The read-out's bezel: a recessed frame just outside its box.
    p.blendRect(16, 62, 112, 2, 0, 0, 0, 140);
    p.blendRect(16, 64, 2, 16, 0, 0, 0, 140);
    p.blendRect(126, 64, 2, 16, 0, 0, 0, 90);
    p.blendRect(16, 80, 112, 1, 0, 0, 0, 90);
    afx_pixbuf_blend_hline(nullptr, p.pb, 16, 81, 127, 255, 255, 255, 26);

    p.divider(8, 135, 92);
    p.divider(8, 135, 438);
    p.divider(8, 135, 494);

    // Labels, small capitals in Arial Small, beside each control.
    p.label("Arial Small", kLabelPx, 72.0f, 135.0f, 1, kInk, kInk, kInk, "INPUT");
    p.label("Arial Small", kLabelPx, 70.0f, 181.0f, -1, kInk, kInk, kInk, "PRE-DELAY");
    p.label("Arial Small", kLabelPx, 72.0f, 213.0f, 1, kInk, kInk, kInk, "DECAY");
    p.label("Arial Small", kLabelPx, 72.0f, 223.0f, 1, kInk, kInk, kInk, "(RT60)");
    p.label("Arial Small", kLabelPx, 70.0f, 255.0f, -1, kInk, kInk, kInk, "DAMPING");
    p.label("Arial Small", kLabelPx, 72.0f, 286.0f, 1, kInk, kInk, kInk, "WIDTH");
    p.label("Arial Small", kLabelPx, 43.0f, 315.0f, 0, kInk, kInk, kInk, "PEAK");
    p.label("Arial Small", kLabelPx, 43.0f, 347.0f, 0, kInk, kInk, kInk, "WET ONLY");
    p.label("Arial Small", kLabelPx, 72.0f, 361.0f, 1, kInk, kInk, kInk, "MIX");
    p.label("Arial Small", kLabelPx, 43.0f, 435.0f, 0, kInk, kInk, kInk, "OUTPUT");
    p.label("Arial Small", kLabelPx, 100.0f, 423.0f, 0, kInk, kInk, kInk, "MUTE");
    p.label("Arial Small", kLabelPx, 72.0f, 482.0f, 0, kInk, kInk, kInk, "EFFECT");
}

// A small hardware key for the top row: dark cap with a soft top light;
// pressed it sinks (darker, no light, glyph one pixel lower and lit).
void drawKey(Painter& p, int32_t y0, int32_t w, int32_t h, bool pressed) {
    p.rect(0, y0, w, h, kPanelFace, kPanelFace, kPanelFace);
    p.colour(16, 16, 16);
    p.roundRect(1.0f, float(y0) + 1.0f, float(w) - 3.0f, float(h) - 3.0f, 2.5f);
    const uint32_t cap = pressed ? 44 : 66;
    p.colour(cap, cap, cap + 2);
    p.roundRect(2.0f, float(y0) + 2.0f, float(w) - 5.0f, float(h) - 5.0f, 2.0f);
    if (!pressed) {
        afx_pixbuf_blend_hline(nullptr, p.pb, 4, y0 + 2, w - 5, 255, 255, 255, 40);
    } else {
        afx_pixbuf_blend_hline(nullptr, p.pb, 3, y0 + 2, w - 4, 0, 0, 0, 70);
    }
}

void glyphColour(Painter& p, bool pressed) {
    if (pressed) p.colour(kOrange[0], kOrange[1], kOrange[2]);
    else p.colour(214, 214, 214);
}

void drawTopButton(Painter& p, int32_t id) {
    for (int f = 0; f < 2; ++f) {
        const bool pressed = f == 1;
        const float y = float(f * 16) + (pressed ? 1.0f : 0.0f);
        drawKey(p, f * 16, 32, 16, pressed);
        glyphColour(p, pressed);
        const float cx = 15.5f, cy = y + 7.0f;
        if (id == 134) {  // info: a dot over a stem
            p.disc(cx, cy - 3.5f, 1.2f);
            p.line(cx, cy - 0.8f, cx, cy + 3.5f, 0.8f);
        } else if (id == 131 || id == 132) {  // a chevron pointing back or on
            const float d = id == 131 ? -1.0f : 1.0f;
            p.line(cx - 2.0f * d, cy - 4.0f, cx + 2.0f * d, cy, 0.8f);
            p.line(cx + 2.0f * d, cy, cx - 2.0f * d, cy + 4.0f, 0.8f);
        } else if (id == 135) {  // menu: three bars
            for (int i = -1; i <= 1; ++i)
                p.line(cx - 4.0f, cy + 3.0f * float(i), cx + 4.0f, cy + 3.0f * float(i), 0.6f);
        } else if (id == 137) {  // help
            const uint8_t* c = kOrange;
            p.label("Arial Small", 11.0f, cx + 0.5f, cy + 4.0f, 0, pressed ? c[0] : 214,
                    pressed ? c[1] : 214, pressed ? c[2] : 214, "?");
        }
    }
}

void drawNamePlate(Painter& p) {
    for (int f = 0; f < 2; ++f) {
        const bool pressed = f == 1;
        const int32_t y0 = f * 16;
        p.rect(0, y0, 140, 16, kPanelFace, kPanelFace, kPanelFace);
        p.colour(14, 14, 14);
        p.roundRect(0.0f, float(y0), 139.0f, 15.0f, 2.0f);
        const uint32_t plate = pressed ? 22 : 28;
        p.colour(plate, plate, plate + 1);
        p.roundRect(1.0f, float(y0) + 1.0f, 137.0f, 13.0f, 1.5f);
        if (!pressed) afx_pixbuf_blend_hline(nullptr, p.pb, 3, y0 + 14, 136, 255, 255, 255, 14);
        const float base = float(y0) + 11.0f + (pressed ? 1.0f : 0.0f);
        const uint32_t ink = pressed ? 150 : 200;
        p.label("Arial Small", 8.0f, 8.0f, base, -1, ink, ink, ink, "CORVANE AUDIO");
        p.label("Arial Small", 8.0f, 132.0f, base, 1, kOrange[0], kOrange[1], kOrange[2],
                "KORVEX52");
    }
}

// Dialog buttons, 24 x 24 per frame: a dark round key; the lower frame is
// the highlighted state (lit ring and glyph). Drawn on a plain grey `bg`.
void drawDialogButtonOn(Painter& p, int32_t id, uint8_t bg) {
    for (int f = 0; f < 2; ++f) {
        const bool lit = f == 1;
        const float y0 = float(f * 24);
        p.rect(0, f * 24, 24, 24, bg, bg, bg);
        const float cx = 11.5f, cy = y0 + 11.5f;
        p.colour(12, 12, 12);
        p.disc(cx, cy + 0.5f, 10.5f);
        if (lit) p.colour(kOrange[0], kOrange[1], kOrange[2]);
        else p.colour(76, 76, 78);
        p.disc(cx, cy, 10.0f);
        p.colour(lit ? 70 : 52, lit ? 40 : 52, lit ? 30 : 54);
        p.disc(cx, cy, 8.8f);
        if (lit) p.colour(255, 236, 220);
        else p.colour(210, 210, 210);
        if (id == 251) {  // close
            p.line(cx - 3.6f, cy - 3.6f, cx + 3.6f, cy + 3.6f, 0.9f);
            p.line(cx - 3.6f, cy + 3.6f, cx + 3.6f, cy - 3.6f, 0.9f);
        } else if (id == 252) {  // back
            p.line(cx + 1.5f, cy - 4.0f, cx - 2.5f, cy, 0.9f);
            p.line(cx - 2.5f, cy, cx + 1.5f, cy + 4.0f, 0.9f);
        } else {  // confirm
            p.line(cx - 4.0f, cy + 0.2f, cx - 1.2f, cy + 3.2f, 0.9f);
            p.line(cx - 1.2f, cy + 3.2f, cx + 4.2f, cy - 3.2f, 0.9f);
        }
    }
}

// Five lamp steps, dark to full overload red, for a level indicator.
void drawMeterStrip(Painter& p) {
    for (int f = 0; f < 5; ++f) {
        const int32_t y0 = f * 16;
        p.rect(0, y0, 32, 16, kPanelFace, kPanelFace, kPanelFace);
        p.colour(14, 14, 14);
        p.roundRect(3.0f, float(y0) + 4.0f, 25.0f, 7.0f, 3.5f);
        for (int i = 0; i < 4; ++i) {
            const bool on = i < f;
            const float x = 7.5f + 5.6f * float(i);
            if (on) {
                const bool hot = i == 3;
                p.colour(hot ? 240 : 253, hot ? 39 : 125 + 30 * (2 - i), hot ? 16 : 43, 80);
                p.disc(x, float(y0) + 7.5f, 3.2f);
                p.colour(hot ? 240 : 253, hot ? 39 : 125 + 30 * (2 - i), hot ? 16 : 43);
            } else {
                p.colour(56, 56, 56);
            }
            p.disc(x, float(y0) + 7.5f, 1.8f);
        }
    }
}

void drawBanner(Painter& p) {
    const int32_t w = 500, h = 275;
    p.rect(0, 0, w, h, kPanelFace, kPanelFace, kPanelFace);
    afx_pixbuf_blend_hline(nullptr, p.pb, 0, 0, w - 1, 255, 255, 255, 24);
    afx_pixbuf_blend_hline(nullptr, p.pb, 0, h - 1, w - 1, 0, 0, 0, 120);
    p.screw(12.0f, 12.0f, 4.0f, 30.0f);
    p.screw(488.0f, 12.0f, 4.0f, 100.0f);
    p.screw(12.0f, 263.0f, 4.0f, 150.0f);
    p.screw(488.0f, 263.0f, 4.0f, 65.0f);
    // The product mark, a knob with its lit track, left of the name.
    const float cx = 100.0f, cy = 130.0f;
    p.colour(0, 0, 0, 90);
    p.disc(cx + 2.0f, cy + 4.0f, 52.0f);
    p.colour(24, 24, 24);
    p.disc(cx, cy, 52.0f);
    p.colour(50, 50, 50);
    p.arc(cx, cy, 40.0f, 46.0f, 45.0f, 315.0f);
    p.colour(kOrange[0], kOrange[1], kOrange[2]);
    p.arc(cx, cy, 40.0f, 46.0f, 45.0f, 230.0f);
    p.colour(129, 4, 0);
    p.disc(cx, cy, 32.0f);
    p.colour(160, 20, 10);
    p.disc(cx - 1.0f, cy - 2.0f, 28.0f);
    const float a = 230.0f * 3.14159265f / 180.0f;
    p.colour(224, 224, 224);
    p.line(cx - std::sin(a) * 8.0f, cy + std::cos(a) * 8.0f, cx - std::sin(a) * 27.0f,
           cy + std::cos(a) * 27.0f, 2.0f);
    p.label("Michroma", 40.0f, 178.0f, 128.0f, -1, 232, 232, 234, "KORVEX52");
    p.label("Saira", 26.0f, 180.0f, 164.0f, -1, kOrange[0], kOrange[1], kOrange[2], "Plate Reverb");
    p.divider(180, 470, 184);
    p.label("Arial Small", 12.0f, 180.0f, 204.0f, -1, 150, 150, 150, "CORVANE AUDIO SYSTEMS");
}

// The same picture drawn over black and over white: where they differ the
// background showed through, so the difference gives each pixel's coverage
// and the black copy, divided by it, the picture's own colour. Edges keep
// their smoothness over whatever the picture is later blended onto.
void coverageFromBlackAndWhite(const afx_pixbuf* black, const afx_pixbuf* white, uint8_t* rgba) {
    const uint8_t* kb = reinterpret_cast<const uint8_t*>(black->pixels);
    const uint8_t* kw = reinterpret_cast<const uint8_t*>(white->pixels);
    for (size_t i = 0; i < size_t(black->width) * size_t(black->height); ++i) {
        int alpha = 255 - (int(kw[i * 4 + 1]) - int(kb[i * 4 + 1]));
        alpha = alpha < 0 ? 0 : (alpha > 255 ? 255 : alpha);
        for (int ch = 0; ch < 3; ++ch) {
            const int v = alpha ? (int(kb[i * 4 + ch]) * 255 + alpha / 2) / alpha : 0;
            rgba[i * 4 + ch] = uint8_t(v > 255 ? 255 : v);
        }
        rgba[i * 4 + 3] = uint8_t(alpha < 3 ? 0 : alpha);
    }
}

// The round keys sit on the dialog page, whatever lies under them: the
// corners outside the key are clear.
bool drawDialogButton(Painter& p, int32_t id) {
    afx_pixbuf* white = afx_pixbuf_new(nullptr, p.pb->width, p.pb->height);
    if (!white) return false;
    drawDialogButtonOn(p, id, 0);
    {
        Painter onWhite(white);
        drawDialogButtonOn(onWhite, id, 255);
    }
    std::vector<uint8_t> rgba(size_t(p.pb->width) * size_t(p.pb->height) * 4u);
    coverageFromBlackAndWhite(p.pb, white, rgba.data());
    std::memcpy(p.pb->pixels, rgba.data(), rgba.size());
    afx_pixbuf_free(nullptr, white);
    return true;
}

}  // namespace

afx_pixbuf* drawArtImage(int32_t id) {
    const ArtImage* image = nullptr;
    for (const ArtImage& a : kArtImages)
        if (a.id == id) image = &a;
    if (!image) return nullptr;
    afx_pixbuf* pb = afx_pixbuf_new(nullptr, uint32_t(image->width), uint32_t(image->height));
    if (!pb) return nullptr;
    Painter p(pb);
    if (!p.fontsOk) {
        afx_pixbuf_free(nullptr, pb);
        return nullptr;
    }
    switch (id) {
        case 128: drawPanel(p); break;
        case 131:
        case 132:
        case 134:
        case 135:
        case 137: drawTopButton(p, id); break;
        case 198: drawNamePlate(p); break;
        case 251:
        case 252:
        case 253:
            if (!drawDialogButton(p, id)) {
                afx_pixbuf_free(nullptr, pb);
                return nullptr;
            }
            break;
        case 136: drawMeterStrip(p); break;
        case 199: drawBanner(p); break;
        default: break;
    }
    return pb;
}

namespace {

// The mark on one background grey: a dark rounded tile with the lit knob.
void drawMarkOn(afx_pixbuf* pb, int32_t size, uint8_t bg) {
    afx_pixbuf_fill_rect(nullptr, pb, 0, 0, size, size, bg, bg, bg);
    Painter p(pb);
    const float s = float(size);
    const float c = (s - 1.0f) / 2.0f;
    p.colour(34, 34, 36);
    p.roundRect(0.0f, 0.0f, s - 1.0f, s - 1.0f, s * 0.18f);
    const float ro = s * 0.42f, ri = ro - std::fmax(1.6f, s * 0.09f);
    p.colour(70, 70, 70);
    p.arc(c, c, ri, ro, 45.0f, 315.0f);
    p.colour(kOrange[0], kOrange[1], kOrange[2]);
    p.arc(c, c, ri, ro, 45.0f, 230.0f);
    p.colour(150, 12, 4);
    p.disc(c, c, ri - std::fmax(1.0f, s * 0.06f));
    const float a = 230.0f * 3.14159265f / 180.0f;
    p.colour(236, 236, 236);
    const float len = ri - std::fmax(1.0f, s * 0.08f);
    p.line(c, c, c - std::sin(a) * len, c + std::cos(a) * len, std::fmax(0.5f, s * 0.045f));
}

}  // namespace

std::vector<uint8_t> drawProductMark(int32_t size) {
    afx_pixbuf* black = afx_pixbuf_new(nullptr, uint32_t(size), uint32_t(size));
    afx_pixbuf* white = afx_pixbuf_new(nullptr, uint32_t(size), uint32_t(size));
    std::vector<uint8_t> rgba(size_t(size) * size_t(size) * 4u, 0);
    if (black && white) {
        drawMarkOn(black, size, 0);
        drawMarkOn(white, size, 255);
        coverageFromBlackAndWhite(black, white, rgba.data());
    }
    afx_pixbuf_free(nullptr, black);
    afx_pixbuf_free(nullptr, white);
    return rgba;
}
