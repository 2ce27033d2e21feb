#include "trayhost/profile/profiledialoglink.h"

#include "engine/kovahddprofiler.h"
#include "trayhost/resources/ids.h"

#include <atomic>

namespace trayhost {

namespace {

std::atomic<platform::WindowHandle>& Slot()
{
    static std::atomic<platform::WindowHandle> dialog{nullptr};
    return dialog;
}

bool SendToDialog(uint32_t message, uintptr_t wParam, intptr_t lParam = 0)
{
    const platform::WindowHandle dialog = ProfileDialogHandle();
    if (!platform::IsWindow(dialog)) return false;
    platform::SendMessage(dialog, message, wParam, lParam);
    return true;
}

}  // namespace

platform::WindowHandle ProfileDialogHandle()
{
    return Slot().load();
}

void SetProfileDialogHandle(platform::WindowHandle dialog)
{
    Slot().store(dialog);
}

void PostProfileReport(int32_t code, int32_t value)
{
    platform::PostMessage(ProfileDialogHandle(), kProfileProgressMessage, static_cast<uint32_t>(code), value);
}

bool SendProfileEngineStopped(int32_t result)
{
    return SendToDialog(kProfileEngineStoppedMessage, 0, result);
}

bool SendProfileRunEnded()
{
    return SendToDialog(kProfileRunEndedMessage, 0);
}

bool SendProfileClose()
{
    return SendToDialog(platform::kWmCommand, static_cast<uintptr_t>(kControlOk));
}

}  // namespace trayhost
