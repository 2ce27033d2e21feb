#pragma once

#include "engine/update/installedcopies.h"
#include "testsupport/devicetree.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace testsupport {

// A system program as the player's update sees it: the 64-byte header, then a body.
inline std::string SystemFileBytes(std::string_view name, std::string_view version, std::string_view identifier,
                                   std::string_view body = "program")
{
    std::string bytes(64, '\0');
    const auto put = [&bytes](std::size_t offset, std::string_view text, std::size_t width) {
        bytes.replace(offset, std::min(text.size(), width), text.substr(0, width));
    };
    put(4, name, 12);
    put(40, version, 8);
    put(48, identifier, 8);
    return bytes + std::string(body);
}

// The inside form of a path below the device's root given with '/': "E:\kovahdd\mp3.exe".
inline std::string DevicePath(const TemporaryDevice& device, std::string_view relative)
{
    std::string path = device.root() + "\\" + std::string(relative);
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

// A help file with a valid header and the body.
inline std::string HelpFileBytes(std::string_view body)
{
    return std::string("KOVAHDHLP\0abcde\0", 16) + std::string(body);
}

// A folder of installed copies for the lifetime of the object, used by the engine in place of the
// one beside its library. Relative paths are below the "kovahdd" folder ("VANTOR/mp3.exe").
class InstalledCopies {
public:
    InstalledCopies() : directory_('K')
    {
        directory_.MakeFolder("kovahdd");
        engine::SetInstalledCopiesFolder(directory_.LinuxPath("kovahdd"));
    }
    ~InstalledCopies() { engine::SetInstalledCopiesFolder(std::nullopt); }
    InstalledCopies(const InstalledCopies&) = delete;
    InstalledCopies& operator=(const InstalledCopies&) = delete;

    void WriteFile(std::string_view relative, std::string_view bytes) const
    {
        directory_.WriteFile("kovahdd/" + std::string(relative), bytes);
    }
    // The inside form of the path ("K:\kovahdd\VANTOR\mp3.exe").
    std::string Path(std::string_view relative) const
    {
        std::string path = directory_.root() + "\\kovahdd\\" + std::string(relative);
        std::replace(path.begin(), path.end(), '/', '\\');
        return path;
    }

private:
    TemporaryDevice directory_;
};

}  // namespace testsupport
