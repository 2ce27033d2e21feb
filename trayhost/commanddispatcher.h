#pragma once

#include "trayhost/devicetable.h"
#include "trayhost/resources/ids.h"

#include <cstdint>
#include <functional>
#include <map>

namespace trayhost {

// The main window's command table: one handler per command. Each operation plugs in by setting the
// handler of its command; the per-device submenu commands select their device and then run the
// handler of Profile, Update or Verify.
class CommandDispatcher {
public:
    using Handler = std::function<void()>;

    explicit CommandDispatcher(DeviceTable& devices) : devices_(devices) {}

    void SetHandler(Command command, Handler handler);

    // WM_COMMAND with its first parameter: the command id in the low word, the notification code in
    // the high word. Only notification code 0 is acted on. True when a handler ran; false for
    // anything else, which gets default processing (none).
    bool Dispatch(uintptr_t wParam);

private:
    bool Run(Command command);

    DeviceTable& devices_;
    std::map<Command, Handler> handlers_;
};

}  // namespace trayhost
