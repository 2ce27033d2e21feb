#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace cli {

using Arguments = std::vector<std::string>;

// Exit statuses of kovahdd.
enum ExitStatus : int {
    kExitSuccess = 0,
    kExitFailure = 1,       // the operation failed
    kExitUsage = 2,         // bad command line
    kExitCancelled = 3,
    kExitNoAudioFiles = 4,  // profile
    kExitNoPlaylists = 4,   // verify: no user playlists on the device
    kExitDeviceLost = 5,    // also, for verify, a device without a user playlist folder
    kExitPlaylistsNotWritten = 6,  // profile: finished, but a full or vanished device kept playlists off it
    kExitFilesNotCopied = 6,       // sync: finished, but files were not copied (or folders not read, or
                                   // items could not run)
    kExitSyncRunning = 7,          // sync: another synchronisation of the user is running
    kExitDestinationFull = 8,      // sync: a copy met a full disk
    kExitCleanUpNotConfirmed = 9,  // sync: finished, but a clean-up that would delete most of its
                                   // destination was not confirmed, and kept every file
};

struct Command {
    std::string_view name;
    std::string_view usage;  // arguments after the name
    std::string_view help;   // one or more lines for --help
    int (*run)(const Arguments& arguments);
};

int RunProfile(const Arguments& arguments);
int RunVerify(const Arguments& arguments);
int RunUpdate(const Arguments& arguments);
int RunDevices(const Arguments& arguments);
int RunSync(const Arguments& arguments);
// kovahdd sync run; arguments start with "run".
int RunSyncRun(const Arguments& arguments);

// A profile run of the drive with its progress on the terminal; the exit status of "kovahdd profile".
int ProfileDrive(char driveLetter);

}  // namespace cli
