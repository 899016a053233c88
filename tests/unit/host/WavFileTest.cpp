// The host's WAV reader and writer, and its built-in test signal.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "tools/host/TestSignal.h"
#include "tools/host/WavFile.h"

namespace {

using Bytes = std::vector<unsigned char>;

// WAV files built by hand, independently of the writer under test.
std::string le(uint32_t v, int bytes) {
    std::string s;
    for (int i = 0; i < bytes; ++i) s += static_cast<char>(v >> (8 * i));
    return s;
}
// Format 0xFFFE (extensible) names the real format, PCM, in its sub-format.
std::string fmt(uint16_t format, uint16_t channels, uint32_t rate, uint16_t bits) {
    const bool extensible = format == 0xFFFE;
    const std::string s = "fmt " + le(extensible ? 40 : 16, 4) + le(format, 2) + le(channels, 2) +
                          le(rate, 4) + le(rate * channels * bits / 8, 4) +
                          le(channels * bits / 8u, 2) + le(bits, 2);
    return extensible ? s + le(22, 2) + le(bits, 2) + le(3, 4) + le(1, 2) + std::string(14, 0) : s;
}
std::string data(uint32_t size, const std::string& s) { return "data" + le(size, 4) + s; }
Bytes wav(const std::string& chunks) {
    const std::string file = "RIFF" + le(0, 4) + "WAVE" + chunks;  // readers must not trust 0
    return Bytes(file.begin(), file.end());
}

TEST(WavRead, DecodesPcmAndFloatAsHostsWriteThem) {
    const StereoAudio exact{
        48000.0f, {0.0f, -0.0f, 1e-30f, 0.123456789f, -3.5f}, {1.0f, -1.0f, 2.0f, 1e30f, 0.5f}};
    const std::string s24 = data(6, le(0x800000, 3) + le(0x7FFFFF, 3));
    const struct {
        Bytes bytes;
        StereoAudio audio;
    } cases[] = {
        // 16-bit mono feeds both channels; an odd-sized chunk before fmt is
        // skipped with its pad byte.
        {wav("LIST" + le(3, 4) + std::string("abc\0", 4) + fmt(1, 1, 44100, 16) +
             data(6, le(16384, 2) + le(32768, 2) + le(1, 2))),
         {44100.0f, {0.5f, -1.0f, 1.0f / 32768.0f}, {0.5f, -1.0f, 1.0f / 32768.0f}}},
        // 24-bit stereo, sign-extended, plain and extensible.
        {wav(fmt(1, 2, 96000, 24) + s24), {96000.0f, {-1.0f}, {8388607.0f / 8388608.0f}}},
        {wav(fmt(0xFFFE, 2, 96000, 24) + s24), {96000.0f, {-1.0f}, {8388607.0f / 8388608.0f}}},
        // A float file cut short keeps only its whole frames: 800 bytes
        // promised, one and a half frames there.
        {wav(fmt(3, 2, 48000, 32) + data(800, le(0x3F800000, 4) + le(0xBF800000, 4) + "xxxx")),
         {48000.0f, {1.0f}, {-1.0f}}},
        // The writer's float file reads back bit for bit, signed zero too.
        {encodeWavFloat(exact), exact},
    };
    for (const auto& c : cases) {
        StereoAudio a;
        std::string error;
        ASSERT_TRUE(parseWav(c.bytes, a, error)) << error;
        EXPECT_EQ(a.sampleRate, c.audio.sampleRate);
        ASSERT_EQ(a.frames(), c.audio.frames());
        EXPECT_EQ(std::memcmp(a.left.data(), c.audio.left.data(), a.frames() * sizeof(float)), 0);
        EXPECT_EQ(std::memcmp(a.right.data(), c.audio.right.data(), a.frames() * sizeof(float)), 0);
    }
}

TEST(WavRead, RefusesDamagedOrUnsupportedFilesWithAReason) {
    const struct {
        Bytes bytes;
        const char* reason;
    } cases[] = {
        {Bytes(12, 'x'), "not a RIFF/WAVE file"},
        {wav(fmt(1, 2, 48000, 16)), "no data chunk"},
        {wav(data(0, "")), "no fmt chunk"},
        {wav(fmt(1, 1, 8000, 8) + data(0, "")),
         "unsupported sample format (format 1, 8 bits): use 16- or 24-bit PCM or 32-bit float"},
        {wav("fmt " + le(1000, 4) + le(1, 2)), "damaged fmt chunk"},  // longer than the file
    };
    for (const auto& c : cases) {
        StereoAudio audio;
        std::string error;
        EXPECT_FALSE(parseWav(c.bytes, audio, error));
        EXPECT_EQ(error, c.reason);
    }
}

TEST(TestSignal, IsDeterministicBoundedAndAudible) {
    const StereoAudio a = makeTestSignal(48000.0f);
    ASSERT_EQ(a.frames(), 120000u);
    EXPECT_EQ(a.left, makeTestSignal(48000.0f).left);
    double peak = 0.0, firstHit = 0.0, tone = 0.0;  // energies
    for (size_t i = 0; i < a.frames(); ++i) {
        ASSERT_TRUE(std::isfinite(a.left[i]) && std::isfinite(a.right[i]));
        peak = std::fmax(peak, std::fmax(std::fabs(a.left[i]), std::fabs(a.right[i])));
        firstHit += i < 4800 ? a.left[i] * a.left[i] : 0.0;
        tone += i > 72000 && i < 100000 ? a.right[i] * a.right[i] : 0.0;
    }
    EXPECT_TRUE(peak > 0.3 && peak < 0.8 && firstHit > 1.0 && tone > 1.0)
        << peak << " " << firstHit << " " << tone;
}

}  // namespace
