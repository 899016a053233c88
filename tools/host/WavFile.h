// WAV files for the host: reads 16- and 24-bit PCM and 32-bit float (plain
// or WAVE_FORMAT_EXTENSIBLE), writes 32-bit float. Audio is held as two
// channels of floats; a mono file feeds both.
#pragma once

#include <string>
#include <vector>

struct StereoAudio {
    float sampleRate = 48000.0f;
    std::vector<float> left;
    std::vector<float> right;
    size_t frames() const { return left.size(); }
};

// Reads path into audio. On failure answers false with a one-line reason.
bool readWav(const std::string& path, StereoAudio& audio, std::string& error);
// Parses a whole WAV file held in memory (what readWav does after reading).
bool parseWav(const std::vector<unsigned char>& bytes, StereoAudio& audio, std::string& error);
// Encodes audio as a 32-bit float stereo WAV file.
std::vector<unsigned char> encodeWavFloat(const StereoAudio& audio);
// Writes the bytes to a temporary file beside path and renames it into
// place, so a failure never leaves a partial file behind.
bool writeFileAtomically(const std::string& path, const std::vector<unsigned char>& bytes,
                         std::string& error);
