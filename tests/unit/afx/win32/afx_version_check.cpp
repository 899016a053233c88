// Reads the version block that resources/korvex52.rc puts into a module and
// checks the identity the library shows in the system's file properties.
#include <windows.h>

#include <cstdio>
#include <cstring>

static int fail(const char* what) {
    std::fprintf(stderr, "version block: %s\n", what);
    return 1;
}

int main() {
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, sizeof(exe));
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(exe, &handle);
    static char block[65536];
    if (size == 0 || size > sizeof(block) || !GetFileVersionInfoA(exe, 0, size, block))
        return fail("missing or unreadable");
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block, "\\", reinterpret_cast<void**>(&fixed), &length) || !fixed ||
        fixed->dwFileVersionMS != 0x00030001u || fixed->dwFileVersionLS != 0x00040000u ||
        fixed->dwFileType != VFT_DLL)
        return fail("fixed part is not 3.1.4.0 of a library");
    const char* identity[][2] = {{"CompanyName", "Corvane Audio Systems Ltd"},
                                 {"ProductName", "Plate Reverb"},
                                 {"InternalName", "KORVEX52"},
                                 {"FileVersion", "3.1.4"},
                                 {"ProductVersion", "3.1.4"}};
    for (const auto& v : identity) {
        char path[128];
        std::snprintf(path, sizeof(path), "\\StringFileInfo\\040904B0\\%s", v[0]);
        void* text = nullptr;
        if (!VerQueryValueA(block, path, &text, &length) || !text ||
            std::strcmp(static_cast<const char*>(text), v[1]) != 0) {
            std::fprintf(stderr, "%s is not \"%s\"\n", v[0], v[1]);
            return fail("identity strings differ");
        }
    }
    std::puts("version block: 3.1.4, Corvane Audio Systems Ltd, Plate Reverb");
    return 0;
}
