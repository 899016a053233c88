// PluginState: bringing a loaded instance into the state a command asks for
// (a bank file, a preset file, a program, parameter values) and reading its
// state back out as a preset or bank file.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "frame/vst_abi.h"
#include "tools/host/Commands.h"
#include "tools/host/PresetFile.h"

class PluginInstance;

struct StateOptions {
    std::string bankPath;    // --bank FILE
    std::string presetPath;  // --preset FILE
    int program = -1;        // --program N; -1 keeps the plug-in's own choice
    std::vector<std::pair<std::string, float>> params;  // --param INDEX=VALUE or NAME=VALUE
};

// Takes args[i] if it is one of the options above, moving i onto its value.
// Answers 1 when taken, 0 when args[i] is something else, -1 when the option
// is malformed (complaint then holds the one-line reason, prefixed by command).
int parseStateOption(const Arguments& args, size_t& i, StateOptions& options,
                     const std::string& command, std::string& complaint);

// Applies the options in this order: bank, preset, program, parameters.
// A file is checked completely before the plug-in sees any of it; on failure
// answers false with a one-line reason and applies nothing further.
bool applyState(PluginInstance& plug, const StateOptions& options, std::string& error);

// Checks a preset or bank file against the plug-in (a chunk plug-in, the same
// unique id) and hands its chunk over with effSetChunk, announced by
// effBeginLoadProgram / effBeginLoadBank as hosts do. A bank of format 2 then
// selects its current program. When anything is wrong the plug-in is not
// called with the chunk and error names the problem.
bool loadPresetFile(PluginInstance& plug, PresetFileKind kind,
                    const std::vector<unsigned char>& bytes, std::string& error);

// The current program (preset) or every program (bank) as a file, through
// effGetChunk. Answers false with a reason when the plug-in gives no chunk.
bool savePresetFile(PluginInstance& plug, PresetFileKind kind, std::vector<unsigned char>& bytes,
                    std::string& error);

// A parameter given by index or by the name the plug-in reports; -1 if none.
int resolveParameter(PluginInstance& plug, const std::string& key);

// Reads a whole file; on failure answers false with "cannot read 'path'".
bool readFileBytes(const std::string& path, std::vector<unsigned char>& bytes, std::string& error);
