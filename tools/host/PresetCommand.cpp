// korvex-host preset|bank save|load: the plug-in's state as standard VST 2.x
// preset (.fxp) and bank (.fxb) files.
//
//   preset save [--bank F] [--preset F] [--program N] [--param K=V]... PLUGIN OUT.fxp
//   bank save   [--bank F] [--preset F] [--program N] [--param K=V]... PLUGIN OUT.fxb
//   preset load PLUGIN IN.fxp      loads the preset and prints the program it became
//   bank load   PLUGIN IN.fxb      loads the bank and prints every program
#include <cstdio>
#include <string>

#include "tools/host/Commands.h"
#include "tools/host/PluginInstance.h"
#include "tools/host/PluginState.h"
#include "tools/host/WavFile.h"

namespace {

// Parameter texts end in a blank for the three-letter switch words ("On ");
// the listing trims it so lines end cleanly.
std::string trimmed(std::string text) {
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

// One line per program: index, name, then every parameter as "Name display".
void printProgram(PluginInstance& plug, int index) {
    std::string line = plug.text(effGetProgramNameIndexed, index);
    std::printf("  %2d  %-24s", index, line.c_str());
    const int count = plug.effect()->numParams;
    for (int i = 0; i < count; ++i) {
        std::printf("%s%s %s", i ? " | " : " ", plug.text(effGetParamName, i).c_str(),
                    trimmed(plug.text(effGetParamDisplay, i)).c_str());
    }
    std::printf("\n");
}

// A fresh instance at the session's rate, opened the way an offline host opens it.
bool openInstance(PluginInstance& plug, const std::string& path, std::string& error) {
    if (!plug.load(path, error)) return false;
    plug.dispatch(effOpen);
    plug.dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
    plug.dispatch(effSetBlockSize, 0, 512);
    return true;
}

int save(PresetFileKind kind, const std::string& command, const Arguments& args) {
    StateOptions options;
    std::vector<std::string> paths;
    for (size_t i = 0; i < args.size(); ++i) {
        std::string complaint;
        const int taken = parseStateOption(args, i, options, command, complaint);
        if (taken < 0) return usageError(complaint);
        if (taken > 0) continue;
        if (args[i].size() > 1 && args[i][0] == '-')
            return usageError(command + ": unknown option '" + args[i] + "'");
        paths.push_back(args[i]);
    }
    const char* ext = kind == PresetFileKind::Preset ? "fxp" : "fxb";
    if (paths.size() != 2) return usageError(command + ": expected PLUGIN OUT." + ext);

    PluginInstance plug;
    std::string error;
    if (!openInstance(plug, paths[0], error)) return usageError(error);
    if (!applyState(plug, options, error)) return usageError(command + ": " + error);
    std::vector<unsigned char> bytes;
    if (!savePresetFile(plug, kind, bytes, error)) {
        std::fprintf(stderr, "korvex-host: %s: %s\n", command.c_str(), error.c_str());
        return 1;
    }
    if (!writeFileAtomically(paths[1], bytes, error)) return usageError(error);
    return 0;
}

int load(PresetFileKind kind, const std::string& command, const Arguments& args) {
    std::vector<std::string> paths;
    for (const std::string& arg : args) {
        if (arg.size() > 1 && arg[0] == '-')
            return usageError(command + ": unknown option '" + arg + "'");
        paths.push_back(arg);
    }
    const char* ext = kind == PresetFileKind::Preset ? "fxp" : "fxb";
    if (paths.size() != 2) return usageError(command + ": expected PLUGIN IN." + ext);

    // The file is read and checked before the plug-in is even loaded, so a
    // damaged file costs nothing and says so in one line.
    std::vector<unsigned char> bytes;
    std::string error;
    if (!readFileBytes(paths[1], bytes, error)) return usageError(error);
    PresetFile file;
    if (!decodePresetFile(bytes.data(), bytes.size(), kind, file, error))
        return usageError(command + ": '" + paths[1] + "': " + error);

    PluginInstance plug;
    if (!openInstance(plug, paths[0], error)) return usageError(error);
    if (!loadPresetFile(plug, kind, bytes, error))
        return usageError(command + ": '" + paths[1] + "': " + error);

    const AEffect& e = *plug.effect();
    const int current = static_cast<int>(plug.dispatch(effGetProgram));
    if (kind == PresetFileKind::Preset) {
        std::printf("Preset:   '%s' version %d, \"%s\", %zu-byte chunk\n",
                    fourCharacters(file.pluginId).c_str(), file.pluginVersion,
                    file.programName.c_str(), file.chunk.size());
        std::printf("Program:  %d\n", current);
        printProgram(plug, current);
        return 0;
    }
    std::printf("Bank:     '%s' version %d, %d programs, current %d, %zu-byte chunk\n",
                fourCharacters(file.pluginId).c_str(), file.pluginVersion, file.count, current,
                file.chunk.size());
    // Each program is chosen in turn so its values can be read; the bank's
    // current program is chosen again at the end.
    for (int i = 0; i < e.numPrograms; ++i) {
        plug.dispatch(effSetProgram, 0, i);
        printProgram(plug, i);
    }
    plug.dispatch(effSetProgram, 0, current);
    return 0;
}

int run(PresetFileKind kind, const Arguments& args) {
    const std::string noun = presetFileKindName(kind);
    if (args.empty()) return usageError(noun + ": expected 'save' or 'load'");
    const Arguments rest(args.begin() + 1, args.end());
    if (args[0] == "save") return save(kind, noun + " save", rest);
    if (args[0] == "load") return load(kind, noun + " load", rest);
    return usageError(noun + ": unknown action '" + args[0] + "' (save or load)");
}

}  // namespace

int runPreset(const Arguments& args) { return run(PresetFileKind::Preset, args); }
int runBank(const Arguments& args) { return run(PresetFileKind::Bank, args); }
