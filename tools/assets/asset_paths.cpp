// File helpers and default locations of the asset generator.
#include "asset_paths.h"

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>

#ifndef KORVEX_ASSETS_NPM_DIR
#define KORVEX_ASSETS_NPM_DIR "tools/assets/node_modules"
#endif

AssetContext defaultAssetContext() {
    AssetContext context;
    context.outDir = "resources";
    context.previewDir = "build/assets";
    context.npmDir = KORVEX_ASSETS_NPM_DIR;
    context.systemFontDir = "/usr/share/fonts/truetype";
    context.docDir = "/usr/share/doc";
    return context;
}

bool readFileBytes(const std::string& path, std::vector<uint8_t>& bytes) {
    bytes.clear();
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    uint8_t chunk[65536];
    size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof(chunk), file)) > 0) {
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    const bool ok = !std::ferror(file);
    std::fclose(file);
    return ok;
}

bool makeDirectories(const std::string& path) {
    if (path.empty()) return false;
    for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string prefix = slash == std::string::npos ? path : path.substr(0, slash);
        if (mkdir(prefix.c_str(), 0755) != 0 && errno != EEXIST) return false;
        if (slash == std::string::npos) break;
    }
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool writeFileIfChanged(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::vector<uint8_t> old;
    if (readFileBytes(path, old) && old == bytes) {
        std::printf("  unchanged  %s\n", path.c_str());
        return true;
    }
    const size_t slash = path.rfind('/');
    if (slash != std::string::npos && !makeDirectories(path.substr(0, slash))) {
        std::fprintf(stderr, "korvex-assets: cannot create the folder of %s\n", path.c_str());
        return false;
    }
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        std::fprintf(stderr, "korvex-assets: cannot write %s\n", path.c_str());
        return false;
    }
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = std::fclose(file) == 0;
    std::printf("  written    %s\n", path.c_str());
    return ok && closed;
}

bool writeFileIfChanged(const std::string& path, const std::string& text) {
    return writeFileIfChanged(path, std::vector<uint8_t>(text.begin(), text.end()));
}

// The CRC-32 of zip and PNG (reflected polynomial 0xEDB88320), so the value
// can be checked with any common tool.
uint32_t crc32Of(const std::vector<uint8_t>& bytes) {
    uint32_t crc = 0xFFFFFFFFu;
    for (uint8_t byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}
