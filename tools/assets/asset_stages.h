// The stages of korvex-assets. Each stage makes one family of committed
// outputs under the resources folder, plus previews for people to look at.
// A new family (images drawn by code, icons) is one more stage function and
// one more row in main.cpp's stage table.
#pragma once

#include "asset_paths.h"

// Distance-field atlases and glyph tables of the four caption fonts, their
// resource list and licence texts (resources/fonts/).
bool runSdfFontStage(const AssetContext& context);

// The read-out's bitmap font (resources/fonts/bitmap-font.inc).
bool runBitmapFontStage(const AssetContext& context);

// The pictures drawn from code: the panel, the picture buttons, the dialog
// images (resources/images/*.pixdata), the icons and their resource lines.
bool runArtworkStage(const AssetContext& context);
