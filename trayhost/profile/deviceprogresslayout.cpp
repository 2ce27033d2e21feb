#include "trayhost/profile/deviceprogresslayout.h"

#include "trayhost/detection/devicemodelnames.h"
#include "trayhost/resources/ids.h"
#include "trayhost/resources/strings.h"
#include "trayhost/ui/appicon.h"

#include <QDialog>
#include <QGridLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace trayhost {

namespace {

// Wide enough for the longest status line on two lines.
constexpr int kTextWidth = 420;
constexpr int kStatusLines = 2;

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

DeviceProgressControls LayOutDeviceProgress(QDialog& dialog, const DeviceTable::Entry& device, const char* caption)
{
    dialog.setObjectName(QString::number(kDialogProfile));
    dialog.setWindowFlag(Qt::WindowMinimizeButtonHint, true);
    // Icon 109 is the program's own icon.
    dialog.setWindowIcon(AppIcon());

    auto* picture = new QLabel;
    picture->setObjectName(QString::number(kControlProfilePicture));
    picture->setPixmap(PictureOf(device.model));
    picture->setAlignment(Qt::AlignTop);

    const std::string_view name = DeviceModelName(device.model);
    auto* deviceText =
        MakeText(kControlProfileDevice, QString::fromStdString(ProfileDeviceText(name, device.driveLetter)));
    auto* captionText = MakeText(kControlProfileCaption, QString::fromUtf8(caption));
    auto* status = MakeText(kControlProfileStatus, kProfileStatusCaption);
    status->setWordWrap(true);
    status->setFixedWidth(kTextWidth);
    // Room for two lines at the top, so that the window keeps its size as the status changes.
    status->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    status->setMinimumHeight(status->fontMetrics().lineSpacing() * kStatusLines);
    // A line of this program's own, without an id of the dialog's.
    auto* outcome = new QLabel;
    outcome->setObjectName(QStringLiteral("outcome"));
    outcome->setTextFormat(Qt::PlainText);
    outcome->setMinimumHeight(outcome->fontMetrics().lineSpacing());
    auto* button = new QPushButton;
    button->setObjectName(QString::number(kControlProfileButton));
    button->setDefault(true);

    auto* layout = new QGridLayout(&dialog);
    layout->addWidget(picture, 0, 0, 3, 1);
    layout->addWidget(deviceText, 0, 1);
    layout->addWidget(captionText, 1, 1);
    layout->addWidget(status, 2, 1);
    layout->addWidget(outcome, 3, 1);
    layout->addWidget(button, 4, 1, Qt::AlignRight);
    layout->setColumnMinimumWidth(1, kTextWidth);
    // Neither maximised nor dragged larger: the picture would stay in its corner while the texts
    // drifted apart from it.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    return {status, outcome, button};
}

}  // namespace trayhost
