#pragma once

#include <string>
#include <string_view>

namespace testsupport {

// A temporary directory mapped as a removable drive letter for the lifetime of the object.
// Relative paths use '/' and are Linux paths below the directory.
class TemporaryDevice {
public:
    explicit TemporaryDevice(char letter = 'E');
    ~TemporaryDevice();
    TemporaryDevice(const TemporaryDevice&) = delete;
    TemporaryDevice& operator=(const TemporaryDevice&) = delete;

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

private:
    char letter_;
    std::string directory_;
    bool plugged_ = true;
};

std::string ReadWholeFile(const std::string& linuxPath);
void WriteWholeFile(const std::string& linuxPath, std::string_view bytes);

}  // namespace testsupport
