#include "trayhost/profile/profiledialog.h"

#include "engine/kovahddprofiler.h"
#include "trayhost/detection/devicemodelnames.h"
#include "trayhost/resources/ids.h"
#include "trayhost/resources/strings.h"
#include "trayhost/ui/appicon.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace trayhost {

namespace {

// Wide enough for the longest status line on two lines.
constexpr int kTextWidth = 420;

QLabel* MakeText(int32_t id, const QString& text)
{
    auto* label = new QLabel(text);
    label->setObjectName(QString::number(id));
    label->setTextFormat(Qt::PlainText);
    return label;
}

QPixmap PictureOf(uint8_t model)
{
    const uint32_t bitmap = model == kModelHd ? kBitmapProfileHd : kBitmapProfilePj;
    return QPixmap(QStringLiteral(":/bitmaps/%1").arg(bitmap));
}

}  // namespace

ProfileDialog::ProfileDialog(const DeviceTable::Entry& device, Collaborators collaborators)
    : collaborators_(std::move(collaborators)), status_(MakeText(kControlProfileStatus, kProfileStatusCaption)),
      button_(new QPushButton),
      progress_(*this, collaborators_.engine, collaborators_.clock, collaborators_.userInterface),
      target_(
          this, [this](const platform::WindowMessage& message) { return progress_.HandleMessage(message); },
          &ProfileProgress::IsScanProgress)
{
    setObjectName(QString::number(kDialogProfile));
    setWindowTitle(QString::fromUtf8(kProfileTitle));
    setWindowFlag(Qt::WindowMinimizeButtonHint, true);
    // Icon 109 is the program's own icon.
    setWindowIcon(AppIcon());

    auto* picture = new QLabel;
    picture->setObjectName(QString::number(kControlProfilePicture));
    picture->setPixmap(PictureOf(device.model));
    picture->setAlignment(Qt::AlignTop);

    const std::string_view name = DeviceModelName(device.model);
    auto* deviceText =
        MakeText(kControlProfileDevice, QString::fromStdString(ProfileDeviceText(name, device.driveLetter)));
    auto* caption = MakeText(kControlProfileCaption, kProfileContentsCaption);
    status_->setWordWrap(true);
    status_->setFixedWidth(kTextWidth);
    button_->setObjectName(QString::number(kControlProfileButton));
    button_->setDefault(true);
    connect(button_, &QPushButton::clicked, this, [this] { progress_.PressButton(); });

    auto* layout = new QGridLayout(this);
    layout->addWidget(picture, 0, 0, 3, 1);
    layout->addWidget(deviceText, 0, 1);
    layout->addWidget(caption, 1, 1);
    layout->addWidget(status_, 2, 1);
    layout->addWidget(button_, 3, 1, Qt::AlignRight);
    layout->setColumnMinimumWidth(1, kTextWidth);

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
    status_->setText(QString::fromStdString(line));
    repaint();
}

void ProfileDialog::ShowButtonText(const std::string& text)
{
    button_->setText(QString::fromStdString(text));
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
