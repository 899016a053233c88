// The native shared object's load and unload hooks, the counterpart of DllMain.
#include <dlfcn.h>

#include "frame/LibraryEntry.h"
#include "frame/VstEntry.h"

// Older hosts look for "main"; the alias points at the same entry point.
extern "C" KORVEX_EXPORT AEffect* korvexMainAlias(audioMasterCallback host) __asm__("main");
extern "C" AEffect* korvexMainAlias(audioMasterCallback host) { return VSTPluginMain(host); }

namespace {
__attribute__((constructor)) void libraryLoaded() {
    Dl_info info{};
    void* handle = dladdr(reinterpret_cast<void*>(&libraryLoaded), &info) ? info.dli_fbase : nullptr;
    dll_attach_detach(handle, kLibraryAttach, nullptr);
}
__attribute__((destructor)) void libraryUnloaded() {
    dll_attach_detach(nullptr, kLibraryDetach, nullptr);
}
}  // namespace
