// The Windows library entry: hands process attach and detach to the shared
// load routine. Thread attach and detach are not of interest.
#include <windows.h>

#include "frame/LibraryEntry.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(instance);
    return dll_attach_detach(instance, static_cast<unsigned>(reason), reserved) ? TRUE : FALSE;
}
