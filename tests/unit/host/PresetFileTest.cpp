// The host's preset (.fxp) and bank (.fxb) files: the byte layout, the
// checks that refuse damaged files, and loading and saving through a real
// plug-in instance, which must stay untouched by any file it refuses.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "frame/vst_abi.h"
#include "tools/host/PluginInstance.h"
#include "tools/host/PluginState.h"
#include "tools/host/PresetFile.h"

extern "C" AEffect* VSTPluginMain(audioMasterCallback host);

namespace {

using Bytes = std::vector<unsigned char>;

// Builds the expected files by hand, independently of the encoder.
struct FileBuilder {
    Bytes bytes;
    void text(const char* four) { bytes.insert(bytes.end(), four, four + 4); }
    void be(uint32_t v) {
        for (int shift = 24; shift >= 0; shift -= 8)
            bytes.push_back(static_cast<unsigned char>(v >> shift));
    }
    void zeros(size_t n) { bytes.insert(bytes.end(), n, 0); }
    void raw(const Bytes& b) { bytes.insert(bytes.end(), b.begin(), b.end()); }
};

Bytes pattern(size_t n) {
    Bytes b(n);
    for (size_t i = 0; i < n; ++i) b[i] = static_cast<unsigned char>(i * 7 + 3);
    return b;
}

PresetFile samplePreset() {
    PresetFile f;
    f.kind = PresetFileKind::Preset;
    f.pluginId = vstFourCC('K', 'V', '5', '2');
    f.pluginVersion = 1;
    f.count = 10;
    f.programName = "08 Large Plate";
    f.chunk = pattern(80);
    return f;
}

PresetFile sampleBank() {
    PresetFile f;
    f.kind = PresetFileKind::Bank;
    f.formatVersion = 2;
    f.pluginId = vstFourCC('K', 'V', '5', '2');
    f.pluginVersion = 1;
    f.count = 10;
    f.currentProgram = 7;
    f.chunk = pattern(800);
    return f;
}

std::string decodeError(const Bytes& bytes, PresetFileKind kind) {
    PresetFile out;
    std::string error;
    if (decodePresetFile(bytes.data(), bytes.size(), kind, out, error)) return "accepted";
    return error;
}

void putBe(Bytes& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<unsigned char>(v >> (24 - 8 * i));
}

}  // namespace

TEST(PresetFile, PresetLayoutIsTheBigEndianOpaqueChunkForm) {
    FileBuilder expected;
    expected.text("CcnK");
    expected.be(60 + 80 - 8);  // everything after the size field
    expected.text("FPCh");
    expected.be(1);  // format version
    expected.text("KV52");
    expected.be(1);   // plug-in version
    expected.be(10);  // parameters
    const char name[28] = "08 Large Plate";
    expected.bytes.insert(expected.bytes.end(), name, name + 28);
    expected.be(80);
    expected.raw(pattern(80));
    EXPECT_EQ(encodePresetFile(samplePreset()), expected.bytes);
}

TEST(PresetFile, BankLayoutCarriesTheCurrentProgramAndReservedZeros) {
    FileBuilder expected;
    expected.text("CcnK");
    expected.be(160 + 800 - 8);
    expected.text("FBCh");
    expected.be(2);  // format 2: with the current program
    expected.text("KV52");
    expected.be(1);
    expected.be(10);  // programs
    expected.be(7);   // current program
    expected.zeros(124);
    expected.be(800);
    expected.raw(pattern(800));
    EXPECT_EQ(encodePresetFile(sampleBank()), expected.bytes);
}

