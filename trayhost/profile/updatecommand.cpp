#include "trayhost/profile/updatecommand.h"

#include "platform/sound.h"
#include "trayhost/profile/updatetexts.h"

namespace trayhost {

UpdateCommand::UpdateCommand(const DeviceTable& devices, ProfilerEngine& engine, UserInterface& userInterface)
    : devices_(devices), engine_(engine), userInterface_(userInterface)
{
}

void UpdateCommand::Run(const OpenDialogs& open)
{
    if (open.IsOpen(DialogSlot::Profile) || open.IsOpen(DialogSlot::Verification)) {
        userInterface_.MessageBeep(platform::kBeepExclamation);
        return;
    }
    const DeviceTable::Entry* device = devices_.SelectedEntry();
    if (!device) {
        Tell(kNoDeviceUpdateText, kNoDeviceUpdateTitle, kMbOk | kMbIconExclamation);
        return;
    }
    Update(*device);
}

void UpdateCommand::Update(const DeviceTable::Entry& device)
{
    const bool helpUpdated = engine_.UpdateHelpFiles(device.driveLetter) == kUpdateDone;
    if (!helpUpdated) Tell(kHelpFilesFailedText, kUpdateErrorTitle, kMbOk);

    const int32_t systemResult = engine_.UpdateSystemFiles(device.driveLetter, device.model);
    if (systemResult == kUpdateDeviceFilesNewer) {
        Tell(NewerSystemFilesText(device.model, SupportAddress()), kUpdateNoticeTitle, kMbOk | kMbIconInformation);
    } else if (systemResult == kUpdateDone) {
        if (helpUpdated) {
            Tell(SystemFilesUpdatedText(device.model, device.driveLetter), kUpdateNoticeTitle,
                 kMbOk | kMbIconInformation);
        }
    } else {
        Tell(kSystemFilesFailedText, kUpdateErrorTitle, kMbOk);
    }
}

void UpdateCommand::Tell(const std::string& text, const char* title, uint32_t style)
{
    userInterface_.MessageBox(nullptr, text, title, style);
}

}  // namespace trayhost
