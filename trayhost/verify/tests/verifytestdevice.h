#pragma once

#include "testsupport/devicetree.h"
#include "trayhost/verify/verificationreport.h"

#include <string>
#include <vector>

namespace trayhost {

// Remembers what a verification run tells, in the order told: statuses ("status 2 list.m3u"), bad
// entries and changed playlists ("list.m3u rewritten").
class RecordingReport : public VerificationReport {
public:
    void ShowStatus(VerifyStatus status, const std::string& fileName) override
    {
        std::string line = "status " + std::to_string(static_cast<int32_t>(status));
        if (!fileName.empty()) line += " " + fileName;
        statuses.push_back(line);
    }
    void BadEntryFound(const FileNotFoundQuestion& entry) override { badEntries.push_back(entry); }
    void PlaylistChanged(const std::string& playlistName, PlaylistChange change) override
    {
        changes.push_back(playlistName + (change == PlaylistChange::Deleted ? " deleted" : " rewritten"));
    }

    std::vector<std::string> statuses;
    std::vector<FileNotFoundQuestion> badEntries;
    std::vector<std::string> changes;
};

// A device with a few songs, and playlists written into its "kovahdd_playlists" folder.
class VerifyTestDevice : public testsupport::TemporaryDevice {
public:
    explicit VerifyTestDevice(char letter = 'E') : TemporaryDevice(letter) { AddSongs(); }
    VerifyTestDevice(char letter, std::size_t sizeLimitBytes) : TemporaryDevice(letter, sizeLimitBytes)
    {
        AddSongs();
    }

    void WritePlaylist(const std::string& name, const std::string& bytes) const
    {
        WriteFile("kovahdd_playlists/" + name, bytes);
    }
    std::string ReadPlaylist(const std::string& name) const { return ReadFile("kovahdd_playlists/" + name); }
    bool HasPlaylist(const std::string& name) const { return Exists("kovahdd_playlists/" + name); }
    std::string PlaylistPath(const std::string& name) const { return root() + "\\kovahdd_playlists\\" + name; }

private:
    void AddSongs() const
    {
        WriteFile("Music/song.mp3", "ID3");
        WriteFile("Music/Song Two.MP3", "ID3");
    }
};

}  // namespace trayhost
