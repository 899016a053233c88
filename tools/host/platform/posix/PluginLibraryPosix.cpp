// Linux: the native plug-in is a shared object found through dlopen.
#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include "tools/host/PluginLibrary.h"

void initHostPlatform() {}

bool stderrIsTerminal() { return isatty(2) != 0; }

PluginLibrary* PluginLibrary::open(const std::string& path, std::string& error) {
    struct stat info;
    if (stat(path.c_str(), &info) != 0) {
        error = "cannot open plug-in '" + path + "': no such file";
        return nullptr;
    }
    // A bare file name would send dlopen searching the library path.
    std::string target = path.find('/') == std::string::npos ? "./" + path : path;
    void* handle = dlopen(target.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* why = dlerror();
        error = "cannot load plug-in '" + path + "': " + (why ? why : "not a loadable library");
        return nullptr;
    }
    return new PluginLibrary(handle);
}

PluginLibrary::~PluginLibrary() {
    if (handle_) dlclose(handle_);
}

VstPluginMainProc PluginLibrary::entryPoint() const {
    void* entry = dlsym(handle_, "VSTPluginMain");
    if (!entry) entry = dlsym(handle_, "main");
    return reinterpret_cast<VstPluginMainProc>(entry);
}
