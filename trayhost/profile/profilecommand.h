#pragma once

#include "trayhost/clock.h"
#include "trayhost/devicetable.h"
#include "trayhost/profilerengine.h"
#include "trayhost/ui/dialogslots.h"
#include "trayhost/ui/userinterface.h"

#include <atomic>
#include <functional>
#include <thread>

namespace trayhost {

// The profile command: runs the engine over the selected device on a worker thread while the profile
// dialog shows the run. Busy rules first (DecideProfile).
class ProfileCommand {
public:
    struct Collaborators {
        const DeviceTable& devices;
        DialogSlots& dialogs;
        UserInterface& userInterface;
        ProfilerEngine& engine;
        Clock& clock;
        std::function<void()> endProgram;  // destroys the main window
    };

    explicit ProfileCommand(Collaborators collaborators);
    // Deletes an open dialog and waits for the worker: its engine must be able to return.
    ~ProfileCommand();
    ProfileCommand(const ProfileCommand&) = delete;
    ProfileCommand& operator=(const ProfileCommand&) = delete;

    void Run();

    // True from the start of a worker thread until it has done everything it does.
    bool workerRunning() const { return workerRunning_; }

private:
    void Start(const DeviceTable::Entry& device);
    void StartWorker(char driveLetter);
    void DialogClosed();

    Collaborators collaborators_;
    std::atomic<bool> workerRunning_{false};
    std::thread worker_;
};

}  // namespace trayhost
