#include "closer/kovahdcloseprofiletrayapp.h"

#include "closer/trayappcloser.h"

extern "C" int32_t KovaHDCloseProfileTrayApp()
{
    return closer::CloseRunningTrayApps(closer::kPauseAfterClose);
}
