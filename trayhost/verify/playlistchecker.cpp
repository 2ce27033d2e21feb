#include "trayhost/verify/playlistchecker.h"

#include "platform/errors.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "trayhost/verify/playlistlines.h"
#include "trayhost/verify/playlistreplacement.h"
#include "trayhost/verify/userplaylistentry.h"

#include <new>
#include <stdexcept>

namespace trayhost {

namespace {

constexpr const char* kLineEnds = "\r\n";

// An entry names a file the device does not have, or holds characters the player cannot handle. A
// path longer than Windows allows names no file, however its start may read.
bool IsBad(const UserPlaylistEntry& entry, const std::string& resolvedPath)
{
    return entry.invalid || resolvedPath.size() > platform::kMaxPath ||
           platform::GetFileAttributes(resolvedPath) == platform::kInvalidAttributes;
}

}  // namespace

// The working state of one playlist's check.
struct PlaylistChecker::Playlist {
    Playlist(const std::string& deviceRoot, const std::string& playlistPath)
        : root(deviceRoot), path(playlistPath), name(PlaylistNameOf(root, path)), folder(PlaylistFolderOf(path))
    {
    }

    // A line was removed, or the playlist was empty.
    bool modified() const { return empty || lines.removedAny(); }

    std::string root;
    std::string path;
    std::string name;    // inside the user playlist folder, for messages
    std::string folder;  // where relative entries start
    PlaylistLines lines;
    bool empty = false;
};

PlaylistChecker::PlaylistChecker(const Collaborators& collaborators, PlaylistWrites writes)
    : collaborators_(collaborators), writes_(writes)
{
}

VerifyResult PlaylistChecker::Check(const std::string& root, const std::string& path)
{
    if (root.empty() || path.empty()) return VerifyResult::Failed;
    Playlist playlist(root, path);
    try {
        return CheckPlaylist(playlist);
    } catch (const platform::FileError&) {
        return collaborators_.engine.IsDevicePresent(root) ? VerifyResult::Exception : VerifyResult::DeviceGone;
    }
}

VerifyResult PlaylistChecker::CheckPlaylist(Playlist& playlist)
{
    if (const auto stop = Interruption(playlist.root)) return *stop;
    if (const auto stop = Read(playlist)) return *stop;
    if (const auto stop = CheckLines(playlist)) return *stop;
    if (!playlist.modified() || writes_ == PlaylistWrites::ReportOnly) return VerifyResult::Done;
    return WriteBack(playlist);
}

std::optional<VerifyResult> PlaylistChecker::Read(Playlist& playlist)
{
    std::optional<platform::File> file = platform::File::TryOpen(playlist.path, platform::File::Mode::Read);
    if (!file) return VerifyResult::FileError;
    const uint64_t length = file->Length();
    if (length == 0) {
        // Nothing to keep: an empty playlist is deleted.
        collaborators_.report.EmptyPlaylistFound(playlist.name);
        playlist.empty = true;
        return std::nullopt;
    }
    std::string content;
    try {
        content.resize(static_cast<std::size_t>(length));
    } catch (const std::bad_alloc&) {
        return VerifyResult::Failed;
    } catch (const std::length_error&) {
        return VerifyResult::Failed;
    }
    content.resize(file->Read(content.data(), content.size()));
    file->Close();
    playlist.lines = PlaylistLines(std::move(content));
    return Interruption(playlist.root);
}

std::optional<VerifyResult> PlaylistChecker::CheckLines(Playlist& playlist)
{
    const std::string& content = playlist.lines.content();
    // A last line without a terminator is not looked at.
    for (std::size_t start = 0, end; (end = content.find_first_of(kLineEnds, start)) != std::string::npos;) {
        std::size_t next = end;
        if (const auto stop = CheckLine(playlist, start, end, next)) return stop;
        start = content.find_first_not_of(kLineEnds, next);
        if (start == std::string::npos) break;
    }
    // Unless the person asked otherwise, "to all" answers hold for this playlist only.
    PromptDecisions& decisions = collaborators_.decisions;
    if (!decisions.applyToAllPlaylists) decisions.yesToAll = decisions.noToAll = false;
    return std::nullopt;
}

std::optional<VerifyResult> PlaylistChecker::CheckLine(Playlist& playlist, std::size_t start, std::size_t end,
                                                       std::size_t& next)
{
    if (const auto stop = Interruption(playlist.root)) return stop;
    const std::optional<UserPlaylistEntry> entry =
        ReadEntry(std::string_view(playlist.lines.content()).substr(start, end - start));
    if (!entry) return std::nullopt;
    const std::string resolvedPath = ResolveEntry(*entry, playlist.root.front(), playlist.folder);
    if (const auto stop = Interruption(playlist.root)) return stop;
    if (!IsBad(*entry, resolvedPath)) return std::nullopt;

    const FileNotFoundQuestion question{playlist.name, entry->text, entry->invalid};
    collaborators_.report.BadEntryFound(question);
    return Decide(playlist, question, start, end, next);
}

std::optional<VerifyResult> PlaylistChecker::Decide(Playlist& playlist, const FileNotFoundQuestion& question,
                                                    std::size_t start, std::size_t end, std::size_t& next)
{
    PromptDecisions& decisions = collaborators_.decisions;
    const auto remove = [&] { next = playlist.lines.Remove(start, end); };
    if (decisions.yesToAll) {
        remove();
        return std::nullopt;
    }
    if (decisions.noToAll) return std::nullopt;

    if (const auto stop = Cancellation()) return stop;
    const FileNotFoundAnswer answer = collaborators_.userInterface.AskFileNotFound(question);
    // Cancel does not close an open question, but once it is pressed the answer no longer counts.
    if (const auto stop = Cancellation()) return stop;
    if (answer.applyToAllPlaylists) decisions.applyToAllPlaylists = *answer.applyToAllPlaylists;
    switch (answer.choice) {
    case FileNotFoundChoice::Yes:
    case FileNotFoundChoice::YesToAll:
        remove();
        decisions.yesToAll = answer.choice == FileNotFoundChoice::YesToAll;
        decisions.noToAll = false;
        break;
    case FileNotFoundChoice::No:
    case FileNotFoundChoice::NoToAll:
        decisions.noToAll = answer.choice == FileNotFoundChoice::NoToAll;
        decisions.yesToAll = false;
        break;
    case FileNotFoundChoice::Cancel:
        collaborators_.report.ShowStatus(VerifyStatus::Cancelling, {});
        return VerifyResult::Cancelled;
    }
    return std::nullopt;
}

VerifyResult PlaylistChecker::WriteBack(const Playlist& playlist)
{
    if (const auto stop = Interruption(playlist.root)) return *stop;
    const uint32_t attributes = platform::GetFileAttributes(playlist.path);
    const bool readOnly =
        attributes != platform::kInvalidAttributes && (attributes & platform::kAttributeReadOnly) != 0;
    if (readOnly) {
        if (const auto result = MakeWritable(playlist, attributes)) return *result;
    }
    if (const auto stop = Cancellation()) return *stop;
    const std::string content = playlist.lines.Remaining();
    const bool changed = content.empty() ? Delete(playlist) : Store(playlist, content);
    if (!changed) {
        // The playlist stays as it was, read-only again if it was.
        if (readOnly) platform::SetFileAttributes(playlist.path, attributes);
        if (!content.empty()) return VerifyResult::FileError;
    }
    return Finish();
}

std::optional<VerifyResult> PlaylistChecker::MakeWritable(const Playlist& playlist, uint32_t attributes)
{
    if (const auto stop = Cancellation()) return stop;
    const int32_t answer =
        collaborators_.userInterface.MessageBox(nullptr, ReadOnlyQuestionText(playlist.path), kReadOnlyQuestionTitle,
                                                kMbYesNo | kMbIconExclamation);
    if (answer != kIdYes) return Finish();
    if (const auto stop = Interruption(playlist.root)) return stop;
    if (!platform::SetFileAttributes(playlist.path, attributes & ~platform::kAttributeReadOnly)) {
        ShowError(ReadOnlyErrorText(playlist.path, platform::ErrorMessage(platform::GetLastError())),
                  kVerifyErrorTitle);
        return Finish();
    }
    return std::nullopt;
}

bool PlaylistChecker::Store(const Playlist& playlist, const std::string& content)
{
    if (!ReplacePlaylist(playlist.path, content)) return false;
    collaborators_.flags.profileOffer = true;
    collaborators_.report.PlaylistChanged(playlist.name, PlaylistChange::Rewritten);
    return true;
}

bool PlaylistChecker::Delete(const Playlist& playlist)
{
    if (!platform::DeleteFile(playlist.path)) {
        ShowError(PlaylistDeleteErrorText(playlist.name), kFileErrorTitle);
        return false;
    }
    collaborators_.flags.profileOffer = true;
    collaborators_.report.PlaylistChanged(playlist.name, PlaylistChange::Deleted);
    return true;
}

std::optional<VerifyResult> PlaylistChecker::Interruption(const std::string& root)
{
    if (const auto stop = Cancellation()) return stop;
    if (!collaborators_.engine.IsDevicePresent(root)) return VerifyResult::DeviceGone;
    return std::nullopt;
}

std::optional<VerifyResult> PlaylistChecker::Cancellation() const
{
    if (collaborators_.flags.cancel) return VerifyResult::Cancelled;
    return std::nullopt;
}

VerifyResult PlaylistChecker::Finish() const
{
    return Cancellation().value_or(VerifyResult::Done);
}

void PlaylistChecker::ShowError(const std::string& text, const char* title)
{
    collaborators_.userInterface.MessageBox(nullptr, text, title, kMbOk | kMbIconExclamation);
    ++errorsShown_;
}

}  // namespace trayhost
