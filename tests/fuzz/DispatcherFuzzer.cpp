// Any sequence of host calls on a fresh instance: dispatcher opcodes with any
// index, value and option, parameter changes and audio blocks. Pointer
// arguments point at buffers of the sizes a host hands over (exactly sized,
// so the address sanitizer sees a single byte too far), text answers must end
// inside their buffer, and audio must stay finite.
//
// Input: a series of steps, each beginning with one byte:
//   0-199    a dispatcher call: opcode = byte % 90 (80-89 are unknown ones),
//            then index (4 bytes), value (8), opt (4), payload length (2), payload
//   200-229  setParameter: index (1, signed), value (4); then getParameter
//   230-255  processReplacing: frames (2) % 1025
// Bytes missing at the end read as zero.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "tests/fuzz/FuzzInstance.h"

namespace {

class Reader {
public:
    Reader(const uint8_t* data, size_t size) : at_(data), left_(size) {}
    bool done() const { return left_ == 0; }
    template <typename T>
    T take() {
        T value{};
        const size_t n = left_ < sizeof(T) ? left_ : sizeof(T);
        std::memcpy(&value, at_, n);
        at_ += n;
        left_ -= n;
        return value;
    }
    std::vector<unsigned char> bytes(size_t n) {
        if (n > left_) n = left_;
        std::vector<unsigned char> out(at_, at_ + n);
        at_ += n;
        left_ -= n;
        return out;
    }

private:
    const uint8_t* at_;
    size_t left_;
};

// A zeroed buffer of exactly the size a host would pass for a text answer,
// checked afterwards for a terminator inside it.
void textAnswer(FuzzInstance& plug, VstInt32 op, VstInt32 index, VstIntPtr value, float opt,
                size_t size) {
    std::vector<char> text(size, 0);
    plug.dispatch(op, index, value, text.data(), opt);
    FUZZ_CHECK(strnlen(text.data(), size) < size, "opcode %d left a text of %zu bytes unterminated",
               op, size);
}

// A text the host passes in, terminated, in a buffer of exactly its length.
void textArgument(FuzzInstance& plug, VstInt32 op, VstInt32 index, VstIntPtr value, float opt,
                  const std::vector<unsigned char>& payload) {
    std::vector<char> text(payload.begin(), payload.end());
    text.push_back(0);
    plug.dispatch(op, index, value, text.data(), opt);
}

// A record of the given size for the plug-in to fill or read.
void record(FuzzInstance& plug, VstInt32 op, VstInt32 index, VstIntPtr value, float opt,
            size_t size) {
    std::vector<unsigned char> buffer(size, 0);
    plug.dispatch(op, index, value, buffer.data(), opt);
}

void processEvents(FuzzInstance& plug, const std::vector<unsigned char>& payload) {
    const size_t count = payload.empty() ? 0 : payload[0] % 4;
    std::vector<VstEvent> events(count ? count : 1);
    for (size_t i = 0; i < count; ++i) {
        std::memset(&events[i], 0, sizeof(VstEvent));
        events[i].type = 1;  // a MIDI event
        events[i].byteSize = static_cast<VstInt32>(sizeof(VstEvent));
        events[i].deltaFrames = static_cast<VstInt32>(i);
    }
    // VstEvents ends in a variable-length array of event pointers.
    std::vector<unsigned char> list(offsetof(VstEvents, events) +
                                    (count ? count : 1) * sizeof(VstEvent*));
    auto* header = reinterpret_cast<VstEvents*>(list.data());
    header->numEvents = static_cast<VstInt32>(count);
    auto** slots = reinterpret_cast<VstEvent**>(list.data() + offsetof(VstEvents, events));
    for (size_t i = 0; i < count; ++i) slots[i] = &events[i];
    plug.dispatch(effProcessEvents, 0, 0, header, 0.0f);
    // Hosts keep the list alive only until the next audio block has run.
    plug.processAndCheck(32);
}

void dispatcherCall(FuzzInstance& plug, Reader& in, uint8_t step) {
    const VstInt32 op = step % 90;
    const VstInt32 index = in.take<int32_t>();
    const VstIntPtr value = static_cast<VstIntPtr>(in.take<int64_t>());
    const float opt = in.take<float>();
    const std::vector<unsigned char> payload = in.bytes(in.take<uint16_t>());

    switch (op) {
        // The instance ends with the input; an editor needs a real parent
        // window, which a fuzzer cannot give.
        case effClose:
        case effEditOpen: return;
        case effSetProgramName:
        case effCanDo:
        case effString2Parameter: textArgument(plug, op, index, value, opt, payload); return;
        case effGetProgramName:
        case effGetProgramNameIndexed:
        case effGetParamLabel:
        case effGetParamDisplay:
        case effGetParamName: textAnswer(plug, op, index, value, opt, kVstMaxProgNameLen); return;
        case effGetEffectName:
            textAnswer(plug, op, index, value, opt, kVstMaxEffectNameLen);
            return;
        case effGetVendorString:
        case effGetProductString:
        case effShellGetNextPlugin: textAnswer(plug, op, index, value, opt, 64); return;
        case effGetErrorText: textAnswer(plug, op, index, value, opt, 256); return;
        case effGetChunk: {
            void* data = nullptr;
            const VstIntPtr size = plug.dispatch(op, index, value, &data, opt);
            if (size > 0) {
                FUZZ_CHECK(data != nullptr, "getChunk answered %lld bytes at null",
                           static_cast<long long>(size));
                volatile unsigned sum = 0;
                for (VstIntPtr i = 0; i < size; ++i)
                    sum = sum + static_cast<const unsigned char*>(data)[i];
            }
            return;
        }
        case effSetChunk: {
            std::vector<unsigned char> chunk(payload.size() ? payload.size() : 1);
            if (!payload.empty()) std::memcpy(chunk.data(), payload.data(), payload.size());
            plug.dispatch(op, index, static_cast<VstIntPtr>(payload.size()), chunk.data(), opt);
            return;
        }
        case effEditGetRect: {
            ERect* rect = nullptr;
            plug.dispatch(op, index, value, &rect, opt);
            if (rect) {
                volatile int area = (rect->bottom - rect->top) * (rect->right - rect->left);
                (void)area;
            }
            return;
        }
        case effEditDraw: record(plug, op, index, value, opt, sizeof(ERect)); return;
        case effProcessEvents: processEvents(plug, payload); return;
        case effGetInputProperties:
        case effGetOutputProperties: record(plug, op, index, value, opt, 128); return;
        case effGetParameterProperties: record(plug, op, index, value, opt, 152); return;
        case effBeginLoadBank:
        case effBeginLoadProgram: record(plug, op, index, value, opt, 64); return;
        case effGetMidiProgramName:
        case effGetCurrentMidiProgram:
        case effGetMidiKeyName: record(plug, op, index, value, opt, 80); return;
        case effGetMidiProgramCategory: record(plug, op, index, value, opt, 76); return;
        case effProcessVarIo: record(plug, op, index, value, opt, 40); return;
        case effOfflineNotify:
        case effOfflinePrepare:
        case effOfflineRun: record(plug, op, index, 1, opt, 1024); return;
        case effVendorSpecific: textArgument(plug, op, index, value, opt, payload); return;
        case effSetSpeakerArrangement: {
            VstSpeakerArrangement input{}, output{};
            input.numChannels = output.numChannels = 2;
            plug.dispatch(op, index, reinterpret_cast<VstIntPtr>(&input), &output, opt);
            return;
        }
        case effGetSpeakerArrangement: {
            VstSpeakerArrangement* input = nullptr;
            VstSpeakerArrangement* output = nullptr;
            plug.dispatch(op, index, reinterpret_cast<VstIntPtr>(&input), &output, opt);
            return;
        }
        default:
            // Every other opcode takes no pointer: hosts pass null.
            plug.dispatch(op, index, value, nullptr, opt);
            return;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInstance plug;
    Reader in(data, size);
    while (!in.done()) {
        const uint8_t step = in.take<uint8_t>();
        if (step < 200) {
            dispatcherCall(plug, in, step);
        } else if (step < 230) {
            const int index = in.take<int8_t>();
            const float value = in.take<float>();
            plug.effect->setParameter(plug.effect, index, value);
            (void)plug.effect->getParameter(plug.effect, index);
        } else {
            plug.processAndCheck(in.take<uint16_t>() % 1025);
        }
    }
    plug.processAndCheck(64);
    return 0;
}
