#pragma once

#include "trayhost/clock.h"
#include "trayhost/devicetable.h"
#include "trayhost/profilerengine.h"
#include "trayhost/ui/dialogslots.h"
#include "trayhost/ui/userinterface.h"
#include "trayhost/verify/verificationdialoglink.h"
#include "trayhost/verify/verificationflags.h"

#include <atomic>
#include <functional>
#include <thread>

namespace trayhost {

// The verify command: checks the user playlists of the selected device on a worker thread while the
// verification dialog shows the run, and offers a profile when the dialog closes after playlists
// changed. Busy rules first (DecideVerify).
class VerifyCommand {
public:
    struct Collaborators {
        const DeviceTable& devices;
        DialogSlots& dialogs;
        UserInterface& userInterface;
        ProfilerEngine& engine;
        Clock& clock;
        std::function<void()> endProgram;    // destroys the main window
        std::function<void()> startProfile;  // the profile command
    };

    explicit VerifyCommand(Collaborators collaborators);
    // Deletes an open dialog (without the profile offer) and waits for the worker.
    ~VerifyCommand();
    VerifyCommand(const VerifyCommand&) = delete;
    VerifyCommand& operator=(const VerifyCommand&) = delete;

    void Run();

    // True from the start of a worker thread until it has done everything it does.
    bool workerRunning() const { return workerRunning_; }

private:
    void Start(const DeviceTable::Entry& device);
    void StartWorker(char driveLetter);
    void DialogClosed();

    Collaborators collaborators_;
    VerificationFlags flags_;
    VerificationDialogLink link_;
    std::atomic<bool> workerRunning_{false};
    std::thread worker_;
};

}  // namespace trayhost
