// Any bytes read by korvex-host as a preset file and as a bank file. A file
// the reader accepts must survive writing and reading again unchanged; a file
// it accepts for the plug-in goes through loadPresetFile into an instance
// returned to its first state; any file refused along the way leaves the
// instance untouched and is explained in one line.
#include <cstdint>
#include <string>

#include "tests/fuzz/FuzzInstance.h"
#include "tools/host/PluginState.h"
#include "tools/host/PresetFile.h"

namespace {

void run(FuzzInstance& plug, const uint8_t* data, size_t size, PresetFileKind kind) {
    const char* as = presetFileKindName(kind);
    PresetFile file;
    std::string error;
    const bool accepted = decodePresetFile(data, size, kind, file, error);
    if (!accepted) {
        FUZZ_CHECK(!error.empty() && error.find('\n') == std::string::npos,
                   "%s: refusal without a one-line reason: '%s'", as, error.c_str());
    } else {
        const std::vector<unsigned char> again = encodePresetFile(file);
        PresetFile back;
        FUZZ_CHECK(decodePresetFile(again.data(), again.size(), kind, back, error),
                   "%s: a rewritten file is refused: %s", as, error.c_str());
        FUZZ_CHECK(file == back, "%s: a rewritten file reads differently", as);
    }

    plug.reset();
    const std::vector<unsigned char> bankBefore = plug.chunk(false);
    const VstIntPtr programBefore = plug.dispatch(effGetProgram);
    const std::vector<unsigned char> bytes(data, data + size);
    error.clear();
    if (!loadPresetFile(*plug.instance, kind, bytes, error)) {
        FUZZ_CHECK(!error.empty() && error.find('\n') == std::string::npos,
                   "%s: load refused without a one-line reason: '%s'", as, error.c_str());
        FUZZ_CHECK(plug.chunk(false) == bankBefore, "%s: a refused file changed the programs (%s)",
                   as, error.c_str());
        FUZZ_CHECK(plug.dispatch(effGetProgram) == programBefore,
                   "%s: a refused file changed the current program (%s)", as, error.c_str());
    } else {
        FUZZ_CHECK(accepted, "%s: loaded a file the reader refuses", as);
    }
    plug.processAndCheck(128);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 8192) return 0;
    static FuzzInstance* plug = new FuzzInstance();
    run(*plug, data, size, PresetFileKind::Preset);
    run(*plug, data, size, PresetFileKind::Bank);
    return 0;
}
