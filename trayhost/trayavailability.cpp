#include "trayhost/trayavailability.h"

namespace trayhost {

TrayAvailability::Action TrayAvailability::Observe(bool trayAvailable)
{
    const bool cameBack = seen_ && !available_ && trayAvailable;
    seen_ = true;
    available_ = trayAvailable;
    if (cameBack) return Action::AddIconAgain;
    if (!trayAvailable && !reported_) {
        reported_ = true;
        return Action::ReportMissing;
    }
    return Action::None;
}

}  // namespace trayhost