TEST(PresetFile, DecodingGivesBackEveryFieldWritten) {
    for (const PresetFile& original : {samplePreset(), sampleBank()}) {
        const Bytes bytes = encodePresetFile(original);
        PresetFile back;
        std::string error;
        ASSERT_TRUE(decodePresetFile(bytes.data(), bytes.size(), original.kind, back, error))
            << error;
        EXPECT_EQ(back.formatVersion, original.formatVersion);
        EXPECT_EQ(back.pluginId, original.pluginId);
        EXPECT_EQ(back.pluginVersion, original.pluginVersion);
        EXPECT_EQ(back.count, original.count);
        EXPECT_EQ(back.currentProgram, original.currentProgram);
        EXPECT_EQ(back.programName, original.programName);
        EXPECT_EQ(back.chunk, original.chunk);
    }
    // A bank of format 1 has no current program: the loader must not pick
    // one, and writing it again keeps it a bank of format 1.
    Bytes v1 = encodePresetFile(sampleBank());
    putBe(v1, 12, 1);
    PresetFile back, again;
    std::string error;
    ASSERT_TRUE(decodePresetFile(v1.data(), v1.size(), PresetFileKind::Bank, back, error)) << error;
    EXPECT_EQ(back.currentProgram, -1);
    const Bytes rewritten = encodePresetFile(back);
    ASSERT_TRUE(
        decodePresetFile(rewritten.data(), rewritten.size(), PresetFileKind::Bank, again, error));
    EXPECT_EQ(again.formatVersion, 1);
    EXPECT_EQ(again.currentProgram, -1);
}

TEST(PresetFile, ProgramNamesKeepTheirFieldBounds) {
    PresetFile f = samplePreset();
    f.programName = std::string(40, 'n');
    Bytes bytes = encodePresetFile(f);
    // Cut to the field's 28 bytes, which a full name fills without a
    // terminator; the chunk size after it is untouched.
    EXPECT_EQ(std::string(reinterpret_cast<char*>(&bytes[28]), 28), std::string(28, 'n'));
    EXPECT_EQ(bytes[59], 80);
    // A file from elsewhere whose name fills all 28 bytes is read to the
    // field's end and no further, and written back whole.
    std::memset(&bytes[28], 'm', 28);
    PresetFile back;
    std::string error;
    ASSERT_TRUE(decodePresetFile(bytes.data(), bytes.size(), PresetFileKind::Preset, back, error));
    EXPECT_EQ(back.programName, std::string(28, 'm'));
    EXPECT_EQ(encodePresetFile(back), bytes);
}

TEST(PresetFile, DamagedFilesAreRefusedWithTheProblemNamed) {
    const Bytes preset = encodePresetFile(samplePreset());
    const Bytes bank = encodePresetFile(sampleBank());
    const auto P = PresetFileKind::Preset;
    const auto B = PresetFileKind::Bank;

    EXPECT_EQ(decodeError({}, P), "truncated header: 0 bytes, a preset file's header has 60");
    EXPECT_EQ(decodeError(Bytes(preset.begin(), preset.begin() + 59), P),
              "truncated header: 59 bytes, a preset file's header has 60");
    EXPECT_EQ(decodeError(Bytes(bank.begin(), bank.begin() + 159), B),
              "truncated header: 159 bytes, a bank file's header has 160");

    Bytes riff = preset;
    std::memcpy(riff.data(), "RIFF", 4);
    EXPECT_EQ(
        decodeError(riff, P),
        "wrong magic: the file begins with 'RIFF', not 'CcnK' (not a VST preset or bank file)");
    EXPECT_EQ(decodeError(bank, P), "wrong magic: 'FBCh' is a bank, expected 'FPCh' (a preset)");
    EXPECT_EQ(decodeError(preset, B), "wrong magic: 'FPCh' is a preset, expected 'FBCh' (a bank)");
    Bytes params = preset;
    std::memcpy(&params[8], "FxCk", 4);
    EXPECT_EQ(decodeError(params, P),
              "wrong magic: 'FxCk' is a preset stored as a parameter list, "
              "not a chunk, expected 'FPCh' (a preset)");

    Bytes longer = preset;
    longer.push_back(0);
    EXPECT_EQ(decodeError(longer, P),
              "size mismatch: the header counts 132 bytes after its size field, the file holds 133 "
              "bytes");
    Bytes shortChunk = preset;
    shortChunk.pop_back();
    putBe(shortChunk, 4, static_cast<uint32_t>(shortChunk.size() - 8));
    EXPECT_EQ(decodeError(shortChunk, P),
              "size mismatch: the chunk size field says 80 bytes, 79 bytes follow the header");
    Bytes hugeChunk = bank;
    putBe(hugeChunk, 156, 0xFFFFFFF0u);
    EXPECT_EQ(
        decodeError(hugeChunk, B),
        "size mismatch: the chunk size field says 4294967280 bytes, 800 bytes follow the header");

    Bytes future = preset;
    putBe(future, 12, 3);
    EXPECT_EQ(decodeError(future, P), "unsupported format version 3 (1 or 2 expected)");
}

