// Windows: the process's top-level windows, screen capture with BitBlt from
// the screen DC (what the user sees, children and all), and pointer input
// with SendInput, which goes through the system's input queue and so sets
// the real button state, cursor messages, capture and double clicks.
#include <windows.h>

#include "tools/host/HostDesktop.h"

namespace {

BOOL CALLBACK collectWindow(HWND window, LPARAM list) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId() || !IsWindowVisible(window)) return TRUE;
    TopWindow found;
    char title[512] = {};
    GetWindowTextA(window, title, sizeof(title));
    found.title = title;
    RECT frame;
    GetWindowRect(window, &frame);
    found.frame = {frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top};
    RECT client;
    GetClientRect(window, &client);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    found.client = {origin.x, origin.y, client.right - client.left, client.bottom - client.top};
    found.handle = window;
    reinterpret_cast<std::vector<TopWindow>*>(list)->push_back(found);
    return TRUE;
}

}  // namespace

std::vector<TopWindow> processWindows() {
    std::vector<TopWindow> windows;
    EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

bool captureScreen(const ScreenRect& rect, ScreenPixels& out) {
    if (rect.width <= 0 || rect.height <= 0) return false;
    // The screen DC gives black, and no error, for whatever lies off the
    // screen: a picture of a window that does not fit would be silently wrong.
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    if (rect.x < left || rect.y < top ||
        rect.x + rect.width > left + GetSystemMetrics(SM_CXVIRTUALSCREEN) ||
        rect.y + rect.height > top + GetSystemMetrics(SM_CYVIRTUALSCREEN)) {
        return false;
    }
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = rect.width;
    info.bmiHeader.biHeight = -rect.height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool done = false;
    if (memory && bitmap && bits) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        done = BitBlt(memory, 0, 0, rect.width, rect.height, screen, rect.x, rect.y, SRCCOPY) != 0;
        GdiFlush();
        SelectObject(memory, old);
    }
    if (done) {
        out.width = rect.width;
        out.height = rect.height;
        const size_t count = static_cast<size_t>(rect.width) * rect.height;
        out.rgb.resize(count * 3);
        const auto* words = static_cast<const uint32_t*>(bits);
        for (size_t i = 0; i < count; ++i) {
            out.rgb[i * 3 + 0] = static_cast<uint8_t>(words[i] >> 16);
            out.rgb[i * 3 + 1] = static_cast<uint8_t>(words[i] >> 8);
            out.rgb[i * 3 + 2] = static_cast<uint8_t>(words[i]);
        }
    }
    if (bitmap) DeleteObject(bitmap);
    if (memory) DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return done;
}

void sendPointer(int x, int y, PointerEvent event) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    // Absolute positions are in 1/65536 of the screen; rounding up lands on
    // the pixel itself whether the system truncates or rounds on the way back.
    input.mi.dx = static_cast<LONG>((static_cast<long long>(x) * 65536 + width - 1) / width);
    input.mi.dy = static_cast<LONG>((static_cast<long long>(y) * 65536 + height - 1) / height);
    input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    if (event == PointerEvent::LeftDown) input.mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
    if (event == PointerEvent::LeftUp) input.mi.dwFlags |= MOUSEEVENTF_LEFTUP;
    SendInput(1, &input, sizeof(input));
}
