// Load and unload: keeps the module handle that resources and window classes
// are found through. The toolkit's shared context and bitmap font are created
// here at attach and released at detach.
#include "frame/LibraryEntry.h"

namespace {
void* g_module = nullptr;
}

void* libraryModule() { return g_module; }

bool dll_attach_detach(void* module, unsigned reason, void* /*reserved*/) {
    switch (reason) {
        case kLibraryAttach: g_module = module; break;
        case kLibraryDetach: g_module = nullptr; break;
        default: break;
    }
    return true;
}