TEST(PresetFile, EveryTruncationOfAValidFileIsRefused) {
    for (const PresetFile& original : {samplePreset(), sampleBank()}) {
        const Bytes whole = encodePresetFile(original);
        for (size_t n = 0; n < whole.size(); ++n) {
            const Bytes cut(whole.begin(), whole.begin() + n);
            EXPECT_NE(decodeError(cut, original.kind), "accepted") << "cut at " << n;
        }
    }
}

// ---- loading and saving through the plug-in ---------------------------------

namespace {

// A fresh instance of the real plug-in, opened as the host's commands open it.
std::unique_ptr<PluginInstance> opened() {
    std::unique_ptr<PluginInstance> plug = PluginInstance::create(VSTPluginMain);
    plug->dispatch(effOpen);
    plug->dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
    return plug;
}

Bytes fileOf(PluginInstance& plug, PresetFileKind kind) {
    Bytes bytes;
    std::string error;
    EXPECT_TRUE(savePresetFile(plug, kind, bytes, error)) << error;
    return bytes;
}

}  // namespace

TEST(PresetFileLoading, SavedFilesHoldThePluginsOwnChunkAndIdentity) {
    const std::unique_ptr<PluginInstance> plug = opened();
    plug->dispatch(effSetProgram, 0, 7);
    const Bytes bank = fileOf(*plug, PresetFileKind::Bank);
    PresetFile f;
    std::string error;
    ASSERT_TRUE(decodePresetFile(bank.data(), bank.size(), PresetFileKind::Bank, f, error))
        << error;
    EXPECT_EQ(fourCharacters(f.pluginId), "KV52");
    EXPECT_EQ(f.pluginVersion, 1);
    EXPECT_EQ(f.count, 10);
    EXPECT_EQ(f.currentProgram, 7);
    EXPECT_EQ(f.chunk, plug->chunk(false));

    const Bytes preset = fileOf(*plug, PresetFileKind::Preset);
    ASSERT_TRUE(decodePresetFile(preset.data(), preset.size(), PresetFileKind::Preset, f, error));
    EXPECT_EQ(f.programName, "08 Large Plate");
    EXPECT_EQ(f.count, 10);
    EXPECT_EQ(f.chunk, plug->chunk(true));
}

TEST(PresetFileLoading, ABankLoadedIntoAFreshInstanceReproducesEveryProgram) {
    Bytes saved, savedChunk;
    {
        const std::unique_ptr<PluginInstance> a = opened();
        // A different edit in every program, so no program can pass by
        // happening to equal the factory bank.
        for (int p = 0; p < 10; ++p) {
            a->dispatch(effSetProgram, 0, p);
            a->setParameter(p, 0.05f * static_cast<float>(p + 1));
        }
        a->dispatch(effSetProgram, 0, 3);
        saved = fileOf(*a, PresetFileKind::Bank);
        savedChunk = a->chunk(false);
    }
    const std::unique_ptr<PluginInstance> b = opened();
    std::string error;
    ASSERT_TRUE(loadPresetFile(*b, PresetFileKind::Bank, saved, error)) << error;
    EXPECT_EQ(b->chunk(false), savedChunk);
    EXPECT_EQ(b->dispatch(effGetProgram), 3) << "a format-2 bank chooses its current program";
    EXPECT_FLOAT_EQ(b->getParameter(3), 0.2f);
    EXPECT_EQ(fileOf(*b, PresetFileKind::Bank), saved) << "saving again gives the same file";
}

