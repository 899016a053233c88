// Text layout: the target, layout box and pen, strings drawn with and without
// wrapping, and the measures of strings and formatted blocks. Drawing and
// measuring walk their text with one line-breaking routine.
#include "afx/afx_text.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "afx/afx_pixbuf.h"
#include "afx/afx_text_glyph.h"

namespace {

// The formatted text: in place when short, on the heap when long; empty when
// formatting fails or memory runs out.
class Formatted {
public:
    Formatted(const char* format, va_list args) {
        va_list again;
        va_copy(again, args);
        const int n = std::vsnprintf(local_, sizeof(local_), format, args);
        if (n < 0) {
            local_[0] = '\0';
        } else if (static_cast<size_t>(n) >= sizeof(local_)) {
            heap_ = static_cast<char*>(std::malloc(static_cast<size_t>(n) + 1));
            if (heap_) {
                std::vsnprintf(heap_, static_cast<size_t>(n) + 1, format, again);
                text_ = heap_;
            } else {
                text_ = "";
            }
        }
        va_end(again);
    }
    ~Formatted() { std::free(heap_); }
    Formatted(const Formatted&) = delete;
    Formatted& operator=(const Formatted&) = delete;
    const char* str() const { return text_; }

private:
    char local_[512];
    char* heap_ = nullptr;
    const char* text_ = local_;
};

// No right edge: the line breaks at "\n" only.
constexpr float kUnbounded = std::numeric_limits<float>::infinity();

// Bytes of the link marker "<a>" or "</a>" that starts at p, 0 for none.
size_t link_marker(const unsigned char* p) {
    const char* s = reinterpret_cast<const char*>(p);
    if (std::strncmp(s, "<a>", 3) == 0) return 3;
    if (std::strncmp(s, "</a>", 4) == 0) return 4;
    return 0;
}

// The one line-breaking rule of drawing and measuring. A line ends at "\n",
// and before a character whose advance would carry the line's end past the
// right edge, however little the line holds: a character wider than the
// whole box breaks even an empty line. Line is what is being laid out:
//   line.end()       where the line ends now (the pen, or the width so far);
//   line.put(c, a)   takes character c of advance a;
//   line.feed()      starts the next line after a "\n";
//   line.wrap()      starts the next line before an overflowing character,
//                    and says whether that character goes on it.
template <class Line>
void break_lines(const afx_text* text, const char* string, float right, bool skip_links,
                 Line& line) {
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(string); *p; ++p) {
        if (skip_links) {
            const size_t marker = link_marker(p);
            if (marker) {
                p += marker - 1;
                continue;
            }
        }
        if (*p == '\n') {
            line.feed();
            continue;
        }
        const float advance = afx_text_char_width(text, *p);
        if (line.end() + advance > right && !line.wrap()) continue;
        line.put(*p, advance);
    }
}

// Drawing: the pen is the line's end; a new line is afx_text_newline, and a
// character that overflows is drawn at the start of the next one.
struct PenLine {
    afx_text* text;
    float end() const { return text->pen_x; }
    void put(unsigned char c, float) { afx_text_draw_char(text, c); }
    void feed() { afx_text_newline(text); }
    bool wrap() {
        afx_text_newline(text);
        return true;
    }
};

// Measuring a string: the width of its last line; a "\n" moves the pen too.
struct WidthLine {
    afx_text* text;
    float sum = 0.0f;
    float end() const { return sum; }
    void put(unsigned char, float advance) { sum += advance; }
    void feed() {
        sum = 0.0f;
        afx_text_newline(text);
    }
    bool wrap() { return true; }  // never asked: the width has no right edge
};

// Measuring a block: the widest line and the lines' total height. Here the
// rules for measuring and printing part: the character that overflows ends
// its line and is counted in no line, where printing carries it over and
// draws it on the next.
struct BlockLine {
    float line_height;
    float widest = 0.0f, sum = 0.0f, total = line_height;
    float end() const { return sum; }
    void put(unsigned char, float advance) { sum += advance; }
    void feed() {
        if (sum > widest) widest = sum;
        sum = 0.0f;
        total += line_height;
    }
    bool wrap() {
        feed();
        return false;
    }
};

}  // namespace

void afx_text_set_target(afx_text* text, afx_pixbuf* pixbuf) {
    text->target = pixbuf;
    const int32_t w = pixbuf ? static_cast<int32_t>(pixbuf->width) : 0;
    const int32_t h = pixbuf ? static_cast<int32_t>(pixbuf->height) : 0;
    text->clip_left = 0;
    text->clip_right = w;
    text->clip_top = 0;
    text->clip_bottom = h;
    text->box_left = 0.0f;
    text->box_right = static_cast<float>(w);
    text->box_top = 0.0f;
    text->box_bottom = static_cast<float>(h);
}

void afx_text_set_box(afx_text* text, float x, float y, float width, float height) {
    text->box_left = x;
    text->box_right = x + width;
    text->box_top = y;
    text->box_bottom = y + height;
    text->clip_left = static_cast<int32_t>(text->box_left);
    text->clip_right = static_cast<int32_t>(text->box_right);
    text->clip_top = static_cast<int32_t>(text->box_top);
    text->clip_bottom = static_cast<int32_t>(text->box_bottom);
    text->pen_x = x;
    text->pen_y = y + text->baseline_offset * text->scale;
}

void afx_text_move_to(afx_text* text, float x, float y) {
    text->pen_x = x;
    text->pen_y = y;
}

void afx_text_newline(afx_text* text) {
    text->pen_x = text->box_left;
    text->pen_y += text->line_height * text->scale;
}

float afx_text_pen_x(const afx_text* text) { return text->pen_x; }
float afx_text_pen_y(const afx_text* text) { return text->pen_y; }

void afx_text_draw(afx_text* text, const char* string) {
    if (!text || !string) return;
    PenLine line{text};
    break_lines(text, string, kUnbounded, false, line);
}

// Printing knows no link markers: unlike the block measure, it draws "<a>"
// and "</a>" as the text they are.
void afx_text_printf(afx_text* text, const char* format, ...) {
    if (!text || !format) return;
    va_list args;
    va_start(args, format);
    const Formatted formatted(format, args);
    va_end(args);
    PenLine line{text};
    break_lines(text, formatted.str(), text->box_right, false, line);
}

float afx_text_width(afx_text* text, const char* string) {
    if (!text || !string) return 0.0f;
    WidthLine line{text};
    break_lines(text, string, kUnbounded, false, line);
    return line.sum;
}

void afx_text_measure_box(afx_text* text, int32_t* width, int32_t* height, float max_width,
                          float max_height, const char* format, ...) {
    if (width) *width = 0;
    if (height) *height = 0;
    if (!text || !format) return;
    va_list args;
    va_start(args, format);
    const Formatted formatted(format, args);
    va_end(args);
    BlockLine line{afx_text_line_height(text)};
    break_lines(text, formatted.str(), max_width, true, line);
    if (line.sum > line.widest) line.widest = line.sum;  // the last line
    const float w = line.widest < max_width ? line.widest : max_width;
    const float h = line.total < max_height ? line.total : max_height;
    if (width) *width = w > 0.0f ? static_cast<int32_t>(std::ceil(w)) : 0;
    if (height) *height = h > 0.0f ? static_cast<int32_t>(std::ceil(h)) : 0;
}
