// libFuzzer target for the check of a user playlist: the input after its first byte is a playlist
// on a small device, and every bad entry is answered Yes, or every one No (the first byte decides).
// The check always finishes; answered No, the playlist stays byte for byte (one of 0 bytes goes);
// answered Yes, a second check finds nothing left to ask about; no temporary file is left behind.

#include "testsupport/scripteduserinterface.h"
#include "trayhost/tests/scriptedengine.h"
#include "trayhost/verify/playlistchecker.h"
#include "trayhost/verify/playlistreplacement.h"
#include "trayhost/verify/tests/verifytestdevice.h"
#include "trayhost/verify/userplaylistentry.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

using namespace trayhost;

constexpr char kPlaylistName[] = "list.m3u";

class SameAnswerEveryTime : public testsupport::ScriptedUserInterface {
public:
    explicit SameAnswerEveryTime(FileNotFoundChoice choice) : choice_(choice) {}

    FileNotFoundAnswer AskFileNotFound(const FileNotFoundQuestion&) override
    {
        ++questions;
        return {choice_, false};
    }

    int questions = 0;

private:
    FileNotFoundChoice choice_;
};

// On a tmpfs of its own where the fuzzer may mount one: every input writes the playlist anew.
const VerifyTestDevice& Device()
{
    static const VerifyTestDevice device('E', 16 * 1024 * 1024);
    return device;
}

// Checks the playlist, every question answered with choice; returns how many were asked.
int CheckPlaylist(FileNotFoundChoice choice)
{
    ScriptedEngine engine;
    SameAnswerEveryTime userInterface(choice);
    RecordingReport report;
    VerificationFlags flags;
    PromptDecisions decisions;
    PlaylistChecker checker({engine, userInterface, report, flags, decisions});
    if (checker.Check(Device().root(), Device().PlaylistPath(kPlaylistName)) != VerifyResult::Done) {
        __builtin_trap();
    }
    return userInterface.questions;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    Device();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    const bool removeBadEntries = (data[0] & 1) != 0;
    const std::string playlist(reinterpret_cast<const char*>(data) + 1, size - 1);
    Device().WritePlaylist(kPlaylistName, playlist);

    CheckPlaylist(removeBadEntries ? FileNotFoundChoice::Yes : FileNotFoundChoice::No);
    const bool kept = Device().HasPlaylist(kPlaylistName);
    if (!removeBadEntries && kept != !playlist.empty()) __builtin_trap();
    if (!removeBadEntries && kept && Device().ReadPlaylist(kPlaylistName) != playlist) __builtin_trap();
    if (removeBadEntries && kept && CheckPlaylist(FileNotFoundChoice::No) != 0) __builtin_trap();
    const std::string replacement = ReplacementPathOf(kPlaylistName);
    if (Device().Exists(std::string(kUserPlaylistFolderName) + "/" + replacement)) __builtin_trap();
    return 0;
}
