// PluginState: state options, and preset and bank files through the
// plug-in's chunk calls.
#include "tools/host/PluginState.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tools/host/PluginInstance.h"

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

bool parseWhole(const std::string& text, long& value) {
    char* end = nullptr;
    value = std::strtol(text.c_str(), &end, 10);
    return !text.empty() && end && *end == 0;
}

bool keepsChunks(const AEffect& effect, std::string& error) {
    if (effect.flags & effFlagsProgramChunks) return true;
    error = "the plug-in does not keep its programs as chunks";
    return false;
}

// The file decoded, and checked to be for this plug-in: one that keeps its
// programs as chunks and has the file's unique id.
bool decodeForPlugin(const AEffect& effect, PresetFileKind kind,
                     const std::vector<unsigned char>& bytes, PresetFile& file,
                     std::string& error) {
    if (!keepsChunks(effect, error)) return false;
    if (!decodePresetFile(bytes.data(), bytes.size(), kind, file, error)) return false;
    if (file.pluginId == effect.uniqueID) return true;
    error = "different unique id: the " + std::string(presetFileKindName(kind)) +
            " is for plug-in '" + fourCharacters(file.pluginId) + "', this one is '" +
            fourCharacters(effect.uniqueID) + "'";
    return false;
}

bool loadFromPath(PluginInstance& plug, PresetFileKind kind, const std::string& path,
                  std::string& error) {
    std::vector<unsigned char> bytes;
    if (!readFileBytes(path, bytes, error)) return false;
    if (!loadPresetFile(plug, kind, bytes, error)) {
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

bool applyState(PluginInstance& plug, const StateOptions& options, std::string& error) {
    if (!options.bankPath.empty() &&
        !loadFromPath(plug, PresetFileKind::Bank, options.bankPath, error))
        return false;
    if (!options.presetPath.empty() &&
        !loadFromPath(plug, PresetFileKind::Preset, options.presetPath, error))
        return false;
    if (options.program >= 0) {
        const int programs = plug.effect()->numPrograms;
        if (options.program >= programs) {
            error = "--program " + std::to_string(options.program) +
                    " is not below the plug-in's " + std::to_string(programs) + " programs";
            return false;
        }
        plug.dispatch(effSetProgram, 0, options.program);
    }
    for (const auto& [key, value] : options.params) {
        const int index = resolveParameter(plug, key);
        if (index < 0) {
            error = "no parameter '" + key + "'";
            return false;
        }
        plug.setParameter(index, value);
    }
    return true;
}

bool loadPresetFile(PluginInstance& plug, PresetFileKind kind,
                    const std::vector<unsigned char>& bytes, std::string& error) {
    const AEffect& effect = *plug.effect();
    PresetFile file;
    if (!decodeForPlugin(effect, kind, bytes, file, error)) return false;
    const bool preset = kind == PresetFileKind::Preset;
    PatchChunkInfo info{};
    info.version = 1;
    info.pluginUniqueId = file.pluginId;
    info.pluginVersion = file.pluginVersion;
    info.numElements = file.count;
    if (plug.dispatch(preset ? effBeginLoadProgram : effBeginLoadBank, 0, 0, &info) == -1) {
        error = std::string("the plug-in refuses this ") + presetFileKindName(kind) +
                " (plug-in version " + std::to_string(file.pluginVersion) + ")";
        return false;
    }
    if (plug.setChunk(file.chunk, preset) == 0) {
        error = std::string("the plug-in refused the ") + presetFileKindName(kind) +
                "'s chunk of " + std::to_string(file.chunk.size()) + " bytes";
        return false;
    }
    if (!preset && file.currentProgram >= 0 && file.currentProgram < effect.numPrograms)
        plug.dispatch(effSetProgram, 0, file.currentProgram);
    return true;
}

bool savePresetFile(PluginInstance& plug, PresetFileKind kind, std::vector<unsigned char>& bytes,
                    std::string& error) {
    const AEffect& effect = *plug.effect();
    if (!keepsChunks(effect, error)) return false;
    const bool preset = kind == PresetFileKind::Preset;
    PresetFile file;
    file.chunk = plug.chunk(preset);
    if (file.chunk.empty()) {
        error = std::string("the plug-in gave no ") + presetFileKindName(kind) + " chunk";
        return false;
    }
    file.kind = kind;
    file.formatVersion = preset ? 1 : 2;  // a bank names its current program
    file.pluginId = effect.uniqueID;
    file.pluginVersion = effect.version;
    file.count = preset ? effect.numParams : effect.numPrograms;
    if (preset) file.programName = plug.text(effGetProgramName);
    else file.currentProgram = static_cast<int32_t>(plug.dispatch(effGetProgram));
    bytes = encodePresetFile(file);
    return true;
}

int resolveParameter(PluginInstance& plug, const std::string& key) {
    const int count = plug.effect()->numParams;
    long index = 0;
    if (parseWhole(key, index)) return (index >= 0 && index < count) ? static_cast<int>(index) : -1;
    for (int i = 0; i < count; ++i)
        if (plug.text(effGetParamName, i) == key) return i;
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
