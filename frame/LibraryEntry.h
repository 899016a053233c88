// The library's load and unload routine, shared by every instance in the process.
#pragma once

enum : unsigned {
    kLibraryDetach = 0,  // process detach
    kLibraryAttach = 1,  // process attach
};

// Called by the operating system's library entry. module is the library's own
// handle (an HMODULE on Windows). Always answers true.
bool dll_attach_detach(void* module, unsigned reason, void* reserved);

// The module handle stored at attach; null before and after.
void* libraryModule();
