// Programs and chunks: the factory bank, choosing and naming programs, and
// saving and restoring state as preset and bank chunks.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "plugin/CPlug.h"
#include "tests/unit/support/FakeHost.h"
#include "tests/unit/support/RecordingEditor.h"

using namespace ZEPHRA2F9C41D07;

namespace {

uint32_t g_now = 0;
uint32_t testClock() { return g_now; }

float bitsToFloat(uint32_t bits) {
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
}

struct ProgramsFixture : ::testing::Test {
    FakeHost host;
    CPlug* plug = nullptr;
    RecordingEditor* editor = nullptr;

    void SetUp() override {
        // Near the 32-bit wrap, so the elapsed-time rule must subtract unsigned.
        g_now = 0xFFFFFF00u;
        CPlug::setMillisecondClock(testClock);
        plug = new CPlug(FakeHost::callback, 10, 10);
        editor = new RecordingEditor(plug);
        plug->replaceEditor(editor);
    }
    void TearDown() override {
        delete plug;
        CPlug::setMillisecondClock(nullptr);
    }
    std::vector<unsigned char> bank() {
        void* data = nullptr;
        VstInt32 size = plug->getChunk(&data, false);
        auto* bytes = static_cast<unsigned char*>(data);
        return std::vector<unsigned char>(bytes, bytes + size);
    }
    static float field(const std::vector<unsigned char>& bytes, size_t record, size_t index) {
        float value;
        std::memcpy(&value, bytes.data() + record * 80 + index * 4, 4);
        return value;
    }
    static void putField(std::vector<unsigned char>& bytes, size_t record, size_t index,
                         float value) {
        std::memcpy(bytes.data() + record * 80 + index * 4, &value, 4);
    }
    std::string name(int index) {
        char text[64];
        std::memset(text, 'x', sizeof(text));
        plug->getProgramNameIndexed(0, index, text);
        return text;
    }
};

TEST_F(ProgramsFixture, FreshBankHoldsUserSlotsAndFactoryPresets) {
    std::vector<unsigned char> bytes = bank();
    ASSERT_EQ(bytes.size(), 800u);
    const char* names[10] = {"01 User Preset 1", "02 User Preset 2", "03 User Preset 3",
                             "04 User Preset 4", "05 Ambience",      "06 Damped",
                             "07 Bright Plate",  "08 Large Plate",   "09 Mono",
                             "10 Wide"};
    for (size_t i = 0; i < 10; ++i) {
        const unsigned char* record = bytes.data() + i * 80;
        EXPECT_EQ(record[0], 0x36);
        EXPECT_EQ(record[1], 0x44);
        EXPECT_EQ(record[2], 0xAC);
        EXPECT_EQ(record[3], 0x8C);
        int32_t index;
        std::memcpy(&index, record + 4, 4);
        EXPECT_EQ(index, static_cast<int32_t>(i));
        EXPECT_STREQ(reinterpret_cast<const char*>(record + 56), names[i]);
        EXPECT_EQ(name(static_cast<int>(i)), names[i]);
        // The editor's present size lands in fields 12 and 13 of every record.
        EXPECT_FLOAT_EQ(field(bytes, i, 12), 364.0f);
        EXPECT_FLOAT_EQ(field(bytes, i, 13), 538.0f);
        // Shared by every preset and user slot.
        EXPECT_FLOAT_EQ(field(bytes, i, 2 + kOutTrim), 0.5f);
        EXPECT_FLOAT_EQ(field(bytes, i, 2 + kInTrim), 0.5f);
        EXPECT_FLOAT_EQ(field(bytes, i, 2 + kEffect), 1.0f);
    }
    const float defaults[10] = {0.0f, 0.0f, 0.5f, 0.0f, 0.5f, 0.5f, 0.5f, 0.0f, 0.0f, 1.0f};
    for (size_t p = 0; p < 10; ++p) EXPECT_EQ(field(bytes, 0, 2 + p), defaults[p]);
    // Programs 5 to 7 carry the two stored bit patterns.
    for (size_t i = 4; i <= 6; ++i) {
        EXPECT_EQ(field(bytes, i, 2 + kPreDelay), bitsToFloat(0x3E21AB4Cu));
        EXPECT_EQ(field(bytes, i, 2 + kWidth), bitsToFloat(0x3F4D9169u));
    }
    EXPECT_EQ(field(bytes, 4, 2 + kMix), 0.1842f);
    EXPECT_EQ(field(bytes, 7, 2 + kRT60), 0.7166667f);
    EXPECT_EQ(field(bytes, 8, 2 + kWidth), 0.0f);
    EXPECT_EQ(field(bytes, 9, 2 + kPreDelay), 0.1728f);
}

TEST_F(ProgramsFixture, FactoryPresetsDisplayTheirNominalValues) {
    plug->setProgram(4);
    char text[32];
    const char* expected[5] = {"0.78 sec", "6.1", "18.42 %", "39.47 ms", "80.30 %"};
    for (int i = 0; i < 5; ++i) {
        plug->getParameterDisplay(i, text);
        EXPECT_STREQ(text, expected[i]) << i;
    }
    plug->setProgram(7);
    plug->getParameterDisplay(kRT60, text);
    EXPECT_STREQ(text, "2.15 sec");
}

TEST_F(ProgramsFixture, ChoosingAProgramAutomatesAllTenParametersInOrder) {
    host.calls.clear();
    EXPECT_EQ(plug->dispatcher(effSetProgram, 0, 7, nullptr, 0.0f), 1);
    auto automate = host.callsOf(audioMasterAutomate);
    ASSERT_EQ(automate.size(), 10u);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(automate[i].index, i);
    EXPECT_FLOAT_EQ(automate[0].opt, 0.7166667f);
    EXPECT_FLOAT_EQ(plug->getParameter(kRT60), 0.7166667f);
    EXPECT_EQ(plug->dispatcher(effGetProgram, 0, 0, nullptr, 0.0f), 7);
    ASSERT_FALSE(editor->titles.empty());
    EXPECT_EQ(editor->titles.back(), "KORVEX52: 08 Large Plate");
    ASSERT_EQ(editor->programs.size(), 1u);
    EXPECT_EQ(editor->programs[0], 7);
    // Out of range: ignored, though the dispatcher still answers 1.
    EXPECT_EQ(plug->dispatcher(effSetProgram, 0, 10, nullptr, 0.0f), 1);
    EXPECT_EQ(plug->dispatcher(effSetProgram, 0, -1, nullptr, 0.0f), 1);
    EXPECT_EQ(plug->currentProgram(), 7);
}

TEST_F(ProgramsFixture, EditsAreLiveInTheirProgram) {
    plug->setProgram(2);
    plug->setParameter(kMix, 0.9f);
    plug->setProgram(5);
    EXPECT_FLOAT_EQ(plug->getParameter(kMix), 0.315f);
    plug->setProgram(2);
    EXPECT_FLOAT_EQ(plug->getParameter(kMix), 0.9f);
}

TEST_F(ProgramsFixture, NamesAreBoundedByTheirField) {
    char longName[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123";  // 30 characters
    plug->dispatcher(effSetProgramName, 0, 0, longName, 0.0f);
    EXPECT_EQ(std::memcmp(plug->programRecord(0).name, longName, 24), 0);
    // What the host reads back fits 24 bytes with its terminator.
    char out[64];
    std::memset(out, 'x', sizeof(out));
    plug->dispatcher(effGetProgramName, 0, 0, out, 0.0f);
    EXPECT_EQ(std::string(out), std::string(longName, 23));
    EXPECT_EQ(editor->titles.back(), std::string("KORVEX52: ") + longName);
    EXPECT_TRUE(editor->programs.empty());  // a rename is not a program change
    char shortName[] = "Vox";
    plug->setProgramName(shortName);
    plug->getProgramName(out);
    EXPECT_STREQ(out, "Vox");
    EXPECT_FALSE(plug->getProgramNameIndexed(0, 10, out));
    EXPECT_FALSE(plug->getProgramNameIndexed(0, -1, out));
    EXPECT_EQ(plug->dispatcher(effGetProgramNameIndexed, -1, 0, out, 0.0f), 1);
}

TEST_F(ProgramsFixture, PresetChunkRoundTripChangesNothing) {
    plug->setProgram(3);
    plug->setParameter(kWidth, 0.2f);
    void* data = nullptr;
    ASSERT_EQ(plug->dispatcher(effGetChunk, 1, 0, &data, 0.0f), 80);
    std::vector<unsigned char> saved(static_cast<unsigned char*>(data),
                                     static_cast<unsigned char*>(data) + 80);
    EXPECT_EQ(plug->setChunk(saved.data(), 80, true), 1);
    EXPECT_EQ(plug->currentProgram(), 3);
    EXPECT_FLOAT_EQ(plug->getParameter(kWidth), 0.2f);
    EXPECT_EQ(std::memcmp(&plug->programRecord(3), saved.data(), 80), 0);
}

TEST_F(ProgramsFixture, PresetChunksAreCheckedBeforeAnythingChanges) {
    std::vector<unsigned char> chunk(81, 0);
    EXPECT_EQ(plug->setChunk(chunk.data(), 81, true), 0);
    EXPECT_EQ(plug->setChunk(chunk.data(), -1, true), 0);
    std::memcpy(chunk.data(), &plug->programRecord(0), 80);
    int32_t index = 10;
    std::memcpy(chunk.data() + 4, &index, 4);
    ProgramRecord before = plug->programRecord(0);
    EXPECT_EQ(plug->setChunk(chunk.data(), 80, true), 0);
    EXPECT_EQ(std::memcmp(&before, &plug->programRecord(0), 80), 0);
    // Index 3 makes program 3 current and applies it, with values clamped.
    index = 3;
    std::memcpy(chunk.data() + 4, &index, 4);
    float wild = 4.0f, negative = -2.0f;
    std::memcpy(chunk.data() + 8, &wild, 4);
    std::memcpy(chunk.data() + 12, &negative, 4);
    host.calls.clear();
    EXPECT_EQ(plug->setChunk(chunk.data(), 80, true), 1);
    EXPECT_EQ(plug->currentProgram(), 3);
    EXPECT_FLOAT_EQ(plug->getParameter(kRT60), 1.0f);
    EXPECT_FLOAT_EQ(plug->getParameter(kDamping), 0.0f);
    EXPECT_EQ(host.callsOf(audioMasterAutomate).size(), 10u);
    // Without the magic nothing is copied, but the current program is re-applied.
    std::vector<unsigned char> junk(80, 0x55);
    host.calls.clear();
    EXPECT_EQ(plug->setChunk(junk.data(), 80, true), 1);
    EXPECT_EQ(host.callsOf(audioMasterAutomate).size(), 10u);
    EXPECT_FLOAT_EQ(plug->getParameter(kRT60), 1.0f);
    // Short chunks: too short for the magic is accepted and copies nothing.
    EXPECT_EQ(plug->setChunk(junk.data(), 4, true), 1);
    EXPECT_EQ(plug->setChunk(nullptr, 0, true), 1);
}

TEST_F(ProgramsFixture, BankChunkLoadsRecordsUntilTheMagicIsMissing) {
    std::vector<unsigned char> bytes = bank();
    putField(bytes, 0, 2 + kMix, 0.11f);
    putField(bytes, 1, 2 + kMix, 0.22f);
    putField(bytes, 3, 2 + kMix, 0.44f);
    bytes[2 * 80] = 0;  // record 2 loses its magic: records 2 to 9 keep their content
    EXPECT_EQ(plug->dispatcher(effSetChunk, 0, 800, bytes.data(), 0.0f), 1);
    EXPECT_FLOAT_EQ(plug->programRecord(0).values[kMix], 0.11f);
    EXPECT_FLOAT_EQ(plug->programRecord(1).values[kMix], 0.22f);
    EXPECT_FLOAT_EQ(plug->programRecord(3).values[kMix], 0.5f);
    EXPECT_FLOAT_EQ(plug->getParameter(kMix), 0.11f);  // the current program re-applied
    EXPECT_EQ(plug->setChunk(bytes.data(), 801, false), 0);
    EXPECT_EQ(plug->setChunk(bytes.data(), -5, false), 0);
}

TEST_F(ProgramsFixture, ShortBankStrideKeepsTheRestOfEachRecord) {
    std::vector<unsigned char> full = bank();
    std::vector<unsigned char> packed(560);
    for (size_t i = 0; i < 10; ++i) {
        std::memcpy(packed.data() + i * 56, full.data() + i * 80, 56);
        float width = 700.0f + static_cast<float>(i);
        std::memcpy(packed.data() + i * 56 + 48, &width, 4);
        float rt = 0.01f * static_cast<float>(i);
        std::memcpy(packed.data() + i * 56 + 8, &rt, 4);
    }
    plug->setProgramName(const_cast<char*>("Kept"));
    EXPECT_EQ(plug->setChunk(packed.data(), 560, false), 1);
    for (int i = 0; i < 10; ++i) {
        EXPECT_FLOAT_EQ(plug->programRecord(i).values[kRT60], 0.01f * static_cast<float>(i));
        EXPECT_FLOAT_EQ(plug->programRecord(i).editorWidth, 700.0f + static_cast<float>(i));
    }
    EXPECT_STREQ(plug->programRecord(0).name, "Kept");
    EXPECT_STREQ(plug->programRecord(9).name, "10 Wide");
}

TEST_F(ProgramsFixture, EditorSizeIsRestoredOnlyRightAfterConstruction) {
    std::vector<unsigned char> bytes = bank();
    putField(bytes, 0, 12, 500.0f);
    putField(bytes, 0, 13, 700.0f);
    g_now += 1999;  // wraps past zero: still within two seconds
    EXPECT_EQ(plug->setChunk(bytes.data(), 800, false), 1);
    ASSERT_EQ(editor->restored.size(), 1u);
    EXPECT_FLOAT_EQ(editor->restored[0].first, 500.0f);
    EXPECT_FLOAT_EQ(editor->restored[0].second, 700.0f);
    EXPECT_FLOAT_EQ(plug->getParameter(kEditorWidth), 500.0f);
    g_now += 1;
    EXPECT_EQ(plug->setChunk(bytes.data(), 800, false), 1);
    EXPECT_EQ(editor->restored.size(), 1u);
}

}  // namespace
