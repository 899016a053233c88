// PresetFile: encoding and strict decoding of .fxp and .fxb files.
#include "tools/host/PresetFile.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint32_t fourCC(const char (&text)[5]) {
    return (static_cast<uint32_t>(static_cast<unsigned char>(text[0])) << 24) |
           (static_cast<uint32_t>(static_cast<unsigned char>(text[1])) << 16) |
           (static_cast<uint32_t>(static_cast<unsigned char>(text[2])) << 8) |
           static_cast<uint32_t>(static_cast<unsigned char>(text[3]));
}

constexpr uint32_t kChunkMagic = fourCC("CcnK");
constexpr uint32_t kPresetChunkMagic = fourCC("FPCh");
constexpr uint32_t kBankChunkMagic = fourCC("FBCh");
constexpr uint32_t kPresetParamsMagic = fourCC("FxCk");
constexpr uint32_t kBankParamsMagic = fourCC("FxBk");
constexpr size_t kFutureBytes = 124;

uint32_t be32(const unsigned char* p) {
    return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
           (static_cast<uint32_t>(p[2]) << 8) | static_cast<uint32_t>(p[3]);
}

void put32(std::vector<unsigned char>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<unsigned char>(v >> shift));
}

std::string sizeText(size_t bytes) {
    return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
}

size_t headerBytes(PresetFileKind kind) {
    return kind == PresetFileKind::Preset ? kPresetHeaderBytes : kBankHeaderBytes;
}

// Explains an 'fx' magic that is not the one expected.
std::string wrongKind(uint32_t found, PresetFileKind expected) {
    const char* wanted =
        expected == PresetFileKind::Preset ? "'FPCh' (a preset)" : "'FBCh' (a bank)";
    std::string what;
    if (found == kPresetChunkMagic) what = "a preset";
    else if (found == kBankChunkMagic) what = "a bank";
    else if (found == kPresetParamsMagic) what = "a preset stored as a parameter list, not a chunk";
    else if (found == kBankParamsMagic) what = "a bank stored as parameter lists, not a chunk";
    else what = "not a known kind";
    return "wrong magic: '" + fourCharacters(static_cast<int32_t>(found)) + "' is " + what +
           ", expected " + wanted;
}

}  // namespace

std::string fourCharacters(int32_t id) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const char c = static_cast<char>((static_cast<uint32_t>(id) >> shift) & 0xFF);
        text += (c >= 32 && c < 127) ? c : '?';
    }
    return text;
}

bool operator==(const PresetFile& a, const PresetFile& b) {
    return a.kind == b.kind && a.formatVersion == b.formatVersion && a.pluginId == b.pluginId &&
           a.pluginVersion == b.pluginVersion && a.count == b.count &&
           a.currentProgram == b.currentProgram && a.programName == b.programName &&
           a.chunk == b.chunk;
}

const char* presetFileKindName(PresetFileKind kind) {
    return kind == PresetFileKind::Preset ? "preset" : "bank";
}

std::vector<unsigned char> encodePresetFile(const PresetFile& file) {
    const bool preset = file.kind == PresetFileKind::Preset;
    const size_t total = headerBytes(file.kind) + file.chunk.size();
    std::vector<unsigned char> out;
    out.reserve(total);
    put32(out, kChunkMagic);
    put32(out, static_cast<uint32_t>(total - 8));
    put32(out, preset ? kPresetChunkMagic : kBankChunkMagic);
    put32(out, static_cast<uint32_t>(file.formatVersion));
    put32(out, static_cast<uint32_t>(file.pluginId));
    put32(out, static_cast<uint32_t>(file.pluginVersion));
    put32(out, static_cast<uint32_t>(file.count));
    if (preset) {
        const size_t length = std::min(file.programName.size(), kPresetNameBytes);
        out.insert(out.end(), file.programName.begin(), file.programName.begin() + length);
        out.insert(out.end(), kPresetNameBytes - length, 0);
    } else {
        put32(out, file.formatVersion >= 2 ? static_cast<uint32_t>(file.currentProgram) : 0u);
        out.insert(out.end(), kFutureBytes, 0);
    }
    put32(out, static_cast<uint32_t>(file.chunk.size()));
    out.insert(out.end(), file.chunk.begin(), file.chunk.end());
    return out;
}

bool decodePresetFile(const unsigned char* data, size_t size, PresetFileKind expected,
                      PresetFile& file, std::string& error) {
    const size_t header = headerBytes(expected);
    auto truncated = [&] {
        error = "truncated header: " + sizeText(size) + ", a " + presetFileKindName(expected) +
                " file's header has " + std::to_string(header);
        return false;
    };
    if (size < 4) return truncated();
    if (be32(data) != kChunkMagic) {
        error = "wrong magic: the file begins with '" +
                fourCharacters(static_cast<int32_t>(be32(data))) +
                "', not 'CcnK' (not a VST preset or bank file)";
        return false;
    }
    if (size < 12) return truncated();
    const uint32_t kindMagic = be32(data + 8);
    const uint32_t wanted =
        expected == PresetFileKind::Preset ? kPresetChunkMagic : kBankChunkMagic;
    if (kindMagic != wanted) {
        error = wrongKind(kindMagic, expected);
        return false;
    }
    if (size < header) return truncated();
    const uint32_t byteSize = be32(data + 4);
    if (byteSize != size - 8) {
        error = "size mismatch: the header counts " + sizeText(byteSize) +
                " after its size field, the file holds " + sizeText(size - 8);
        return false;
    }
    const int32_t version = static_cast<int32_t>(be32(data + 12));
    if (version != 1 && version != 2) {
        error = "unsupported format version " + std::to_string(version) + " (1 or 2 expected)";
        return false;
    }
    const uint32_t chunkSize = be32(data + header - 4);
    if (chunkSize != size - header) {
        error = "size mismatch: the chunk size field says " + sizeText(chunkSize) + ", " +
                sizeText(size - header) + " follow the header";
        return false;
    }
    file = PresetFile{};
    file.kind = expected;
    file.formatVersion = version;
    file.pluginId = static_cast<int32_t>(be32(data + 16));
    file.pluginVersion = static_cast<int32_t>(be32(data + 20));
    file.count = static_cast<int32_t>(be32(data + 24));
    if (expected == PresetFileKind::Preset) {
        const char* name = reinterpret_cast<const char*>(data + 28);
        file.programName.assign(name, strnlen(name, kPresetNameBytes));
    } else if (version >= 2) {
        file.currentProgram = static_cast<int32_t>(be32(data + 28));
    }
    file.chunk.assign(data + header, data + size);
    return true;
}
