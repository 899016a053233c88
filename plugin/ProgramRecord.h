// ProgramRecord: one program as 80 bytes of twenty 32-bit little-endian
// fields. The same bytes live in memory and travel in the host's chunks.
#pragma once

#include <cstddef>
#include <cstdint>

#include "params/ParameterTable.h"

namespace ZEPHRA2F9C41D07 {

constexpr uint32_t kProgramMagic = 0x8CAC4436u;
constexpr int kProgramNameBytes = 24;

struct ProgramRecord {
    uint32_t magic;
    int32_t index;                 // position in the bank, 0 to 9
    float values[kNumParameters];  // normalised parameter values in index order
    float editorWidth;             // unscaled pixels
    float editorHeight;            // unscaled pixels
    char name[kProgramNameBytes];  // zero-terminated unless it fills the field
};

static_assert(sizeof(ProgramRecord) == 80, "a program record is exactly 80 bytes");
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__,
              "records are copied to and from chunks as little-endian bytes");

// Fills record i of a fresh bank: user slots 0 to 3, factory presets 4 to 9.
void initProgramRecord(ProgramRecord& record, int index);

// Writes a value into a record field that another thread may read at the same
// time (a chunk being saved while automation plays): one whole 32-bit store.
inline void storeField(float& field, float value) {
    __atomic_store(&field, &value, __ATOMIC_RELAXED);
}
inline float loadField(const float& field) {
    float value;
    __atomic_load(&field, &value, __ATOMIC_RELAXED);
    return value;
}

// Whole-record copies for the user-interface thread while automation may
// store values into the same record: every float field is read or written
// whole (the other fields only ever change on that thread).
void readRecord(const ProgramRecord& record, ProgramRecord& out);
// Lays bytes (any alignment, at most 80) over the start of record; a field
// that the bytes cover only in part keeps its remaining bytes.
void writeRecordBytes(ProgramRecord& record, const unsigned char* from, size_t bytes);

}  // namespace ZEPHRA2F9C41D07
