// MBXObject: the base of every dialog page drawn in the shared dialog window.
// A dialog pushes itself onto the manager's stack when it is made and takes
// itself off when it is deleted; only the dialog on top sees events. Each
// handler answers true when the page changed and the window should refresh.
//
// The virtual operations keep one fixed order (the page classes and any
// later dialog rely on it): destructor, enable pair, text, the four pointer
// handlers, fifteen key-down and fifteen key-up handlers, two reserved
// operations, tick, draw, becameTop, four reserved queries, takeDirtyBox.
#pragma once

#include <cstdint>

class MBXManager;
struct afx_pixbuf;

class MBXObject {
public:
    // Takes the page size and surfaces from the manager and pushes itself on
    // top of its stack (when the stack cannot grow, the dialog stays off it).
    explicit MBXObject(MBXManager& manager);
    MBXObject(const MBXObject&) = delete;
    MBXObject& operator=(const MBXObject&) = delete;

    // Takes itself off the manager's stack.
    virtual ~MBXObject();
    virtual void setEnabled(bool on);
    virtual bool isEnabled() const;
    // A typed text; the base takes none.
    virtual bool onText(const char* text);
    // Page pixels; button 0 left, 1 right.
    virtual bool onPointerDown(int32_t x, int32_t y, int32_t button, int32_t flags);
    virtual bool onPointerUp(int32_t x, int32_t y, int32_t button);
    virtual bool onDoubleClick(int32_t x, int32_t y, int32_t button);
    // dx, dy: travel since the last pointer event in page pixels, y upward.
    virtual bool onPointerMove(int32_t x, int32_t y, float dx, float dy);

    virtual bool keyDownTab();
    virtual bool keyDownEnter();
    virtual bool keyDownEscape();
    virtual bool keyDownPageUp();
    virtual bool keyDownPageDown();
    virtual bool keyDownUp();
    virtual bool keyDownDown();
    virtual bool keyDownLeft();
    virtual bool keyDownRight();
    virtual bool keyDownHome();
    virtual bool keyDownEnd();
    virtual bool keyDownBackspace();
    virtual bool keyDownShift();
    virtual bool keyDownControl();
    // Every key without a handler of its own, with its virtual key code.
    virtual bool keyDownOther(int32_t key);

    virtual bool keyUpTab();
    virtual bool keyUpEnter();
    virtual bool keyUpEscape();
    virtual bool keyUpPageUp();
    virtual bool keyUpPageDown();
    virtual bool keyUpUp();
    virtual bool keyUpDown();
    virtual bool keyUpLeft();
    virtual bool keyUpRight();
    virtual bool keyUpHome();
    virtual bool keyUpEnd();
    virtual bool keyUpBackspace();
    virtual bool keyUpShift();
    virtual bool keyUpControl();
    virtual bool keyUpOther(int32_t key);

    // Kept free for later dialogs; they do nothing here.
    virtual void reservedAction0();
    virtual void reservedAction1();

    // Called at every refresh of the window; true when it drew.
    virtual bool tick(int32_t ms);
    // Draws the whole page into the page surface.
    virtual void draw();
    // This dialog is on top again: the next tick draws the whole page.
    virtual void becameTop();

    // Kept free for later dialogs; they answer false here.
    virtual bool reservedQuery0();
    virtual bool reservedQuery1();
    virtual bool reservedQuery2();
    virtual bool reservedQuery3();

    // The page area changed since the last call, in page pixels; the base
    // reports the whole page.
    virtual void takeDirtyBox(int32_t* x, int32_t* y, int32_t* width, int32_t* height);

    int32_t id() const { return dialogId; }
    bool isFullyDrawn() const { return fullyDrawn != 0; }

protected:
    MBXManager& manager;
    int32_t dialogId = -1;
    int32_t pageWidth;
    int32_t pageHeight;
    uint8_t enabled = 1;
    uint8_t fullyDrawn = 0;
    uint8_t reservedFlag = 0;
    afx_pixbuf* backgroundSurface;  // the manager's
    afx_pixbuf* pageSurface;        // the manager's
};
