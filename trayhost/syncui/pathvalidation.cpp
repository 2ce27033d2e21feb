#include "trayhost/syncui/pathvalidation.h"

#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "trayhost/sync/syncpaths.h"

#include <cstdio>
#include <optional>
#include <string_view>
#include <vector>

namespace trayhost {

namespace {

constexpr uint32_t kWarning = kMbOk | kMbIconExclamation;
constexpr uint32_t kWarningQuestion = kMbYesNo | kMbIconExclamation;
// The system's error text is cut to this many characters in the folder-creation message.
constexpr std::size_t kMaxErrorTextLength = 255;

constexpr const char* kInvalidPathsTitle = "Invalid Paths";
constexpr const char* kInvalidPcPathTitle = "Invalid PC Path";
constexpr const char* kInvalidDevicePathTitle = "Invalid Device Path";
constexpr const char* kPathConflictTitle = "Path Conflict";
constexpr const char* kInvalidSyncPathsTitle = "Invalid Sync Paths";
constexpr const char* kCreatePcFolderTitle = "Create Folder Path";
constexpr const char* kCreateDeviceFolderTitle = "Create Folder";
constexpr const char* kFolderCreationErrorTitle = "Folder Creation Error";

constexpr const char* kSamePathsText =
    "The PC and Device paths specified can not be the same value.  Please specify a different value.";
constexpr const char* kDeviceDriveMissingText =
    "Invalid device path specified.  Must include the drive letter of the selected device.";
constexpr const char* kPcDriveMissingText = "Invalid PC path.  Must specify a valid drive.";
constexpr const char* kDifferentTypesText =
    "The PC and Device paths specified are of different type.  Both paths must either be folders or files.  "
    "Please specify a new path.";
constexpr const char* kNeitherExistsText =
    "The 'Synchronize PC and Device' option has been selected.  At least one of the specified paths must exist in "
    "order to perform the synchronization.";
constexpr const char* kDifferentNamesText =
    "The 'Synchronize PC and Device' option has been selected.  You must specify the same filename for the PC and "
    "Device paths to be synchronized.";
constexpr const char* kPcMissingText = "The PC path specified does not exist.  Please specify a different path.";
constexpr const char* kCreatePcFolderText = "The PC folder path specified does not exist.  Do you want to create it?";
constexpr const char* kCreateDeviceFolderText = "The Device path specified does not exist.  Do you want to create it?";
constexpr const char* kDeviceMissingText = "The Device path specified does not exist.  Please specify a different path.";
constexpr const char* kFolderCreationErrorFormat =
    "The following error occurred while attempting to create the specified folder:\n%s";

constexpr const char* kNoPcPathText = "Must specify a valid PC path.";
constexpr const char* kNoDevicePathText = "Must specify a valid path on the Device.";
constexpr const char* kWrongDeviceDriveFormat =
    "Invalid Device path specified.  The path must be on the same drive as the selected Kova Jukebox device (%c).";

constexpr char kSeparator = '\\';
constexpr std::string_view kNetworkPathStart = "\\\\";

char ToUpperAscii(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool IsAsciiLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool HasDrive(const std::string& path)
{
    return path.size() >= 2 && path[1] == ':';
}

// A letter and ":", with or without a "\" after it; whether it exists does not matter here.
bool IsBareDriveOrRoot(const std::string& path)
{
    const bool bare = path.size() == 2 && IsAsciiLetter(path[0]) && path[1] == ':';
    const bool root = path.size() == 3 && IsAsciiLetter(path[0]) && path[1] == ':' && path[2] == kSeparator;
    return bare || root;
}

bool Exists(const std::string& path)
{
    return platform::FileExists(path);
}

// The pair's checks in their order; each either ends the validation or passes to the next.
class SyncPathRules {
public:
    SyncPathRules(UserInterface& ui, WindowHandle owner, char deviceLetter, SyncOption option, const std::string& pcPath,
                  const std::string& devicePath)
        : ui_(ui), owner_(owner), hasDevice_(deviceLetter != 0), option_(option), pc_(pcPath), device_(devicePath),
          types_(TypesOfItemPaths(pcPath, devicePath))
    {
    }

    PathValidation Run()
    {
        if (hasDevice_ && platform::EqualsNoCase(pc_, device_)) {
            return Refuse(kSamePathsText, kInvalidPathsTitle, PathField::PcPath);
        }
        if (hasDevice_ && !HasDrive(device_)) return Refuse(kDeviceDriveMissingText, kInvalidDevicePathTitle, PathField::DevicePath);
        if (!HasDrive(pc_) && !pc_.starts_with(kNetworkPathStart)) {
            return Refuse(kPcDriveMissingText, kInvalidPcPathTitle, PathField::PcPath);
        }
        if (hasDevice_ && !types_.Match()) {
            return Refuse(kDifferentTypesText, kPathConflictTitle, PathField::PcPath);
        }
        if (option_ == SyncOption::SyncBoth) {
            if (!Exists(pc_) && !Exists(device_)) return Refuse(kNeitherExistsText, kInvalidSyncPathsTitle, PathField::PcPath);
            if (BothFiles() && !platform::EqualsNoCase(NamePart(pc_), NamePart(device_))) {
                return Refuse(kDifferentNamesText, kInvalidSyncPathsTitle, PathField::PcPath);
            }
        }
        if (option_ == SyncOption::PcToDevice && !Exists(pc_)) return Refuse(kPcMissingText, kInvalidPcPathTitle, PathField::PcPath);
        const std::string pcFolder = FolderPart(pc_, types_.pcIsFile);
        if (option_ == SyncOption::DeviceToPc && !Exists(pcFolder) &&
            !OfferToCreate(pcFolder, kCreatePcFolderText, kCreatePcFolderTitle)) {
            return Refused(PathField::PcPath);
        }
        if (!hasDevice_) return Accepted();
        const std::string deviceFolder = FolderPart(device_, types_.deviceIsFile);
        if (option_ == SyncOption::PcToDevice && !Exists(deviceFolder) &&
            !OfferToCreate(deviceFolder, kCreateDeviceFolderText, kCreateDeviceFolderTitle)) {
            return Refused(PathField::DevicePath);
        }
        if (option_ == SyncOption::DeviceToPc && !Exists(device_)) {
            return Refuse(kDeviceMissingText, kInvalidDevicePathTitle, PathField::DevicePath);
        }
        if (BothFiles()) return Accepted();
        if (PcDrive() != ToUpperAscii(device_[0])) return Accepted();
        // The same drive on both sides: a drive root would hold the other path inside it.
        if (IsBareDriveOrRoot(pc_) || IsBareDriveOrRoot(device_)) return Refused(PathField::None);
        return Accepted();
    }

private:
    static PathValidation Accepted() { return {true, PathField::None}; }
    static PathValidation Refused(PathField focus) { return {false, focus}; }

    PathValidation Refuse(const std::string& text, const char* title, PathField focus)
    {
        ui_.MessageBox(owner_, text, title, kWarning);
        return Refused(focus);
    }

    bool BothFiles() const { return types_.pcIsFile && types_.deviceIsFile; }

    // A file's name after its last "\"; the whole path when there is no "\" to cut at.
    static std::string NamePart(const std::string& path) { return path.substr(NameOffset(path)); }

    // A file's folder up to and including its last "\" (empty without one); a folder itself.
    static std::string FolderPart(const std::string& path, bool isFile)
    {
        return isFile ? path.substr(0, NameOffset(path)) : path;
    }

    // The PC path's drive letter, upper-cased; 0 for a network path.
    char PcDrive() const { return HasDrive(pc_) ? ToUpperAscii(pc_[0]) : 0; }

    // Asks whether to create the missing folder; true when it now exists.
    bool OfferToCreate(const std::string& folder, const char* question, const char* title)
    {
        if (ui_.MessageBox(owner_, question, title, kWarningQuestion) != kIdYes) return false;
        uint32_t error = platform::kErrorSuccess;
        if (CreateFolderAndParents(folder, &error)) return true;
        const std::string reason = platform::ErrorMessage(error).substr(0, kMaxErrorTextLength);
        std::vector<char> text(std::string_view(kFolderCreationErrorFormat).size() + reason.size() + 1);
        std::snprintf(text.data(), text.size(), kFolderCreationErrorFormat, reason.c_str());
        ui_.MessageBox(owner_, text.data(), kFolderCreationErrorTitle, kWarning);
        return false;
    }

    UserInterface& ui_;
    WindowHandle owner_;
    bool hasDevice_;
    SyncOption option_;
    const std::string& pc_;
    const std::string& device_;
    ItemPathTypes types_;
};

}  // namespace

bool SetDeviceDriveLetter(char deviceLetter, std::string& path)
{
    if (path.empty()) return false;
    if (ToUpperAscii(path[0]) != deviceLetter) path[0] = deviceLetter;
    return true;
}

PathValidation ValidateSyncPaths(UserInterface& ui, WindowHandle owner, char deviceLetter, SyncOption option,
                                 const std::string& pcPath, const std::string& devicePath)
{
    return SyncPathRules(ui, owner, deviceLetter, option, pcPath, devicePath).Run();
}

PathValidation AcceptPathEditorEntry(UserInterface& ui, WindowHandle owner, char deviceLetter, SyncOption option,
                                     std::string& pcPath, std::string& devicePath)
{
    TrimSpaces(pcPath);
    TrimSpaces(devicePath);
    if (pcPath.empty()) {
        ui.MessageBox(owner, kNoPcPathText, kInvalidPcPathTitle, kWarning);
        return {false, PathField::PcPath};
    }
    if (deviceLetter == 0) return ValidateSyncPaths(ui, owner, 0, option, pcPath, devicePath);
    if (devicePath.empty()) {
        ui.MessageBox(owner, kNoDevicePathText, kInvalidDevicePathTitle, kWarning);
        return {false, PathField::DevicePath};
    }
    const char letter = ToUpperAscii(deviceLetter);
    if (ToUpperAscii(devicePath[0]) != letter) {
        char text[160];
        std::snprintf(text, sizeof text, kWrongDeviceDriveFormat, letter);
        ui.MessageBox(owner, text, kInvalidDevicePathTitle, kWarning);
        return {false, PathField::DevicePath};
    }
    SetDeviceDriveLetter(deviceLetter, devicePath);
    return ValidateSyncPaths(ui, owner, deviceLetter, option, pcPath, devicePath);
}

}  // namespace trayhost
