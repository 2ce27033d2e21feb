#pragma once

#include "trayhost/clock.h"
#include "trayhost/devicetable.h"
#include "trayhost/profile/deviceprogresslayout.h"
#include "trayhost/ui/qtmessagetarget.h"
#include "trayhost/ui/userinterface.h"
#include "trayhost/verify/verificationdialogview.h"
#include "trayhost/verify/verificationflags.h"
#include "trayhost/verify/verificationprogress.h"

#include <QDialog>

#include <functional>

namespace trayhost {

// Dialog 130 as it shows a verification of the user playlists, "Kova MP3/Personal Jukebox Verify User
// Playlists": the layout of the profile dialog with the verification's caption and statuses, for one
// run. Modeless and without owner; its rules are VerificationProgress's. The close box and Escape act
// as the button. It destroys itself (deleted later) when the run's rules close it.
class VerificationDialog : public QDialog, private VerificationDialogView {
public:
    struct Collaborators {
        VerificationFlags& flags;
        const DeviceTable& devices;
        Clock& clock;
        UserInterface& userInterface;
        std::function<void()> endProgram;    // destroys the main window
        std::function<void()> onClosed;      // the dialog has closed and is about to be deleted
        std::function<void()> startProfile;  // the profile command
    };

    // The device's model must be one with a name (DeviceModelName).
    VerificationDialog(const DeviceTable::Entry& device, Collaborators collaborators);

    platform::WindowHandle handle() const override { return target_.handle(); }
    VerificationProgress::State state() const { return progress_.state(); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void ShowStatus(const std::string& line) override;
    void ShowButtonText(const std::string& text) override;
    void BringToFront() override;
    void PostStatus(VerifyStatus status) override;
    void Close() override;
    void EndProgram() override;

    Collaborators collaborators_;
    DeviceProgressControls controls_;
    VerificationProgress progress_;
    // Last: messages stop before the rules they reach are destroyed.
    QtMessageTarget target_;
};

}  // namespace trayhost
