#include "afx_render_output.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO_FILE_NAME_UTF8
#include "stb_image_write.h"

std::string afx_write_render_png(const char* name, int32_t width, int32_t height,
                                 const std::vector<uint32_t>& pixels) {
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    for (size_t i = 0; i < static_cast<size_t>(width) * height; ++i) {
        rgb[i * 3 + 0] = static_cast<uint8_t>(pixels[i] >> 16);
        rgb[i * 3 + 1] = static_cast<uint8_t>(pixels[i] >> 8);
        rgb[i * 3 + 2] = static_cast<uint8_t>(pixels[i]);
    }
    std::string path = std::string(KORVEX_RENDER_DIR) + "/" + name + ".png";
    stbi_write_png(path.c_str(), width, height, 3, rgb.data(), width * 3);
    return path;
}
