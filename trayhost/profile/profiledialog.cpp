#include "trayhost/profile/profiledialog.h"

#include "engine/kovahddprofiler.h"
#include "trayhost/resources/strings.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>

namespace trayhost {

ProfileDialog::ProfileDialog(const DeviceTable::Entry& device, Collaborators collaborators)
    : collaborators_(std::move(collaborators)), controls_(LayOutDeviceProgress(*this, device, kProfileContentsCaption)),
      progress_(*this, collaborators_.engine, collaborators_.clock, collaborators_.userInterface),
      target_(
          this, [this](const platform::WindowMessage& message) { return progress_.HandleMessage(message); },
          &ProfileProgress::IsScanProgress)
{
    setWindowTitle(QString::fromUtf8(kProfileTitle));
    connect(controls_.button, &QPushButton::clicked, this, [this] { progress_.PressButton(); });
    progress_.Start();
}

void ProfileDialog::closeEvent(QCloseEvent* event)
{
    event->ignore();
    progress_.PressButton();
}

void ProfileDialog::reject()
{
    progress_.PressButton();
}

void ProfileDialog::ShowStatus(const std::string& line)
{
    controls_.status->setText(QString::fromStdString(line));
    repaint();
}

void ProfileDialog::ShowOutcome(const std::string& line)
{
    controls_.outcome->setText(QString::fromStdString(line));
}

void ProfileDialog::ShowButtonText(const std::string& text)
{
    controls_.button->setText(QString::fromStdString(text));
}

void ProfileDialog::ShowBusyCursor(bool busy)
{
    if (busy) {
        setCursor(Qt::BusyCursor);
    } else {
        unsetCursor();
    }
}

void ProfileDialog::BringToFront()
{
    raise();
    activateWindow();
}

void ProfileDialog::PostReport(int32_t code)
{
    platform::PostMessage(handle(), kProfileProgressMessage, static_cast<uint32_t>(code), 0);
}

void ProfileDialog::Close()
{
    collaborators_.onClosed();
    hide();
    // Deleted once control is back in the event loop: this may run inside one of the dialog's own
    // handlers (its button, its timer, its window procedure).
    deleteLater();
}

void ProfileDialog::EndProgram()
{
    collaborators_.endProgram();
}

}  // namespace trayhost
