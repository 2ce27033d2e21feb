#include "trayhost/verify/verificationdialog.h"

#include "platform/codepage.h"
#include "trayhost/resources/ids.h"
#include "trayhost/verify/verifytexts.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>

namespace trayhost {

VerificationDialog::VerificationDialog(const DeviceTable::Entry& device, Collaborators collaborators)
    : collaborators_(std::move(collaborators)), controls_(LayOutDeviceProgress(*this, device, kVerifyCaption)),
      progress_({*this, collaborators_.flags, collaborators_.devices, collaborators_.clock,
                 collaborators_.userInterface, collaborators_.startProfile}),
      target_(this, [this](const platform::WindowMessage& message) { return progress_.HandleMessage(message); })
{
    setWindowTitle(QString::fromUtf8(kVerifyTitle));
    connect(controls_.button, &QPushButton::clicked, this, [this] { progress_.PressButton(); });
    progress_.Start();
}

void VerificationDialog::closeEvent(QCloseEvent* event)
{
    event->ignore();
    progress_.PressButton();
}

void VerificationDialog::reject()
{
    progress_.PressButton();
}

void VerificationDialog::ShowStatus(const std::string& line)
{
    controls_.status->setText(QString::fromStdString(platform::CodePage::System().ToUtf8(line)));
    repaint();
}

void VerificationDialog::ShowButtonText(const std::string& text)
{
    controls_.button->setText(QString::fromStdString(text));
}

void VerificationDialog::BringToFront()
{
    raise();
    activateWindow();
}

void VerificationDialog::PostStatus(VerifyStatus status)
{
    platform::PostMessage(handle(), kVerifyStatusMessage, static_cast<uintptr_t>(status), 0);
}

void VerificationDialog::Close()
{
    collaborators_.onClosed();
    hide();
    // Deleted once control is back in the event loop: this may run inside one of the dialog's own
    // handlers (its button, its timer, its window procedure).
    deleteLater();
}

void VerificationDialog::EndProgram()
{
    collaborators_.endProgram();
}

}  // namespace trayhost
