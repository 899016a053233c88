// WAV reading and writing, bounds-checked against the file's own size.
#include "tools/host/WavFile.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatFloat = 3;
constexpr uint16_t kFormatExtensible = 0xFFFE;

uint32_t le32(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
uint16_t le16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

void put32(std::vector<unsigned char>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}
void put16(std::vector<unsigned char>& out, uint16_t v) {
    out.push_back(static_cast<unsigned char>(v));
    out.push_back(static_cast<unsigned char>(v >> 8));
}

float decodeSample(const unsigned char* p, uint16_t format, uint16_t bits) {
    if (format == kFormatFloat) {
        float value;
        uint32_t raw = le32(p);
        std::memcpy(&value, &raw, 4);
        return value;
    }
    if (bits == 16) return static_cast<float>(static_cast<int16_t>(le16(p))) / 32768.0f;
    // 24-bit: sign-extend from the top byte.
    int32_t value = static_cast<int32_t>(p[0] | (p[1] << 8) | (p[2] << 16));
    if (value & 0x800000) value -= 0x1000000;
    return static_cast<float>(value) / 8388608.0f;
}

}  // namespace

bool parseWav(const std::vector<unsigned char>& bytes, StereoAudio& audio, std::string& error) {
    const size_t size = bytes.size();
    if (size < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
        std::memcmp(bytes.data() + 8, "WAVE", 4) != 0) {
        error = "not a RIFF/WAVE file";
        return false;
    }
    uint16_t format = 0, channels = 0, bits = 0, blockAlign = 0;
    uint32_t rate = 0;
    const unsigned char* data = nullptr;
    size_t dataBytes = 0;
    for (size_t at = 12; at + 8 <= size;) {
        const unsigned char* chunk = bytes.data() + at;
        size_t length = le32(chunk + 4);
        size_t available = size - at - 8;
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (length < 16 || length > available) {
                error = "damaged fmt chunk";
                return false;
            }
            format = le16(chunk + 8);
            channels = le16(chunk + 10);
            rate = le32(chunk + 12);
            blockAlign = le16(chunk + 20);
            bits = le16(chunk + 22);
            // Extensible files name the real format in the sub-format GUID's first bytes.
            if (format == kFormatExtensible && length >= 40) format = le16(chunk + 32);
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            data = chunk + 8;
            dataBytes = length < available ? length : available;  // tolerate a short last chunk
        }
        at += 8 + length + (length & 1);  // chunks are padded to even sizes
        if (length > size) break;
    }
    if (!format) {
        error = "no fmt chunk";
        return false;
    }
    if (!data) {
        error = "no data chunk";
        return false;
    }
    const bool supported = (format == kFormatPcm && (bits == 16 || bits == 24)) ||
                           (format == kFormatFloat && bits == 32);
    if (!supported) {
        error = "unsupported sample format (format " + std::to_string(format) + ", " +
                std::to_string(bits) + " bits): use 16- or 24-bit PCM or 32-bit float";
        return false;
    }
    if (channels == 0 || rate == 0 || rate > 1536000 || blockAlign != channels * (bits / 8)) {
        error = "inconsistent fmt chunk (channels, rate or block size)";
        return false;
    }
    const size_t frames = dataBytes / blockAlign;
    audio.sampleRate = static_cast<float>(rate);
    audio.left.resize(frames);
    audio.right.resize(frames);
    const size_t bytesPerSample = bits / 8;
    for (size_t i = 0; i < frames; ++i) {
        const unsigned char* frame = data + i * blockAlign;
        audio.left[i] = decodeSample(frame, format, bits);
        audio.right[i] =
            channels > 1 ? decodeSample(frame + bytesPerSample, format, bits) : audio.left[i];
    }
    return true;
}

bool readWav(const std::string& path, StereoAudio& audio, std::string& error) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        error = "cannot read '" + path + "'";
        return false;
    }
    std::vector<unsigned char> bytes;
    unsigned char buffer[65536];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof(buffer), file)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + got);
    std::fclose(file);
    if (!parseWav(bytes, audio, error)) {
        error = "'" + path + "': " + error;
        return false;
    }
    return true;
}

std::vector<unsigned char> encodeWavFloat(const StereoAudio& audio) {
    const uint32_t frames = static_cast<uint32_t>(audio.frames());
    const uint32_t dataBytes = frames * 8;
    std::vector<unsigned char> out;
    out.reserve(44 + dataBytes);
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    put32(out, 36 + dataBytes);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put32(out, 16);
    put16(out, kFormatFloat);
    put16(out, 2);
    const uint32_t rate = static_cast<uint32_t>(audio.sampleRate + 0.5f);
    put32(out, rate);
    put32(out, rate * 8);
    put16(out, 8);
    put16(out, 32);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    put32(out, dataBytes);
    for (uint32_t i = 0; i < frames; ++i) {
        for (float sample : {audio.left[i], audio.right[i]}) {
            uint32_t raw;
            std::memcpy(&raw, &sample, 4);
            put32(out, raw);
        }
    }
    return out;
}

bool writeFileAtomically(const std::string& path, const std::vector<unsigned char>& bytes,
                         std::string& error) {
    const std::string temporary = path + ".partial";
    FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file) {
        error = "cannot write '" + path + "'";
        return false;
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = (std::fclose(file) == 0) && ok;
    if (ok) {
        std::remove(path.c_str());  // Windows will not rename over an existing file
        ok = std::rename(temporary.c_str(), path.c_str()) == 0;
    }
    if (!ok) {
        std::remove(temporary.c_str());
        error = "cannot write '" + path + "'";
    }
    return ok;
}
