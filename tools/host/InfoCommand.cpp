// korvex-host info [--json] [--trace] <plugin>: the plug-in's identity,
// flags, I/O, parameters and programs, as the plug-in itself reports them.
#include <cstdio>
#include <string>

#include "tools/host/Commands.h"
#include "tools/host/PluginInstance.h"

namespace {

std::string jsonString(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof(escaped), "\\u%04x", c);
                    out += escaped;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out + "\"";
}

std::string fourCC(VstInt32 id) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        char c = static_cast<char>((static_cast<uint32_t>(id) >> shift) & 0xFF);
        text += (c >= 32 && c < 127) ? c : '?';
    }
    return text;
}

std::string flagNames(VstInt32 flags) {
    static const struct {
        VstInt32 bit;
        const char* name;
    } kFlags[] = {
        {effFlagsHasEditor, "editor"},      {effFlagsCanReplacing, "replacing"},
        {effFlagsProgramChunks, "chunks"},  {effFlagsIsSynth, "synth"},
        {effFlagsNoSoundInStop, "no-tail"}, {effFlagsCanDoubleReplacing, "double"},
    };
    std::string names;
    for (const auto& f : kFlags) {
        if (flags & f.bit) names += (names.empty() ? "" : ", ") + std::string(f.name);
    }
    return names;
}

struct Identity {
    std::string effectName, product, vendor;
    long long vendorVersion = 0, vstVersion = 0;
};

void printText(PluginInstance& plug, const AEffect& e, const Identity& id) {
    std::printf("Effect:      %s\n", id.effectName.c_str());
    std::printf("Product:     %s\n", id.product.c_str());
    std::printf("Vendor:      %s (version %lld)\n", id.vendor.c_str(), id.vendorVersion);
    std::printf("VST version: %lld\n", id.vstVersion);
    std::printf("Unique ID:   '%s' (0x%08X)\n", fourCC(e.uniqueID).c_str(),
                static_cast<unsigned>(e.uniqueID));
    std::printf("Flags:       %d (%s)\n", e.flags, flagNames(e.flags).c_str());
    std::printf("I/O:         %d in, %d out\n", e.numInputs, e.numOutputs);
    std::printf("Version:     %d\n", e.version);
    std::printf("Parameters:  %d\n", e.numParams);
    for (int i = 0; i < e.numParams; ++i) {
        std::printf("  %2d  %-10s %-12s %f\n", i, plug.text(effGetParamName, i).c_str(),
                    plug.text(effGetParamDisplay, i).c_str(),
                    static_cast<double>(plug.getParameter(i)));
    }
    std::printf("Programs:    %d\n", e.numPrograms);
    for (int i = 0; i < e.numPrograms; ++i)
        std::printf("  %2d  %s\n", i, plug.text(effGetProgramNameIndexed, i).c_str());
}

void printJson(PluginInstance& plug, const AEffect& e, const Identity& id) {
    std::printf("{\n  \"effect\": %s,\n  \"product\": %s,\n  \"vendor\": %s,\n",
                jsonString(id.effectName).c_str(), jsonString(id.product).c_str(),
                jsonString(id.vendor).c_str());
    std::printf("  \"vendorVersion\": %lld,\n  \"vstVersion\": %lld,\n", id.vendorVersion,
                id.vstVersion);
    std::printf("  \"uniqueId\": %s,\n  \"flags\": %d,\n  \"inputs\": %d,\n  \"outputs\": %d,\n",
                jsonString(fourCC(e.uniqueID)).c_str(), e.flags, e.numInputs, e.numOutputs);
    std::printf("  \"version\": %d,\n  \"parameters\": [\n", e.version);
    for (int i = 0; i < e.numParams; ++i) {
        std::printf("    {\"index\": %d, \"name\": %s, \"display\": %s, \"value\": %.9g}%s\n", i,
                    jsonString(plug.text(effGetParamName, i)).c_str(),
                    jsonString(plug.text(effGetParamDisplay, i)).c_str(),
                    static_cast<double>(plug.getParameter(i)), i + 1 < e.numParams ? "," : "");
    }
    std::printf("  ],\n  \"programs\": [\n");
    for (int i = 0; i < e.numPrograms; ++i) {
        std::printf("    {\"index\": %d, \"name\": %s}%s\n", i,
                    jsonString(plug.text(effGetProgramNameIndexed, i)).c_str(),
                    i + 1 < e.numPrograms ? "," : "");
    }
    std::printf("  ]\n}\n");
}

}  // namespace

int runInfo(const Arguments& args) {
    bool json = false, trace = false;
    std::string path;
    for (const std::string& arg : args) {
        if (arg == "--json") json = true;
        else if (arg == "--trace") trace = true;
        else if (!arg.empty() && arg[0] == '-')
            return usageError("info: unknown option '" + arg + "'");
        else if (path.empty()) path = arg;
        else return usageError("info: unexpected argument '" + arg + "'");
    }
    if (path.empty())
        return usageError(
            "info: missing plug-in path (korvex-host info [--json] [--trace] PLUGIN)");

    PluginInstance plug;
    if (trace) plug.setTrace(stderr);
    std::string error;
    if (!plug.load(path, error)) return usageError(error);

    plug.dispatch(effOpen);
    Identity id;
    id.effectName = plug.text(effGetEffectName);
    id.product = plug.text(effGetProductString);
    id.vendor = plug.text(effGetVendorString);
    id.vendorVersion = static_cast<long long>(plug.dispatch(effGetVendorVersion));
    id.vstVersion = static_cast<long long>(plug.dispatch(effGetVstVersion));
    const AEffect& e = *plug.effect();
    if (json) printJson(plug, e, id);
    else printText(plug, e, id);
    return 0;
}
