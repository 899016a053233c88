// The Windows backend's services: resources of the library, painters (a
// window DC with a compatible memory DC) and DIB sections, the screen's DPI and sizes, the
// multimedia clock, critical sections and the shell.
#include <windows.h>
#include <shellapi.h>

#include <cstdlib>
#include <cstring>

#include "afx/platform/afx_platform.h"

namespace {

// Resources are stored under US English.
constexpr WORD kResourceLanguage = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);  // 1033

// The window's own DC (the class has CS_OWNDC) and a memory DC compatible
// with it, into which bitmaps are selected for the block transfer.
struct win32_painter {
    HWND window;
    HDC dc;
    HDC memory;
};

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

void* afxp_painter_new(void* window) {
    HWND hwnd = static_cast<HWND>(window);
    HDC dc = GetDC(hwnd);
    if (!dc) return nullptr;
    HDC memory = CreateCompatibleDC(dc);
    auto* p = static_cast<win32_painter*>(std::malloc(sizeof(win32_painter)));
    if (!memory || !p) {
        if (memory) DeleteDC(memory);
        ReleaseDC(hwnd, dc);
        std::free(p);
        return nullptr;
    }
    *p = {hwnd, dc, memory};
    return p;
}

void afxp_painter_free(void* window, void* painter) {
    auto* p = static_cast<win32_painter*>(painter);
    ReleaseDC(static_cast<HWND>(window), p->dc);
    DeleteDC(p->memory);
    std::free(p);
}

void* afxp_bitmap_create(void* painter, int32_t width, int32_t height, uint32_t stride,
                         void** pixels) {
    // A DIB section's rows are padded to whole 32-bit words; nothing else fits.
    if (stride != ((static_cast<uint32_t>(width) * 3u + 3u) & ~3u)) return nullptr;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // negative: rows run top to bottom
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = static_cast<DWORD>(width) * static_cast<DWORD>(height) * 3u;
    void* bits = nullptr;
    // Without a painter (no window yet) the section needs no device context.
    HDC dc = painter ? static_cast<win32_painter*>(painter)->dc : nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) return nullptr;
    *pixels = bits;
    return bitmap;
}

void afxp_bitmap_delete(void* bitmap) { DeleteObject(static_cast<HBITMAP>(bitmap)); }

void afxp_blit(void* painter, void* bitmap, int32_t sx, int32_t sy, int32_t dx, int32_t dy,
               int32_t width, int32_t height) {
    auto* p = static_cast<win32_painter*>(painter);
    HGDIOBJ previous = SelectObject(p->memory, static_cast<HBITMAP>(bitmap));
    BitBlt(p->dc, dx, dy, width, height, p->memory, sx, sy, SRCCOPY);
    SelectObject(p->memory, previous);
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
