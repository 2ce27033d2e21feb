// The functions the engine library exports; each hands over to the engine's own code.

#include "engine/kovahddprofiler.h"

#include "engine/api/cancelflag.h"
#include "engine/api/utility.h"
#include "engine/profile/profilerun.h"
#include "engine/profile/runsummary.h"
#include "engine/scan/devicescanner.h"
#include "engine/tagcache/tagcachestore.h"
#include "engine/update/helpfileupdate.h"
#include "engine/update/systemfileupdate.h"

#include <cstdio>

KOVAHDD_API int32_t KOVAHDDProfilerSyncronize(char driveLetter, KovaProgressCallback callback, void* window)
{
    char root[3];
    std::snprintf(root, sizeof root, "%c:", driveLetter);
    return KOVAHDDProfilerSyncronize(root, callback, window);
}

KOVAHDD_API int32_t KOVAHDDProfilerSyncronize(const char* root, KovaProgressCallback callback, void* window)
{
    return engine::RunProfile(root, callback, window);
}

extern "C" {

KOVAHDD_API void KOVAHDDProfilerCancelSyncronize()
{
    engine::CancelFlag() = 1;
}

KOVAHDD_API void KOVAHDDProfilerResetCancel()
{
    engine::CancelFlag() = 0;
}

KOVAHDD_API int32_t KOVAHDDProfilerGetFileExtension(char* path, char* extension)
{
    return engine::GetFileExtension(path, extension);
}

KOVAHDD_API int32_t KOVAHDDIsDevicePresent(char* root)
{
    return engine::IsDevicePresent(root);
}

KOVAHDD_API int32_t KOVAHDDGetNumFilesOnDevice(const char* root, int* count)
{
    return engine::GetNumFilesOnDevice(root, count);
}

KOVAHDD_API int32_t KOVAHDDUpdateSystemFiles(char driveLetter, unsigned char model)
{
    return engine::UpdateSystemFiles(driveLetter, model);
}

KOVAHDD_API int32_t KOVAHDDUpdateHelpFiles(char driveLetter)
{
    return engine::UpdateHelpFiles(driveLetter);
}

KOVAHDD_API int32_t KOVAHDDProfilerGetRunSummary(KovaRunSummary* summary)
{
    if (!summary) return 0;
    *summary = engine::LastRunSummary();
    return 1;
}

KOVAHDD_API void KOVAHDDProfilerUseTagCache(int32_t use)
{
    engine::TagCacheInUse() = use != 0;
}

}  // extern "C"
