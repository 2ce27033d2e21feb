// kovahdd sync show | add | remove | set: the sync profile of the tray program's KovaSync, seen and
// edited from a terminal (kovahdd sync run runs it, in syncruncommand.cpp). A change reads, edits and saves the profile in one registry transaction,
// so that a tray program or another kovahdd saving at the same moment loses nothing.

#include "cli/commands.h"
#include "cli/terminaluserinterface.h"

#include "platform/codepage.h"
#include "platform/paths.h"
#include "platform/registry.h"
#include "trayhost/sync/syncpaths.h"
#include "trayhost/sync/syncprofilestore.h"
#include "trayhost/sync/synctexts.h"
#include "trayhost/syncui/pathvalidation.h"

#include <charconv>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace cli {

namespace {

using trayhost::SyncOption;
using trayhost::SyncSettings;

constexpr const char* kUsage =
    "Usage: kovahdd sync show\n"
    "       kovahdd sync add PCPATH DEVICEPATH [--create-folders]\n"
    "       kovahdd sync remove N\n"
    "       kovahdd sync set [--device E] [--option both|pc-to-device|device-to-pc] [--cleanup on|off]\n"
    "                        [--profile-after on|off]\n"
    "       kovahdd sync run [--dry-run] [--conflicts ask|pc|device|skip]\n";

int UsageError()
{
    std::fputs(kUsage, stderr);
    return kExitUsage;
}

int SaveFailed()
{
    std::fprintf(stderr, "kovahdd: the sync profile could not be saved in %s\n", platform::RegistryFilePath().c_str());
    return kExitFailure;
}

bool IsAsciiLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

char ToUpperAscii(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool HasDriveLetter(const std::string& text)
{
    return text.size() >= 2 && IsAsciiLetter(text[0]) && text[1] == ':';
}

// A text of the profile (system code page) for the terminal (UTF-8).
std::string ForTerminal(const std::string& text)
{
    return platform::CodePage::System().ToUtf8(text);
}

// A PC path as its user knows it: the Linux path, or the stored text when its drive is not mapped.
std::string ShownPcPath(const std::string& path)
{
    if (path.empty()) return path;
    if (const std::optional<std::string> linuxPath = platform::ToLinuxPath(path)) return *linuxPath;
    return ForTerminal(path);
}

// A typed PC path in the profile's form: a Linux path (a relative one from the current folder), or a
// path with a drive letter as it is.
std::string TypedPcPath(std::string text)
{
    trayhost::TrimSpaces(text);
    // A text of spaces alone stays for the checks to refuse.
    if (text.find_first_not_of(' ') == std::string::npos) return text;
    return HasDriveLetter(text) ? platform::CodePage::System().FromUtf8(text) : platform::ToWindowsPath(text);
}

// A typed device path in the profile's form: a path with its drive letter, or a Linux path inside a
// mapped drive's folder.
std::string TypedDevicePath(std::string text)
{
    trayhost::TrimSpaces(text);
    return text.starts_with('/') ? platform::ToWindowsPath(text) : platform::CodePage::System().FromUtf8(text);
}

void PrintProfile(const SyncSettings& settings)
{
    const std::string device = settings.deviceLetter ? std::string(1, settings.deviceLetter) + ":" : "none chosen";
    std::printf("Device:             %s\n", device.c_str());
    const std::string_view option = trayhost::SyncOptionLabel(settings.option);
    if (option.empty()) {
        std::printf("Option:             none valid (choose one with 'kovahdd sync set --option')\n");
    } else {
        std::printf("Option:             %.*s\n", static_cast<int>(option.size()), option.data());
    }
    const std::string_view cleanup = trayhost::FileCleanupLabel(settings.option);
    const std::string cleanupNote =
        cleanup.empty() ? "not used with this option" : std::string(cleanup);
    std::printf("Clean-up:           %s  (%s)\n", settings.fileCleanup ? "on" : "off", cleanupNote.c_str());
    std::printf("Profile after sync: %s\n", settings.profileAfterSync ? "on" : "off");
    if (settings.items.empty()) {
        std::printf("Items:              none\n");
        return;
    }
    std::printf("Items:\n");
    for (std::size_t index = 0; index < settings.items.size(); ++index) {
        const trayhost::SyncItem& item = settings.items[index];
        std::printf("  %zu  %s  ->  %s\n", index + 1, ShownPcPath(item.pcPath).c_str(), ForTerminal(item.devicePath).c_str());
    }
}

int RunShow(const Arguments& arguments)
{
    if (arguments.size() != 1) return UsageError();
    SyncSettings settings;
    trayhost::LoadSyncSettings(settings);
    PrintProfile(settings);
    return kExitSuccess;
}

// Refuses a path the profile cannot hold: the registry keeps at most 260 characters.
bool FitsInProfile(const std::string& path, const char* side)
{
    if (path.size() <= platform::kMaxPath) return true;
    std::fprintf(stderr, "kovahdd: the %s path is longer than %zu characters\n", side, platform::kMaxPath);
    return false;
}

int RunAdd(const Arguments& arguments)
{
    std::vector<std::string> paths;
    bool createFolders = false;
    for (std::size_t index = 1; index < arguments.size(); ++index) {
        if (arguments[index] == "--create-folders") {
            createFolders = true;
        } else {
            paths.push_back(arguments[index]);
        }
    }
    if (paths.size() != 2) return UsageError();
    std::string pcPath = TypedPcPath(paths[0]);
    std::string devicePath = TypedDevicePath(paths[1]);
    if (!FitsInProfile(pcPath, "PC") || !FitsInProfile(devicePath, "device")) return kExitUsage;

    // The checks may wait for an answer at the terminal: they run before the registry is locked,
    // so that the tray program is never kept waiting for the person.
    SyncSettings settings;
    trayhost::LoadSyncSettings(settings);
    TerminalUserInterface ui(createFolders, "--create-folders");
    const trayhost::PathValidation validation = trayhost::AcceptPathEditorEntry(
        ui, nullptr, settings.deviceLetter, settings.option, pcPath, devicePath);
    if (!validation.accepted) {
        if (validation.focus == trayhost::PathField::None) {
            std::fprintf(stderr, "kovahdd: the PC and device paths are on one drive and one of them is the drive's "
                                 "root, so each would hold the other\n");
        }
        std::fprintf(stderr, "kovahdd: the item was not added\n");
        return kExitUsage;
    }

    platform::RegistryTransaction transaction;
    trayhost::LoadSyncSettings(settings);
    trayhost::SyncItem& item = settings.items.emplace_back();
    item.pcPath = pcPath;
    item.devicePath = devicePath;
    if (!trayhost::SaveSyncSettings(settings)) return SaveFailed();
    std::printf("Item %zu added: %s  ->  %s\n", settings.items.size(), ShownPcPath(pcPath).c_str(),
                ForTerminal(devicePath).c_str());
    return kExitSuccess;
}

int RunRemove(const Arguments& arguments)
{
    if (arguments.size() != 2) return UsageError();
    const std::string& text = arguments[1];
    std::size_t number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size() || number == 0) return UsageError();

    platform::RegistryTransaction transaction;
    SyncSettings settings;
    trayhost::LoadSyncSettings(settings);
    if (number > settings.items.size()) {
        std::fprintf(stderr, "kovahdd: there is no item %zu; the profile has %zu\n", number, settings.items.size());
        return kExitUsage;
    }
    settings.items.erase(settings.items.begin() + static_cast<std::ptrdiff_t>(number - 1));
    if (!trayhost::SaveSyncSettings(settings)) return SaveFailed();
    std::printf("Item %zu removed; %zu left\n", number, settings.items.size());
    return kExitSuccess;
}

// The fields `set` changes; the unnamed ones keep their stored values.
struct SetRequest {
    std::optional<char> device;
    std::optional<SyncOption> option;
    std::optional<bool> fileCleanup;
    std::optional<bool> profileAfterSync;

