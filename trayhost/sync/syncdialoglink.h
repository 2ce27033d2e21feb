#pragma once

#include "platform/messages.h"
#include "trayhost/sync/syncprogressmailbox.h"
#include "trayhost/sync/syncrunview.h"

#include <atomic>

namespace trayhost {

// The sync progress dialog (160) as the worker thread reaches it: through its window handle, which
// the dialog sets when it opens and clears when it is destroyed; anything sent after that goes
// nowhere. Status notices are sent and shown before the call returns; per-entry notices go through
// the mailbox and a progress message, which the dialog's window handle keeps down to one waiting.
class SyncDialogLink : public SyncRunView {
public:
    explicit SyncDialogLink(SyncProgressMailbox& mailbox) : mailbox_(mailbox) {}

    // GUI thread.
    void SetDialog(platform::WindowHandle dialog) { dialog_ = dialog; }
    platform::WindowHandle dialog() const { return dialog_; }

    void Notice(SyncNotice notice, const SyncCounts& counts = {}) override;
    // The dialog counts; it does not list single entries.
    void Performed(const SyncAction&) override {}
    WindowHandle owner() const override { return dialog_; }
    // Command 1.
    void Close() override;

    void BringToFront();
    // The button becomes "Done".
    void ShowDone();
    // Notice 10, behind what the dialog still has to handle.
    void PostComplete();

private:
    void Send(uint32_t message, uintptr_t wParam, intptr_t lParam = 0);

    SyncProgressMailbox& mailbox_;
    std::atomic<platform::WindowHandle> dialog_{nullptr};
};

}  // namespace trayhost
