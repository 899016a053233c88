// The "bitmap-font" stage: renders the read-out's bitmap font, writes it as
// C++ source, and draws it amber on black at 1:1 and enlarged.
#include <cstdio>

#include "asset_stages.h"
#include "bitmap_font_source.h"
#include "preview_canvas.h"

namespace {

const Rgb kAmber{255, 176, 0};

bool writePreview(const AssetContext& context, const BitmapFont& font) {
    PreviewCanvas canvas(430, 104, Rgb{0, 0, 0});
    const char* const lines[] = {"RT60 Time 2.45 sec",
                                 "Damping 37.50 %",
                                 "Pre Delay 125.0 ms  Out Trim -3.5 dB",
                                 "KORVEX52 v3.1.4  Program 1: Large Plate",
                                 "!\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ",
                                 "[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~ \x01\x7f"};
    int baseline = 14;
    for (const char* line : lines) {
        canvas.drawBitmapText(font, line, 4, baseline, kAmber);
        baseline += 16;
    }
    const std::string stem = context.previewDir + "/bitmap-font";
    bool ok = writeFileIfChanged(stem + ".png", canvas.png());
    return writeFileIfChanged(stem + "-x4.png", canvas.magnified(4).png()) && ok;
}

}  // namespace

bool runBitmapFontStage(const AssetContext& context) {
    std::printf("bitmap-font: the read-out's font\n");
    FontFile font;
    std::string error;
    if (!font.load(bitmapFontPath(context), error)) {
        std::fprintf(stderr, "korvex-assets: %s\n", error.c_str());
        return false;
    }
    BitmapFont bitmap;
    if (!buildBitmapFont(font, kBitmapFontEmPixels, bitmap, error)) {
        std::fprintf(stderr, "korvex-assets: %s\n", error.c_str());
        return false;
    }
    char note[256];
    std::snprintf(note, sizeof(note), "%s (%s) at %.4f px per em, %zu bytes, CRC-32 %08x",
                  kBitmapFontFile, kBitmapFontPackage, kBitmapFontEmPixels, font.fileBytes().size(),
                  unsigned(crc32Of(font.fileBytes())));
    bool ok =
        writeFileIfChanged(context.outDir + "/fonts/bitmap-font.inc", bitmapFontInc(bitmap, note));
    std::vector<uint8_t> licence;
    const std::string licencePath = context.docDir + "/" + kBitmapFontLicenceFile;
    if (!readFileBytes(licencePath, licence)) {
        std::fprintf(stderr, "korvex-assets: missing licence text %s\n", licencePath.c_str());
        return false;
    }
    ok = writeFileIfChanged(context.outDir + "/fonts/" + kBitmapFontLicenceOut, licence) && ok;
    return writePreview(context, bitmap) && ok;
}
