// Where korvex-assets reads its sources and writes its outputs, and the few
// file helpers every stage shares. Outputs are written only when their bytes
// change, so a regeneration that reproduces the committed files touches nothing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct AssetContext {
    std::string outDir;         // the committed resources folder ("resources")
    std::string previewDir;     // previews for people to look at ("build/assets")
    std::string npmDir;         // node_modules holding the npm-published web fonts
    std::string systemFontDir;  // Debian's TrueType fonts
    std::string docDir;         // Debian's package documents (licence texts)
};

// The defaults that `korvex-assets --out resources` runs with.
AssetContext defaultAssetContext();

// Reads a whole file; false when it cannot be opened or read.
bool readFileBytes(const std::string& path, std::vector<uint8_t>& bytes);

// Creates the folder and its parents; true when it exists afterwards.
bool makeDirectories(const std::string& path);

// Writes the bytes unless the file already holds exactly them; creates the
// folder. Prints one line per file so a run shows what it produced.
bool writeFileIfChanged(const std::string& path, const std::vector<uint8_t>& bytes);
bool writeFileIfChanged(const std::string& path, const std::string& text);

// Table-of-contents checksum for recording which font file made an output.
uint32_t crc32Of(const std::vector<uint8_t>& bytes);
