#include "trayhost/detection/registrydevicemap.h"

#include "trayhost/detection/kovadetection.h"

#include <algorithm>

namespace trayhost {

void RegistryDeviceMap::Clear()
{
    entries_.fill({kUnusedLetter, kModelNone});
    count_ = 0;
}

bool RegistryDeviceMap::Contains(char letter) const
{
    return std::ranges::any_of(Entries(), [letter](const RegistryDeviceEntry& entry) { return entry.letter == letter; });
}

bool RegistryDeviceMap::Append(char letter, uint8_t model)
{
    if (IsFull()) return false;
    entries_[count_++] = {letter, model};
    return true;
}

uint8_t RegistryDeviceMap::ModelOf(char letter) const
{
    for (const RegistryDeviceEntry& entry : Entries()) {
        if (entry.letter == letter) return entry.model;
    }
    return kModelNone;
}

}  // namespace trayhost