TEST(PresetFileLoading, APresetRoundTripChangesNothing) {
    const std::unique_ptr<PluginInstance> a = opened();
    a->dispatch(effSetProgram, 0, 5);
    a->setParameter(1, 0.125f);
    const Bytes preset = fileOf(*a, PresetFileKind::Preset);
    const Bytes bankBefore = a->chunk(false);
    std::string error;
    ASSERT_TRUE(loadPresetFile(*a, PresetFileKind::Preset, preset, error)) << error;
    EXPECT_EQ(a->chunk(false), bankBefore);
    EXPECT_EQ(fileOf(*a, PresetFileKind::Preset), preset);

    const std::unique_ptr<PluginInstance> b = opened();
    ASSERT_TRUE(loadPresetFile(*b, PresetFileKind::Preset, preset, error)) << error;
    EXPECT_EQ(b->dispatch(effGetProgram), 5) << "the preset lands in its own slot";
    EXPECT_FLOAT_EQ(b->getParameter(1), 0.125f);
    EXPECT_EQ(fileOf(*b, PresetFileKind::Preset), preset);
}

TEST(PresetFileLoading, RefusedFilesLeaveThePluginUntouched) {
    const std::unique_ptr<PluginInstance> plug = opened();
    plug->dispatch(effSetProgram, 0, 2);
    plug->setParameter(0, 0.75f);
    const Bytes goodPreset = fileOf(*plug, PresetFileKind::Preset);
    const Bytes goodBank = fileOf(*plug, PresetFileKind::Bank);

    struct Case {
        const char* what;
        PresetFileKind kind;
        Bytes bytes;
        const char* message;
    };
    std::vector<Case> cases;
    Bytes b = goodPreset;
    std::memcpy(b.data(), "Ccnk", 4);
    cases.push_back({"wrong magic", PresetFileKind::Preset, b, "wrong magic"});
    b = goodPreset;
    std::memcpy(&b[16], "KV53", 4);
    cases.push_back({"other plug-in", PresetFileKind::Preset, b,
                     "different unique id: the preset is for plug-in 'KV53', this one is 'KV52'"});
    b = goodBank;
    std::memcpy(&b[16], "XXXX", 4);
    cases.push_back({"other plug-in's bank", PresetFileKind::Bank, b, "different unique id"});
    cases.push_back({"truncated header", PresetFileKind::Bank,
                     Bytes(goodBank.begin(), goodBank.begin() + 100), "truncated header"});
    b = goodBank;
    b.resize(b.size() - 80);
    cases.push_back({"size mismatch", PresetFileKind::Bank, b, "size mismatch"});
    cases.push_back({"bank given as preset", PresetFileKind::Preset, goodBank, "wrong magic"});
    // A sound header around a chunk the plug-in itself rejects (program
    // index 10): the host reports the refusal.
    b = goodPreset;
    b[60 + 4] = 10;
    cases.push_back({"chunk refused by the plug-in", PresetFileKind::Preset, b,
                     "the plug-in refused the preset's chunk of 80 bytes"});

    const Bytes bankBefore = plug->chunk(false);
    const VstIntPtr programBefore = plug->dispatch(effGetProgram);
    for (const Case& c : cases) {
        const long automationBefore = plug->automationCalls();
        std::string error;
        EXPECT_FALSE(loadPresetFile(*plug, c.kind, c.bytes, error)) << c.what;
        EXPECT_NE(error.find(c.message), std::string::npos) << c.what << ": " << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << "one line";
        // An accepted chunk re-applies the current program, which the host
        // sees as automation: none may arrive.
        EXPECT_EQ(plug->automationCalls(), automationBefore) << c.what;
        EXPECT_EQ(plug->chunk(false), bankBefore) << c.what;
        EXPECT_EQ(plug->dispatch(effGetProgram), programBefore) << c.what;
    }
}

// ---- a stand-in plug-in that records what the host does -----------------------

namespace {

struct StubPlugin {
    AEffect effect{};
    std::vector<VstInt32> opcodes;
    VstIntPtr beginLoadAnswer = 0;
    Bytes received;
    VstInt32 receivedIndex = -1;

