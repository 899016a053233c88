// The dialog stack, the page surfaces and the event forwarders.
#include "dialogs/MBXManager.h"

#include <cstdlib>

#include "afx/afx_context.h"
#include "afx/afx_pixbuf.h"
#include "dialogs/MBXAboutMessage.h"
#include "dialogs/MBXObject.h"

namespace {

// The background: a grey dot on every 16th pixel of every 16th row, offset
// by half a period so the dots sit between the page's 16-pixel grid lines,
// then every channel scaled by 192/256.
constexpr int32_t kDotPeriod = 16;
constexpr int32_t kDotPhase = 8;
constexpr uint32_t kDotGrey = 72;
constexpr uint32_t kDarkenNumerator = 192;  // over 256

// Virtual key codes of the keys that have handlers of their own.
enum : int32_t {
    kKeyBackspace = 8,
    kKeyTab = 9,
    kKeyEnter = 13,
    kKeyShift = 16,
    kKeyControl = 17,
    kKeyEscape = 27,
    kKeyPageUp = 33,
    kKeyPageDown = 34,
    kKeyEnd = 35,
    kKeyHome = 36,
    kKeyLeft = 37,
    kKeyUp = 38,
    kKeyRight = 39,
    kKeyDown = 40,
};

using KeyHandler = bool (MBXObject::*)();

struct KeyRoute {
    int32_t key;
    KeyHandler down;
    KeyHandler up;
};

const KeyRoute kKeyRoutes[] = {
    {kKeyTab, &MBXObject::keyDownTab, &MBXObject::keyUpTab},
    {kKeyEnter, &MBXObject::keyDownEnter, &MBXObject::keyUpEnter},
    {kKeyEscape, &MBXObject::keyDownEscape, &MBXObject::keyUpEscape},
    {kKeyPageUp, &MBXObject::keyDownPageUp, &MBXObject::keyUpPageUp},
    {kKeyPageDown, &MBXObject::keyDownPageDown, &MBXObject::keyUpPageDown},
    {kKeyUp, &MBXObject::keyDownUp, &MBXObject::keyUpUp},
    {kKeyDown, &MBXObject::keyDownDown, &MBXObject::keyUpDown},
    {kKeyLeft, &MBXObject::keyDownLeft, &MBXObject::keyUpLeft},
    {kKeyRight, &MBXObject::keyDownRight, &MBXObject::keyUpRight},
    {kKeyHome, &MBXObject::keyDownHome, &MBXObject::keyUpHome},
    {kKeyEnd, &MBXObject::keyDownEnd, &MBXObject::keyUpEnd},
    {kKeyBackspace, &MBXObject::keyDownBackspace, &MBXObject::keyUpBackspace},
    {kKeyShift, &MBXObject::keyDownShift, &MBXObject::keyUpShift},
    {kKeyControl, &MBXObject::keyDownControl, &MBXObject::keyUpControl},
};

const KeyRoute* routeOf(int32_t key) {
    for (const KeyRoute& r : kKeyRoutes) {
        if (r.key == key) return &r;
    }
    return nullptr;
}

}  // namespace

MBXManager::MBXManager(afx_context* toolkit) : context(toolkit) {}

MBXManager::~MBXManager() {
    closeAll();
    std::free(dialogs);
    afx_pixbuf_free(context, page);
    afx_pixbuf_free(context, background);
}

bool MBXManager::push(MBXObject* dialog) {
    if (count == capacity) {
        const int32_t grown = capacity ? capacity * 2 : 4;
        // The stack holds pointers, so a slot is the size of a pointer.
        // NOLINTNEXTLINE(bugprone-sizeof-expression)
        void* more = std::realloc(dialogs, sizeof(MBXObject*) * static_cast<size_t>(grown));
        if (!more) return false;
        dialogs = static_cast<MBXObject**>(more);
        capacity = grown;
    }
    dialogs[count++] = dialog;
    return true;
}

void MBXManager::remove(MBXObject* dialog) {
    int32_t i = 0;
    while (i < count && dialogs[i] != dialog) ++i;
    if (i == count) return;
    for (; i + 1 < count; ++i) dialogs[i] = dialogs[i + 1];
    --count;
    if (count > 0) dialogs[count - 1]->becameTop();
}

