// Writing screen pixels as a PNG file.
#include "tools/host/PngFile.h"

#include <cstdio>
#include <vector>

#include "tools/host/WavFile.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include "stb_image_write.h"

namespace {

void appendBytes(void* context, void* data, int size) {
    auto* bytes = static_cast<std::vector<unsigned char>*>(context);
    const auto* from = static_cast<const unsigned char*>(data);
    bytes->insert(bytes->end(), from, from + size);
}

}  // namespace

bool writePng(const std::string& path, const ScreenPixels& pixels, std::string& error) {
    if (pixels.width <= 0 || pixels.height <= 0 ||
        pixels.rgb.size() != static_cast<size_t>(pixels.width) * pixels.height * 3) {
        error = "no picture to write to '" + path + "'";
        return false;
    }
    std::vector<unsigned char> bytes;
    if (!stbi_write_png_to_func(appendBytes, &bytes, pixels.width, pixels.height, 3,
                                pixels.rgb.data(), pixels.width * 3)) {
        error = "cannot encode the picture for '" + path + "'";
        return false;
    }
    return writeFileAtomically(path, bytes, error);
}
