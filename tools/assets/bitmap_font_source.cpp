// The bitmap font's source: DejaVu Sans Condensed at a 12-pixel em. Its cap
// height of 8.75 pixels fills nine rows ("A" is 8 x 9 with advance 7, the
// space advances 3), its large x-height keeps lower case legible at 1:1, and
// the condensed widths fit a parameter name and value into the read-out.
#include "bitmap_font_source.h"

const char* const kBitmapFontFile = "dejavu/DejaVuSansCondensed.ttf";
const char* const kBitmapFontPackage = "Debian fonts-dejavu-extra";
const double kBitmapFontEmPixels = 12.0;
const char* const kBitmapFontLicenceFile = "fonts-dejavu-extra/copyright";
const char* const kBitmapFontLicenceOut = "LICENSE-DejaVu.txt";

std::string bitmapFontPath(const AssetContext& context) {
    return context.systemFontDir + "/" + kBitmapFontFile;
}
