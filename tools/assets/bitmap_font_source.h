// Which font file and size make the read-out's bitmap font. Shared by the
// generator and its tests.
#pragma once

#include <string>

#include "asset_paths.h"

extern const char* const kBitmapFontFile;  // relative to the system font folder
extern const char* const kBitmapFontPackage;
extern const double kBitmapFontEmPixels;
extern const char* const kBitmapFontLicenceFile;  // relative to the Debian doc folder
extern const char* const kBitmapFontLicenceOut;

std::string bitmapFontPath(const AssetContext& context);
