#include "trayhost/sync/syncprofilestore.h"

#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/registry.h"
#include "trayhost/sync/syncregistrykeys.h"

#include <algorithm>
#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace trayhost {

namespace {

using platform::RegistryKey;

constexpr std::string_view kDefaultValue = "";
constexpr uint32_t kDwordSize = 4;
constexpr uint32_t kLetterSize = 1;
constexpr uint32_t kPathBufferSize = platform::kMaxPath + 1;

// A registry key open for as long as the object lives.
class OpenKey {
public:
    OpenKey() = default;
    ~OpenKey()
    {
        if (key_ != RegistryKey::None) platform::RegCloseKey(key_);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;

    bool Create(RegistryKey parent, std::string_view name)
    {
        return platform::RegCreateKeyEx(parent, name, platform::RegistryAccess::All, key_) == platform::kErrorSuccess;
    }
    bool Open(RegistryKey parent, std::string_view name)
    {
        return platform::RegOpenKeyEx(parent, name, platform::RegistryAccess::Read, key_) == platform::kErrorSuccess;
    }
    RegistryKey handle() const { return key_; }

private:
    RegistryKey key_ = RegistryKey::None;
};

std::array<char, kDwordSize> DwordBytes(uint32_t number)
{
    std::array<char, kDwordSize> bytes{};
    for (uint32_t i = 0; i < kDwordSize; ++i) bytes[i] = static_cast<char>(number >> (8 * i));
    return bytes;
}

bool IsAsciiLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// A number is a name of decimal digits only.
bool IsNumber(std::string_view name)
{
    return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The order items were saved in: keys named by numbers by their value (the registry enumerates
// "10" before "2"), then any other names in the order the registry gives them.
bool SavedBefore(std::string_view a, std::string_view b)
{
    const bool aIsNumber = IsNumber(a);
    if (aIsNumber != IsNumber(b)) return aIsNumber;
    if (!aIsNumber) return false;
    a.remove_prefix(std::min(a.find_first_not_of('0'), a.size()));
    b.remove_prefix(std::min(b.find_first_not_of('0'), b.size()));
    if (a.size() != b.size()) return a.size() < b.size();
    return a < b;
}

std::vector<std::string> ItemKeyNames(RegistryKey syncPaths)
{
    platform::RegistryKeyInfo info;
    const uint32_t longest = platform::RegQueryInfoKey(syncPaths, info) == platform::kErrorSuccess
                                 ? info.longestSubkeyName
                                 : kPathBufferSize;
    std::vector<char> name(longest + 1);
    std::vector<std::string> names;
    for (uint32_t index = 0;; ++index) {
        const uint32_t result = platform::RegEnumKey(syncPaths, index, name);
        if (result == platform::kErrorSuccess) {
            names.emplace_back(name.data());
        } else if (result != platform::kErrorMoreData) {
            break;
        }
    }
    std::stable_sort(names.begin(), names.end(), SavedBefore);
    return names;
}

// A path value read into at most kPathBufferSize bytes; empty when it is missing, longer or unreadable.
std::string ReadPath(RegistryKey item, std::string_view valueName)
{
    uint32_t size = 0;
    if (platform::RegQueryValueEx(item, valueName, nullptr, {}, size) != platform::kErrorSuccess) return {};
    size = std::min(size, kPathBufferSize);
    std::string path(size, '\0');
    if (platform::RegQueryValueEx(item, valueName, nullptr, path, size) != platform::kErrorSuccess) return {};
    path.resize(std::min<std::size_t>(size, path.find('\0')));
    return path.size() <= platform::kMaxPath ? path : std::string();
}

void LoadItems(RegistryKey profile, std::vector<SyncItem>& items)
{
    OpenKey syncPaths;
    if (!syncPaths.Open(profile, kSyncPathsKey)) return;
    for (const std::string& name : ItemKeyNames(syncPaths.handle())) {
        OpenKey itemKey;
        if (!itemKey.Open(syncPaths.handle(), name)) continue;
        SyncItem& item = items.emplace_back();
        item.pcPath = ReadPath(itemKey.handle(), kPcPathValue);
        item.devicePath = ReadPath(itemKey.handle(), kDevicePathValue);
    }
}

// A setting's stored default value, read into size bytes.
struct StoredSetting {
    bool readable = false;  // the value exists and fits in size bytes
    uint32_t number = 0;    // its bytes, little-endian, zero beyond what was stored
};

// Empty optional when the setting's key does not exist.
std::optional<StoredSetting> ReadSetting(RegistryKey profile, std::string_view keyName, uint32_t size)
{
    OpenKey key;
    if (!key.Open(profile, keyName)) return std::nullopt;
    std::array<char, kDwordSize> bytes{};
    uint32_t stored = size;
    StoredSetting setting;
    setting.readable = platform::RegQueryValueEx(key.handle(), kDefaultValue, nullptr, std::span(bytes.data(), size),
                                                 stored) == platform::kErrorSuccess;
    if (!setting.readable) return setting;
    for (uint32_t i = 0; i < kDwordSize; ++i) setting.number |= uint32_t(static_cast<unsigned char>(bytes[i])) << (8 * i);
    return setting;
}

SyncOption OptionFrom(const StoredSetting& setting)
{
    const auto number = static_cast<int32_t>(setting.number);
    const bool known = number == static_cast<int32_t>(SyncOption::SyncBoth) ||
                       number == static_cast<int32_t>(SyncOption::PcToDevice) ||
                       number == static_cast<int32_t>(SyncOption::DeviceToPc);
    return setting.readable && known ? static_cast<SyncOption>(number) : SyncOption::Invalid;
}

char LetterFrom(const StoredSetting& setting)
{
    const auto letter = static_cast<char>(setting.number);
    return setting.readable && IsAsciiLetter(letter) ? letter : 0;
}

void SetDefaultValue(RegistryKey key, uint32_t type, std::span<const char> data)
{
    platform::RegSetValueEx(key, kDefaultValue, type, data);
}

// A key of its own holding the value as its default value. Failures are not reported.
void SaveSetting(RegistryKey profile, std::string_view keyName, std::span<const char> data)
{
    OpenKey key;
    if (key.Create(profile, keyName)) SetDefaultValue(key.handle(), platform::kRegDword, data);
}

void SetPath(RegistryKey item, std::string_view valueName, const std::string& path)
{
    platform::RegSetValueEx(item, valueName, platform::kRegSz, std::span(path.c_str(), path.size() + 1));
}

// The stored items are replaced whole: a key per item, named by its index.
void SaveItems(RegistryKey profile, const std::vector<SyncItem>& items)
{
    platform::SHDeleteKey(profile, kSyncPathsKey);
    OpenKey syncPaths;
    if (!syncPaths.Create(profile, kSyncPathsKey)) return;
    for (uint32_t index = 0; index < items.size(); ++index) {
        OpenKey itemKey;
        if (!itemKey.Create(syncPaths.handle(), std::to_string(index))) continue;
        SetDefaultValue(itemKey.handle(), platform::kRegDword, DwordBytes(index));
        SetPath(itemKey.handle(), kPcPathValue, items[index].pcPath);
        SetPath(itemKey.handle(), kDevicePathValue, items[index].devicePath);
    }
}

}  // namespace

void LoadSyncSettings(SyncSettings& settings)
{
    platform::RegistryTransaction transaction;
    OpenKey profile;
    if (!profile.Open(RegistryKey::LocalMachine, kSyncProfileKey)) return;
    ClearSyncItems(settings);
    LoadItems(profile.handle(), settings.items);
    if (const auto option = ReadSetting(profile.handle(), kOptionKey, kDwordSize)) settings.option = OptionFrom(*option);
    if (const auto letter = ReadSetting(profile.handle(), kDeviceLetterKey, kLetterSize)) {
        settings.deviceLetter = LetterFrom(*letter);
    }
    if (const auto cleanup = ReadSetting(profile.handle(), kFileCleanupKey, kDwordSize)) {
        settings.fileCleanup = cleanup->readable && cleanup->number != 0;
    }
    if (const auto profileAfter = ReadSetting(profile.handle(), kProfileAfterSyncKey, kDwordSize)) {
        settings.profileAfterSync = profileAfter->readable && profileAfter->number != 0;
    }
}

bool SaveSyncSettings(const SyncSettings& settings)
{
    platform::RegistryTransaction transaction;
    {
        OpenKey profile;
        if (!profile.Create(RegistryKey::LocalMachine, kSyncProfileKey)) return false;
        SaveItems(profile.handle(), settings.items);
        SaveSetting(profile.handle(), kOptionKey, DwordBytes(static_cast<uint32_t>(settings.option)));
        // Without a letter chosen, the stored letter stays for the next time.
        if (settings.deviceLetter != 0) SaveSetting(profile.handle(), kDeviceLetterKey, std::span(&settings.deviceLetter, kLetterSize));
        SaveSetting(profile.handle(), kFileCleanupKey, DwordBytes(settings.fileCleanup ? 1 : 0));
        SaveSetting(profile.handle(), kProfileAfterSyncKey, DwordBytes(settings.profileAfterSync ? 1 : 0));
    }
    return transaction.Commit() == platform::kErrorSuccess;
}

}  // namespace trayhost
