#include "trayhost/ui/trayicon.h"

#include "trayhost/resources/strings.h"

namespace trayhost {

namespace {

// Qt has no signal for a tray that appears or goes away: it is looked for this often.
constexpr int kTrayWatchIntervalMs = 2000;

}  // namespace

TrayIcon::TrayIcon(const QIcon& icon, ClickHandler onClick, std::ostream& diagnostics)
    : icon_(icon), diagnostics_(diagnostics)
{
    icon_.setToolTip(QString::fromUtf8(kTrayTooltip));
    QObject::connect(&icon_, &QSystemTrayIcon::activated, &icon_,
                     [onClick = std::move(onClick)](QSystemTrayIcon::ActivationReason reason) {
                         if (const auto mouse = MouseMessageOf(reason)) onClick(*mouse);
                     });
    watch_.setInterval(kTrayWatchIntervalMs);
    QObject::connect(&watch_, &QTimer::timeout, &icon_, [this] { CheckDesktopTray(); });
}

void TrayIcon::Add()
{
    icon_.show();
    CheckDesktopTray();
    watch_.start();
}

void TrayIcon::Remove()
{
    watch_.stop();
    icon_.hide();
}

void TrayIcon::CheckDesktopTray()
{
    switch (availability_.Observe(QSystemTrayIcon::isSystemTrayAvailable())) {
    case TrayAvailability::Action::ReportMissing:
        diagnostics_ << "KOVAHDDProfilerTrayApp: the desktop has no notification area (system tray); "
                        "the icon appears when one starts.\n"
                     << std::flush;
        break;
    case TrayAvailability::Action::AddIconAgain:
        icon_.hide();
        icon_.show();
        break;
    case TrayAvailability::Action::None:
        break;
    }
}

std::optional<MouseMessage> TrayIcon::MouseMessageOf(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        return MouseMessage::LeftButtonUp;
    case QSystemTrayIcon::DoubleClick:
        return MouseMessage::LeftButtonDoubleClick;
    case QSystemTrayIcon::Context:
        return MouseMessage::RightButtonUp;
    case QSystemTrayIcon::MiddleClick:
        return MouseMessage::MiddleButtonUp;
    default:
        return std::nullopt;
    }
}

}  // namespace trayhost
