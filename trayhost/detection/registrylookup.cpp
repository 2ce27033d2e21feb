#include "trayhost/detection/registrylookup.h"

#include "trayhost/detection/deviceidentity.h"
#include "trayhost/detection/kovadetection.h"

#include <cstdio>

namespace trayhost {

namespace {

// What DialogBoxParam returns when the dialog cannot be created.
constexpr int32_t kDialogNotShown = -1;

constexpr char kConflictTextFormat[] =
    "WARNING:  A Kova MP3/Personal Jukebox device conflict has been detected for drive letter '%c:'.  "
    "Please select the type of the device currently connected to the system:";
constexpr std::size_t kConflictTextCapacity = 256;

// Registry drive letters may be small letters; anything that is not a capital letter is taken to
// be a small one.
char UpperDriveLetter(char letter)
{
    if (letter >= 'A' && letter <= 'Z') return letter;
    return static_cast<char>(letter - 0x20);
}

bool IsModel(uint8_t model)
{
    return model == kModelHd || model == kModelPj;
}

}  // namespace

void RegistryLookup::Reset()
{
    map_.Clear();
    scanPending_ = true;
}

uint8_t RegistryLookup::Lookup(char letter)
{
    if (scanPending_ && Scan()) scanPending_ = false;
    return map_.ModelOf(letter);
}

bool RegistryLookup::Scan()
{
    const std::optional<std::vector<RegisteredDevice>> devices = platform_.RegisteredDevices();
    if (!devices) return false;
    for (const RegisteredDevice& device : *devices) ProcessInstances(device);
    return true;
}

void RegistryLookup::ProcessInstances(const RegisteredDevice& device)
{
    for (const RegisteredInstance& instance : device.instances) {
        const uint8_t model = ModelFromDeviceDescription(instance.deviceDesc.value_or(""));
        if (model == kModelNone) continue;
        const std::string assignment = instance.currentDriveLetterAssignment.value_or("");
        if (assignment.empty() || assignment[0] == '\0') continue;
        if (!platform_.IsDriveAccessible(std::string(1, assignment[0]) + ":\\")) continue;

        const char letter = UpperDriveLetter(assignment[0]);
        if (!map_.Contains(letter)) {
            map_.Append(letter, model);
            if (map_.IsFull()) return;
            continue;
        }
        ResolveConflicts(letter, model);
    }
}

void RegistryLookup::ResolveConflicts(char letter, uint8_t model)
{
    for (RegistryDeviceEntry& entry : map_.Entries()) {
        if (entry.letter != letter || entry.model == model) continue;
        const DeviceConflictAnswer answer = AskDeviceConflict(letter);
        if (answer.result == kIdCancel) {
            map_.Clear();
            return;
        }
        // The dialog only offers the two models; any other code would reach the callers as a model.
        if (answer.result == kIdOk && IsModel(answer.chosenModel) && answer.chosenModel != entry.model) {
            entry.model = answer.chosenModel;
        }
    }
}

DeviceConflictAnswer RegistryLookup::AskDeviceConflict(char letter)
{
    if (!userInterface_) return {kDialogNotShown, kModelNone};
    char text[kConflictTextCapacity];
    std::snprintf(text, sizeof text, kConflictTextFormat, letter);
    return userInterface_->AskDeviceConflict({letter, text});
}

}  // namespace trayhost
