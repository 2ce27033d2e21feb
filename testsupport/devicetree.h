#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace testsupport {

// A temporary directory mapped as a removable drive letter for the lifetime of the object.
// Relative paths use '/' and are Linux paths below the directory.
class TemporaryDevice {
public:
    explicit TemporaryDevice(char letter = 'E');
    // A device of limited size: a tmpfs mounted for the test, so that writes meet a real full disk.
    // Needs root; IsSizeLimited() is false when the mount could not be made.
    TemporaryDevice(char letter, std::size_t sizeLimitBytes);
    ~TemporaryDevice();
    TemporaryDevice(const TemporaryDevice&) = delete;
    TemporaryDevice& operator=(const TemporaryDevice&) = delete;

    bool IsSizeLimited() const { return mounted_; }
    char letter() const { return letter_; }
    const std::string& directory() const { return directory_; }
    std::string root() const;  // "E:"
    std::string LinuxPath(std::string_view relative) const;

    void MakeFolder(std::string_view relative) const;
    // Creates the folders on the way.
    void WriteFile(std::string_view relative, std::string_view bytes) const;
    std::string ReadFile(std::string_view relative) const;
    bool Exists(std::string_view relative) const;

    // Takes the drive away as an unplugged device would: unmapped and its directory removed.
    void Unplug();
    // Unmounts the size-limited file system lazily (umount -l), as a desktop does when a device is
    // pulled: the drive stays mapped and its directory is an empty folder of the computer's disk.
    void UnmountLazily();

private:
    void Map() const;

    char letter_;
    std::string directory_;
    bool plugged_ = true;
    bool mounted_ = false;
};

std::string ReadWholeFile(const std::string& linuxPath);
void WriteWholeFile(const std::string& linuxPath, std::string_view bytes);

}  // namespace testsupport