    bool IsEmpty() const { return !device && !option && !fileCleanup && !profileAfterSync; }
};

std::optional<char> ParseLetter(const std::string& text)
{
    const bool letterOnly = text.size() == 1 || (text.size() == 2 && text[1] == ':');
    if (!letterOnly || !IsAsciiLetter(text[0])) return std::nullopt;
    return ToUpperAscii(text[0]);
}

std::optional<SyncOption> ParseOption(const std::string& text)
{
    if (text == "both") return SyncOption::SyncBoth;
    if (text == "pc-to-device") return SyncOption::PcToDevice;
    if (text == "device-to-pc") return SyncOption::DeviceToPc;
    return std::nullopt;
}

std::optional<bool> ParseSwitch(const std::string& text)
{
    if (text == "on") return true;
    if (text == "off") return false;
    return std::nullopt;
}

// Keeps a parsed value; false when the text did not parse.
template <typename Value>
bool Store(std::optional<Value>& field, std::optional<Value> parsed)
{
    field = parsed;
    return parsed.has_value();
}

std::optional<SetRequest> ParseSetRequest(const Arguments& arguments)
{
    SetRequest request;
    for (std::size_t index = 1; index < arguments.size(); index += 2) {
        if (index + 1 == arguments.size()) return std::nullopt;
        const std::string& name = arguments[index];
        const std::string& value = arguments[index + 1];
        bool parsed = false;
        if (name == "--device") {
            parsed = Store(request.device, ParseLetter(value));
        } else if (name == "--option") {
            parsed = Store(request.option, ParseOption(value));
        } else if (name == "--cleanup") {
            parsed = Store(request.fileCleanup, ParseSwitch(value));
        } else if (name == "--profile-after") {
            parsed = Store(request.profileAfterSync, ParseSwitch(value));
        }
        if (!parsed) return std::nullopt;
    }
    if (request.IsEmpty()) return std::nullopt;
    return request;
}

int RunSet(const Arguments& arguments)
{
    const std::optional<SetRequest> request = ParseSetRequest(arguments);
    if (!request) return UsageError();

    platform::RegistryTransaction transaction;
    SyncSettings settings;
    trayhost::LoadSyncSettings(settings);
    if (request->device) {
        settings.deviceLetter = *request->device;
        // As the options dialog does with the device chosen: the items' device paths go with it.
        for (trayhost::SyncItem& item : settings.items) trayhost::SetDeviceDriveLetter(*request->device, item.devicePath);
    }
    if (request->option) settings.option = *request->option;
    if (request->fileCleanup) settings.fileCleanup = *request->fileCleanup;
    if (request->profileAfterSync) settings.profileAfterSync = *request->profileAfterSync;
    if (!trayhost::SaveSyncSettings(settings)) return SaveFailed();
    PrintProfile(settings);
    return kExitSuccess;
}

}  // namespace

int RunSync(const Arguments& arguments)
{
    if (arguments.empty()) return UsageError();
    const std::string& action = arguments[0];
    if (action == "show") return RunShow(arguments);
    if (action == "add") return RunAdd(arguments);
    if (action == "remove") return RunRemove(arguments);
    if (action == "set") return RunSet(arguments);
    if (action == "run") return RunSyncRun(arguments);
    return UsageError();
}

}  // namespace cli
