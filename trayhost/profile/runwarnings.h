#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What the person is warned of at the end of a finished profile run: the playlists that were not
// put on the device, and the songs the player cannot address. Shared by the tray program, which
// shows them in one message box, and the command-line tool, which prints them.
namespace trayhost {

// One text naming every playlist not written, grouped by why, from the values of the engine's
// code 9 reports (PlaylistReportValue); empty when there are none.
std::string PlaylistsNotWrittenText(const std::vector<int32_t>& reportValues);

// True when a playlist was not written for another reason than its size: a failure the person
// should act on (a full or vanished device), not a limit of the player.
bool AnyPlaylistFailed(const std::vector<int32_t>& reportValues);

// One line about songs whose names hold characters outside the system code page; empty for 0.
std::string UnaddressableFilesText(int32_t count);

}  // namespace trayhost
