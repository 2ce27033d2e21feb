#include "trayhost/sync/syncstate.h"

#include "platform/errors.h"
#include "platform/linuxfiles.h"
#include "platform/paths.h"
#include "platform/userfolders.h"

#include <algorithm>
#include <unordered_set>
#include <vector>

namespace trayhost {

namespace {

constexpr char kStateFileName[] = "/KovaSyncInfo.bin";

constexpr std::size_t kFieldSize = 4;
constexpr std::size_t kCountSize = kFieldSize;
constexpr std::size_t kNameLengthSize = kFieldSize;
// The four fields after the path: time, size, changed, folder.
constexpr std::size_t kFieldsAfterPathSize = 4 * kFieldSize;
// A record length counts the name length field, the path and the fields after it.
constexpr std::size_t kRecordOverhead = kNameLengthSize + kFieldsAfterPathSize;
constexpr std::size_t kMaxRecordLength = platform::kMaxPath + kRecordOverhead;

uint32_t ReadField(std::string_view bytes, std::size_t offset)
{
    uint32_t value = 0;
    for (std::size_t i = 0; i < kFieldSize; ++i) {
        value |= uint32_t(static_cast<unsigned char>(bytes[offset + i])) << (8 * i);
    }
    return value;
}

void AppendField(std::string& out, uint32_t value)
{
    for (std::size_t i = 0; i < kFieldSize; ++i) out += static_cast<char>(value >> (8 * i));
}

// One record from its bytes after the record length field; empty optional when it is corrupt.
std::optional<SyncFileRecord> ParseRecord(std::string_view record)
{
    if (record.size() < kRecordOverhead || record.size() > kMaxRecordLength) return std::nullopt;
    const uint32_t nameLength = ReadField(record, 0);
    if (nameLength > record.size() - kRecordOverhead) return std::nullopt;
    const std::string_view path = record.substr(kNameLengthSize, nameLength);
    const std::size_t fields = kNameLengthSize + nameLength;
    SyncFileRecord parsed;
    parsed.path = std::string(path.substr(0, path.find('\0')));
    parsed.modTime = static_cast<int32_t>(ReadField(record, fields));
    parsed.size = ReadField(record, fields + kFieldSize);
    parsed.changed = ReadField(record, fields + 2 * kFieldSize) != 0;
    parsed.isFolder = ReadField(record, fields + 3 * kFieldSize) != 0;
    return parsed;
}

void AppendRecord(std::string& out, const SyncFileRecord& record)
{
    AppendField(out, static_cast<uint32_t>(record.path.size() + kRecordOverhead));
    AppendField(out, static_cast<uint32_t>(record.path.size()));
    out += record.path;
    AppendField(out, static_cast<uint32_t>(record.modTime));
    AppendField(out, record.size);
    AppendField(out, record.changed ? 1 : 0);
    AppendField(out, record.isFolder ? 1 : 0);
}

// The keys of every record the items' trees hold, as long as the settings are not changed.
std::unordered_set<std::string_view> KeysToKeep(const SyncSettings& settings)
{
    std::unordered_set<std::string_view> keys;
    for (const SyncItem& item : settings.items) {
        for (const auto& [key, record] : item.pcFiles) keys.insert(key);
        for (const auto& [key, record] : item.deviceFiles) keys.insert(key);
    }
    return keys;
}

}  // namespace

std::string SyncStateFilePath()
{
    const std::string folder = platform::UserStateFolder();
    return folder.empty() ? folder : folder + kStateFileName;
}

bool ParseSyncState(std::string_view bytes, SyncRecordMap& records)
{
    if (bytes.size() < kCountSize) return false;
    const uint32_t count = ReadField(bytes, 0);
    records.Clear();
    std::size_t offset = kCountSize;
    for (uint32_t i = 0; i < count && bytes.size() - offset >= kFieldSize; ++i) {
        const uint32_t recordLength = ReadField(bytes, offset);
        offset += kFieldSize;
        if (recordLength > bytes.size() - offset) break;
        const std::optional<SyncFileRecord> record = ParseRecord(bytes.substr(offset, recordLength));
        if (!record) break;
        records.Put(*record);
        offset += recordLength;
    }
    return true;
}

std::string FormatSyncState(const SyncSettings& settings)
{
    const std::unordered_set<std::string_view> keep = KeysToKeep(settings);
    // Sorted by key, so that the same records always give the same bytes. A path longer than a
    // record can hold cannot come from a scan; such a record would end every later reading.
    std::vector<std::pair<std::string_view, const SyncFileRecord*>> written;
    for (const auto& [key, record] : settings.stateMap) {
        if (keep.contains(key) && record.path.size() <= platform::kMaxPath) written.emplace_back(key, &record);
    }
    std::sort(written.begin(), written.end());
    std::string out;
    AppendField(out, static_cast<uint32_t>(written.size()));
    for (const auto& [key, record] : written) AppendRecord(out, *record);
    return out;
}

bool ReadSyncState(SyncSettings& settings)
{
    const std::string path = SyncStateFilePath();
    if (path.empty()) return false;
    std::string bytes;
    if (platform::ReadWholeLinuxFile(path, bytes) != platform::kErrorSuccess) return false;
    return ParseSyncState(bytes, settings.stateMap);
}

bool WriteSyncState(const SyncSettings& settings)
{
    const std::string path = SyncStateFilePath();
    if (path.empty()) {
        platform::SetLastError(platform::kErrorPathNotFound);
        return false;
    }
    if (!platform::CreateUserFolder(platform::UserStateFolder())) return false;
    const uint32_t error = platform::ReplaceWholeLinuxFile(path, FormatSyncState(settings));
    platform::SetLastError(error);
    return error == platform::kErrorSuccess;
}

SyncProblem StateNotSavedProblem()
{
    const std::string path = SyncStateFilePath();
    return {SyncProblem::Kind::StateNotSaved,
            path.empty() ? std::string(kStateFileName + 1) : platform::ToWindowsPath(path),
            platform::ErrorMessage(platform::GetLastError())};
}

}  // namespace trayhost