    StubPlugin() {
        effect.magic = kEffectMagic;
        effect.dispatcher = &StubPlugin::dispatcher;
        effect.object = this;
        effect.flags = effFlagsCanReplacing | effFlagsProgramChunks;
        effect.uniqueID = vstFourCC('S', 't', 'u', 'b');
        effect.numPrograms = 4;
        effect.numParams = 2;
        effect.version = 7;
        next = this;
        host = PluginInstance::create(&StubPlugin::entry);
    }
    static StubPlugin* next;  // the stub the entry point hands out
    static AEffect* entry(audioMasterCallback) { return &next->effect; }
    static VstIntPtr dispatcher(AEffect* e, VstInt32 op, VstInt32 index, VstIntPtr value, void* ptr,
                                float) {
        auto* self = static_cast<StubPlugin*>(e->object);
        self->opcodes.push_back(op);
        if (op == effBeginLoadBank || op == effBeginLoadProgram) {
            const auto* info = static_cast<const VstInt32*>(ptr);
            EXPECT_EQ(info[0], 1);                              // record version
            EXPECT_EQ(info[1], vstFourCC('S', 't', 'u', 'b'));  // the file's id
            EXPECT_EQ(info[2], 5);                              // the file's plug-in version
            return self->beginLoadAnswer;
        }
        if (op == effSetChunk) {
            const auto* bytes = static_cast<const unsigned char*>(ptr);
            self->received.assign(bytes, bytes + value);
            self->receivedIndex = index;
            return 1;
        }
        return 0;
    }
    Bytes file(PresetFileKind kind, int current = -1) {
        PresetFile f;
        f.kind = kind;
        f.formatVersion = kind == PresetFileKind::Bank ? 2 : 1;
        f.pluginId = effect.uniqueID;
        f.pluginVersion = 5;
        f.count = 4;
        f.currentProgram = current;
        f.chunk = pattern(33);
        return encodePresetFile(f);
    }
    bool called(VstInt32 op) const {
        for (VstInt32 o : opcodes)
            if (o == op) return true;
        return false;
    }
    std::unique_ptr<PluginInstance> host;  // last: closed before the stub goes
};

StubPlugin* StubPlugin::next = nullptr;

}  // namespace

TEST(PresetFileHost, ChunksAreAnnouncedAndHandedOverAsHostsDo) {
    StubPlugin stub;
    std::string error;
    ASSERT_TRUE(loadPresetFile(*stub.host, PresetFileKind::Bank, stub.file(PresetFileKind::Bank, 2),
                               error));
    EXPECT_EQ(stub.opcodes, (std::vector<VstInt32>{effBeginLoadBank, effSetChunk, effSetProgram}));
    EXPECT_EQ(stub.received, pattern(33));
    EXPECT_EQ(stub.receivedIndex, 0) << "index 0 for a bank";

    stub.opcodes.clear();
    ASSERT_TRUE(loadPresetFile(*stub.host, PresetFileKind::Bank, stub.file(PresetFileKind::Bank, 4),
                               error));
    EXPECT_FALSE(stub.called(effSetProgram))
        << "a current program beyond the plug-in's is not chosen";

    stub.opcodes.clear();
    ASSERT_TRUE(loadPresetFile(*stub.host, PresetFileKind::Preset,
                               stub.file(PresetFileKind::Preset), error));
    EXPECT_EQ(stub.opcodes, (std::vector<VstInt32>{effBeginLoadProgram, effSetChunk}));
    EXPECT_EQ(stub.receivedIndex, 1) << "index 1 for a preset";
}

TEST(PresetFileHost, APluginMayRefuseBeforeItsChunkArrives) {
    StubPlugin stub;
    stub.beginLoadAnswer = -1;
    std::string error;
    EXPECT_FALSE(
        loadPresetFile(*stub.host, PresetFileKind::Bank, stub.file(PresetFileKind::Bank), error));
    EXPECT_EQ(error, "the plug-in refuses this bank (plug-in version 5)");
    EXPECT_FALSE(stub.called(effSetChunk));

    StubPlugin plain;
    plain.effect.flags = effFlagsCanReplacing;  // parameters only, no chunks
    EXPECT_FALSE(loadPresetFile(*plain.host, PresetFileKind::Preset,
                                plain.file(PresetFileKind::Preset), error));
    EXPECT_EQ(error, "the plug-in does not keep its programs as chunks");
    EXPECT_TRUE(plain.opcodes.empty());
    Bytes saved;
    EXPECT_FALSE(savePresetFile(*plain.host, PresetFileKind::Bank, saved, error));
}
