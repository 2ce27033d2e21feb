#include "platform/registry.h"

#include "platform/errors.h"
#include "platform/linuxfiles.h"
#include "platform/registryfile.h"
#include "platform/userfolders.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <sys/file.h>
#include <unistd.h>
#include <vector>

namespace platform {

namespace {

constexpr char kFileName[] = "/registry.reg";
constexpr char kLockSuffix[] = ".lock";
constexpr char kDamagedSuffix[] = ".damaged-";
constexpr char kLocalMachineName[] = "HKEY_LOCAL_MACHINE";
constexpr mode_t kPrivateFileMode = 0600;

struct OpenKey {
    std::vector<std::string> path;  // key names from the root key down
    RegistryAccess access = RegistryAccess::Read;
};

// "20250131-235959": when a damaged file was moved aside.
std::string TimeStamp()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
    return text;
}

// The path, or when that exists, the path with "-2", "-3" ... added.
std::string UnusedPath(const std::string& path)
{
    std::string candidate = path;
    for (int number = 2; ::access(candidate.c_str(), F_OK) == 0; ++number) candidate = path + '-' + std::to_string(number);
    return candidate;
}

// The process's view of the registry file: the tree read at the start of the outermost transaction,
// the lock held until its end, and the open keys, which outlive transactions.
class RegistrySession {
public:
    static RegistrySession& Instance()
    {
        static RegistrySession session;
        return session;
    }

    void Enter()
    {
        mutex_.lock();
        if (depth_++ == 0) Load();
    }

    void Leave()
    {
        if (depth_ == 1) {
            Save();
            Unlock();
        }
        --depth_;
        mutex_.unlock();
    }

    uint32_t Commit() { return depth_ == 1 ? Save() : kErrorSuccess; }

    // Why the tree cannot be used (kErrorSuccess when it can).
    uint32_t unusable() const { return loadError_; }
    void MarkChanged() { changed_ = true; }

    RegistryKey OpenHandle(OpenKey key)
    {
        const std::lock_guard lock(mutex_);
        const auto handle = static_cast<RegistryKey>(nextHandle_++);
        openKeys_[handle] = std::move(key);
        return handle;
    }

    bool CloseHandle(RegistryKey key)
    {
        const std::lock_guard lock(mutex_);
        return key == RegistryKey::LocalMachine || openKeys_.erase(key) == 1;
    }

    const OpenKey* FindHandle(RegistryKey key)
    {
        const std::lock_guard lock(mutex_);
        const auto at = openKeys_.find(key);
        return at == openKeys_.end() ? nullptr : &at->second;
    }

    // The key a handle names in the tree; null when it was deleted.
    RegistryNode* Resolve(const OpenKey& key)
    {
        RegistryNode* node = &top_;
        for (const std::string& name : key.path) {
            node = node->FindSubkey(name);
            if (!node) return nullptr;
        }
        return node;
    }

private:
    RegistrySession() { openKeys_[RegistryKey::LocalMachine] = OpenKey{{kLocalMachineName}, RegistryAccess::All}; }

    void Load()
    {
        top_ = RegistryNode();
        changed_ = false;
        loadError_ = kErrorSuccess;
        lockError_ = kErrorSuccess;
        filePath_ = RegistryFilePath();
        if (filePath_.empty()) {
            loadError_ = kErrorPathNotFound;
            return;
        }
        Lock(UserConfigFolder());

        std::string text;
        const uint32_t readError = ReadWholeLinuxFile(filePath_, text);
        if (readError != kErrorSuccess && readError != kErrorFileNotFound) {
            loadError_ = readError;
            std::fprintf(stderr, "%s: warning: the registry file %s cannot be read (%s); the registry is not used\n",
                         program_invocation_short_name, filePath_.c_str(), ErrorMessage(readError).c_str());
            return;
        }
        if (readError == kErrorSuccess) {
            RegistryFileError fault;
            if (std::optional<RegistryNode> parsed = ParseRegistryFile(text, fault)) {
                top_ = std::move(*parsed);
            } else {
                MoveAside(fault);
            }
        }
        top_.AddSubkey(kLocalMachineName);
    }

    // Reading goes on without the lock when it cannot be had (a folder the user may not write);
    // writing then fails with the lock's error.
    void Lock(const std::string& folder)
    {
        if (!CreateUserFolder(folder)) {
            lockError_ = GetLastError();
            return;
        }
        const std::string lockPath = filePath_ + kLockSuffix;
        lockFd_ = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, kPrivateFileMode);
        if (lockFd_ < 0) {
            lockError_ = ErrorFromErrno(errno);
            return;
        }
        while (::flock(lockFd_, LOCK_EX) != 0) {
            if (errno == EINTR) continue;
            lockError_ = ErrorFromErrno(errno);
            Unlock();
            return;
        }
    }

