#pragma once

#include "trayhost/clock.h"
#include "trayhost/devicetable.h"
#include "trayhost/profile/deviceprogresslayout.h"
#include "trayhost/profile/profiledialogview.h"
#include "trayhost/profile/profileprogress.h"
#include "trayhost/profilerengine.h"
#include "trayhost/ui/qtmessagetarget.h"
#include "trayhost/ui/userinterface.h"

#include <QDialog>

#include <functional>

namespace trayhost {

// Dialog 130, "Kova MP3/Personal Jukebox Profiler": the device's picture (1004), its name and drive
// letter (1001), the status (1000) and the Cancel/Done button (1003), for one profile run. Modeless
// and without owner; its rules are ProfileProgress's. The close box and Escape act as the button.
// It destroys itself (deleted later) when the run's rules close it.
class ProfileDialog : public QDialog, private ProfileDialogView {
public:
    struct Collaborators {
        ProfilerEngine& engine;
        Clock& clock;
        UserInterface& userInterface;
        std::function<void()> endProgram;  // destroys the main window
        std::function<void()> onClosed;    // the dialog has closed and is about to be deleted
    };

    // The device's model must be one with a name (DeviceModelName).
    ProfileDialog(const DeviceTable::Entry& device, Collaborators collaborators);

    platform::WindowHandle handle() const override { return target_.handle(); }
    ProfileProgress::State state() const { return progress_.state(); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void ShowStatus(const std::string& line) override;
    void ShowOutcome(const std::string& line) override;
    void ShowButtonText(const std::string& text) override;
    void ShowBusyCursor(bool busy) override;
    void BringToFront() override;
    void PostReport(int32_t code) override;
    void Close() override;
    void EndProgram() override;

    Collaborators collaborators_;
    DeviceProgressControls controls_;
    ProfileProgress progress_;
    // Last: messages stop before the rules they reach are destroyed.
    QtMessageTarget target_;
};

}  // namespace trayhost
