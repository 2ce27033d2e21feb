#include "platform/dosattributes.h"

#include "platform/files.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <linux/magic.h>
#include <linux/msdos_fs.h>
#include <optional>
#include <sys/ioctl.h>
#include <sys/vfs.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr char kAttributeName[] = "user.DOSATTRIB";
constexpr uint32_t kStoredBits = kAttributeHidden | kAttributeSystem | kAttributeArchive;
constexpr uint32_t kSettableBits = kAttributeReadOnly | kStoredBits;
constexpr uint32_t kReadableBits = kSettableBits | kAttributeDirectory;
constexpr mode_t kWriteBits = S_IWUSR | S_IWGRP | S_IWOTH;
constexpr std::size_t kStoredTextCapacity = 64;  // "0x" and 8 hex digits, or Samba's longer value

// Runs one FAT attribute ioctl; errno is kept when it fails.
bool FatAttributeCall(const std::string& linuxPath, unsigned long request, uint32_t* attributes)
{
    const int fd = open(linuxPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    const bool done = ioctl(fd, request, attributes) == 0;
    const int savedErrno = errno;
    close(fd);
    errno = savedErrno;
    return done;
}

// Reads the leading "0x..." hex number of the stored text; Samba may put a binary blob after it.
std::optional<uint32_t> ParseStoredText(const char* text, std::size_t size)
{
    if (size < 3 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X')) return std::nullopt;
    uint32_t value = 0;
    std::size_t digits = 0;
    for (std::size_t i = 2; i < size && digits < 8; ++i, ++digits) {
        const char c = text[i];
        uint32_t digit = 0;
        if (c >= '0' && c <= '9') digit = static_cast<uint32_t>(c - '0');
        else if (c >= 'a' && c <= 'f') digit = static_cast<uint32_t>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F') digit = static_cast<uint32_t>(c - 'A' + 10);
        else break;
        value = value << 4 | digit;
    }
    if (digits == 0) return std::nullopt;
    return value;
}

bool StartsWithDot(const std::string& linuxPath)
{
    const std::size_t slash = linuxPath.find_last_of('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    return nameStart < linuxPath.size() && linuxPath[nameStart] == '.';
}

uint32_t ReadStoredBits(const std::string& linuxPath, const struct stat& status)
{
    const uint32_t unstored = S_ISDIR(status.st_mode) ? 0 : kAttributeArchive;
    char text[kStoredTextCapacity];
    const ssize_t size = getxattr(linuxPath.c_str(), kAttributeName, text, sizeof text);
    if (size >= 0) return ParseStoredText(text, static_cast<std::size_t>(size)).value_or(unstored) & kStoredBits;
    if (errno == ENOTSUP) return unstored | (StartsWithDot(linuxPath) ? kAttributeHidden : 0);
    return unstored;
}

int StoreBits(const std::string& linuxPath, uint32_t attributes)
{
    char text[kStoredTextCapacity];
    const int length = std::snprintf(text, sizeof text, "0x%x", attributes & kStoredBits);
    if (setxattr(linuxPath.c_str(), kAttributeName, text, static_cast<std::size_t>(length), 0) == 0) return 0;
    // Without extended attributes the bits cannot be kept; Wine carries on the same way.
    return errno == ENOTSUP ? 0 : errno;
}

int SetWritable(const std::string& linuxPath, const struct stat& status, bool writable)
{
    const mode_t mode = writable ? status.st_mode | S_IWUSR : status.st_mode & ~kWriteBits;
    if (mode == status.st_mode) return 0;
    return chmod(linuxPath.c_str(), mode & 07777) == 0 ? 0 : errno;
}

}  // namespace

bool IsOnFatVolume(const std::string& linuxPath)
{
    struct statfs volume {};
    return statfs(linuxPath.c_str(), &volume) == 0 && volume.f_type == MSDOS_SUPER_MAGIC;
}

uint32_t ReadDosAttributes(const std::string& linuxPath, const struct stat& status)
{
    return ReadDosAttributes(linuxPath, status, IsOnFatVolume(linuxPath));
}

uint32_t ReadDosAttributes(const std::string& linuxPath, const struct stat& status, bool onFatVolume)
{
    const uint32_t directory = S_ISDIR(status.st_mode) ? kAttributeDirectory : 0;
    uint32_t fatBits = 0;
    if (onFatVolume && FatAttributeCall(linuxPath, FAT_IOCTL_GET_ATTRIBUTES, &fatBits)) {
        const uint32_t attributes = (fatBits & kReadableBits) | directory;
        return attributes ? attributes : kAttributeNormal;
    }
    uint32_t attributes = ReadStoredBits(linuxPath, status) | directory;
    if ((status.st_mode & kWriteBits) == 0) attributes |= kAttributeReadOnly;
    return attributes ? attributes : kAttributeNormal;
}

int WriteDosAttributes(const std::string& linuxPath, uint32_t attributes)
{
    struct stat status {};
    if (stat(linuxPath.c_str(), &status) != 0) return errno;
    uint32_t bits = attributes & kSettableBits;
    if (S_ISDIR(status.st_mode)) bits &= ~kAttributeReadOnly;

    if (IsOnFatVolume(linuxPath)) {
        if (S_ISDIR(status.st_mode)) {
            uint32_t current = 0;
            if (!FatAttributeCall(linuxPath, FAT_IOCTL_GET_ATTRIBUTES, &current)) return errno;
            bits |= current & kAttributeReadOnly;
        }
        return FatAttributeCall(linuxPath, FAT_IOCTL_SET_ATTRIBUTES, &bits) ? 0 : errno;
    }
    if (S_ISDIR(status.st_mode)) return StoreBits(linuxPath, bits);
    // User extended attributes need write permission, so the bits are stored while it is there.
    const bool readOnly = (bits & kAttributeReadOnly) != 0;
    if (readOnly) {
        const int stored = StoreBits(linuxPath, bits);
        return stored ? stored : SetWritable(linuxPath, status, false);
    }
    const int madeWritable = SetWritable(linuxPath, status, true);
    return madeWritable ? madeWritable : StoreBits(linuxPath, bits);
}

}  // namespace platform
