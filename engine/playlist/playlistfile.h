#pragma once

#include "engine/playlist/navigationsums.h"

#include "platform/errors.h"
#include "platform/files.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace engine {

// One system playlist while it is written. The bytes go to a temporary file beside the real one,
// which is replaced only when the playlist is complete and on the device (PutInPlace): a full disk
// or an unplugged device then leaves the previous playlist for the player rather than a truncated
// one. An object destroyed before PutInPlace removes its temporary file.
class PlaylistFile {
public:
    PlaylistFile() = default;
    ~PlaylistFile();
    PlaylistFile(const PlaylistFile&) = delete;
    PlaylistFile& operator=(const PlaylistFile&) = delete;

    // Creates (or truncates) the temporary file for fileName in folder, a Windows path.
    // False, with the last error set, when it cannot be created.
    bool Create(const std::string& folder, std::string_view fileName);

    bool IsOpen() const { return file_.has_value(); }
    // Finished: every byte is in the temporary file, on the device, waiting for PutInPlace.
    bool IsComplete() const { return complete_; }
    // The "sys_playlist" folder; empty before Create.
    const std::string& Folder() const { return folder_; }
    std::string FinalPath() const;
    std::string TemporaryPath() const;
    // The Windows code of the failure that ended the playlist; kErrorSuccess while there was none.
    uint32_t Failure() const { return failure_; }

    // Adds bytes at the end of the file, gathering them into large writes (a device answers each
    // write separately, and a playlist has thousands of entries). Only while open; failures are
    // platform::FileError exceptions.
    void Append(std::string_view bytes);
    NavigationSums& Sums() { return sums_; }
    void ResetSums() { sums_ = NavigationSums{}; }

    // Writes what is gathered, flushes the temporary file to the device and closes it. Throws
    // FileError when that fails.
    void Finish();
    // Renames the finished temporary file over the real file. False when the playlist is not
    // finished or the rename fails (the temporary file is then removed).
    bool PutInPlace();
    // Closes and removes the temporary file; the real file is left as it was.
    void Discard();

private:
    void WritePending();

    std::string folder_;
    std::string fileName_;
    std::optional<platform::File> file_;
    bool complete_ = false;
    uint32_t failure_ = platform::kErrorSuccess;
    std::string pending_;
    NavigationSums sums_;
};

}  // namespace engine
