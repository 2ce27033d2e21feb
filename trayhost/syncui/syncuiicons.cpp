#include "trayhost/syncui/syncuiicons.h"

#include "trayhost/syncui/syncuiids.h"

#include <QApplication>
#include <QStyle>

namespace trayhost {

namespace {

struct IconSource {
    uint32_t id;
    const char* themeName;
    QStyle::StandardPixmap fallback;
};

constexpr IconSource kIconSources[] = {
    {kIconBrowserDrive, "drive-removable-media", QStyle::SP_DriveHDIcon},
    {kIconBrowserFolder, "folder", QStyle::SP_DirClosedIcon},
    {kIconBrowserOpenFolder, "folder-open", QStyle::SP_DirOpenIcon},
    {kIconBrowserFile, "text-x-generic", QStyle::SP_FileIcon},
    {kIconBrowserNoDevice, "dialog-warning", QStyle::SP_MessageBoxWarning},
    {kIconBrowserNewFolder, "folder-new", QStyle::SP_FileDialogNewFolder},
};

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

}  // namespace trayhost
