#include "engine/tagcache/tagcachestore.h"

#include "engine/tagcache/fnv1a.h"

#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/linuxfiles.h"
#include "platform/userfolders.h"
#include "platform/volumeidentity.h"

#include <cerrno>
#include <cstdio>
#include <optional>

namespace engine {

namespace {

constexpr char kFileExtension[] = ".tags";
constexpr char kVolumePrefix[] = "volume-";
constexpr char kHashedPrefix[] = "device-";
constexpr char kUuidIdentity[] = "uuid:";
constexpr char kFolderIdentity[] = "folder:";
// A cache file that a crash leaves damaged is found so by its checksum and made again: it is not
// worth a wait for the disk at the end of every profile.
constexpr platform::ReplaceFlush kNoFlush = platform::ReplaceFlush::LeftToTheSystem;

bool IsPlainName(const std::string& name)
{
    if (name.empty()) return false;
    for (const char c : name) {
        const bool plain = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-';
        if (!plain) return false;
    }
    return true;
}

// Sixteen hexadecimal digits that stand for the text in a file name.
std::string HashName(const std::string& text)
{
    char digits[17];
    std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(Fnv1a(text)));
    return digits;
}

std::string IdentityText(const platform::VolumeIdentity& volume)
{
    const bool uuid = volume.kind == platform::VolumeIdentity::Kind::FileSystemUuid;
    return (uuid ? kUuidIdentity : kFolderIdentity) + volume.name;
}

// A volume's file is named after its UUID where that makes a plain file name, any other device's
// after a hash of its identity (a folder's path); the identity in the file tells the owner for certain.
std::string FileNameOf(const platform::VolumeIdentity& volume)
{
    if (volume.kind == platform::VolumeIdentity::Kind::FileSystemUuid && IsPlainName(volume.name)) {
        return kVolumePrefix + volume.name + kFileExtension;
    }
    return kHashedPrefix + HashName(IdentityText(volume)) + kFileExtension;
}

// A cache that fails costs time, never a result: the person is told on standard error and no more.
void Note(const std::string& path, const std::string& what)
{
    std::fprintf(stderr, "%s: note: the tag cache %s %s\n", program_invocation_short_name, path.c_str(), what.c_str());
}

std::string Because(uint32_t error)
{
    return "(" + platform::ErrorMessage(error) + ")";
}

}  // namespace

std::atomic<bool>& TagCacheInUse()
{
    static std::atomic<bool> inUse{true};
    return inUse;
}

TagCacheStore::TagCacheStore(const char* root)
{
    std::string folder = platform::UserCacheFolder();
    const std::optional<platform::VolumeIdentity> volume = platform::VolumeIdentityOf(root);
    if (folder.empty() || !volume) return;
    owner_ = {IdentityText(*volume), static_cast<uint32_t>(platform::CodePage::System().number())};
    path_ = folder + "/" + FileNameOf(*volume);
    folder_ = std::move(folder);
}

TagCache TagCacheStore::Load() const
{
    if (path_.empty() || !TagCacheInUse()) return {};
    std::string bytes;
    const uint32_t error = platform::ReadWholeLinuxFile(path_, bytes);
    if (error == platform::kErrorFileNotFound) return {};
    if (error != platform::kErrorSuccess) {
        Note(path_, "cannot be read " + Because(error) + "; every song is read");
        return {};
    }
    std::optional<TagCache> cache = TagCache::Read(std::move(bytes), owner_);
    if (!cache) {
        Note(path_, "is damaged or of another version or device; every song is read");
        return {};
    }
    return std::move(*cache);
}

void TagCacheStore::Save(const TagCache& cache) const
{
    if (path_.empty() || cache.KeptAsBefore()) return;
    if (!platform::CreateUserFolder(folder_)) {
        Note(path_, "cannot be written " + Because(platform::GetLastError()));
        return;
    }
    const TagCacheFileBytes file = cache.NextFile(owner_);
    const uint32_t error = platform::ReplaceWholeLinuxFile(path_, file.Pieces(), kNoFlush);
    if (error != platform::kErrorSuccess) Note(path_, "cannot be written " + Because(error));
}

}  // namespace engine
