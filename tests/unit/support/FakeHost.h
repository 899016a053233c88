// A host callback that answers the version query with 2400 (or what a test
// sets) and records every call the plug-in makes.
#pragma once

#include <vector>

#include "frame/vst_abi.h"

struct HostCall {
    AEffect* effect;
    VstInt32 opcode, index;
    VstIntPtr value;
    void* ptr;
    float opt;
};

struct FakeHost {
    static FakeHost* current;  // the callback is a plain function: one host at a time
    std::vector<HostCall> calls;
    VstIntPtr versionAnswer = 2400, defaultAnswer = 0;

    FakeHost() { current = this; }
    ~FakeHost() { current = current == this ? nullptr : current; }

    static VstIntPtr callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                              void* ptr, float opt) {
        if (!current) return 0;
        current->calls.push_back({effect, opcode, index, value, ptr, opt});
        return opcode == audioMasterVersion ? current->versionAnswer : current->defaultAnswer;
    }

    std::vector<HostCall> callsOf(VstInt32 opcode) const {
        std::vector<HostCall> found;
        for (const HostCall& call : calls)
            if (call.opcode == opcode) found.push_back(call);
        return found;
    }
};

inline FakeHost* FakeHost::current = nullptr;
