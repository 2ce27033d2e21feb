#include "trayhost/sync/massdeletion.h"

namespace trayhost {

bool IsMassDeletion(std::size_t deletions, std::size_t files)
{
    if (deletions == 0) return false;
    if (deletions >= files) return true;
    return files >= kMassDeletionLeastFiles && static_cast<double>(deletions) > kMassDeletionShare * static_cast<double>(files);
}

}  // namespace trayhost
