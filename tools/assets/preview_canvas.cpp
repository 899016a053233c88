// Preview drawing with the renderer's own arithmetic.
#include "preview_canvas.h"

#include <cmath>

#include <stb_image_write.h>

namespace {

constexpr int64_t kOne = 65536;  // 1.0 in 16.16 fixed point

struct GammaTables {
    uint8_t decode[256], encode[256];
    GammaTables() {
        for (int i = 0; i < 256; ++i) {
            decode[i] = uint8_t(std::fmin(1.0, std::fmax(0.0, std::pow(i / 255.0, 1.8))) * 255.0);
            encode[i] =
                uint8_t(std::fmin(1.0, std::fmax(0.0, std::pow(i / 255.0, 0.5555556))) * 255.0);
        }
        encode[0] = 0;
    }
};

const GammaTables& gamma() {
    static const GammaTables tables;
    return tables;
}

void appendBytes(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<uint8_t>*>(context);
    const auto* bytes = static_cast<const uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

}  // namespace

PreviewCanvas::PreviewCanvas(int width, int height, Rgb background)
    : width_(width), height_(height), rgba_(size_t(width) * size_t(height) * 4) {
    for (size_t i = 0; i < rgba_.size(); i += 4) {
        rgba_[i] = background.r;
        rgba_[i + 1] = background.g;
        rgba_[i + 2] = background.b;
        rgba_[i + 3] = 255;
    }
}

void PreviewCanvas::blend(int x, int y, Rgb colour, int alpha) {
    // Written only strictly inside the clip box (0, width, 0, height).
    if (x <= 0 || y <= 0 || x >= width_ || y >= height_) return;
    uint8_t* p = &rgba_[(size_t(y) * size_t(width_) + size_t(x)) * 4];
    const int c[3] = {colour.r, colour.g, colour.b};
    for (int k = 0; k < 3; ++k) p[k] = uint8_t(p[k] + (((c[k] - p[k]) * alpha) >> 8));
}

void PreviewCanvas::drawSdfGlyph(const SdfFont& font, const SdfGlyph& g, double penX,
                                 double baselineY, double scale, Rgb colour) {
    const double left = penX - g.originX * scale, top = baselineY - g.originY * scale;
    const int x0 = int(std::floor(left)), x1 = int(std::ceil(left + g.width * scale));
    const int y0 = int(std::floor(top)), y1 = int(std::ceil(top + g.height * scale));
    const int64_t originX = int64_t(g.atlasX) << 16, originY = int64_t(g.atlasY) << 16;
    const int64_t maxX = originX + (int64_t(g.width) << 16) - 32768;
    const int64_t maxY = originY + (int64_t(g.height) << 16) - 32768;
    const int64_t inverse = int64_t(65536.0 / scale);
    const float smoothing = 0.25f / (float(scale) * 2.5f);
    const int64_t gain = int64_t(1.25 * 65536.0);
    const int64_t w = int64_t(double(smoothing) * 65536.0);
    const int64_t leftFx = int64_t(left * 65536.0), topFx = int64_t(top * 65536.0);
    const int stride = font.atlasWidth;
    for (int y = y0; y < y1; ++y) {
        int64_t ay = originY + ((int64_t(y) * kOne - topFx) * inverse) / kOne;
        ay = std::max(originY, std::min(maxY, ay));
        for (int x = x0; x < x1; ++x) {
            int64_t ax = originX + ((int64_t(x) * kOne - leftFx) * inverse) / kOne;
            ax = std::max(originX, std::min(maxX, ax));
            const int px = int(ax >> 16), py = int(ay >> 16);
            const int64_t fx = (ax >> 8) & 255, fy = (ay >> 8) & 255;
            const uint8_t* row0 = &font.red[size_t(py) * stride + px];
            const uint8_t* row1 = row0 + stride;
            const int64_t d = (row0[0] * (256 - fx) * (256 - fy) + row0[1] * fx * (256 - fy) +
                               row1[0] * (256 - fx) * fy + row1[1] * fx * fy) >>
                              8;
            int64_t t =
                (((d * gain) >> 16) + (w - 32768)) * 65536 / (2 * w);  // may be negative: no shift
            t = std::max<int64_t>(0, std::min<int64_t>(kOne, t));
            int64_t coverage = ((98304 - t) * 2 * ((t * t) >> 16)) / kOne;
            coverage = std::max<int64_t>(0, std::min<int64_t>(65535, coverage));
            blend(x, y, colour, int((255 * (coverage >> 8)) >> 8));
        }
    }
}

double PreviewCanvas::drawSdfText(const SdfFont& font, const std::string& text, double penX,
                                  double baselineY, double sizePx, Rgb colour) {
    const double scale = float(sizePx) / float(font.recipe.baseSize);
    for (unsigned char c : text) {
        if (c < kFirstSdfCode || c > kLastSdfCode) continue;
        const SdfGlyph& g = font.glyphs[size_t(c - kFirstSdfCode)];
        drawSdfGlyph(font, g, penX, baselineY, scale, colour);
        penX += g.advance * scale;
    }
    return penX;
}

int PreviewCanvas::drawBitmapText(const BitmapFont& font, const std::string& text, int x,
                                  int baselineY, Rgb colour) {
    const GammaTables& t = gamma();
    const int linear[3] = {t.decode[colour.r], t.decode[colour.g], t.decode[colour.b]};
    for (unsigned char c : text) {
        const BitmapGlyph& g = font.glyphs[c];
        for (int row = 0; row < g.height; ++row) {
            for (int column = 0; column < g.width; ++column) {
                const int dx = x + g.xOffset + column, dy = baselineY - g.yOffset + row;
                if (dx < 0 || dy < 0 || dx >= width_ || dy >= height_) continue;
                const int a = g.coverage[size_t(row) * g.width + column];
                uint8_t* p = &rgba_[(size_t(dy) * size_t(width_) + size_t(dx)) * 4];
                for (int k = 0; k < 3; ++k) {
                    const int lin = t.decode[p[k]];
                    p[k] = t.encode[(lin + (((linear[k] - lin) * a) >> 8)) & 255];
                }
            }
        }
        x += g.advance;
    }
    return x;
}

void PreviewCanvas::drawGrey(const std::vector<uint8_t>& grey, int width, int height, int x,
                             int y) {
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            const int dx = x + column, dy = y + row;
            if (dx < 0 || dy < 0 || dx >= width_ || dy >= height_) continue;
            uint8_t* p = &rgba_[(size_t(dy) * size_t(width_) + size_t(dx)) * 4];
            p[0] = p[1] = p[2] = grey[size_t(row) * width + column];
            p[3] = 255;
        }
    }
}

PreviewCanvas PreviewCanvas::magnified(int factor) const {
    PreviewCanvas big(width_ * factor, height_ * factor, Rgb{0, 0, 0});
    for (int y = 0; y < big.height_; ++y) {
        for (int x = 0; x < big.width_; ++x) {
            const uint8_t* from =
                &rgba_[(size_t(y / factor) * size_t(width_) + size_t(x / factor)) * 4];
            std::copy(from, from + 4, &big.rgba_[(size_t(y) * size_t(big.width_) + size_t(x)) * 4]);
        }
    }
    return big;
}

std::vector<uint8_t> PreviewCanvas::png() const {
    std::vector<uint8_t> bytes;
    stbi_write_png_to_func(appendBytes, &bytes, width_, height_, 4, rgba_.data(), width_ * 4);
    return bytes;
}
