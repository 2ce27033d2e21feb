#include "trayhost/profile/runwarnings.h"

#include "engine/kovahddprofiler.h"

#include <array>
#include <string_view>

namespace trayhost {

namespace {

struct ProblemText {
    KovaPlaylistProblem problem;
    std::string_view reason;
};

// In the order the groups are told.
constexpr std::array kProblemTexts{
    ProblemText{kPlaylistTooLargeForPlayer,
                "the device holds more entries than the player's index can number (9999 at most)"},
    ProblemText{kPlaylistDeviceFull, "the device is full"},
    ProblemText{kPlaylistDeviceGone, "the device went away while the playlists were written"},
    ProblemText{kPlaylistWriteFailed, "a file error on the device"},
    ProblemText{kPlaylistHeldBack, "held back with the others, so that the player's playlists stay one set"},
};

std::string_view PlaylistName(int32_t kind)
{
    switch (kind) {
    case 0: return "artist";
    case 1: return "album";
    case 2: return "title";
    case 3: return "genre";
    case 5: return "audio files";
    default: return "unknown";
    }
}

// "artist", "artist and album", "artist, album and title".
std::string NameList(const std::vector<std::string_view>& names)
{
    std::string list;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) list += i + 1 == names.size() ? " and " : ", ";
        list += names[i];
    }
    return list;
}

std::string GroupSentence(const std::vector<std::string_view>& names, std::string_view reason)
{
    const bool several = names.size() > 1;
    return "The " + NameList(names) + (several ? " playlists were" : " playlist was") + " not written: " +
           std::string(reason) + ".";
}

}  // namespace

std::string PlaylistsNotWrittenText(const std::vector<int32_t>& reportValues)
{
    std::string text;
    for (const ProblemText& problemText : kProblemTexts) {
        std::vector<std::string_view> names;
        for (const int32_t value : reportValues) {
            if (PlaylistProblemOfReport(value) == problemText.problem) names.push_back(PlaylistName(PlaylistKindOfReport(value)));
        }
        if (names.empty()) continue;
        if (!text.empty()) text += '\n';
        text += GroupSentence(names, problemText.reason);
    }
    if (!text.empty()) text += "\nThe device keeps its previous playlists.";
    return text;
}

bool AnyPlaylistFailed(const std::vector<int32_t>& reportValues)
{
    for (const int32_t value : reportValues) {
        if (PlaylistProblemOfReport(value) != kPlaylistTooLargeForPlayer) return true;
    }
    return false;
}

std::string UnaddressableFilesText(int32_t count)
{
    if (count <= 0) return {};
    const std::string songs = count == 1 ? "1 song has a name" : std::to_string(count) + " songs have names";
    return songs + " with characters the player cannot read: the playlists show those characters as '?', and "
                   "the player may not play such songs. Rename them with plain letters.";
}

}  // namespace trayhost
