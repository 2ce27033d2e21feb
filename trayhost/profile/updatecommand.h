#pragma once

#include "trayhost/busyrules.h"
#include "trayhost/devicetable.h"
#include "trayhost/profilerengine.h"
#include "trayhost/ui/userinterface.h"

namespace trayhost {

// The update command: brings the selected device's help files, then its system files, up to the
// installed copies, on the calling (GUI) thread, and tells the outcome in at most two message
// boxes: the help files' error, then one for the system files. A successful system update after
// failed help files is not announced.
class UpdateCommand {
public:
    UpdateCommand(const DeviceTable& devices, ProfilerEngine& engine, UserInterface& userInterface);

    // Only beeps while the profile or verification dialog is open.
    void Run(const OpenDialogs& open);

private:
    void Update(const DeviceTable::Entry& device);
    // A message box without owner.
    void Tell(const std::string& text, const char* title, uint32_t style);

    const DeviceTable& devices_;
    ProfilerEngine& engine_;
    UserInterface& userInterface_;
};

}  // namespace trayhost