    void Unlock()
    {
        if (lockFd_ < 0) return;
        ::close(lockFd_);  // releases the flock
        lockFd_ = -1;
    }

    // A file that cannot be parsed holds the user's settings all the same: it is kept under another
    // name for the user to mend, and the registry starts empty. When it cannot be moved, nothing is
    // written over it.
    void MoveAside(const RegistryFileError& fault)
    {
        const std::string damagedPath = UnusedPath(filePath_ + kDamagedSuffix + TimeStamp());
        if (::rename(filePath_.c_str(), damagedPath.c_str()) != 0) {
            loadError_ = ErrorFromErrno(errno);
            std::fprintf(stderr, "%s: warning: the registry file %s cannot be read (line %zu: %s) nor moved aside (%s); "
                                 "the registry is not used\n",
                         program_invocation_short_name, filePath_.c_str(), fault.line, fault.reason.c_str(),
                         std::strerror(errno));
            return;
        }
        std::fprintf(stderr, "%s: warning: the registry file %s cannot be read (line %zu: %s); it was moved to %s "
                             "and the registry starts empty\n",
                     program_invocation_short_name, filePath_.c_str(), fault.line, fault.reason.c_str(),
                     damagedPath.c_str());
    }

    uint32_t Save()
    {
        if (!changed_) return kErrorSuccess;
        if (loadError_ != kErrorSuccess) return loadError_;
        if (lockError_ != kErrorSuccess) return lockError_;
        const uint32_t error = ReplaceWholeLinuxFile(filePath_, FormatRegistryFile(top_));
        if (error == kErrorSuccess) changed_ = false;
        return error;
    }

    std::recursive_mutex mutex_;
    int depth_ = 0;
    std::string filePath_;
    int lockFd_ = -1;
    uint32_t lockError_ = kErrorSuccess;
    uint32_t loadError_ = kErrorSuccess;
    RegistryNode top_;
    bool changed_ = false;
    std::map<RegistryKey, OpenKey> openKeys_;
    uint32_t nextHandle_ = 1;
};

// The names of a subkey path. A trailing backslash is allowed; an empty name elsewhere is not.
uint32_t SubkeyNames(std::string_view subKey, std::vector<std::string_view>& names)
{
    names.clear();
    if (subKey.empty()) return kErrorSuccess;
    names = SplitKeyPath(subKey);
    if (names.size() > 1 && names.back().empty()) names.pop_back();
    for (std::string_view name : names) {
        if (name.empty()) return kErrorBadPathname;
        if (!IsValidKeyName(name)) return kErrorInvalidParameter;
    }
    return kErrorSuccess;
}

// Runs one call in a transaction (its own, or the one open) on the key behind a handle:
// call(node, openKey) returns the call's result; a call that changed the tree has marked it.
template <typename Call>
uint32_t OnKey(RegistryKey key, Call call)
{
    RegistryTransaction transaction;
    RegistrySession& session = RegistrySession::Instance();
    if (session.unusable() != kErrorSuccess) return session.unusable();
    const OpenKey* open = session.FindHandle(key);
    if (!open) return kErrorInvalidHandle;
    RegistryNode* node = session.Resolve(*open);
    if (!node) return kErrorKeyDeleted;
    const uint32_t result = call(*node, *open);
    if (result != kErrorSuccess) return result;
    return transaction.Commit();
}

}  // namespace

std::string RegistryFilePath()
{
    const std::string folder = UserConfigFolder();
    return folder.empty() ? folder : folder + kFileName;
}

RegistryTransaction::RegistryTransaction()
{
    RegistrySession::Instance().Enter();
}

RegistryTransaction::~RegistryTransaction()
{
    RegistrySession::Instance().Leave();
}

uint32_t RegistryTransaction::Commit()
{
    return RegistrySession::Instance().Commit();
}

