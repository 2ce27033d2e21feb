// libFuzzer target for the sync state file reader: any bytes are either refused or give records
// that are written and read back unchanged. Also run over mutated inputs by syncstatetest.cpp.

#include "trayhost/sync/syncstate.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    trayhost::SyncSettings settings;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (!trayhost::ParseSyncState(bytes, settings.stateMap)) return 0;
    // Every record belongs to the one item, so that all of them are written.
    trayhost::SyncItem& item = settings.items.emplace_back();
    for (const auto& [key, record] : settings.stateMap) {
        if (record.path.size() > 260 || trayhost::SyncRecordMap::KeyOf(record.path) != key) __builtin_trap();
        item.pcFiles.Put(record);
    }
    trayhost::SyncRecordMap reread;
    if (!trayhost::ParseSyncState(trayhost::FormatSyncState(settings), reread) || !(reread == settings.stateMap)) {
        __builtin_trap();
    }
    return 0;
}
