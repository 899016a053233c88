// Hosts differ in how often they call the editor's idle: some 30 to 60 times
// a second, some a few times a second, some not at all while their own
// dialogs or menus are up. An editor run only from idle calls would then
// answer the pointer late and tick irregularly. Most Linux hosts run a GLib
// main loop on their user-interface thread (GTK hosts, Qt hosts with Qt's
// default GLib dispatcher, hosts built on SWELL or JUCE's GTK parts). When
// the thread that opens an editor owns the process's default GLib context,
// the backend adds a timeout source to it that runs the same idle work on
// that thread. GLib is looked up in the process at run time, never linked:
// a host without it simply has no such source, and the idle call remains.
#include <dlfcn.h>

#include "afx/platform/x11/afxp_x11.h"

namespace {

// Twice as often as the editor's tick, so that a tick is never late by
// more than half its period and pointer input is answered within 20 ms.
constexpr unsigned kSourcePeriodMs = 20;

typedef int (*glib_callback)(void* user);
struct glib_api {
    void* (*context_default)();
    int (*context_is_owner)(void* context);
    void* (*timeout_source_new)(unsigned interval_ms);
    void (*source_set_callback)(void* source, glib_callback fn, void* user, void (*notify)(void*));
    unsigned (*source_attach)(void* source, void* context);
    void (*source_destroy)(void* source);
    void (*source_unref)(void* source);
};

void* g_source = nullptr;

template <typename F>
bool look_up(F* fn, const char* name) {
    *fn = reinterpret_cast<F>(dlsym(RTLD_DEFAULT, name));
    return *fn != nullptr;
}

bool glib_in_process(glib_api* g) {
    return look_up(&g->context_default, "g_main_context_default") &&
           look_up(&g->context_is_owner, "g_main_context_is_owner") &&
           look_up(&g->timeout_source_new, "g_timeout_source_new") &&
           look_up(&g->source_set_callback, "g_source_set_callback") &&
           look_up(&g->source_attach, "g_source_attach") &&
           look_up(&g->source_destroy, "g_source_destroy") &&
           look_up(&g->source_unref, "g_source_unref");
}

int on_source(void*) {
    afxp_idle();
    return 1;  // keep the source
}

}  // namespace

void x11_loop_source_add() {
    glib_api g{};
    if (g_source || !glib_in_process(&g)) return;
    void* context = g.context_default();
    if (!context || !g.context_is_owner(context)) return;
    void* source = g.timeout_source_new(kSourcePeriodMs);
    if (!source) return;
    g.source_set_callback(source, on_source, nullptr, nullptr);
    g.source_attach(source, context);
    g_source = source;
}

void x11_loop_source_remove() {
    glib_api g{};
    if (!g_source || !glib_in_process(&g)) return;
    // Before the library can go: the loop must never call into unloaded code.
    g.source_destroy(g_source);
    g.source_unref(g_source);
    g_source = nullptr;
}