uint32_t RegCreateKeyEx(RegistryKey parent, std::string_view subKey, RegistryAccess access, RegistryKey& result)
{
    return OnKey(parent, [&](RegistryNode& node, const OpenKey& open) {
        std::vector<std::string_view> names;
        if (const uint32_t error = SubkeyNames(subKey, names)) return error;
        if (open.path.size() + names.size() > kMaxKeyDepth) return kErrorInvalidParameter;
        OpenKey created{open.path, access};
        RegistryNode* key = &node;
        for (std::string_view name : names) {
            RegistryNode* next = key->FindSubkey(name);
            if (!next) {
                if (open.access == RegistryAccess::Read) return kErrorAccessDenied;
                next = &key->AddSubkey(name);
                RegistrySession::Instance().MarkChanged();
            }
            key = next;
            created.path.push_back(key->name());
        }
        result = RegistrySession::Instance().OpenHandle(std::move(created));
        return kErrorSuccess;
    });
}

uint32_t RegOpenKeyEx(RegistryKey parent, std::string_view subKey, RegistryAccess access, RegistryKey& result)
{
    return OnKey(parent, [&](RegistryNode& node, const OpenKey& open) {
        std::vector<std::string_view> names;
        if (const uint32_t error = SubkeyNames(subKey, names)) return error;
        OpenKey opened{open.path, access};
        RegistryNode* key = &node;
        for (std::string_view name : names) {
            key = key->FindSubkey(name);
            if (!key) return kErrorFileNotFound;
            opened.path.push_back(key->name());
        }
        result = RegistrySession::Instance().OpenHandle(std::move(opened));
        return kErrorSuccess;
    });
}

uint32_t RegCloseKey(RegistryKey key)
{
    return RegistrySession::Instance().CloseHandle(key) ? kErrorSuccess : kErrorInvalidHandle;
}

uint32_t RegQueryInfoKey(RegistryKey key, RegistryKeyInfo& info)
{
    return OnKey(key, [&](RegistryNode& node, const OpenKey&) {
        info = RegistryKeyInfo{};
        info.subkeyCount = static_cast<uint32_t>(node.SubkeyCount());
        info.valueCount = static_cast<uint32_t>(node.values().size());
        for (std::size_t i = 0; i < node.SubkeyCount(); ++i) {
            info.longestSubkeyName = std::max(info.longestSubkeyName, static_cast<uint32_t>(node.SubkeyAt(i).name().size()));
        }
        return kErrorSuccess;
    });
}

uint32_t RegEnumKey(RegistryKey key, uint32_t index, std::span<char> name)
{
    return OnKey(key, [&](RegistryNode& node, const OpenKey&) {
        if (index >= node.SubkeyCount()) return kErrorNoMoreItems;
        const std::string& found = node.SubkeyAt(index).name();
        if (found.size() >= name.size()) return kErrorMoreData;
        std::copy(found.begin(), found.end(), name.begin());
        name[found.size()] = '\0';
        return kErrorSuccess;
    });
}

uint32_t RegQueryValueEx(RegistryKey key, std::string_view valueName, uint32_t* type, std::span<char> data,
                         uint32_t& dataSize)
{
    return OnKey(key, [&](RegistryNode& node, const OpenKey&) {
        const RegistryValue* value = node.FindValue(valueName);
        if (!value) return kErrorFileNotFound;
        if (type) *type = value->type;
        dataSize = static_cast<uint32_t>(value->data.size());
        if (data.data() == nullptr) return kErrorSuccess;
        if (value->data.size() > data.size()) return kErrorMoreData;
        std::copy(value->data.begin(), value->data.end(), data.begin());
        return kErrorSuccess;
    });
}

uint32_t RegSetValueEx(RegistryKey key, std::string_view valueName, uint32_t type, std::span<const char> data)
{
    return OnKey(key, [&](RegistryNode& node, const OpenKey& open) {
        if (open.access == RegistryAccess::Read) return kErrorAccessDenied;
        if (!IsValidValueName(valueName)) return kErrorInvalidParameter;
        node.SetValue(valueName, type, std::string(data.begin(), data.end()));
        RegistrySession::Instance().MarkChanged();
        return kErrorSuccess;
    });
}

uint32_t SHDeleteKey(RegistryKey parent, std::string_view subKey)
{
    return OnKey(parent, [&](RegistryNode& node, const OpenKey& open) {
        std::vector<std::string_view> names;
        if (const uint32_t error = SubkeyNames(subKey, names)) return error;
        if (names.empty()) return kErrorInvalidParameter;
        if (open.access == RegistryAccess::Read) return kErrorAccessDenied;
        RegistryNode* key = &node;
        for (std::size_t i = 0; i + 1 < names.size() && key; ++i) key = key->FindSubkey(names[i]);
        if (!key || !key->RemoveSubkey(names.back())) return kErrorFileNotFound;
        RegistrySession::Instance().MarkChanged();
        return kErrorSuccess;
    });
}

}  // namespace platform
