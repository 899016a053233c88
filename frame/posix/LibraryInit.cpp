// The native shared object's load and unload hooks, the counterpart of DllMain.
#include "frame/LibraryEntry.h"
#include "frame/VstEntry.h"

// Older hosts look for "main"; the alias points at the same entry point.
extern "C" KORVEX_EXPORT AEffect* korvexMainAlias(audioMasterCallback host) __asm__("main");
extern "C" AEffect* korvexMainAlias(audioMasterCallback host) { return VSTPluginMain(host); }

// The native library's "module" is its generated resource table: the
// toolkit finds images and fonts through it as the DLL does through its own
// resource section.
void* korvex52_resources_module();

namespace {
__attribute__((constructor)) void libraryLoaded() {
    dll_attach_detach(korvex52_resources_module(), kLibraryAttach, nullptr);
}
__attribute__((destructor)) void libraryUnloaded() {
    dll_attach_detach(nullptr, kLibraryDetach, nullptr);
}
}  // namespace
