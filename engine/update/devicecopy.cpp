#include "engine/update/devicecopy.h"

#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/filesystemflush.h"
#include "platform/paths.h"

namespace engine {

namespace {

// The folder part of a path, with its trailing backslash; empty when the path has none. The trail
// byte of a double-byte character may equal a backslash and is no separator.
std::string FolderPartOf(const std::string& path)
{
    const platform::CodePage& page = platform::CodePage::System();
    std::size_t folderEnd = 0;
    for (std::size_t offset = 0; offset < path.size();) {
        const std::size_t size = page.CharacterSize(path, offset);
        if (size == 1 && path[offset] == '\\') folderEnd = offset + 1;
        offset += size;
    }
    return path.substr(0, folderEnd);
}

}  // namespace

bool PathExists(const std::string& path)
{
    return !path.empty() && platform::FileExists(path);
}

void ClearReadOnly(const std::string& path)
{
    const std::optional<std::vector<platform::FolderEntry>> matches = platform::FindFiles(path);
    if (!matches) return;
    const std::string folder = FolderPartOf(path);
    for (const platform::FolderEntry& entry : *matches) {
        // Attributes are never changed through a link: it may point off the device.
        if (entry.IsFolder() || entry.IsLink() || (entry.attributes & platform::kAttributeReadOnly) == 0) continue;
        platform::SetFileAttributes(folder + entry.name, entry.attributes & ~platform::kAttributeReadOnly);
    }
}

bool ReplaceDeviceCopy(const std::string& installedPath, const std::string& devicePath)
{
    ClearReadOnly(installedPath);
    ClearReadOnly(devicePath);
    return platform::CopyFile(installedPath, devicePath, false);
}

bool FlushDevice(char drive)
{
    return platform::FlushFileSystem(std::string{drive, ':', '\\'});
}

std::optional<std::vector<uint8_t>> ReadFileStart(const std::string& path, std::size_t size)
{
    std::optional<platform::File> file = platform::File::TryOpen(path, platform::File::Mode::Read);
    if (!file) return std::nullopt;
    std::vector<uint8_t> bytes(size);
    try {
        bytes.resize(file->Read(bytes.data(), bytes.size()));
    } catch (const platform::FileError&) {
        bytes.clear();
    }
    return bytes;
}

}  // namespace engine
