#pragma once

#include "trayhost/clock.h"
#include "trayhost/profilerengine.h"
#include "trayhost/ui/userinterface.h"

#include <chrono>
#include <cstdint>
#include <optional>

namespace trayhost {

// What the profile worker thread does: runs the engine over one device with the progress callback
// and the profile dialog's handle, then ends the run in the dialog by the engine's result and tells
// the person what went wrong. Everything it does to the dialog goes through its window handle.
class ProfileWorker {
public:
    // After a cancelled run the dialog stays this long, showing the cancel, before it closes.
    static constexpr std::chrono::milliseconds kCloseDelay{1500};

    ProfileWorker(ProfilerEngine& engine, UserInterface& userInterface, Clock& clock);

    // Runs on the worker thread. Result -1: the dialog closes after kCloseDelay. Otherwise the run's
    // messages come first, then Done, the dialog keeping the engine's last status: for result 0 the
    // failure message and status code 6, for an exception its message. The last message tells every
    // playlist the engine did not put on the device and why, and the songs whose names the player
    // cannot address.
    void Run(char driveLetter);

private:
    static void OnEngineReport(int32_t code, int32_t value);
    // The engine's result; empty when the engine threw.
    std::optional<int32_t> RunEngine(char driveLetter);
    // The message of a run that failed (result 0) or threw (empty); nothing for other results.
    void TellWhatWentWrong(std::optional<int32_t> result);
    void WarnOfWhatThePlayerLacks();

    ProfilerEngine& engine_;
    UserInterface& userInterface_;
    Clock& clock_;
};

}  // namespace trayhost
