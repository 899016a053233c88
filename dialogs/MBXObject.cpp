// The dialog base: stack membership and the do-nothing answers.
#include "dialogs/MBXObject.h"

#include "dialogs/MBXManager.h"

MBXObject::MBXObject(MBXManager& owner)
    : manager(owner),
      pageWidth(owner.pageWidth()),
      pageHeight(owner.pageHeight()),
      backgroundSurface(owner.backgroundSurface()),
      pageSurface(owner.pageSurface()) {
    manager.push(this);
}

MBXObject::~MBXObject() { manager.remove(this); }

void MBXObject::setEnabled(bool on) { enabled = on ? 1 : 0; }
bool MBXObject::isEnabled() const { return enabled != 0; }
bool MBXObject::onText(const char*) { return false; }
bool MBXObject::onPointerDown(int32_t, int32_t, int32_t, int32_t) { return false; }
bool MBXObject::onPointerUp(int32_t, int32_t, int32_t) { return false; }
bool MBXObject::onDoubleClick(int32_t, int32_t, int32_t) { return false; }
bool MBXObject::onPointerMove(int32_t, int32_t, float, float) { return false; }

bool MBXObject::keyDownTab() { return false; }
bool MBXObject::keyDownEnter() { return false; }
bool MBXObject::keyDownEscape() { return false; }
bool MBXObject::keyDownPageUp() { return false; }
bool MBXObject::keyDownPageDown() { return false; }
bool MBXObject::keyDownUp() { return false; }
bool MBXObject::keyDownDown() { return false; }
bool MBXObject::keyDownLeft() { return false; }
bool MBXObject::keyDownRight() { return false; }
bool MBXObject::keyDownHome() { return false; }
bool MBXObject::keyDownEnd() { return false; }
bool MBXObject::keyDownBackspace() { return false; }
bool MBXObject::keyDownShift() { return false; }
bool MBXObject::keyDownControl() { return false; }
bool MBXObject::keyDownOther(int32_t) { return false; }

bool MBXObject::keyUpTab() { return false; }
bool MBXObject::keyUpEnter() { return false; }
bool MBXObject::keyUpEscape() { return false; }
bool MBXObject::keyUpPageUp() { return false; }
bool MBXObject::keyUpPageDown() { return false; }
bool MBXObject::keyUpUp() { return false; }
bool MBXObject::keyUpDown() { return false; }
bool MBXObject::keyUpLeft() { return false; }
bool MBXObject::keyUpRight() { return false; }
bool MBXObject::keyUpHome() { return false; }
bool MBXObject::keyUpEnd() { return false; }
bool MBXObject::keyUpBackspace() { return false; }
bool MBXObject::keyUpShift() { return false; }
bool MBXObject::keyUpControl() { return false; }
bool MBXObject::keyUpOther(int32_t) { return false; }

void MBXObject::reservedAction0() {}
void MBXObject::reservedAction1() {}

bool MBXObject::tick(int32_t) { return false; }
void MBXObject::draw() { fullyDrawn = 1; }
void MBXObject::becameTop() { fullyDrawn = 0; }

bool MBXObject::reservedQuery0() { return false; }
bool MBXObject::reservedQuery1() { return false; }
bool MBXObject::reservedQuery2() { return false; }
bool MBXObject::reservedQuery3() { return false; }

void MBXObject::takeDirtyBox(int32_t* x, int32_t* y, int32_t* width, int32_t* height) {
    *x = 0;
    *y = 0;
    *width = pageWidth;
    *height = pageHeight;
}
