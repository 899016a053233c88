// The dialog stack and its forwarding: who is on top, who hears which key,
// what happens while the manager is not active, the page background, and the
// fixed order of the dialog operations.
#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "afx/afx_pixbuf.h"
#include "dialog_test_support.h"
#include "dialogs/MBXAboutMessage.h"
#include "dialogs/MBXManager.h"
#include "dialogs/MBXMessage.h"
#include "dialogs/MBXObject.h"

namespace {

// A dialog that writes each call it receives into a shared log.
class RecordingDialog : public MBXObject {
public:
    RecordingDialog(MBXManager& m, const char* tag, std::vector<std::string>* log)
        : MBXObject(m), name(tag), calls(log) {}
    ~RecordingDialog() override { note("deleted"); }
    bool onPointerDown(int32_t, int32_t, int32_t, int32_t) override { return note("down"); }
    bool keyDownTab() override { return note("down Tab"); }
    bool keyDownEnter() override { return note("down Enter"); }
    bool keyDownEscape() override { return note("down Escape"); }
    bool keyDownPageUp() override { return note("down PageUp"); }
    bool keyDownPageDown() override { return note("down PageDown"); }
    bool keyDownUp() override { return note("down Up"); }
    bool keyDownDown() override { return note("down Down"); }
    bool keyDownLeft() override { return note("down Left"); }
    bool keyDownRight() override { return note("down Right"); }
    bool keyDownHome() override { return note("down Home"); }
    bool keyDownEnd() override { return note("down End"); }
    bool keyDownBackspace() override { return note("down Backspace"); }
    bool keyDownShift() override { return note("down Shift"); }
    bool keyDownControl() override { return note("down Control"); }
    bool keyDownOther(int32_t key) override {
        return note(("down other " + std::to_string(key)).c_str());
    }
    bool keyUpEscape() override { return note("up Escape"); }
    bool keyUpOther(int32_t key) override {
        return note(("up other " + std::to_string(key)).c_str());
    }
    void becameTop() override {
        MBXObject::becameTop();
        note("top");
    }
    void setEnabled(bool on) override {
        MBXObject::setEnabled(on);
        note(on ? "enabled" : "disabled");
    }

private:
    bool note(const char* what) {
        calls->push_back(name + ": " + what);
        return true;
    }
    std::string name;
    std::vector<std::string>* calls;
};

class MBXManagerStack : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        manager = new MBXManager(ctx);
        ASSERT_TRUE(manager->setWindow(-1, 1.0f, 1.0f));
    }
    void TearDown() override {
        delete manager;
        DialogTest::TearDown();
    }
    MBXManager* manager = nullptr;
    std::vector<std::string> calls;
};

TEST_F(MBXManagerStack, TheNewestDialogIsOnTopAndRemovingOneRevealsTheNext) {
    auto* a = new RecordingDialog(*manager, "a", &calls);
    auto* b = new RecordingDialog(*manager, "b", &calls);
    auto* c = new RecordingDialog(*manager, "c", &calls);
    EXPECT_EQ(manager->dialogCount(), 3);
    EXPECT_EQ(manager->top(), c);
    delete b;  // from the middle: c stays on top, and is told so
    EXPECT_EQ(manager->top(), c);
    EXPECT_EQ(manager->dialogCount(), 2);
    delete c;
    EXPECT_EQ(manager->top(), a);
    EXPECT_EQ(calls, (std::vector<std::string>{"b: deleted", "c: top", "c: deleted", "a: top"}));
    delete a;
    EXPECT_EQ(manager->top(), nullptr);
}

TEST_F(MBXManagerStack, EventsReachOnlyTheTopDialogAndOnlyWhileActive) {
    new RecordingDialog(*manager, "under", &calls);
    EXPECT_FALSE(manager->pointerDown(1, 2, 0, 0));
    EXPECT_FALSE(manager->keyDown(13));
    EXPECT_TRUE(calls.empty());
    new RecordingDialog(*manager, "top", &calls);
    manager->setActive(true);
    EXPECT_TRUE(manager->pointerDown(1, 2, 0, 0));
    EXPECT_EQ(calls, (std::vector<std::string>{"under: enabled", "top: enabled", "top: down"}));
    calls.clear();
    // Going inactive disables every dialog and then deletes them all.
    manager->setActive(false);
    EXPECT_EQ(calls, (std::vector<std::string>{"under: disabled", "top: disabled", "top: deleted",
                                               "under: top", "under: deleted"}));
    EXPECT_EQ(manager->dialogCount(), 0);
    EXPECT_FALSE(manager->pointerDown(1, 2, 0, 0));
}

TEST_F(MBXManagerStack, EachNamedKeyHasItsHandlerAndTheRestShareOne) {
    new RecordingDialog(*manager, "d", &calls);
    manager->setActive(true);
    calls.clear();
    // Windows virtual key codes.
    const struct {
        int32_t code;
        const char* handler;
    } keys[] = {{9, "Tab"},  {13, "Enter"},    {27, "Escape"}, {33, "PageUp"}, {34, "PageDown"},
                {38, "Up"},  {40, "Down"},     {37, "Left"},   {39, "Right"},  {36, "Home"},
                {35, "End"}, {8, "Backspace"}, {16, "Shift"},  {17, "Control"}};
    for (const auto& k : keys) {
        calls.clear();
        EXPECT_TRUE(manager->keyDown(k.code));
        EXPECT_EQ(calls, std::vector<std::string>{std::string("d: down ") + k.handler}) << k.code;
    }
    calls.clear();
    manager->keyDown('A');
    manager->keyDown(112);  // F1
    manager->keyUp(27);
    manager->keyUp('Q');
    EXPECT_EQ(calls, (std::vector<std::string>{"d: down other 65", "d: down other 112",
                                               "d: up Escape", "d: up other 81"}));
}

