// PluginState: state options, and preset and bank files through the
// plug-in's chunk calls.
#include "tools/host/PluginState.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tools/host/HostSession.h"

namespace {

// The record a host hands to effBeginLoadBank / effBeginLoadProgram so the
// plug-in can refuse a file before its chunk arrives (answer -1).
struct PatchChunkInfo {
    VstInt32 version;         // 1
    VstInt32 pluginUniqueId;  // from the file
    VstInt32 pluginVersion;   // from the file
    VstInt32 numElements;     // programs in a bank, parameters in a preset
    char future[48];
};

VstIntPtr dispatch(AEffect* effect, VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                   void* ptr = nullptr) {
    return effect->dispatcher(effect, opcode, index, value, ptr, 0.0f);
}

bool parseWhole(const std::string& text, long& value) {
    char* end = nullptr;
    value = std::strtol(text.c_str(), &end, 10);
    return !text.empty() && end && *end == 0;
}

bool loadFromPath(HostSession& host, PresetFileKind kind, const std::string& path,
                  std::string& error) {
    std::vector<unsigned char> bytes;
    if (!readFileBytes(path, bytes, error)) return false;
    if (!loadPresetFile(host.effect(), kind, bytes, error)) {
        error = "'" + path + "': " + error;
        return false;
    }
    return true;
}

}  // namespace

int parseStateOption(const Arguments& args, size_t& i, StateOptions& options,
                     const std::string& command, std::string& complaint) {
    const std::string& arg = args[i];
    if (arg != "--bank" && arg != "--preset" && arg != "--program" && arg != "--param") return 0;
    if (i + 1 >= args.size()) {
        complaint = command + ": " + arg + " needs a value";
        return -1;
    }
    const std::string& value = args[++i];
    if (arg == "--bank") {
        options.bankPath = value;
    } else if (arg == "--preset") {
        options.presetPath = value;
    } else if (arg == "--program") {
        long number = 0;
        if (!parseWhole(value, number) || number < 0 || number > 9999) {
            complaint = command + ": --program needs a program number";
            return -1;
        }
        options.program = static_cast<int>(number);
    } else {
        const size_t eq = value.rfind('=');
        char* end = nullptr;
        const double number =
            eq == std::string::npos ? 0.0 : std::strtod(value.c_str() + eq + 1, &end);
        if (eq == std::string::npos || eq == 0 || eq + 1 == value.size() || !end || *end ||
            !std::isfinite(number)) {
            complaint = command + ": bad --param '" + value + "' (use INDEX=VALUE or NAME=VALUE)";
            return -1;
        }
        options.params.emplace_back(value.substr(0, eq), static_cast<float>(number));
    }
    return 1;
}

bool applyState(HostSession& host, const StateOptions& options, std::string& error) {
    if (!options.bankPath.empty() &&
        !loadFromPath(host, PresetFileKind::Bank, options.bankPath, error))
        return false;
    if (!options.presetPath.empty() &&
        !loadFromPath(host, PresetFileKind::Preset, options.presetPath, error))
        return false;
    if (options.program >= 0) {
        const int programs = host.effect()->numPrograms;
        if (options.program >= programs) {
            error = "--program " + std::to_string(options.program) +
                    " is not below the plug-in's " + std::to_string(programs) + " programs";
            return false;
        }
        host.dispatch(effSetProgram, 0, options.program);
    }
    for (const auto& [key, value] : options.params) {
        const int index = resolveParameter(host, key);
        if (index < 0) {
            error = "no parameter '" + key + "'";
            return false;
        }
        host.setParameter(index, value);
    }
    return true;
}

bool loadPresetFile(AEffect* effect, PresetFileKind kind, const std::vector<unsigned char>& bytes,
                    std::string& error) {
    if (!(effect->flags & effFlagsProgramChunks)) {
        error = "the plug-in does not keep its programs as chunks";
        return false;
    }
    PresetFile file;
    if (!decodePresetFile(bytes.data(), bytes.size(), kind, file, error)) return false;
    if (file.pluginId != effect->uniqueID) {
        error = "different unique id: the " + std::string(presetFileKindName(kind)) +
                " is for plug-in '" + fourCharacters(file.pluginId) + "', this one is '" +
                fourCharacters(effect->uniqueID) + "'";
        return false;
    }
    const bool preset = kind == PresetFileKind::Preset;
    PatchChunkInfo info{};
    info.version = 1;
    info.pluginUniqueId = file.pluginId;
    info.pluginVersion = file.pluginVersion;
    info.numElements = file.count;
    if (dispatch(effect, preset ? effBeginLoadProgram : effBeginLoadBank, 0, 0, &info) == -1) {
        error = std::string("the plug-in refuses this ") + presetFileKindName(kind) +
                " (plug-in version " + std::to_string(file.pluginVersion) + ")";
        return false;
    }
    // The chunk travels in a buffer one byte longer than itself, so even an
    // empty chunk arrives at a valid address.
    std::vector<unsigned char> chunk(file.chunk);
    chunk.push_back(0);
    const size_t chunkBytes = file.chunk.size();
    if (dispatch(effect, effSetChunk, preset ? 1 : 0, static_cast<VstIntPtr>(chunkBytes),
                 chunk.data()) == 0) {
        error = std::string("the plug-in refused the ") + presetFileKindName(kind) +
                "'s chunk of " + std::to_string(chunkBytes) + " bytes";
        return false;
    }
    if (!preset && file.currentProgram >= 0 && file.currentProgram < effect->numPrograms)
        dispatch(effect, effSetProgram, 0, file.currentProgram);
    return true;
}

bool savePresetFile(AEffect* effect, PresetFileKind kind, std::vector<unsigned char>& bytes,
                    std::string& error) {
    if (!(effect->flags & effFlagsProgramChunks)) {
        error = "the plug-in does not keep its programs as chunks";
        return false;
    }
    const bool preset = kind == PresetFileKind::Preset;
    void* data = nullptr;
    const VstIntPtr size = dispatch(effect, effGetChunk, preset ? 1 : 0, 0, &data);
    if (size <= 0 || !data) {
        error = std::string("the plug-in gave no ") + presetFileKindName(kind) + " chunk";
        return false;
    }
    PresetFile file;
    file.kind = kind;
    file.formatVersion = preset ? 1 : 2;  // a bank names its current program
    file.pluginId = effect->uniqueID;
    file.pluginVersion = effect->version;
    file.count = preset ? effect->numParams : effect->numPrograms;
    const auto* chunk = static_cast<const unsigned char*>(data);
    file.chunk.assign(chunk, chunk + size);
    if (preset) {
        // Generous and zeroed: a name that fills its field still ends here.
        char name[256] = {};
        dispatch(effect, effGetProgramName, 0, 0, name);
        name[sizeof(name) - 1] = 0;
        file.programName = name;
    } else {
        file.currentProgram = static_cast<int32_t>(dispatch(effect, effGetProgram));
    }
    bytes = encodePresetFile(file);
    return true;
}

int resolveParameter(HostSession& host, const std::string& key) {
    const int count = host.effect()->numParams;
    long index = 0;
    if (parseWhole(key, index)) return (index >= 0 && index < count) ? static_cast<int>(index) : -1;
    for (int i = 0; i < count; ++i)
        if (host.text(effGetParamName, i) == key) return i;
    return -1;
}

bool readFileBytes(const std::string& path, std::vector<unsigned char>& bytes, std::string& error) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        error = "cannot read '" + path + "'";
        return false;
    }
    bytes.clear();
    unsigned char buffer[65536];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof(buffer), file)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + got);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) {
        error = "cannot read '" + path + "'";
        return false;
    }
    return true;
}
