// The shared dialog host: reference counting and the process-wide accessor.
// The dialog window itself arrives with the dialog framework.
#include "dialogs/MBXHost.h"

#include <new>

namespace {
MBXHost* sharedHost = nullptr;
}

MBXHost* MBXHost::acquire() {
    if (sharedHost) {
        ++sharedHost->refCount;
        return sharedHost;
    }
    sharedHost = new (std::nothrow) MBXHost();
    return sharedHost;
}

MBXHost* MBXHost::current() { return sharedHost; }

void MBXHost::release() {
    if (--refCount > 0) return;
    if (sharedHost == this) sharedHost = nullptr;
    delete this;
}

MBXHost::~MBXHost() { close(); }

void MBXHost::openAbout() {}

void MBXHost::close() { showing = false; }
