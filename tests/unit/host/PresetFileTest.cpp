// The host's preset (.fxp) and bank (.fxb) files: the byte layout, and each kind
// of damage refused by name, leaving the plug-in untouched. Round trips through
// the real plug-in, from the command line, are preset_files_test.sh's.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "frame/vst_abi.h"
#include "tools/host/PluginInstance.h"
#include "tools/host/PluginState.h"
#include "tools/host/PresetFile.h"

extern "C" AEffect* VSTPluginMain(audioMasterCallback host);

namespace {

using Bytes = std::vector<unsigned char>;
constexpr PresetFileKind kPreset = PresetFileKind::Preset;
constexpr PresetFileKind kBank = PresetFileKind::Bank;

Bytes pattern(size_t n) {
    Bytes b(n);
    for (size_t i = 0; i < n; ++i) b[i] = static_cast<unsigned char>(i * 7 + 3);
    return b;
}

void putBe(Bytes& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<unsigned char>(v >> (24 - 8 * i));
}

PresetFile sample(PresetFileKind kind) {
    const bool bank = kind == kBank;
    return {kind, bank ? 2 : 1,  vstFourCC('K', 'V', '5', '2'), 1,
            10,   bank ? 7 : -1, bank ? "" : "08 Large Plate",  pattern(bank ? 800 : 80)};
}

// The sample files built by hand, independently of the encoder: big-endian
// fields after 'CcnK' and the count of every byte that follows it.
Bytes handMade(PresetFileKind kind) {
    const bool bank = kind == kBank;
    const size_t header = bank ? 160 : 60, chunk = bank ? 800 : 80;
    Bytes b(header);
    std::memcpy(&b[0], bank ? "CcnK....FBChvvvvKV52" : "CcnK....FPChvvvvKV52", 20);
    putBe(b, 4, static_cast<uint32_t>(header + chunk - 8));
    putBe(b, 12, bank ? 2 : 1);  // format 2: a bank with its current program
    putBe(b, 20, 1);             // plug-in version
    putBe(b, 24, 10);            // parameters or programs
    if (bank) putBe(b, 28, 7);
    else std::memcpy(&b[28], "08 Large Plate", 14);
    putBe(b, header - 4, static_cast<uint32_t>(chunk));
    const Bytes c = pattern(chunk);
    b.insert(b.end(), c.begin(), c.end());
    return b;
}

bool decode(const Bytes& bytes, PresetFileKind kind, PresetFile& out) {
    std::string error;
    return decodePresetFile(bytes.data(), bytes.size(), kind, out, error);
}

TEST(PresetFile, TheOpaqueChunkFormIsWrittenAndReadBackWhole) {
    PresetFile back, again;
    for (PresetFileKind kind : {kPreset, kBank}) {
        const Bytes bytes = encodePresetFile(sample(kind));
        EXPECT_EQ(bytes, handMade(kind));
        ASSERT_TRUE(decode(bytes, kind, back));
        EXPECT_TRUE(back == sample(kind));
        for (size_t n = 0; n < bytes.size(); ++n)
            EXPECT_FALSE(decode(Bytes(bytes.begin(), bytes.begin() + n), kind, again)) << n;
    }
}

TEST(PresetFileLoading, RefusedFilesAreNamedAndLeaveThePluginUntouched) {
    // The real plug-in, opened as the host's commands open it, with an edit.
    const std::unique_ptr<PluginInstance> plug = PluginInstance::create(VSTPluginMain);
    plug->dispatch(effOpen);
    plug->dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
    plug->dispatch(effSetProgram, 0, 2);
    plug->setParameter(0, 0.75f);
    const Bytes bankBefore = plug->chunk(false);
    const struct {
        PresetFileKind file, expected;
        long size;  // bytes kept (zeros added), or -1 for all
        size_t at;
        std::string patch;
        const char* message;
    } cases[] = {
        {kBank, kBank, 159, 0, "", "truncated header: 159 bytes, a bank file's header has 160"},
        {kBank, kPreset, -1, 0, "", "wrong magic: 'FBCh' is a bank, expected 'FPCh' (a preset)"},
        {kPreset, kPreset, 139, 4, std::string("\0\0\0\x83", 4),
         "size mismatch: the chunk size field says 80 bytes, 79 bytes follow the header"},
        {kPreset, kPreset, -1, 12, std::string("\0\0\0\x03", 4),
         "unsupported format version 3 (1 or 2 expected)"},
        {kBank, kBank, -1, 16, "XXXX",
         "different unique id: the bank is for plug-in 'XXXX', this one is 'KV52'"},
        // A sound file around a chunk the plug-in itself rejects: program index 10.
        {kPreset, kPreset, -1, 64, "\x0a", "the plug-in refused the preset's chunk of 80 bytes"},
    };
    for (const auto& c : cases) {
        Bytes b;
        std::string error;
        ASSERT_TRUE(savePresetFile(*plug, c.file, b, error)) << error;
        if (c.size >= 0) b.resize(static_cast<size_t>(c.size));
        std::copy(c.patch.begin(), c.patch.end(), b.begin() + static_cast<long>(c.at));
        const long automationBefore = plug->automationCalls();
        EXPECT_FALSE(loadPresetFile(*plug, c.expected, b, error));
        EXPECT_EQ(error, c.message);
        // An accepted chunk re-applies the current program, which the host
        // sees as automation: none may arrive.
        EXPECT_EQ(plug->automationCalls(), automationBefore) << c.message;
        EXPECT_EQ(plug->chunk(false), bankBefore) << c.message;
        EXPECT_EQ(plug->dispatch(effGetProgram), 2) << c.message;
    }
}

}  // namespace
