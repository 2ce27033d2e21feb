#include "trayhost/singleinstance.h"

#include "platform/codepage.h"
#include "platform/windowdirectory.h"

namespace trayhost {

namespace {

constexpr std::size_t kComparedTitleBytes = 1024;

}  // namespace

bool IsAnotherInstanceRunning(const std::string& windowName)
{
    const std::string name = windowName.substr(0, kComparedTitleBytes);
    bool found = false;
    platform::EnumTopLevelWindows([&](const platform::TopLevelWindow& window) {
        found = !window.title.empty() && platform::EqualsNoCase(window.title, name);
        return !found;
    });
    return found;
}

}  // namespace trayhost
