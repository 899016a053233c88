// The Windows backend's windows: class registration, creation, the window
// procedure that translates messages into toolkit events, timers, capture,
// focus, painting and dropped files.
#include <windows.h>
#include <shellapi.h>

#include <cstdlib>
#include <cstring>

#include "afx/platform/afx_platform.h"

static_assert(sizeof(PAINTSTRUCT) <= sizeof(afxp_paint), "paint storage too small");

namespace {

int32_t low_word(LPARAM lp) { return static_cast<int16_t>(LOWORD(lp)); }
int32_t high_word(LPARAM lp) { return static_cast<int16_t>(HIWORD(lp)); }

void set_pointer(afxp_event* e, int32_t kind, int32_t value, LPARAM lp) {
    e->kind = kind;
    e->value = value;
    e->x = low_word(lp);
    e->y = high_word(lp);
}

// The message as it arrived, for the default window procedure.
struct win32_message {
    UINT message;
    WPARAM wp;
    LPARAM lp;
};

// Only translates: every rule about what the toolkit does lives in the
// portable dispatcher. Virtual-key codes are the toolkit's key codes.
LRESULT CALLBACK afxp_window_procedure(HWND hwnd, UINT message, WPARAM wp, LPARAM lp) {
    const win32_message native{message, wp, lp};
    afxp_event e{};
    e.native = &native;
    switch (message) {
        case WM_PAINT: e.kind = AFXP_EVENT_PAINT; break;
        case WM_ERASEBKGND: e.kind = AFXP_EVENT_BACKGROUND; break;
        case WM_CLOSE:
            e.kind = AFXP_EVENT_CLOSE;
            e.value = static_cast<int32_t>(wp);
            break;
        case WM_DESTROY: e.kind = AFXP_EVENT_DESTROY; break;
        case WM_NCCALCSIZE: e.kind = AFXP_EVENT_FRAME; break;
        case WM_TIMER:
            e.kind = AFXP_EVENT_TIMER;
            e.value = static_cast<int32_t>(wp);
            break;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            e.kind = AFXP_EVENT_KEY_DOWN;
            e.value = static_cast<int32_t>(wp);
            break;
        case WM_KEYUP:
        case WM_SYSKEYUP:
            e.kind = AFXP_EVENT_KEY_UP;
            e.value = static_cast<int32_t>(wp);
            break;
        case WM_MOUSEMOVE: set_pointer(&e, AFXP_EVENT_MOVE, 0, lp); break;
        case WM_LBUTTONDOWN: set_pointer(&e, AFXP_EVENT_BUTTON_DOWN, 0, lp); break;
        case WM_LBUTTONUP: set_pointer(&e, AFXP_EVENT_BUTTON_UP, 0, lp); break;
        case WM_LBUTTONDBLCLK: set_pointer(&e, AFXP_EVENT_DOUBLE_CLICK, 0, lp); break;
        case WM_RBUTTONDOWN: set_pointer(&e, AFXP_EVENT_BUTTON_DOWN, 1, lp); break;
        case WM_RBUTTONUP: set_pointer(&e, AFXP_EVENT_BUTTON_UP, 1, lp); break;
        case WM_MOUSEWHEEL: {
            // The message carries screen coordinates; the toolkit wants the
            // cursor in client pixels.
            POINT p{0, 0};
            GetCursorPos(&p);
            ScreenToClient(hwnd, &p);
            e.kind = AFXP_EVENT_WHEEL;
            e.x = p.x;
            e.y = p.y;
            e.value = GET_WHEEL_DELTA_WPARAM(wp);
            break;
        }
        case WM_DROPFILES:
            e.kind = AFXP_EVENT_DROP_FILES;
            e.drop = reinterpret_cast<void*>(wp);
            break;
        default: e.kind = AFXP_EVENT_OTHER; break;
    }
    const int32_t slot = static_cast<int32_t>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    return static_cast<LRESULT>(afx_window_dispatch(hwnd, slot, &e));
}

HCURSOR system_cursor(afxp_cursor_kind kind) {
    switch (kind) {
        case AFXP_CURSOR_WAIT: return LoadCursorA(nullptr, IDC_WAIT);
        case AFXP_CURSOR_HAND: return LoadCursorA(nullptr, IDC_HAND);
        case AFXP_CURSOR_RESIZE: return LoadCursorA(nullptr, IDC_SIZENWSE);
        default: return LoadCursorA(nullptr, IDC_ARROW);
    }
}

}  // namespace

bool afxp_class_register(void* module, const char* name, afxp_class_kind kind) {
    WNDCLASSA wc{};
    wc.style = kind == AFXP_CLASS_UI ? (CS_DBLCLKS | CS_OWNDC | CS_GLOBALCLASS)
                                     : (CS_HREDRAW | CS_VREDRAW | CS_OWNDC);
    wc.lpfnWndProc = afxp_window_procedure;
    wc.hInstance = static_cast<HINSTANCE>(module);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = name;
    return RegisterClassA(&wc) != 0;
}

void afxp_class_unregister(void* module, const char* name) {
    UnregisterClassA(name, static_cast<HINSTANCE>(module));
}

