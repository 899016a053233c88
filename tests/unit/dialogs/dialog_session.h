// Every dialog window test's context, with the library's class names, and host.
#pragma once

struct afx_context;
class MBXHost;

struct DialogSession {
    afx_context* ctx = nullptr;
    MBXHost* host = nullptr;
};

bool dialog_session_start(DialogSession* session);
void dialog_session_end(DialogSession* session);
