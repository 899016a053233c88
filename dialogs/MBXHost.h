// MBXHost: the library's one dialog host. Every open editor holds a
// reference; the host owns the frameless dialog window (the About box) that
// any editor can open and that a press in any editor closes.
#pragma once

#include <cstdint>

class MBXHost {
public:
    // Takes one reference on the host, creating it (reference count 1) under
    // the process-wide lock when none exists. Null when it cannot be made.
    static MBXHost* acquire();
    // The current host without taking a reference or locking; null when none.
    static MBXHost* current();

    // Gives back one reference; the last one closes the window and frees the host.
    void release();

    // Opens the dialog window with the About box; nothing while one shows.
    void openAbout();
    // Closes the dialog window if it shows.
    void close();
    bool isShowing() const { return showing; }

private:
    MBXHost() = default;
    ~MBXHost();

    int32_t refCount = 1;
    bool showing = false;
};
