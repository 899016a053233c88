// korvex-host editor [options] PLUGIN: opens the plug-in's editor in a real
// window of the host, the way a DAW does: the window's client area is sized
// from effEditGetRect before effEditOpen, audioMasterSizeWindow resizes it,
// and while the editor is open the message loop runs with effEditIdle about
// fifty times a second. Then the actions given on the command line are
// performed in order (real pointer input, screenshots, reports), and the
// editor and the plug-in are closed properly. Without actions the editor
// stays open until the user closes the window.
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "tools/host/Commands.h"
#include "tools/host/EditorOptions.h"
#include "tools/host/HostDesktop.h"
#include "tools/host/HostWindow.h"
#include "tools/host/PluginInstance.h"
#include "tools/host/PngFile.h"

namespace {

// Hosts idle their editors from a timer of about 20 ms.
constexpr int kIdleSliceMs = 20;
// After each input event: enough for the event to travel through the input
// queue and the window procedure, and short enough for a double click.
constexpr int kEventPumpMs = 30;
// The editor's size fields in a program record: width and height as floats.
constexpr size_t kRecordWidthOffset = 48;
constexpr size_t kRecordHeightOffset = 52;

// Puts the wanted editor size into the current program's record and hands
// the record back, as a host restoring a session does right after creating
// the plug-in (editors take a stored size only in their first moments).
bool requestStoredSize(PluginInstance& plug, int width, int height, std::string& error) {
    std::vector<unsigned char> chunk;
    if (plug.effect()->flags & effFlagsProgramChunks) chunk = plug.chunk(true);
    if (chunk.size() < kRecordHeightOffset + sizeof(float)) {
        error = "--size needs a plug-in that keeps the editor size in its program chunk";
        return false;
    }
    const float w = static_cast<float>(width), h = static_cast<float>(height);
    std::memcpy(chunk.data() + kRecordWidthOffset, &w, sizeof(w));
    std::memcpy(chunk.data() + kRecordHeightOffset, &h, sizeof(h));
    if (plug.setChunk(chunk, true) == 0) {
        error = "the plug-in refused its own program chunk with the new size";
        return false;
    }
    return true;
}

class EditorRun : public EditorWindowHost {
public:
    EditorRun(PluginInstance& plug, const EditorOptions& options) : plug_(plug), o_(options) {}

    // Makes the window, opens the editor in it and lets it settle. Answers
    // false with a reason when there is nothing to show.
    bool open(std::string& error);
    // Closes the editor, then the window.
    void close();
    // Performs one action; false with a reason when it cannot be done.
    bool perform(const EditorAction& action, std::string& error);
    // Runs until the user closes the window.
    void runUntilClosed() {
        while (!window_->closeRequested()) runFor(100);
    }
    bool editorMadeWindow() const { return editorMadeWindow_; }

    bool sizeWindow(int width, int height) override {
        return window_ && width > 0 && height > 0 && window_->setClientSize(width, height);
    }

private:
    void runFor(int ms) {
        for (int left = ms; left > 0; left -= kIdleSliceMs) {
            window_->pump(left < kIdleSliceMs ? left : kIdleSliceMs);
            plug_.dispatch(effEditIdle);
        }
        if (ms <= 0) window_->pump(0);
    }
    void pointerAt(const ScreenRect& area, int x, int y, PointerEvent event) {
        sendPointer(area.x + x, area.y + y, event);
        runFor(kEventPumpMs);
    }
    void click(const ScreenRect& area, int x, int y) {
        pointerAt(area, x, y, PointerEvent::Move);
        pointerAt(area, x, y, PointerEvent::LeftDown);
        pointerAt(area, x, y, PointerEvent::LeftUp);
    }
    void drag(const EditorAction& a);
    bool screenshot(const ScreenRect& area, const std::string& file, std::string& error);
    void listWindows();
    void printParams();

