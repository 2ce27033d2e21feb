#include "trayhost/libraryprofilerengine.h"

namespace trayhost {

int32_t LibraryProfilerEngine::Synchronize(char driveLetter, KovaProgressCallback callback, void* window)
{
    return KOVAHDDProfilerSyncronize(driveLetter, callback, window);
}

void LibraryProfilerEngine::CancelSynchronize()
{
    KOVAHDDProfilerCancelSyncronize();
}

int32_t LibraryProfilerEngine::UpdateHelpFiles(char driveLetter)
{
    return KOVAHDDUpdateHelpFiles(driveLetter);
}

int32_t LibraryProfilerEngine::UpdateSystemFiles(char driveLetter, uint8_t model)
{
    return KOVAHDDUpdateSystemFiles(driveLetter, model);
}

KovaRunSummary LibraryProfilerEngine::RunSummary()
{
    KovaRunSummary summary{};
    KOVAHDDProfilerGetRunSummary(&summary);
    return summary;
}

}  // namespace trayhost
