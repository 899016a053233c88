// The native plug-in's editor in host windows of this test on the project's
// Xvfb display, the way a Linux DAW holds it: opened and closed 100 times in
// one window without leaving X resources behind (counted per resource type
// by the server's X-Resource extension, over every connection of this
// process), two instances showing their editors at the same time, each
// exactly as the reviewed in-memory render, and an editor drawn by the
// host's GLib main loop alone, for a host that never calls idle.
// GoogleTest first: Xlib's macros (None, Bool) would break its headers.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XRes.h>
#include <dlfcn.h>
#include <ctime>
#include <unistd.h>

#include <map>
#include <string>
#include <vector>

#include "frame/vst_abi.h"
#include "golden_image.h"

namespace {

VstIntPtr quietHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

class Instance {
public:
    explicit Instance(void* library) {
        auto entry =
            reinterpret_cast<AEffect* (*)(audioMasterCallback)>(dlsym(library, "VSTPluginMain"));
        effect = entry ? entry(quietHost) : nullptr;
        if (effect) call(effOpen);
    }
    ~Instance() {
        if (effect) call(effClose);
    }
    VstIntPtr call(VstInt32 opcode, void* ptr = nullptr) {
        return effect->dispatcher(effect, opcode, 0, 0, ptr, 0.0f);
    }
    AEffect* effect = nullptr;
};

class X11Editor : public ::testing::Test {
protected:
    void SetUp() override {
        display = XOpenDisplay(nullptr);
        ASSERT_NE(display, nullptr) << "no X display (run through tools/wine-env.sh display)";
        library = dlopen(KORVEX_PLUGIN_SO, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(library, nullptr) << dlerror();
    }
    void TearDown() override {
        for (Window w : windows) XDestroyWindow(display, w);
        if (library) dlclose(library);
        if (display) XCloseDisplay(display);
    }
    // A mapped host window at (x, 0) of the editor's default size.
    Window hostWindow(int x) {
        XSetWindowAttributes a{};
        a.override_redirect = True;
        const Window w =
            XCreateWindow(display, DefaultRootWindow(display), x, 0, 364, 538, 0, CopyFromParent,
                          InputOutput, CopyFromParent, CWOverrideRedirect, &a);
        XMapRaised(display, w);
        XSync(display, False);
        windows.push_back(w);
        return w;
    }
    // The host's idle calls every 10 ms or so, for about ms milliseconds.
    static void idle(const std::vector<Instance*>& instances, int ms) {
        for (int i = 0; i <= ms; i += 10) {
            for (Instance* instance : instances) instance->call(effEditIdle);
            timespec t{0, 10000000L};
            nanosleep(&t, nullptr);
        }
    }
    // Resources of this process's connections, as "TYPE count" by type.
    std::map<std::string, long> resources();
    // What the window shows, at the default editor size.
    GoldenPicture picture(Window w);

    Display* display = nullptr;
    void* library = nullptr;
    std::vector<Window> windows;
};

std::map<std::string, long> X11Editor::resources() {
    std::map<std::string, long> counts;
    XResClientIdSpec all{0, XRES_CLIENT_ID_PID_MASK};
    long n = 0;
    XResClientIdValue* ids = nullptr;
    if (XResQueryClientIds(display, 1, &all, &n, &ids) != Success) return counts;
    for (long i = 0; i < n; ++i) {
        if (XResGetClientPid(&ids[i]) != getpid()) continue;
        const auto& [clientId, length, value] = ids[i];  // the connection, as the server names it
        int types = 0;
        XResType* list = nullptr;
        if (!XResQueryClientResources(display, clientId.client, &types, &list)) continue;
        for (int t = 0; t < types; ++t) {
            char* name = XGetAtomName(display, list[t].resource_type);
            counts[name ? name : "?"] += list[t].count;
            if (name) XFree(name);
        }
        XFree(list);
    }
    XResClientIdsDestroy(n, ids);
    return counts;
}

GoldenPicture X11Editor::picture(Window w) {
    GoldenPicture shown{364, 538, {}};
    XImage* image = XGetImage(display, w, 0, 0, 364, 538, AllPlanes, ZPixmap);
    if (!image) return shown;
    for (int y = 0; y < shown.height; ++y)
        for (int x = 0; x < shown.width; ++x)
            shown.pixels.push_back(XGetPixel(image, x, y) & 0xFFFFFFu);
    XDestroyImage(image);
    return shown;
}

TEST_F(X11Editor, OpensAndClosesAHundredTimesWithoutLeavingXResources) {
    const Window host = hostWindow(0);
    Instance plug(library);
    ASSERT_NE(plug.effect, nullptr);
    void* parent = reinterpret_cast<void*>(static_cast<uintptr_t>(host));
    // Once first: what lives as long as the library (its connection, the
    // cursors it made) is there before counting starts.
    plug.call(effEditOpen, parent);
    idle({&plug}, 60);
    plug.call(effEditClose);
    idle({&plug}, 20);
    const std::map<std::string, long> before = resources();
    ASSERT_FALSE(before.empty()) << "the server answered no X-Resource query";
    for (int i = 0; i < 100; ++i) {
        plug.call(effEditOpen, parent);
        idle({&plug}, 20);  // mapped, exposed, painted, ticked
        plug.call(effEditClose);
    }
    idle({&plug}, 20);
    EXPECT_EQ(resources(), before);
    Window root = 0, up = 0, *children = nullptr;
    unsigned int count = 0;
    XQueryTree(display, host, &root, &up, &children, &count);
    if (children) XFree(children);
    EXPECT_EQ(count, 0u);  // every editor window went with its close
}

TEST_F(X11Editor, TwoInstancesShowTheirEditorsAtTheSameTime) {
    Instance first(library), second(library);
    ASSERT_NE(first.effect, nullptr);
    ASSERT_NE(second.effect, nullptr);
    const Window left = hostWindow(0), right = hostWindow(400);
    first.call(effEditOpen, reinterpret_cast<void*>(static_cast<uintptr_t>(left)));
    second.call(effEditOpen, reinterpret_cast<void*>(static_cast<uintptr_t>(right)));
    idle({&first, &second}, 300);
    EXPECT_TRUE(golden_match("editor-364x538", picture(left))) << "the first editor";
    EXPECT_TRUE(golden_match("editor-364x538", picture(right))) << "the second editor";
    first.call(effEditClose);
    second.call(effEditClose);
}

// A host whose user-interface thread runs a GLib main loop (GLib looked up
// at run time, as the plug-in does) and never calls effEditIdle.
struct GLibHost {
    void* (*loopNew)(void*, int);
    void (*loopRun)(void*);
    void (*loopQuit)(void*);
    unsigned (*timeoutAdd)(unsigned, int (*)(void*), void*);
    void* loop = nullptr;
    Instance* plug = nullptr;
    void* parent = nullptr;
};

template <typename F>
void lookUp(void* library, F* fn, const char* name) {
    *fn = reinterpret_cast<F>(dlsym(library, name));
}

TEST_F(X11Editor, IsDrawnByTheHostsGLibLoopWithoutIdleCalls) {
    // Global, before the editor opens: a GTK host has GLib in the process.
    void* glib = dlopen("libglib-2.0.so.0", RTLD_NOW | RTLD_GLOBAL);
    ASSERT_NE(glib, nullptr) << dlerror();
    GLibHost host{};
    lookUp(glib, &host.loopNew, "g_main_loop_new");
    lookUp(glib, &host.loopRun, "g_main_loop_run");
    lookUp(glib, &host.loopQuit, "g_main_loop_quit");
    lookUp(glib, &host.timeoutAdd, "g_timeout_add");
    ASSERT_TRUE(host.loopNew && host.loopRun && host.loopQuit && host.timeoutAdd);
    Instance plug(library);
    const Window window = hostWindow(0);
    host.plug = &plug;
    host.parent = reinterpret_cast<void*>(static_cast<uintptr_t>(window));
    host.loop = host.loopNew(nullptr, 0);
    // The editor opens from inside the loop, as from a host's menu; 400 ms later the loop ends.
    host.timeoutAdd(
        1,
        [](void* h) {
            auto* g = static_cast<GLibHost*>(h);
            g->plug->call(effEditOpen, g->parent);
            return 0;
        },
        &host);
    host.timeoutAdd(
        400,
        [](void* h) {
            auto* g = static_cast<GLibHost*>(h);
            g->loopQuit(g->loop);
            return 0;
        },
        &host);
    host.loopRun(host.loop);
    EXPECT_TRUE(golden_match("editor-364x538", picture(window)))
        << "the editor was not drawn from the loop";
    plug.call(effEditClose);
}

}  // namespace
