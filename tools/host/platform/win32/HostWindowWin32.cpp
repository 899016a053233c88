// Windows: a plain top-level window that stands in for a host's plug-in
// window, and a message loop to run while an editor is open.
#include <windows.h>

#include "tools/host/HostWindow.h"

namespace {

const char kClassName[] = "KorvexHostFrame";
const DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;

LRESULT CALLBACK frameProc(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_CLOSE) {
        // The editor inside must be closed by the host (effEditClose) before
        // its parent goes; the owner sees the request and does that first.
        SetPropA(window, "korvex-close", reinterpret_cast<HANDLE>(1));
        return 0;
    }
    return DefWindowProcA(window, message, w, l);
}

BOOL CALLBACK countChild(HWND, LPARAM counter) {
    ++*reinterpret_cast<int*>(counter);
    return TRUE;
}

class Win32HostWindow : public HostWindow {
public:
    explicit Win32HostWindow(HWND window) : window_(window) {}
    ~Win32HostWindow() override {
        RemovePropA(window_, "korvex-close");
        DestroyWindow(window_);
        pump(0);
    }
    void* handle() const override { return window_; }
    int childWindows() const override {
        int count = 0;
        EnumChildWindows(window_, countChild, reinterpret_cast<LPARAM>(&count));
        return count;
    }
    void pump(int ms) override {
        const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
        for (;;) {
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
            const DWORD now = GetTickCount();
            if (static_cast<LONG>(end - now) <= 0) return;
            MsgWaitForMultipleObjectsEx(0, nullptr, end - now, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        }
    }
    void setTitle(const std::string& title) override { SetWindowTextA(window_, title.c_str()); }
    bool setClientSize(int width, int height) override {
        RECT rect = {0, 0, width, height};
        AdjustWindowRect(&rect, kStyle, FALSE);
        return SetWindowPos(window_, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
                            SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE) != 0;
    }
    ScreenRect clientRect() const override {
        RECT rect;
        GetClientRect(window_, &rect);
        POINT origin = {0, 0};
        ClientToScreen(window_, &origin);
        return {origin.x, origin.y, rect.right - rect.left, rect.bottom - rect.top};
    }
    bool closeRequested() const override { return GetPropA(window_, "korvex-close") != nullptr; }

private:
    HWND window_;
};

}  // namespace

std::unique_ptr<HostWindow> HostWindow::create(int width, int height, std::string& error) {
    static bool registered = false;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (!registered) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = frameProc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = kClassName;
        if (!RegisterClassA(&wc)) {
            error = "cannot register the host window class";
            return nullptr;
        }
        registered = true;
    }
    RECT rect = {0, 0, width, height};
    AdjustWindowRect(&rect, kStyle, FALSE);
    HWND window = CreateWindowExA(0, kClassName, "korvex-host", kStyle | WS_VISIBLE, 40, 40,
                                  rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                                  instance, nullptr);
    if (!window) {
        error = "cannot create a host window";
        return nullptr;
    }
    return std::unique_ptr<HostWindow>(new Win32HostWindow(window));
}
