// A tiny VST 2.4 effect with a plain Win32 editor, so the editor command of
// korvex-host can be checked on its own: what the editor draws is known
// exactly, and each kind of input has one visible answer.
//   - The editor is 200 x 120 and filled with the colour (level x 255
//     rounded, 64, 128), level being parameter 0 (0.25 at start).
//   - A left drag sets level to x / 200 with beginEdit, automate per move
//     and endEdit; a press in the bottom-right 20 x 20 corner is a grip
//     instead: on release it asks the host for the size grown by the drag.
//   - A double click opens a top-level window "Probe Dialog", 240 x 160 at
//     (600, 300), filled with (0, 160, 0); a click in it closes it.
#include <windows.h>

#include <cmath>

#include "frame/VstEntry.h"

namespace {

constexpr int kWidth = 200, kHeight = 120, kGrip = 20;

struct Probe {
    AEffect effect{};
    audioMasterCallback host = nullptr;
    float level = 0.25f;
    ERect rect{0, 0, kHeight, kWidth};
    HWND view = nullptr, dialog = nullptr;
    bool gripping = false;
    int pressX = 0, pressY = 0;
};

Probe* probeOf(HWND window) {
    return reinterpret_cast<Probe*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

VstIntPtr callHost(Probe* p, VstInt32 opcode, VstInt32 index, VstIntPtr value, float opt) {
    return p->host(&p->effect, opcode, index, value, nullptr, opt);
}

void fill(HWND window, COLORREF colour) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    HBRUSH brush = CreateSolidBrush(colour);
    RECT all;
    GetClientRect(window, &all);
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    EndPaint(window, &ps);
}

LRESULT CALLBACK dialogProc(HWND window, UINT message, WPARAM w, LPARAM l) {
    Probe* p = probeOf(window);
    if (message == WM_PAINT) {
        fill(window, RGB(0, 160, 0));
        return 0;
    }
    if (message == WM_LBUTTONUP && p) {
        p->dialog = nullptr;
        DestroyWindow(window);
        return 0;
    }
    return DefWindowProcA(window, message, w, l);
}

LRESULT CALLBACK viewProc(HWND window, UINT message, WPARAM w, LPARAM l) {
    Probe* p = probeOf(window);
    const int x = static_cast<short>(LOWORD(l)), y = static_cast<short>(HIWORD(l));
    if (!p) return DefWindowProcA(window, message, w, l);
    switch (message) {
        case WM_PAINT:
            fill(window, RGB(static_cast<int>(std::lround(p->level * 255.0f)), 64, 128));
            return 0;
        case WM_LBUTTONDOWN:
            SetCapture(window);
            p->gripping = x >= p->rect.right - kGrip && y >= p->rect.bottom - kGrip;
            p->pressX = x;
            p->pressY = y;
            if (!p->gripping) callHost(p, audioMasterBeginEdit, 0, 0, 0.0f);
            return 0;
        case WM_MOUSEMOVE:
            if (GetCapture() != window || p->gripping) return 0;
            p->level = x <= 0 ? 0.0f : x >= kWidth ? 1.0f : static_cast<float>(x) / kWidth;
            callHost(p, audioMasterAutomate, 0, 0, p->level);
            InvalidateRect(window, nullptr, FALSE);
            return 0;
        case WM_LBUTTONUP:
            if (GetCapture() != window) return 0;
            ReleaseCapture();
            if (p->gripping) {
                p->rect.right = static_cast<VstInt16>(p->rect.right + x - p->pressX);
                p->rect.bottom = static_cast<VstInt16>(p->rect.bottom + y - p->pressY);
                SetWindowPos(window, nullptr, 0, 0, p->rect.right, p->rect.bottom,
                             SWP_NOMOVE | SWP_NOZORDER);
                callHost(p, audioMasterSizeWindow, p->rect.right, p->rect.bottom, 0.0f);
            } else {
                callHost(p, audioMasterEndEdit, 0, 0, 0.0f);
            }
            return 0;
        case WM_LBUTTONDBLCLK:
            if (!p->dialog) {
                p->dialog = CreateWindowExA(0, "KorvexProbeDialog", "Probe Dialog",
                                            WS_POPUP | WS_VISIBLE, 600, 300, 240, 160, nullptr,
                                            nullptr, GetModuleHandleA(nullptr), nullptr);
                SetWindowLongPtrA(p->dialog, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(p));
            }
            return 0;
    }
    return DefWindowProcA(window, message, w, l);
}

void registerClasses() {
    static bool done = false;
    if (done) return;
    WNDCLASSA wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = viewProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = "KorvexProbeEditor";
    RegisterClassA(&wc);
    wc.style = 0;
    wc.lpfnWndProc = dialogProc;
    wc.lpszClassName = "KorvexProbeDialog";
    RegisterClassA(&wc);
    done = true;
}

void closeEditor(Probe* p) {
    if (p->dialog) DestroyWindow(p->dialog);
    if (p->view) DestroyWindow(p->view);
    p->dialog = p->view = nullptr;
}

VstIntPtr dispatcher(AEffect* e, VstInt32 opcode, VstInt32, VstIntPtr, void* ptr, float) {
    Probe* p = static_cast<Probe*>(e->object);
    switch (opcode) {
        case effClose:
            closeEditor(p);
            delete p;
            return 1;
        case effEditGetRect:
            if (ptr) *static_cast<ERect**>(ptr) = &p->rect;
            return 1;
        case effEditOpen:
            registerClasses();
            p->view = CreateWindowExA(0, "KorvexProbeEditor", "", WS_CHILD | WS_VISIBLE, 0, 0,
                                      p->rect.right, p->rect.bottom, static_cast<HWND>(ptr),
                                      nullptr, GetModuleHandleA(nullptr), nullptr);
            SetWindowLongPtrA(p->view, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(p));
            return p->view ? 1 : 0;
        case effEditClose: closeEditor(p); return 1;
        case effGetParamName:
            if (ptr) lstrcpynA(static_cast<char*>(ptr), "Level", 8);
            return 0;
        case effGetEffectName:
            if (ptr) lstrcpynA(static_cast<char*>(ptr), "Probe", 32);
            return 1;
        default: return 0;
    }
}

void setParameter(AEffect* e, VstInt32 index, float value) {
    if (index == 0) static_cast<Probe*>(e->object)->level = value;
}

float getParameter(AEffect* e, VstInt32 index) {
    return index == 0 ? static_cast<Probe*>(e->object)->level : 0.0f;
}

void processReplacing(AEffect*, float** in, float** out, VstInt32 frames) {
    for (int c = 0; c < 2; ++c)
        for (VstInt32 i = 0; i < frames; ++i) out[c][i] = in[c][i];
}

}  // namespace

AEffect* VSTPluginMain(audioMasterCallback host) {
    if (!host || host(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
    Probe* p = new Probe;
    p->host = host;
    AEffect& e = p->effect;
    e.magic = kEffectMagic;
    e.dispatcher = dispatcher;
    e.setParameter = setParameter;
    e.getParameter = getParameter;
    e.processReplacing = processReplacing;
    e.numPrograms = 1;
    e.numParams = 1;
    e.numInputs = 2;
    e.numOutputs = 2;
    e.flags = effFlagsHasEditor | effFlagsCanReplacing;
    e.object = p;
    e.uniqueID = vstFourCC('K', 'P', 'r', 'b');
    e.version = 1;
    return &e;
}