TEST_F(MBXManagerStack, EnabledCountAndTheDirtyRectangle) {
    EXPECT_EQ(manager->enabledCount(), 0);
    int32_t x, y, w, h;
    manager->dirtyRectangle(&x, &y, &w, &h);  // no dialog: the whole page
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);
    auto* a = new RecordingDialog(*manager, "a", &calls);
    auto* b = new RecordingDialog(*manager, "b", &calls);
    EXPECT_EQ(manager->enabledCount(), 2);
    b->setEnabled(false);
    EXPECT_EQ(manager->enabledCount(), 1);
    delete b;
    delete a;
    EXPECT_EQ(manager->enabledCount(), 0);
}

TEST_F(MBXManagerStack, MessagePageReportsOnlyItsChangedButtonAfterTheFirstDraw) {
    manager->setActive(true);
    auto* page = new MBXMessage(*manager);
    manager->drawTop();
    EXPECT_TRUE(page->isFullyDrawn());
    int32_t x, y, w, h;
    manager->dirtyRectangle(&x, &y, &w, &h);
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);
    manager->dirtyRectangle(&x, &y, &w, &h);  // taken: nothing left
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, 0);
    EXPECT_TRUE(manager->keyDown(13));  // Enter highlights Ok
    EXPECT_TRUE(manager->tick(0));
    manager->dirtyRectangle(&x, &y, &w, &h);
    // The Ok box (272, 300, 96, 32) grown by its corner radius 4 and a pixel.
    EXPECT_EQ(x, 267);
    EXPECT_EQ(y, 295);
    EXPECT_EQ(w, 106);
    EXPECT_EQ(h, 42);
    EXPECT_FALSE(manager->tick(0));
    EXPECT_TRUE(manager->keyUp(13));
    EXPECT_EQ(manager->dialogCount(), 0);  // the page deleted itself
    EXPECT_EQ(manager->lastResult(), MBXManager::kResultOk);
}

// The background (dots of 72 grey at three quarters every 16 pixels on
// black) is pinned pixel for pixel by the golden about-page image and by
// MBXHostWindow.PaintShowsThePageScaledByTheZoom.

// The dialog operations keep the order later dialogs are built against. In
// the compilers' common C++ ABI a pointer to a virtual member holds one plus
// its byte offset in the table, and the destructor takes the first two
// entries, so operation n of the table sits at entry n + 1.
template <typename Member>
int32_t tableEntry(Member member) {
    struct {
        uintptr_t pointer;
        ptrdiff_t adjust;
    } raw;
    static_assert(sizeof(member) == sizeof(raw), "two-word member pointers");
    std::memcpy(&raw, &member, sizeof(raw));
    return static_cast<int32_t>((raw.pointer - 1) / sizeof(void*));
}

TEST(MBXObjectTable, OperationsKeepTheirSlots) {
    EXPECT_EQ(tableEntry(&MBXObject::setEnabled), 1 + 1);
    EXPECT_EQ(tableEntry(&MBXObject::isEnabled), 2 + 1);
    EXPECT_EQ(tableEntry(&MBXObject::onText), 3 + 1);
    EXPECT_EQ(tableEntry(&MBXObject::onPointerDown), 4 + 1);
    EXPECT_EQ(tableEntry(&MBXObject::onPointerUp), 5 + 1);
    EXPECT_EQ(tableEntry(&MBXObject::onDoubleClick), 6 + 1);
    EXPECT_EQ(tableEntry(&MBXObject::onPointerMove), 7 + 1);
    EXPECT_EQ(tableEntry(&MBXObject::keyDownTab), 8 + 1);
    EXPECT_EQ(tableEntry(&MBXObject::keyDownOther), 22 + 1);
    EXPECT_EQ(tableEntry(&MBXObject::keyUpTab), 23 + 1);
    EXPECT_EQ(tableEntry(&MBXObject::keyUpEscape), 25 + 1);
    EXPECT_EQ(tableEntry(&MBXObject::keyUpOther), 37 + 1);
    EXPECT_EQ(tableEntry(&MBXObject::reservedAction0), 38 + 1);
    EXPECT_EQ(tableEntry(&MBXObject::tick), 40 + 1);
    EXPECT_EQ(tableEntry(&MBXObject::draw), 41 + 1);
    EXPECT_EQ(tableEntry(&MBXObject::becameTop), 42 + 1);
    EXPECT_EQ(tableEntry(&MBXObject::reservedQuery3), 46 + 1);
    EXPECT_EQ(tableEntry(&MBXObject::takeDirtyBox), 47 + 1);
    EXPECT_EQ(tableEntry(&MBXMessage::drawHeading), 48 + 1);
    // The About box adds none of its own: it only overrides.
    EXPECT_EQ(tableEntry(&MBXAboutMessage::draw), 41 + 1);
}

}  // namespace
