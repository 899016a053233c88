// The Windows backend's services: resources of the library, device contexts and
// bitmap sections, the screen's DPI and sizes, the multimedia clock, critical
// sections and the shell.
#include <windows.h>
#include <shellapi.h>

#include <cstdlib>
#include <cstring>

#include "afx/platform/afx_platform.h"

static_assert(sizeof(BITMAPINFOHEADER) == sizeof(afxp_bitmap_header), "bitmap header layout");

namespace {

// Resources are stored under US English.
constexpr WORD kResourceLanguage = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);  // 1033

}  // namespace

const void* afxp_resource_find(void* module, uint32_t id, uint32_t* size_bytes) {
    HMODULE m = static_cast<HMODULE>(module);
    HRSRC found = FindResourceExA(m, "BINARY", MAKEINTRESOURCEA(id), kResourceLanguage);
    if (!found) return nullptr;
    HGLOBAL loaded = LoadResource(m, found);
    if (!loaded) return nullptr;
    const void* bytes = LockResource(loaded);
    if (bytes && size_bytes) *size_bytes = SizeofResource(m, found);
    return bytes;
}

void* afxp_window_dc(void* window) { return GetDC(static_cast<HWND>(window)); }

void afxp_window_dc_release(void* window, void* dc) {
    ReleaseDC(static_cast<HWND>(window), static_cast<HDC>(dc));
}

void* afxp_memory_dc_new(void* window_dc) { return CreateCompatibleDC(static_cast<HDC>(window_dc)); }
void afxp_memory_dc_free(void* memory_dc) { DeleteDC(static_cast<HDC>(memory_dc)); }

void* afxp_dib_create(void* dc, const afxp_bitmap_header* header, void** pixels) {
    BITMAPINFO info{};
    static_assert(sizeof(info.bmiHeader) == sizeof(*header), "bitmap header layout");
    std::memcpy(&info.bmiHeader, header, sizeof(*header));
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(static_cast<HDC>(dc), &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) return nullptr;
    *pixels = bits;
    return bitmap;
}

void afxp_dib_delete(void* bitmap) { DeleteObject(static_cast<HBITMAP>(bitmap)); }

void afxp_blit(void* window_dc, void* memory_dc, void* bitmap, int32_t sx, int32_t sy, int32_t dx,
               int32_t dy, int32_t width, int32_t height) {
    HDC mem = static_cast<HDC>(memory_dc);
    HGDIOBJ previous = SelectObject(mem, static_cast<HBITMAP>(bitmap));
    BitBlt(static_cast<HDC>(window_dc), dx, dy, width, height, mem, sx, sy, SRCCOPY);
    SelectObject(mem, previous);
}

int32_t afxp_dpi_aware() {
    // Looked up at run time: older systems do not have it.
    typedef BOOL(WINAPI * is_aware_fn)();
    HMODULE user32 = GetModuleHandleA("user32.dll");
    if (!user32) return -1;
    auto is_aware = reinterpret_cast<is_aware_fn>(
        reinterpret_cast<void*>(GetProcAddress(user32, "IsProcessDPIAware")));
    if (!is_aware) return -1;
    return is_aware() ? 1 : 0;
}

void afxp_screen_dpi(int32_t* x, int32_t* y) {
    HDC screen = GetDC(nullptr);
    *x = GetDeviceCaps(screen, LOGPIXELSX);
    *y = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
}

void afxp_desktop_size(int32_t* width, int32_t* height) {
    RECT r{0, 0, 0, 0};
    GetWindowRect(GetDesktopWindow(), &r);
    *width = r.right - r.left;
    *height = r.bottom - r.top;
}

void afxp_work_area(int32_t rect[4]) {
    RECT r{0, 0, 0, 0};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0);
    rect[0] = r.left;
    rect[1] = r.top;
    rect[2] = r.right;
    rect[3] = r.bottom;
}

uint32_t afxp_ticks_ms() { return timeGetTime(); }
void afxp_sleep_ms(uint32_t ms) { Sleep(ms); }

void* afxp_lock_new() {
    auto* section = static_cast<CRITICAL_SECTION*>(std::malloc(sizeof(CRITICAL_SECTION)));
    if (section) InitializeCriticalSection(section);
    return section;
}

void afxp_lock_free(void* lock) {
    DeleteCriticalSection(static_cast<CRITICAL_SECTION*>(lock));
    std::free(lock);
}

void afxp_lock_enter(void* lock) { EnterCriticalSection(static_cast<CRITICAL_SECTION*>(lock)); }
void afxp_lock_leave(void* lock) { LeaveCriticalSection(static_cast<CRITICAL_SECTION*>(lock)); }

void afxp_open_url(const char* url) {
    ShellExecuteA(nullptr, "open", url, nullptr, nullptr, SW_SHOWNORMAL);
}
