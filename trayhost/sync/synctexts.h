#pragma once

#include "trayhost/sync/syncsettings.h"

#include <string_view>

// The words the options dialog and the command-line tool use for the sync profile's settings.
namespace trayhost {

// "Synchronize PC and Device", "PC overwrites Device", "Device overwrites PC"; empty for Invalid.
std::string_view SyncOptionLabel(SyncOption option);

// The caption of the clean-up choice under the option; empty where clean-up does not apply
// (both ways, or no valid option).
std::string_view FileCleanupLabel(SyncOption option);

}  // namespace trayhost
