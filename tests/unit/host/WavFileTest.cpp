// The host's WAV reader and writer, and its built-in test signal.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "tools/host/TestSignal.h"
#include "tools/host/WavFile.h"

namespace {

// Builds a WAV file by hand, independently of the writer under test.
struct WavBuilder {
    std::vector<unsigned char> bytes;
    // Byte by byte: g++ 12 takes a range insert into the empty vector for
    // an overflow (-Wstringop-overflow).
    void raw(const char* four) {
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<unsigned char>(four[i]));
    }
    void u32(uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<unsigned char>(v >> (8 * i)));
    }
    void u16(uint16_t v) {
        bytes.push_back(static_cast<unsigned char>(v));
        bytes.push_back(static_cast<unsigned char>(v >> 8));
    }
    void header() {
        raw("RIFF");
        u32(0);  // readers must not trust this
        raw("WAVE");
    }
    void fmt(uint16_t format, uint16_t channels, uint32_t rate, uint16_t bits) {
        raw("fmt ");
        u32(16);
        u16(format);
        u16(channels);
        u32(rate);
        u32(rate * channels * bits / 8);
        u16(static_cast<uint16_t>(channels * bits / 8));
        u16(bits);
    }
};

TEST(WavRead, DecodesPcm16MonoIntoBothChannels) {
    WavBuilder w;
    w.header();
    w.raw("LIST");  // an odd-sized chunk before fmt: skipped with its pad byte
    w.u32(3);
    w.bytes.insert(w.bytes.end(), {'a', 'b', 'c', 0});
    w.fmt(1, 1, 44100, 16);
    w.raw("data");
    w.u32(6);
    for (int16_t v : {int16_t(16384), int16_t(-32768), int16_t(1)}) w.u16(static_cast<uint16_t>(v));
    StereoAudio audio;
    std::string error;
    ASSERT_TRUE(parseWav(w.bytes, audio, error)) << error;
    ASSERT_EQ(audio.frames(), 3u);
    EXPECT_EQ(audio.sampleRate, 44100.0f);
    EXPECT_EQ(audio.left[0], 0.5f);
    EXPECT_EQ(audio.left[1], -1.0f);
    EXPECT_EQ(audio.right[1], -1.0f);
    EXPECT_EQ(audio.left[2], 1.0f / 32768.0f);
}

TEST(WavRead, DecodesPcm24StereoWithSignExtension) {
    WavBuilder w;
    w.header();
    w.fmt(1, 2, 96000, 24);
    w.raw("data");
    w.u32(6);
    w.bytes.insert(w.bytes.end(), {0x00, 0x00, 0x80, 0xFF, 0xFF, 0x7F});  // -1.0, just under +1
    StereoAudio audio;
    std::string error;
    ASSERT_TRUE(parseWav(w.bytes, audio, error)) << error;
    ASSERT_EQ(audio.frames(), 1u);
    EXPECT_EQ(audio.left[0], -1.0f);
    EXPECT_EQ(audio.right[0], 8388607.0f / 8388608.0f);
}

TEST(WavRead, FloatRoundTripsThroughTheWriterBitForBit) {
    StereoAudio audio;
    audio.sampleRate = 48000.0f;
    audio.left = {0.0f, -0.0f, 1e-30f, 0.123456789f, -3.5f};
    audio.right = {1.0f, -1.0f, 2.0f, 1e30f, 0.5f};
    std::vector<unsigned char> bytes = encodeWavFloat(audio);
    EXPECT_EQ(bytes.size(), 44u + 5 * 8);
    StereoAudio back;
    std::string error;
    ASSERT_TRUE(parseWav(bytes, back, error)) << error;
    ASSERT_EQ(back.frames(), 5u);
    EXPECT_EQ(std::memcmp(back.left.data(), audio.left.data(), 5 * sizeof(float)), 0);
    EXPECT_EQ(std::memcmp(back.right.data(), audio.right.data(), 5 * sizeof(float)), 0);
    EXPECT_EQ(back.sampleRate, 48000.0f);
}

TEST(WavRead, RefusesDamagedOrUnsupportedFilesWithAReason) {
    StereoAudio audio;
    std::string error;
    EXPECT_FALSE(parseWav({}, audio, error));
    EXPECT_FALSE(parseWav(std::vector<unsigned char>(12, 'x'), audio, error));
    EXPECT_NE(error.find("RIFF"), std::string::npos);

    WavBuilder noData;
    noData.header();
    noData.fmt(1, 2, 48000, 16);
    EXPECT_FALSE(parseWav(noData.bytes, audio, error));
    EXPECT_EQ(error, "no data chunk");

    WavBuilder pcm8;
    pcm8.header();
    pcm8.fmt(1, 1, 8000, 8);
    pcm8.raw("data");
    pcm8.u32(0);
    EXPECT_FALSE(parseWav(pcm8.bytes, audio, error));
    EXPECT_NE(error.find("unsupported"), std::string::npos);

    // A fmt chunk claiming more bytes than the file holds.
    WavBuilder lying;
    lying.header();
    lying.raw("fmt ");
    lying.u32(1000);
    lying.u16(1);
    EXPECT_FALSE(parseWav(lying.bytes, audio, error));
}

TEST(WavRead, TruncatedDataKeepsOnlyWholeFrames) {
    WavBuilder w;
    w.header();
    w.fmt(3, 2, 48000, 32);
    w.raw("data");
    w.u32(800);  // promises 100 frames, holds one and a half
    for (int i = 0; i < 3; ++i) w.u32(0x3F800000u);
    StereoAudio audio;
    std::string error;
    ASSERT_TRUE(parseWav(w.bytes, audio, error)) << error;
    EXPECT_EQ(audio.frames(), 1u);
}

TEST(TestSignal, IsDeterministicBoundedAndAudible) {
    StereoAudio a = makeTestSignal(48000.0f);
    StereoAudio b = makeTestSignal(48000.0f);
    ASSERT_EQ(a.frames(), 120000u);
    EXPECT_EQ(a.left, b.left);
    EXPECT_EQ(a.right, b.right);
    double peak = 0.0, energyFirstHit = 0.0, energyTone = 0.0;
    for (size_t i = 0; i < a.frames(); ++i) {
        ASSERT_TRUE(std::isfinite(a.left[i]) && std::isfinite(a.right[i]));
        peak = std::fmax(peak, std::fmax(std::fabs(a.left[i]), std::fabs(a.right[i])));
        if (i < 4800) energyFirstHit += a.left[i] * a.left[i];
        if (i > 72000 && i < 100000) energyTone += a.right[i] * a.right[i];
    }
    EXPECT_LT(peak, 1.0);
    EXPECT_GT(peak, 0.3);
    EXPECT_GT(energyFirstHit, 1.0);
    EXPECT_GT(energyTone, 1.0);
    EXPECT_EQ(makeTestSignal(96000.0f).frames(), 240000u);
}

}  // namespace
