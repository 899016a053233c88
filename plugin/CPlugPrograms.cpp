// CPlug's programs: choosing and naming them, and the chunks in which the
// host saves and restores the whole state.
#include <cstdio>
#include <cstring>

#include "editor/EditorLink.h"
#include "plugin/CPlug.h"

namespace ZEPHRA2F9C41D07 {

namespace {

// A name field holds up to 24 bytes and may fill all of them without a
// terminator (a long rename, or a chunk from elsewhere). Reading stops at the
// field's end, and what the host receives is cut to 23 characters plus the
// terminator, so a host buffer of the customary 24 bytes is never overrun.
void copyName(char* dest, const char* field) {
    size_t length = strnlen(field, kProgramNameBytes);
    if (length > kProgramNameBytes - 1) length = kProgramNameBytes - 1;
    std::memcpy(dest, field, length);
    dest[length] = 0;
}

}  // namespace

void CPlug::announceTitle(const char* name, size_t nameBytes) {
    // The title may carry all 24 bytes of a name: %.*s reads no further.
    std::snprintf(title, 255, "KORVEX52: %.*s", static_cast<int>(strnlen(name, nameBytes)), name);
    if (EditorLink* link = gui()) link->setTitle(title);
}

void CPlug::setProgram(VstInt32 program) {
    if (program < 0 || program >= kNumPrograms) return;
    curProgramIndex = program;
    ProgramRecord& record = programs[program];
    for (int i = 0; i < kNumParameters; ++i) setParameterAutomated(i, loadField(record.values[i]));
    announceTitle(record.name, kProgramNameBytes);
    if (EditorLink* link = gui()) link->programChanged(program);
}

void CPlug::setProgramName(char* name) {
    if (!name) return;
    ProgramRecord& record = programs[curProgramIndex];
    // strncpy's padding is what we want: a name of 24 or more characters
    // fills the field with no terminator, a shorter one is zero-filled.
    std::strncpy(record.name, name, kProgramNameBytes);
    announceTitle(name, sizeof(title));
}

void CPlug::getProgramName(char* name) {
    if (name) copyName(name, programs[curProgramIndex].name);
}

bool CPlug::getProgramNameIndexed(VstInt32 /*category*/, VstInt32 index, char* text) {
    if (index < 0 || index >= kNumPrograms || !text) return false;
    copyName(text, programs[index].name);
    return true;
}

void CPlug::clampRecordValues(ProgramRecord& record) {
    for (float& value : record.values) {
        const float v = loadField(value);
        storeField(value, v > 1.0f ? 1.0f : (v >= 0.0f ? v : 0.0f));  // NaN becomes 0.0
    }
}

VstInt32 CPlug::getChunk(void** data, bool isPreset) {
    if (!data) return 0;
    float size[4] = {0.0f, 0.0f, 0.0f, 0.0f};  // left, right, top, bottom
    if (EditorLink* link = gui()) link->querySize(size);
    const float width = size[1];
    const float height = size[3];
    if (isPreset) {
        const VstInt32 current = curProgramIndex;
        ProgramRecord& record = programs[current];
        storeField(record.editorWidth, width);
        storeField(record.editorHeight, height);
        // The host copies the chunk while automation may still write the
        // live record; it gets a snapshot in the bank buffer's slot instead,
        // whose bytes no other thread touches.
        readRecord(record, bankChunk[current]);
        *data = &bankChunk[current];
        return static_cast<VstInt32>(sizeof(ProgramRecord));
    }
    for (int i = 0; i < kNumPrograms; ++i) {
        storeField(programs[i].editorWidth, width);
        storeField(programs[i].editorHeight, height);
        readRecord(programs[i], bankChunk[i]);
    }
    *data = bankChunk;
    return static_cast<VstInt32>(sizeof(bankChunk));
}

VstInt32 CPlug::setChunk(void* data, VstInt32 byteSize, bool isPreset) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    if (isPreset) {
        if (byteSize < 0 || byteSize > static_cast<VstInt32>(sizeof(ProgramRecord))) return 0;
        if (!bytes && byteSize > 0) return 0;
        uint32_t magic = 0;
        if (byteSize >= 8) std::memcpy(&magic, bytes, sizeof(magic));
        if (byteSize >= 8 && magic == kProgramMagic) {
            int32_t index = 0;
            std::memcpy(&index, bytes + 4, sizeof(index));
            if (index < 0 || index >= kNumPrograms) return 0;
            writeRecordBytes(programs[index], bytes, static_cast<size_t>(byteSize));
            clampRecordValues(programs[index]);
            curProgramIndex = index;
        }
    } else {
        if (byteSize < 0 || byteSize > static_cast<VstInt32>(sizeof(bankChunk))) return 0;
        if (!bytes && byteSize > 0) return 0;
        if (byteSize > 0) std::memcpy(bankChunk, bytes, static_cast<size_t>(byteSize));
        size_t stride = static_cast<size_t>(byteSize) / kNumPrograms;
        if (stride > sizeof(ProgramRecord)) stride = sizeof(ProgramRecord);
        const auto* buffer = reinterpret_cast<const unsigned char*>(bankChunk);
        for (int i = 0; i < kNumPrograms; ++i) {
            const unsigned char* at = buffer + static_cast<size_t>(i) * stride;
            uint32_t magic = 0;
            // A record too short to hold the magic cannot begin with it.
            if (stride < sizeof(magic)) break;
            std::memcpy(&magic, at, sizeof(magic));
            if (magic != kProgramMagic) break;
            writeRecordBytes(programs[i], at, stride);
            clampRecordValues(programs[i]);
        }
    }
    const ProgramRecord& current = programs[curProgramIndex];
    const float width = loadField(current.editorWidth);
    const float height = loadField(current.editorHeight);
    // Only a chunk that arrives as the host restores a session (right after
    // construction) brings the editor's size back; later loads leave the
    // user's window alone.
    if (static_cast<uint32_t>(nowMs() - constructionTimeMs) < 2000u) {
        setParameter(kEditorWidth, width);
        setParameter(kEditorHeight, height);
        const float rect[4] = {0.0f, width, 0.0f, height};
        if (EditorLink* link = gui()) link->restoreSize(rect);
    }
    setProgram(curProgramIndex);
    return 1;
}

}  // namespace ZEPHRA2F9C41D07
