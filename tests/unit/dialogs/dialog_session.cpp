#include "dialog_session.h"

#include "afx/afx_context.h"
#include "dialogs/MBXHost.h"

bool dialog_session_start(DialogSession* session) {
    session->ctx = afx_context_get(true);
    if (!session->ctx) return false;
    afx_set_class_base(session->ctx, "27D706069AC8");
    session->host = MBXHost::acquire();
    return session->host != nullptr;
}

void dialog_session_end(DialogSession* session) {
    if (session->host) session->host->release();
    session->host = nullptr;
    if (session->ctx) {
        afx_destroy_all(session->ctx);
        afx_context_release(session->ctx);
        afx_context_free(session->ctx);
    }
    session->ctx = nullptr;
}
