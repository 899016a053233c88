// Writing screen pixels as a PNG file (stb_image_write from libstb-dev).
#pragma once

#include <string>

#include "tools/host/HostDesktop.h"

// Writes pixels to path as an 8-bit RGB PNG, through a temporary file so a
// failed write leaves nothing behind. On failure answers false with a reason.
bool writePng(const std::string& path, const ScreenPixels& pixels, std::string& error);