    PluginInstance& plug_;
    const EditorOptions& o_;
    std::unique_ptr<HostWindow> window_;
    bool editorOpen_ = false;
    bool editorMadeWindow_ = false;
};

bool EditorRun::open(std::string& error) {
    ERect* rect = nullptr;
    plug_.dispatch(effEditGetRect, 0, 0, &rect);
    if (!rect || rect->right <= rect->left || rect->bottom <= rect->top) {
        error = "effEditGetRect gave no editor size";
        return false;
    }
    window_ = HostWindow::create(rect->right - rect->left, rect->bottom - rect->top, error);
    if (!window_) return false;
    window_->setTitle("korvex-host - " + plug_.text(effGetEffectName));
    plug_.setWindowHost(this);
    plug_.dispatch(effEditOpen, 0, 0, window_->handle());
    editorOpen_ = true;
    runFor(kEventPumpMs);
    editorMadeWindow_ = window_->childWindows() > 0;
    runFor(o_.waitMs);
    return true;
}

void EditorRun::close() {
    if (editorOpen_) {
        plug_.dispatch(effEditClose);
        editorOpen_ = false;
        if (window_) runFor(kEventPumpMs);
    }
    plug_.setWindowHost(nullptr);
    window_.reset();
}

void EditorRun::drag(const EditorAction& a) {
    const ScreenRect area = window_->clientRect();
    pointerAt(area, a.x, a.y, PointerEvent::Move);
    pointerAt(area, a.x, a.y, PointerEvent::LeftDown);
    // The origin stays where it was pressed: an editor that resizes its
    // window during the drag moves the bottom-right corner, not the top-left.
    for (int s = 1; s <= a.steps; ++s) {
        const int x = a.x + (a.x2 - a.x) * s / a.steps;
        const int y = a.y + (a.y2 - a.y) * s / a.steps;
        pointerAt(area, x, y, PointerEvent::Move);
    }
    pointerAt(area, a.x2, a.y2, PointerEvent::LeftUp);
}

bool EditorRun::screenshot(const ScreenRect& area, const std::string& file, std::string& error) {
    ScreenPixels pixels;
    if (!captureScreen(area, pixels)) {
        error = "cannot capture '" + file + "': " + std::to_string(area.width) + "x" +
                std::to_string(area.height) + " at " + std::to_string(area.x) + "," +
                std::to_string(area.y) +
                " does not lie wholly on the screen (or the screen cannot be read)";
        return false;
    }
    return writePng(file, pixels, error);
}

void EditorRun::listWindows() {
    const ScreenRect own = window_->clientRect();
    for (const TopWindow& w : processWindows()) {
        if (w.handle == window_->handle()) {
            std::printf("host window \"%s\": client %dx%d at %d,%d\n", w.title.c_str(), own.width,
                        own.height, own.x, own.y);
        } else {
            std::printf("window \"%s\": %dx%d at %d,%d\n", w.title.c_str(), w.frame.width,
                        w.frame.height, w.frame.x, w.frame.y);
        }
    }
    std::fflush(stdout);
}

void EditorRun::printParams() {
    const int count = plug_.effect()->numParams;
    for (int i = 0; i < count; ++i) {
        std::printf("param %d %s %.6f\n", i, plug_.text(effGetParamName, i).c_str(),
                    static_cast<double>(plug_.getParameter(i)));
    }
    std::fflush(stdout);
}

bool EditorRun::perform(const EditorAction& a, std::string& error) {
    using Kind = EditorAction::Kind;
    TopWindow other;
    if ((a.kind == Kind::ClickWindow || a.kind == Kind::ScreenshotWindow) &&
        !findProcessWindow(a.text, other)) {
        error = "no window titled '" + a.text + "'";
        return false;
    }
    switch (a.kind) {
        case Kind::Click: click(window_->clientRect(), a.x, a.y); return true;
        case Kind::DoubleClick:
            click(window_->clientRect(), a.x, a.y);
            click(window_->clientRect(), a.x, a.y);
            return true;
        case Kind::Drag: drag(a); return true;
        case Kind::ClickWindow: click(other.client, a.x, a.y); return true;
        case Kind::Pause: runFor(a.ms); return true;
        // Reports wait first: the editor redraws on its own timer, and a
        // picture or list taken at once would show the moment before.
        case Kind::Screenshot:
            runFor(o_.waitMs);
            return screenshot(window_->clientRect(), a.file, error);
        case Kind::ScreenshotWindow:
            runFor(o_.waitMs);
            if (!findProcessWindow(a.text, other)) {
                error = "window '" + a.text + "' closed before its picture was taken";
                return false;
            }
            return screenshot(other.client, a.file, error);
        case Kind::ListWindows:
            runFor(o_.waitMs);
            listWindows();
            return true;
        case Kind::PrintParams:
            runFor(o_.waitMs);
            printParams();
            return true;
    }
    return true;
}

}  // namespace

int runEditor(const Arguments& args) {
    EditorOptions o;
    const std::string complaint = parseEditorOptions(args, o);
    if (!complaint.empty()) return usageError(complaint);

    PluginInstance plug;
    if (o.logHostCalls) plug.setEditorCallLog(stdout);
    std::string error;
    if (!plug.load(o.pluginPath, error)) return usageError(error);
    if (!(plug.effect()->flags & effFlagsHasEditor)) {
        std::fprintf(stderr, "korvex-host: editor: plug-in '%s' has no editor\n",
                     o.pluginPath.c_str());
        return 1;
    }
    plug.dispatch(effOpen);
    // A stored size counts only while the plug-in is new, so it comes first.
    if (o.width > 0 && !requestStoredSize(plug, o.width, o.height, error)) {
        std::fprintf(stderr, "korvex-host: editor: %s\n", error.c_str());
        return 1;
    }
    if (!applyState(plug, o.state, error)) return usageError("editor: " + error);
    if (o.bypass) plug.dispatch(effSetBypass, 0, 1);
    plug.dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
    plug.dispatch(effSetBlockSize, 0, 512);
    plug.dispatch(effMainsChanged, 0, 1);

    EditorRun run(plug, o);
    int status = 0;
    if (!run.open(error)) {
        std::fprintf(stderr, "korvex-host: editor: %s\n", error.c_str());
        status = 1;
    } else {
        if (!run.editorMadeWindow()) {
            // Carry on: the window still shows what the host gave, which
            // is worth a look, but the run counts as failed.
            std::fprintf(stderr, "korvex-host: editor: effEditOpen made no window in the host's\n");
            status = 1;
        }
        if (o.actions.empty()) run.runUntilClosed();
        for (const EditorAction& action : o.actions) {
            if (!run.perform(action, error)) {
                std::fprintf(stderr, "korvex-host: editor: %s\n", error.c_str());
                status = 1;
                break;
            }
        }
    }
    run.close();
    plug.dispatch(effMainsChanged, 0, 0);
    return status;
}
