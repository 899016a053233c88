// PresetFile: the VST 2.x preset (.fxp) and bank (.fxb) files in their
// opaque-chunk form, the form for plug-ins that keep their programs as
// chunks. Every header field is a big-endian 32-bit integer; the chunk that
// follows is the plug-in's own bytes, stored untouched.
//
//   .fxp  'CcnK' byteSize 'FPCh' version fxID fxVersion numParams
//         name[28] chunkSize chunk...                        (header 60 bytes)
//   .fxb  'CcnK' byteSize 'FBCh' version fxID fxVersion numPrograms
//         currentProgram future[124] chunkSize chunk...      (header 160 bytes)
//
// byteSize counts every byte after itself. currentProgram exists from bank
// format version 2; in version 1 its place is part of the reserved bytes.
// A name that fills all 28 bytes of its field has no terminator, as in the
// plug-in's own name fields: readers stop at the field's end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum class PresetFileKind { Preset, Bank };

struct PresetFile {
    PresetFileKind kind = PresetFileKind::Preset;
    int32_t formatVersion = 1;    // 1 or 2; a bank needs 2 to carry currentProgram
    int32_t pluginId = 0;         // the plug-in's unique id ('KV52' packed big-endian)
    int32_t pluginVersion = 0;    // the plug-in's own version (AEffect::version)
    int32_t count = 0;            // presets: parameters; banks: programs
    int32_t currentProgram = -1;  // banks of version 2; -1 when the file has none
    std::string programName;      // presets only; at most 28 characters are kept
    std::vector<unsigned char> chunk;
};

// Field by field, as a reader sees two files.
bool operator==(const PresetFile& a, const PresetFile& b);

constexpr size_t kPresetHeaderBytes = 60;  // up to and including chunkSize
constexpr size_t kBankHeaderBytes = 160;
constexpr size_t kPresetNameBytes = 28;

// The file's bytes, in file.formatVersion. A longer programName is cut to the
// 28 bytes of its field; a bank of version 1 has no place for currentProgram.
// Whatever decodePresetFile gives encodes back to a file that decodes alike.
std::vector<unsigned char> encodePresetFile(const PresetFile& file);

// Parses and checks a whole file in memory: 'CcnK', the kind expected
// ('FPCh' or 'FBCh'), a complete header, a byteSize and a chunk size that
// match the file's length exactly, a format version of 1 or 2. On failure
// answers false and error holds a one-line reason ("truncated header: ...").
bool decodePresetFile(const unsigned char* data, size_t size, PresetFileKind expected,
                      PresetFile& file, std::string& error);

// Four characters of a packed id for messages: 'KV52'; bytes that are not
// printable show as '?'.
std::string fourCharacters(int32_t id);

// "preset" or "bank", for messages.
const char* presetFileKindName(PresetFileKind kind);
