// The chunk rules, modelled here independently of the plug-in's code, and a
// check of one instance against them for any bytes handed to setChunk (the
// instance first returned to its first state):
//   preset: more than 80 bytes, or the magic with an index outside 0-9, is
//           refused; with the magic the bytes cover the start of that
//           program's record, which becomes current; without it nothing is
//           copied;
//   bank:   more than 800 bytes is refused; records of stride
//           min(size / 10, 80) are copied in order until one lacks the magic;
//   both:   copied values are clamped to 0-1, a refusal changes nothing, and
//           the current program's values are applied afterwards, each
//           reported to the host as automation.
// Used by the chunk fuzzer and by the replay of its committed corpus.
#pragma once

#include <cstdint>
#include <cstring>

#include "tests/fuzz/FuzzInstance.h"

namespace chunk_model {

constexpr uint32_t kMagic = 0x8CAC4436u;
constexpr size_t kRecordBytes = 80;
constexpr int kPrograms = 10;
constexpr size_t kFirstValue = 2;    // field of parameter 0
constexpr size_t kEditorWidth = 12;  // fields 12 and 13 carry the editor's present size
constexpr size_t kEditorHeight = 13;

struct Model {
    unsigned char records[kPrograms][kRecordBytes];
    bool fromNaN[kPrograms][10] = {};
    int current = 0;
};

inline uint32_t field(const unsigned char* record, size_t index) {
    uint32_t v;
    std::memcpy(&v, record + 4 * index, 4);
    return v;
}

inline float floatField(const unsigned char* record, size_t index) {
    float v;
    std::memcpy(&v, record + 4 * index, 4);
    return v;
}

inline void clampValues(Model& m, int program) {
    for (size_t i = 0; i < 10; ++i) {
        float v = floatField(m.records[program], kFirstValue + i);
        m.fromNaN[program][i] = std::isnan(v);
        if (!(v >= 0.0f)) v = 0.0f;
        if (v > 1.0f) v = 1.0f;
        std::memcpy(m.records[program] + 4 * (kFirstValue + i), &v, 4);
    }
}

// Answers whether the model accepts the chunk, updating it when it does.
inline bool applyPreset(Model& m, const unsigned char* data, size_t size) {
    if (size > kRecordBytes) return false;
    if (size >= 8 && field(data, 0) == kMagic) {
        const int32_t index = static_cast<int32_t>(field(data, 1));
        if (index < 0 || index >= kPrograms) return false;
        std::memcpy(m.records[index], data, size);
        clampValues(m, index);
        m.current = index;
    }
    return true;
}

inline bool applyBank(Model& m, const unsigned char* data, size_t size) {
    if (size > kPrograms * kRecordBytes) return false;
    size_t stride = size / kPrograms;
    if (stride > kRecordBytes) stride = kRecordBytes;
    for (int i = 0; i < kPrograms && stride >= 4; ++i) {
        const unsigned char* at = data + i * stride;
        if (field(at, 0) != kMagic) break;
        std::memcpy(m.records[i], at, stride);
        clampValues(m, i);
    }
    return true;
}

inline void compare(FuzzInstance& plug, const Model& m, const char* as) {
    const std::vector<unsigned char> bank = plug.chunk(false);
    FUZZ_CHECK(bank.size() == kPrograms * kRecordBytes, "%s: bank chunk of %zu bytes", as,
               bank.size());
    for (int p = 0; p < kPrograms; ++p) {
        const unsigned char* got = bank.data() + p * kRecordBytes;
        for (size_t f = 0; f < 20; ++f) {
            if (f == kEditorWidth || f == kEditorHeight) continue;
            const bool value = f >= kFirstValue && f < kFirstValue + 10;
            if (value && m.fromNaN[p][f - kFirstValue]) {
                const float v = floatField(got, f);
                FUZZ_CHECK(v >= 0.0f && v <= 1.0f, "%s: program %d field %zu from NaN is %g", as, p,
                           f, double(v));
                continue;
            }
            FUZZ_CHECK(field(got, f) == field(m.records[p], f),
                       "%s: program %d field %zu is %08x, expected %08x", as, p, f, field(got, f),
                       field(m.records[p], f));
        }
    }
    FUZZ_CHECK(plug.dispatch(effGetProgram) == m.current, "%s: current program %lld, expected %d",
               as, static_cast<long long>(plug.dispatch(effGetProgram)), m.current);
    for (int i = 0; i < 10; ++i) {
        const float v = plug.effect->getParameter(plug.effect, i);
        const float stored = floatField(bank.data() + m.current * kRecordBytes, kFirstValue + i);
        FUZZ_CHECK(std::memcmp(&v, &stored, 4) == 0, "%s: parameter %d is %g, its record holds %g",
                   as, i, double(v), double(stored));
    }
}

// Hands the bytes to the instance as a preset or a bank chunk and checks
// every rule above; a broken rule stops the program with a message.
inline void check(FuzzInstance& plug, const unsigned char* data, size_t size, bool preset) {
    plug.reset();
    Model m;
    const std::vector<unsigned char> before = plug.chunk(false);
    std::memcpy(m.records, before.data(), sizeof(m.records));
    m.current = static_cast<int>(plug.dispatch(effGetProgram));
    const bool accepts = preset ? applyPreset(m, data, size) : applyBank(m, data, size);
    // The plug-in reads from a buffer of exactly the chunk's size (one byte
    // for an empty chunk, so the address is real).
    std::vector<unsigned char> chunk(size ? size : 1);
    if (size) std::memcpy(chunk.data(), data, size);
    const long automation = plug.instance->automationCalls();
    const VstIntPtr result =
        plug.dispatch(effSetChunk, preset ? 1 : 0, static_cast<VstIntPtr>(size), chunk.data());
    const char* as = preset ? "preset" : "bank";
    FUZZ_CHECK((result != 0) == accepts, "%s of %zu bytes: setChunk answered %lld", as, size,
               static_cast<long long>(result));
    FUZZ_CHECK(plug.instance->automationCalls() - automation == (accepts ? 10 : 0),
               "%s of %zu bytes: %ld automation calls", as, size,
               plug.instance->automationCalls() - automation);
    compare(plug, m, as);
    plug.processAndCheck(256);
}

}  // namespace chunk_model
