#pragma once

#include "platform/export.h"

#include <mutex>
#include <optional>
#include <string>
#include <vector>

// Drive letters and the Linux directories behind them, like Wine's dosdevices.
//
// Sources, later ones winning: Z: is "/"; mounted removable disks (added by device detection,
// letters from E: upwards); the file $XDG_CONFIG_HOME/kovahdd/drives.conf (default ~/.config; one
// entry a line, a line starting with '#' is a comment); the variable KOVAHDD_DRIVES (entries
// separated by ';'). Malformed entries are ignored; an entry of the file or the variable whose
// directory does not exist is left out with a warning on standard error.
//
// Entry syntax (the letter in either case, blanks around the parts ignored):
//                E=/some/dir                       a plain drive
//                E=/some/dir|Corvane|Kova HD Storage   a removable drive with these SCSI inquiry
//                                                  vendor and product strings (a simulated device;
//                                                  padded with spaces to 8 and 16 bytes)
namespace platform {

struct DriveEntry {
    char letter = 0;          // 'A' to 'Z'
    std::string directory;    // absolute Linux path
    bool removable = false;
    std::string vendor;       // 8 bytes, space-padded, as sysfs gives it
    std::string product;      // 16 bytes, space-padded
    // The file system mounted at the directory when the map took the entry in (its st_dev), set by
    // the map; empty when the directory did not exist then. The drive stands for that file system:
    // once the directory lies on another one (the device was unmounted, even lazily, and the mount
    // point is an empty folder of the computer's own disk) the drive is not ready.
    std::optional<uint64_t> volume;
};

// Parses one entry of the syntax above; empty optional when it is malformed (no letter, a relative
// directory, a vendor longer than 8 or a product longer than 16 bytes, a '|' part missing).
KOVAPLATFORM_API std::optional<DriveEntry> ParseDriveEntry(const std::string& text);

class KOVAPLATFORM_API DriveMap {
public:
    // The process-wide map, loaded from its sources on first use.
    static DriveMap& Instance();
    // All members may be called from any thread.

    std::optional<DriveEntry> Find(char letter) const;
    std::vector<DriveEntry> Entries() const;  // ascending letters

    void Assign(const DriveEntry& entry);
    void Remove(char letter);
    // Maps a directory to the first free letter from E: on; returns the letter, or 0 when none is free.
    char AssignFreeLetter(const std::string& directory, bool removable = true);

    // Forgets every entry and reads the sources again.
    void Reload();

private:
    DriveMap();
    void LoadSources();

    mutable std::mutex mutex_;
    std::vector<DriveEntry> entries_;
};

}  // namespace platform
