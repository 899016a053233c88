// Windows: the plug-in is a DLL found through LoadLibrary.
#include <fcntl.h>
#include <io.h>
#include <cstdio>
#include <windows.h>

#include "tools/host/PluginLibrary.h"

void initHostPlatform() {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

bool stderrIsTerminal() { return _isatty(_fileno(stderr)) != 0; }

PluginLibrary* PluginLibrary::open(const std::string& path, std::string& error) {
    // No error dialogs from the loader: a missing DLL must be a message, not a popup.
    UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE module = LoadLibraryA(path.c_str());
    DWORD code = GetLastError();
    SetErrorMode(oldMode);
    if (!module) {
        if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
            error = "cannot open plug-in '" + path + "': no such file";
        else
            error = "cannot load plug-in '" + path + "': not a loadable library (error " +
                    std::to_string(code) + ")";
        return nullptr;
    }
    return new PluginLibrary(module);
}

PluginLibrary::~PluginLibrary() {
    if (handle_) FreeLibrary(static_cast<HMODULE>(handle_));
}

VstPluginMainProc PluginLibrary::entryPoint() const {
    auto module = static_cast<HMODULE>(handle_);
    FARPROC entry = GetProcAddress(module, "VSTPluginMain");
    if (!entry) entry = GetProcAddress(module, "main");
    return reinterpret_cast<VstPluginMainProc>(reinterpret_cast<void*>(entry));
}
