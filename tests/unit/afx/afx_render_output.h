// Writes what a test rendered to a PNG under the build folder, for looking at.
// Never decides a test: failures to write are ignored.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// pixels: 0x00RRGGBB per pixel, rows top to bottom. Returns the path written.
std::string afx_write_render_png(const char* name, int32_t width, int32_t height,
                                 const std::vector<uint32_t>& pixels);
