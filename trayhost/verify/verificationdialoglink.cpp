#include "trayhost/verify/verificationdialoglink.h"

#include "trayhost/resources/ids.h"

namespace trayhost {

void VerificationDialogLink::ShowStatus(VerifyStatus status, const std::string& fileName)
{
    const intptr_t name = fileName.empty() ? 0 : reinterpret_cast<intptr_t>(fileName.c_str());
    Send(kVerifyStatusMessage, static_cast<uintptr_t>(status), name);
}

void VerificationDialogLink::SendRunEnded()
{
    Send(kVerifyRunEndedMessage, 0, 0);
}

void VerificationDialogLink::SendClose()
{
    Send(platform::kWmCommand, static_cast<uintptr_t>(kControlOk), 0);
}

void VerificationDialogLink::Send(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    platform::SendMessage(dialog_.load(), message, wParam, lParam);
}

}  // namespace trayhost
