#include "trayhost/commanddispatcher.h"

#include <array>

namespace trayhost {

namespace {

struct DeviceCommandRange {
    uint32_t firstId;
    Command command;
};

constexpr std::array kDeviceCommandRanges{
    DeviceCommandRange{kProfileDeviceFirstId, Command::Profile},
    DeviceCommandRange{kUpdateDeviceFirstId, Command::Update},
    DeviceCommandRange{kVerifyDeviceFirstId, Command::Verify},
};

}  // namespace

void CommandDispatcher::SetHandler(Command command, Handler handler)
{
    handlers_[command] = std::move(handler);
}

bool CommandDispatcher::Dispatch(uintptr_t wParam)
{
    const uint32_t notification = static_cast<uint32_t>(wParam >> 16) & 0xFFFF;
    const uint32_t id = static_cast<uint32_t>(wParam) & 0xFFFF;
    if (notification != 0) return false;
    for (const DeviceCommandRange& range : kDeviceCommandRanges) {
        // A device index only reaches as far as the table does: an id past it would select an entry
        // that does not exist.
        if (id >= range.firstId && id < range.firstId + DeviceTable::kCapacity) {
            devices_.Select(static_cast<int32_t>(id - range.firstId));
            return Run(range.command);
        }
    }
    // Ids that are no command have no handler.
    return Run(static_cast<Command>(id));
}

bool CommandDispatcher::Run(Command command)
{
    const auto found = handlers_.find(command);
    if (found == handlers_.end() || !found->second) return false;
    found->second();
    return true;
}

}  // namespace trayhost
