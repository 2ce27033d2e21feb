#include "trayhost/sync/syncprogressdialog.h"

#include "trayhost/detection/devicemodelnames.h"
#include "trayhost/resources/ids.h"
#include "trayhost/resources/strings.h"
#include "trayhost/sync/syncruntexts.h"
#include "trayhost/ui/appicon.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace trayhost {

namespace {

// Wide enough for the status with a path on two lines.
constexpr int kTextWidth = 420;
// The count's line and a path of two.
constexpr int kStatusLines = 3;

QLabel* MakeText(int32_t id, const QString& text)
{
    auto* label = new QLabel(text);
    label->setObjectName(QString::number(id));
    label->setTextFormat(Qt::PlainText);
    label->setFixedWidth(kTextWidth);
    return label;
}

QPixmap PictureOf(uint8_t model)
{
    const uint32_t bitmap = model == kModelHd ? kBitmapProfileHd : kBitmapProfilePj;
    return QPixmap(QStringLiteral(":/bitmaps/%1").arg(bitmap));
}

// A text as the label shows it, its CR LF a line break.
QString Shown(const std::string& text)
{
    return QString::fromStdString(text).replace("\r\n", "\n");
}

}  // namespace

SyncProgressDialog::SyncProgressDialog(const DeviceTable::Entry& device, Collaborators collaborators)
    : collaborators_(std::move(collaborators)), status_(MakeText(kControlSyncProgressStatus, "Status:")),
      pathLine_(MakeText(kControlSyncProgressPathLine, kSyncPathCaption)), button_(new QPushButton),
      progress_({*this, collaborators_.mailbox, collaborators_.clock, collaborators_.userInterface,
                 collaborators_.cancel, collaborators_.settings}),
      target_(
          this, [this](const platform::WindowMessage& message) { return progress_.HandleMessage(message); },
          &SyncProgress::IsEntryNotice)
{
    setObjectName(QString::number(kDialogSyncProgress));
    setWindowTitle(QString::fromUtf8(kSyncDialogTitle));
    setWindowFlag(Qt::WindowMinimizeButtonHint, true);
    // Icon 109 is the program's own icon.
    setWindowIcon(AppIcon());

    auto* picture = new QLabel;
    picture->setObjectName(QString::number(kControlSyncProgressPicture));
    picture->setPixmap(PictureOf(device.model));
    picture->setAlignment(Qt::AlignTop);

    const std::string_view name = DeviceModelName(device.model);
    auto* deviceText =
        MakeText(kControlSyncProgressDevice, QString::fromStdString(ProfileDeviceText(name, device.driveLetter)));
    pathLine_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    status_->setWordWrap(true);
    // Room for the lines at the top, so that the window keeps its size as the status changes.
    status_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    status_->setMinimumHeight(status_->fontMetrics().lineSpacing() * kStatusLines);
    button_->setObjectName(QString::number(kControlSyncProgressButton));
    button_->setDefault(true);
    connect(button_, &QPushButton::clicked, this, [this] { progress_.PressButton(); });

    auto* layout = new QGridLayout(this);
    layout->addWidget(picture, 0, 0, 3, 1);
    layout->addWidget(deviceText, 0, 1);
    layout->addWidget(pathLine_, 1, 1);
    layout->addWidget(status_, 2, 1);
    layout->addWidget(button_, 3, 1, Qt::AlignHCenter);
    // Neither maximised nor dragged larger: the picture would stay in its corner while the texts
    // drifted apart from it.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    progress_.Start();
}

void SyncProgressDialog::closeEvent(QCloseEvent* event)
{
    event->ignore();
    progress_.PressButton();
}

void SyncProgressDialog::reject()
{
    progress_.PressButton();
}

void SyncProgressDialog::ShowStatus(const std::string& line)
{
    status_->setText(Shown(line));
}

void SyncProgressDialog::ShowPathLine(const std::string& line)
{
    pathLine_->setText(Shown(line));
}

void SyncProgressDialog::Repaint()
{
    repaint();
}

void SyncProgressDialog::ShowButtonText(const std::string& text)
{
    button_->setText(QString::fromStdString(text));
}

void SyncProgressDialog::BringToFront()
{
    raise();
    activateWindow();
}

void SyncProgressDialog::PostNotice(SyncNotice notice)
{
    platform::PostMessage(handle(), kSyncProgressMessage, static_cast<uintptr_t>(notice), 0);
}

void SyncProgressDialog::PostProfileCommand(char driveLetter)
{
    collaborators_.postProfileCommand(driveLetter);
}

void SyncProgressDialog::Close()
{
    collaborators_.onClosed();
    hide();
    // Deleted once control is back in the event loop: this may run inside one of the dialog's own
    // handlers (its button, its timers, its window procedure).
    deleteLater();
}

}  // namespace trayhost
