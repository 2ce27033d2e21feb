#include "trayhost/syncui/syncuiicons.h"

#include "trayhost/syncui/syncuiids.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>

namespace trayhost {

namespace {

struct IconSource {
    uint32_t id;
    const char* themeName;
    QStyle::StandardPixmap fallback;
};

constexpr int kPictureIconSize = 16;
constexpr int kPictureArrowWidth = 20;

constexpr IconSource kIconSources[] = {
    {kIconBrowserDrive, "drive-removable-media", QStyle::SP_DriveHDIcon},
    {kIconBrowserFolder, "folder", QStyle::SP_DirClosedIcon},
    {kIconBrowserOpenFolder, "folder-open", QStyle::SP_DirOpenIcon},
    {kIconBrowserFile, "text-x-generic", QStyle::SP_FileIcon},
    {kIconBrowserNoDevice, "dialog-warning", QStyle::SP_MessageBoxWarning},
    {kIconBrowserNewFolder, "folder-new", QStyle::SP_FileDialogNewFolder},
};

QIcon ThemedIcon(const char* themeName, QStyle::StandardPixmap fallback)
{
    return QIcon::fromTheme(QString::fromLatin1(themeName), QApplication::style()->standardIcon(fallback));
}

// An arrow across the rectangle's middle, with a head at the right end, the left end or both.
void DrawArrow(QPainter& painter, const QRectF& area, bool headRight, bool headLeft)
{
    const qreal y = area.center().y();
    const qreal head = area.height() / 4;
    painter.drawLine(QPointF(area.left() + 1, y), QPointF(area.right() - 1, y));
    QPainterPath heads;
    if (headRight) {
        heads.moveTo(area.right() - 1 - head, y - head);
        heads.lineTo(area.right() - 1, y);
        heads.lineTo(area.right() - 1 - head, y + head);
    }
    if (headLeft) {
        heads.moveTo(area.left() + 1 + head, y - head);
        heads.lineTo(area.left() + 1, y);
        heads.lineTo(area.left() + 1 + head, y + head);
    }
    painter.drawPath(heads);
}

}  // namespace

QIcon SyncUiIcon(uint32_t iconId)
{
    for (const IconSource& source : kIconSources) {
        if (source.id == iconId) {
            return QIcon::fromTheme(QString::fromLatin1(source.themeName),
                                    QApplication::style()->standardIcon(source.fallback));
        }
    }
    return {};
}

QPixmap SyncOptionPicture(SyncOption option)
{
    const qreal ratio = qApp->devicePixelRatio();
    QPixmap picture(QSize(2 * kPictureIconSize + kPictureArrowWidth, kPictureIconSize) * ratio);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const QSize iconSize(kPictureIconSize, kPictureIconSize);
    painter.drawPixmap(0, 0, ThemedIcon("computer", QStyle::SP_ComputerIcon).pixmap(iconSize));
    painter.drawPixmap(kPictureIconSize + kPictureArrowWidth, 0,
                       SyncUiIcon(kIconBrowserDrive).pixmap(iconSize));
    painter.setPen(QPen(QApplication::palette().color(QPalette::WindowText), 1.5));
    DrawArrow(painter, QRectF(kPictureIconSize, 0, kPictureArrowWidth, kPictureIconSize),
              option != SyncOption::DeviceToPc, option != SyncOption::PcToDevice);
    return picture;
}

}  // namespace trayhost