void* afxp_window_create(void* module, const char* class_name, afxp_class_kind kind, int32_t x,
                         int32_t y, int32_t width, int32_t height, void* parent) {
    const DWORD style = kind == AFXP_CLASS_UI ? WS_CHILD : WS_OVERLAPPED;
    return CreateWindowExA(0, class_name, "", style, x, y, width, height, static_cast<HWND>(parent),
                           nullptr, static_cast<HINSTANCE>(module), nullptr);
}

void afxp_window_destroy(void* window) { DestroyWindow(static_cast<HWND>(window)); }

void afxp_window_set_slot(void* window, int32_t slot) {
    SetWindowLongPtrA(static_cast<HWND>(window), GWLP_USERDATA, static_cast<LONG_PTR>(slot));
}

bool afxp_window_class_is(void* window, const char* class_name) {
    char name[256];
    if (!class_name || GetClassNameA(static_cast<HWND>(window), name, sizeof(name)) <= 0)
        return false;
    return std::strcmp(name, class_name) == 0;
}

void afxp_window_show(void* window) { ShowWindow(static_cast<HWND>(window), SW_SHOW); }

void afxp_window_resize(void* window, int32_t width, int32_t height) {
    SetWindowPos(static_cast<HWND>(window), nullptr, 0, 0, width, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void afxp_window_set_title(void* window, const char* text) {
    SetWindowTextA(static_cast<HWND>(window), text);
}

bool afxp_window_set_icon(void* module, void* window, int32_t id) {
    HANDLE icon = LoadImageA(static_cast<HINSTANCE>(module), MAKEINTRESOURCEA(id), IMAGE_ICON, 0, 0,
                             LR_DEFAULTSIZE | LR_SHARED);
    if (!icon) return false;
    SendMessageA(static_cast<HWND>(window), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageA(static_cast<HWND>(window), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    return true;
}

void afxp_window_accept_files(void* window) { DragAcceptFiles(static_cast<HWND>(window), TRUE); }

void afxp_window_invalidate(void* window, int32_t x, int32_t y, int32_t width, int32_t height) {
    RECT r{x, y, x + width, y + height};
    InvalidateRect(static_cast<HWND>(window), &r, FALSE);
}

void afxp_window_focus(void* window) { SetFocus(static_cast<HWND>(window)); }
void afxp_focus_clear() { SetFocus(nullptr); }
void afxp_capture(void* window) { SetCapture(static_cast<HWND>(window)); }
void afxp_capture_release() { ReleaseCapture(); }

bool afxp_buttons_held() {
    return (GetKeyState(VK_LBUTTON) & 0x8000) != 0 || (GetKeyState(VK_RBUTTON) & 0x8000) != 0;
}

void afxp_timer_start(void* window, uint32_t id, uint32_t period_ms) {
    SetTimer(static_cast<HWND>(window), id, period_ms, nullptr);
}

void afxp_timer_kill(void* window, uint32_t id) { KillTimer(static_cast<HWND>(window), id); }

intptr_t afxp_default(void* window, const afxp_event* event) {
    const auto* m = static_cast<const win32_message*>(event->native);
    if (!m) return 0;
    return DefWindowProcA(static_cast<HWND>(window), m->message, m->wp, m->lp);
}

// The host's message loop delivers input, paints and timers to the window procedure.
void afxp_idle() {}

void afxp_paint_begin(void* window, afxp_paint* paint, int32_t rect[4]) {
    RECT r{0, 0, 0, 0};
    GetUpdateRect(static_cast<HWND>(window), &r, FALSE);
    BeginPaint(static_cast<HWND>(window), reinterpret_cast<PAINTSTRUCT*>(paint->opaque));
    rect[0] = r.left;
    rect[1] = r.top;
    rect[2] = r.right;
    rect[3] = r.bottom;
}

void afxp_paint_end(void* window, afxp_paint* paint) {
    EndPaint(static_cast<HWND>(window), reinterpret_cast<PAINTSTRUCT*>(paint->opaque));
}

char* afxp_drop_path(const afxp_event* event) {
    HDROP drop = static_cast<HDROP>(event->drop);
    const UINT length = DragQueryFileA(drop, 0, nullptr, 0);
    char* path = static_cast<char*>(std::malloc(length + 1));
    if (!path) return nullptr;
    DragQueryFileA(drop, 0, path, length + 1);
    path[length] = '\0';
    return path;
}

void afxp_drop_finish(const afxp_event* event) { DragFinish(static_cast<HDROP>(event->drop)); }

bool afxp_native_window_size(void* window, int32_t* width, int32_t* height) {
    RECT r;
    if (!GetWindowRect(static_cast<HWND>(window), &r)) return false;
    if (width) *width = r.right - r.left;
    if (height) *height = r.bottom - r.top;
    return true;
}

void afxp_native_window_resize(void* window, int32_t width, int32_t height) {
    SetWindowPos(static_cast<HWND>(window), nullptr, 0, 0, width, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void* afxp_cursor_set(afxp_cursor_kind kind) { return SetCursor(system_cursor(kind)); }
void afxp_cursor_set_native(void* cursor) { SetCursor(static_cast<HCURSOR>(cursor)); }
