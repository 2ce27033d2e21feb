#pragma once

#include "engine/playlist/navigationsums.h"

#include "platform/errors.h"
#include "platform/files.h"

#include <cstdint>
#include <future>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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
    // Finished: every byte is in the temporary file, which goes to the device and then waits for
    // PutInPlace.
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
    // The same for the bytes format writes to the char* it is given, at most maxBytes: an entry is
    // formatted straight into what is gathered. format returns the end of what it wrote.
    template <typename Format>
    void AppendFormatted(std::size_t maxBytes, const Format& format)
    {
        char* const room = Room(maxBytes);
        pendingBytes_ = static_cast<std::size_t>(format(room) - pending_.data());
    }
    NavigationSums& Sums() { return sums_; }
    void ResetSums() { sums_ = NavigationSums{}; }

    // Writes what is gathered, then flushes the temporary file to the device and closes it on a
    // thread of its own: the device writes one playlist while the next is sorted. Throws FileError
    // when a write fails.
    void Finish();
    // Waits until the finished file is on the device. False when the playlist is not finished or
    // the flush failed (the playlist is then no longer finished, and its temporary file removed).
    bool AwaitDevice();
    // Renames the finished temporary file over the real file once it is on the device. False when
    // the playlist is not finished, or the flush or the rename fails (the temporary file is then
    // removed).
    bool PutInPlace();
    // Closes and removes the temporary file; the real file is left as it was.
    void Discard();

private:
    // Where maxBytes more can go at the end of what is gathered, written out first when they do
    // not fit.
    char* Room(std::size_t maxBytes);
    void WritePending();

    std::string folder_;
    std::string fileName_;
    std::optional<platform::File> file_;
    bool complete_ = false;
    std::future<uint32_t> flush_;  // of a finished file: the Windows code the flush ended with
    uint32_t failure_ = platform::kErrorSuccess;
    std::vector<char> pending_;  // its first pendingBytes_ are gathered for the next write
    std::size_t pendingBytes_ = 0;
    NavigationSums sums_;
};

}  // namespace engine
