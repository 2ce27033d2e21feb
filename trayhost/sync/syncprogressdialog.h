#pragma once

#include "trayhost/clock.h"
#include "trayhost/devicetable.h"
#include "trayhost/sync/syncdialogview.h"
#include "trayhost/sync/syncprogress.h"
#include "trayhost/ui/qtmessagetarget.h"

#include <QDialog>

#include <functional>

class QLabel;
class QPushButton;

namespace trayhost {

// Dialog 160, "Device Synchronization": the device's picture (1004), its name and drive letter
// (1001), the item line (1030), the status (1000) and the Cancel/Done button (1003), for one sync
// run. Modeless and without owner; its rules are SyncProgress's. The close box and Escape act as the
// button. Its size is fixed, with room for a status of three lines. It destroys itself (deleted later)
// when the run's rules close it.
class SyncProgressDialog : public QDialog, private SyncDialogView {
public:
    struct Collaborators {
        Clock& clock;
        UserInterface& userInterface;
        SyncProgressMailbox& mailbox;
        std::atomic<int32_t>& cancel;
        const SyncSettings& settings;
        std::function<void(char driveLetter)> postProfileCommand;  // the profile command for the device
        std::function<void()> onClosed;            // the dialog has closed and is about to be deleted
    };

    // The device's model must be one with a name (DeviceModelName).
    SyncProgressDialog(const DeviceTable::Entry& device, Collaborators collaborators);

    platform::WindowHandle handle() const override { return target_.handle(); }
    SyncProgress::State state() const { return progress_.state(); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void ShowStatus(const std::string& line) override;
    void ShowPathLine(const std::string& line) override;
    void Repaint() override;
    void ShowButtonText(const std::string& text) override;
    void BringToFront() override;
    void PostNotice(SyncNotice notice) override;
    void PostProfileCommand(char driveLetter) override;
    void Close() override;

    Collaborators collaborators_;
    QLabel* status_;
    QLabel* pathLine_;
    QPushButton* button_;
    SyncProgress progress_;
    // Last: messages stop before the rules they reach are destroyed.
    QtMessageTarget target_;
};

}  // namespace trayhost
