// The bank a fresh instance starts with: four user slots with the parameter
// defaults and six factory presets of a stereo plate.
#include "plugin/ProgramRecord.h"

#include <cstdio>
#include <cstring>

namespace ZEPHRA2F9C41D07 {

namespace {

float fromBits(uint32_t bits) {
    float value;
    std::memcpy(&value, &bits, sizeof(value));
    return value;
}

struct FactoryPreset {
    const char* nameFormat;
    float rt60, damping, mix, preDelay, width;
};

// Pre-delay and width of the three short plates sit one float step above the
// nearest float to 0.15788 and 0.803, as the presets were first stored.
const float kShortPlatePreDelay = fromBits(0x3E21AB4Cu);
const float kShortPlateWidth = fromBits(0x3F4D9169u);

const FactoryPreset kFactory[6] = {
    {"%02d Ambience", 0.26f, 0.605f, 0.1842f, kShortPlatePreDelay, kShortPlateWidth},
    {"%02d Damped", 0.282f, 0.984f, 0.315f, kShortPlatePreDelay, kShortPlateWidth},
    {"%02d Bright Plate", 0.282f, 0.514f, 0.315f, kShortPlatePreDelay, kShortPlateWidth},
    {"%02d Large Plate", 0.7166667f, 0.514f, 0.315f, 0.3684f, 0.8f},
    {"%02d Mono", 0.47333333f, 0.936f, 0.315f, 0.1724f, 0.0f},
    {"%02d Wide", 0.47333333f, 0.936f, 0.315f, 0.1728f, 1.0f},
};

constexpr int kUserSlots = 4;

// At most 23 characters and the terminating zero.
void setName(ProgramRecord& record, const char* name) {
    size_t length = strnlen(name, sizeof(record.name) - 1);
    std::memcpy(record.name, name, length);
    record.name[length] = 0;
}

}  // namespace

void initProgramRecord(ProgramRecord& record, int index) {
    std::memset(&record, 0, sizeof(record));
    record.magic = kProgramMagic;
    record.index = index;
    for (int i = 0; i < kNumParameters; ++i) record.values[i] = parameterDefault(i);
    const int number = index + 1;
    // Format wide, then cut to the field: at most 23 characters and a zero.
    char name[64];
    if (index < kUserSlots) {
        std::snprintf(name, sizeof(name), "%02d User Preset %d", number, number);
        setName(record, name);
        return;
    }
    const FactoryPreset& preset = kFactory[(index - kUserSlots) % 6];
    record.values[kRT60] = preset.rt60;
    record.values[kDamping] = preset.damping;
    record.values[kMix] = preset.mix;
    record.values[kPreDelay] = preset.preDelay;
    record.values[kWidth] = preset.width;
    std::snprintf(name, sizeof(name), preset.nameFormat, number);
    setName(record, name);
}

void readRecord(const ProgramRecord& record, ProgramRecord& out) {
    out.magic = record.magic;
    out.index = record.index;
    for (int i = 0; i < kNumParameters; ++i) out.values[i] = loadField(record.values[i]);
    out.editorWidth = loadField(record.editorWidth);
    out.editorHeight = loadField(record.editorHeight);
    std::memcpy(out.name, record.name, sizeof(out.name));
}

void writeRecordBytes(ProgramRecord& record, const unsigned char* from, size_t bytes) {
    ProgramRecord merged;
    readRecord(record, merged);
    std::memcpy(&merged, from, bytes < sizeof(merged) ? bytes : sizeof(merged));
    record.magic = merged.magic;
    record.index = merged.index;
    for (int i = 0; i < kNumParameters; ++i) storeField(record.values[i], merged.values[i]);
    storeField(record.editorWidth, merged.editorWidth);
    storeField(record.editorHeight, merged.editorHeight);
    std::memcpy(record.name, merged.name, sizeof(record.name));
}

}  // namespace ZEPHRA2F9C41D07