bool MBXManager::setWindow(int32_t id, float sx, float sy) {
    windowId = id;
    scaleX = sx;
    scaleY = sy;
    if (!page) page = afx_pixbuf_new(context, kPageWidth, kPageHeight);
    if (!background) background = afx_pixbuf_new(context, kPageWidth, kPageHeight);
    if (!page || !background) return false;
    paintBackground();
    return true;
}

void MBXManager::paintBackground() {
    for (int32_t y = 0; y < kPageHeight; ++y) {
        for (int32_t x = 0; x < kPageWidth; ++x) {
            const bool dot = x % kDotPeriod == kDotPhase && y % kDotPeriod == kDotPhase;
            const uint32_t c = ((dot ? kDotGrey : 0u) * kDarkenNumerator) >> 8;
            afx_pixbuf_set_pixel(context, background, x, y, c, c, c, 255);
        }
    }
}

void MBXManager::clearPage() {
    if (page && background)
        afx_pixbuf_copy(context, background, page, 0, 0, 0, 0, kPageWidth, kPageHeight);
}

void MBXManager::setActive(bool on) {
    active = on ? 1 : 0;
    for (int32_t i = 0; i < count; ++i) dialogs[i]->setEnabled(on);
    if (!on) closeAll();
}

void MBXManager::closeAll() {
    // Each destructor takes its dialog off the stack.
    while (count > 0) delete dialogs[count - 1];
    clearPage();
}

void MBXManager::drawTop() {
    if (!active) return;
    clearPage();
    if (count > 0) dialogs[count - 1]->draw();
    refreshPending = 1;
}

bool MBXManager::tick(int32_t ms) { return forwarding() && top()->tick(ms); }

void MBXManager::dirtyRectangle(int32_t* x, int32_t* y, int32_t* width, int32_t* height) {
    int32_t bx = 0, by = 0, bw = kPageWidth, bh = kPageHeight;
    if (count > 0) top()->takeDirtyBox(&bx, &by, &bw, &bh);
    if (bw != 0 && bh != 0) {
        int32_t* d = dirtyBox;
        const bool empty = d[0] == 0 && d[1] == 0 && d[2] == 0 && d[3] == 0;
        if (empty) {
            d[0] = bx;
            d[1] = by;
            d[2] = bx + bw;
            d[3] = by + bh;
        } else {
            if (bx < d[0]) d[0] = bx;
            if (by < d[1]) d[1] = by;
            if (bx + bw > d[2]) d[2] = bx + bw;
            if (by + bh > d[3]) d[3] = by + bh;
        }
    }
    *x = dirtyBox[0];
    *y = dirtyBox[1];
    *width = dirtyBox[2] - dirtyBox[0];
    *height = dirtyBox[3] - dirtyBox[1];
    for (int32_t& v : dirtyBox) v = 0;
}

int32_t MBXManager::enabledCount() const {
    int32_t n = 0;
    for (int32_t i = 0; i < count; ++i) n += dialogs[i]->isEnabled() ? 1 : 0;
    return n;
}

int32_t MBXManager::finish(MBXObject* dialog, int32_t result) {
    lastResultCode = result;
    if (dialog && dialog->id() == MBXAboutMessage::kDialogId && result == kResultOpenLink) {
        afx_open_url(context, MBXAboutMessage::kWebAddress);
    }
    return kDeleteDialog;
}

bool MBXManager::pointerDown(int32_t x, int32_t y, int32_t button, int32_t flags) {
    return forwarding() && top()->onPointerDown(x, y, button, flags);
}

bool MBXManager::pointerUp(int32_t x, int32_t y, int32_t button) {
    return forwarding() && top()->onPointerUp(x, y, button);
}

bool MBXManager::doubleClick(int32_t x, int32_t y, int32_t button) {
    return forwarding() && top()->onDoubleClick(x, y, button);
}

bool MBXManager::pointerMove(int32_t x, int32_t y, float dx, float dy) {
    return forwarding() && top()->onPointerMove(x, y, dx, dy);
}

bool MBXManager::keyDown(int32_t key) {
    if (!forwarding()) return false;
    MBXObject* dialog = top();
    const KeyRoute* route = routeOf(key);
    return route ? (dialog->*(route->down))() : dialog->keyDownOther(key);
}

bool MBXManager::keyUp(int32_t key) {
    if (!forwarding()) return false;
    MBXObject* dialog = top();
    const KeyRoute* route = routeOf(key);
    return route ? (dialog->*(route->up))() : dialog->keyUpOther(key);
}

bool MBXManager::text(const char* typed) { return forwarding() && top()->onText(typed); }
