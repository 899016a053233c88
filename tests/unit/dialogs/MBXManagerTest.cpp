// The dialog stack: who is on top, who hears which key, and what inactivity does.
#include <string>
#include <vector>

#include "dialog_test_support.h"
#include "dialogs/MBXManager.h"
#include "dialogs/MBXObject.h"

namespace {

// Each named key with its Windows virtual key code (formatted by hand); the rest share one handler.
// clang-format off
#define KORVEX_KEYS(X)                                                                          \
    X(9, Tab) X(13, Enter) X(27, Escape) X(33, PageUp) X(34, PageDown) X(38, Up) X(40, Down)    \
    X(37, Left) X(39, Right) X(36, Home) X(35, End) X(8, Backspace) X(16, Shift) X(17, Control)
// clang-format on
#define KORVEX_RECORD_KEY(code, key) \
    bool keyDown##key() override { return note("down " #key); }
#define KORVEX_KEY_ROW(code, key) {code, #key},

using Log = std::vector<std::string>;

class RecordingDialog : public MBXObject {
public:
    RecordingDialog(MBXManager& m, const char* tag, Log* log)
        : MBXObject(m), name(tag), calls(log) {}
    ~RecordingDialog() override { note("deleted"); }
    bool onPointerDown(int32_t, int32_t, int32_t, int32_t) override { return note("down"); }
    KORVEX_KEYS(KORVEX_RECORD_KEY)
    bool keyDownOther(int32_t key) override { return note("down other " + std::to_string(key)); }
    bool keyUpEscape() override { return note("up Escape"); }
    bool keyUpOther(int32_t key) override { return note("up other " + std::to_string(key)); }
    void becameTop() override {
        MBXObject::becameTop();
        note("top");
    }
    void setEnabled(bool on) override {
        MBXObject::setEnabled(on);
        note(on ? "enabled" : "disabled");
    }

private:
    bool note(const std::string& what) {
        calls->push_back(name + ": " + what);
        return true;
    }
    std::string name;
    Log* calls;
};
using MBXManagerStack = DialogTest;

TEST_F(MBXManagerStack, TheNewestDialogAloneHearsEventsWhileActiveAndRemovingOneRevealsTheNext) {
    MBXManager manager(ctx);
    ASSERT_TRUE(manager.setWindow(-1, 1.0f, 1.0f));
    Log calls;
    auto* a = new RecordingDialog(manager, "a", &calls);
    delete new RecordingDialog(manager, "c", &calls);
    EXPECT_EQ(manager.top(), a);
    EXPECT_EQ(calls, (Log{"c: deleted", "a: top"}));
    delete a;
    calls.clear();
    new RecordingDialog(manager, "under", &calls);
    EXPECT_FALSE(manager.pointerDown(1, 2, 0, 0));
    EXPECT_FALSE(manager.keyDown(13));
    EXPECT_TRUE(calls.empty());
    new RecordingDialog(manager, "top", &calls);
    manager.setActive(true);
    EXPECT_TRUE(manager.pointerDown(1, 2, 0, 0));
    EXPECT_EQ(calls, (Log{"under: enabled", "top: enabled", "top: down"}));
    const std::pair<int32_t, const char*> keys[] = {KORVEX_KEYS(KORVEX_KEY_ROW){65, "other 65"},
                                                    {112, "other 112"}};
    for (const auto& [code, handler] : keys) {
        calls.clear();
        EXPECT_TRUE(manager.keyDown(code));
        EXPECT_EQ(calls, Log{std::string("top: down ") + handler}) << code;
    }
    calls.clear();
    manager.keyUp(27);
    manager.keyUp('Q');
    EXPECT_EQ(calls, (Log{"top: up Escape", "top: up other 81"}));
    calls.clear();
    // Going inactive disables every dialog and then deletes them all.
    manager.setActive(false);
    EXPECT_EQ(calls, (Log{"under: disabled", "top: disabled", "top: deleted", "under: top",
                          "under: deleted"}));
    EXPECT_EQ(manager.dialogCount(), 0);
    EXPECT_FALSE(manager.pointerDown(1, 2, 0, 0));
}

}  // namespace
