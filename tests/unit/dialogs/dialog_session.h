// What every test of the dialog window starts from and ends with, on either
// window backend: the toolkit's context with the library's class names, and
// one reference on the dialog host.
#pragma once

struct afx_context;
class MBXHost;

struct DialogSession {
    afx_context* ctx = nullptr;
    MBXHost* host = nullptr;
};

// Creates the context and takes the host; false when either cannot be made.
bool dialog_session_start(DialogSession* session);
// Gives the host back, closes every window and frees the context.
void dialog_session_end(DialogSession* session);
