// Loading a plug-in library and finding its entry point. One implementation
// per platform: platform/win32 (LoadLibrary) and platform/posix (dlopen).
#pragma once

#include <string>

#include "frame/vst_abi.h"

// Prepares the process's standard streams: on Windows they are switched to
// binary mode, so output piped into Unix tools under Wine has no CR bytes.
void initHostPlatform();
// True when standard error is an interactive terminal (for progress lines).
bool stderrIsTerminal();

class PluginLibrary {
public:
    // Loads path; on failure answers null and puts a one-line reason in error.
    static PluginLibrary* open(const std::string& path, std::string& error);
    ~PluginLibrary();
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    // VSTPluginMain, else the older "main"; null when neither is exported.
    VstPluginMainProc entryPoint() const;

private:
    explicit PluginLibrary(void* handle) : handle_(handle) {}
    void* handle_;
};
