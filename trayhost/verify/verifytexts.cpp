#include "trayhost/verify/verifytexts.h"

namespace trayhost {

namespace {

// FormatMessage fills a buffer of 256 bytes.
constexpr std::size_t kMaxSystemErrorText = 255;

}  // namespace

std::optional<std::string> VerifyStatusText(int32_t code, std::string_view fileName)
{
    switch (static_cast<VerifyStatus>(code)) {
    case VerifyStatus::Scanning:
        return "Scanning device...";
    case VerifyStatus::Verifying:
        if (fileName.empty()) return "Verifying user playlists...";
        return "Verifying user playlist '" + std::string(fileName) + "'...";
    case VerifyStatus::Finished:
        return "User Playlists Verification finished.";
    case VerifyStatus::Cancelling:
        return "Verification canceled.  This may take a few seconds...";
    case VerifyStatus::NoPlaylists:
        return "Verification aborted.  No user playlists were found on the device to verify.";
    case VerifyStatus::DeviceGone:
        return "Verification aborted.  The device is no longer connected to the system and/or is not working "
               "properly.";
    }
    return std::nullopt;
}

std::string PlaylistFileErrorText(std::string_view fileName)
{
    return "An error occurred accessing the '" + std::string(fileName) +
           "' user playlist file.  The contents of this file will not be able to be verified at this time.";
}

std::string PlaylistDeleteErrorText(std::string_view playlistName)
{
    return "An error occurred deleting the '" + std::string(playlistName) + "' user playlist file.";
}

std::string ReadOnlyQuestionText(std::string_view path)
{
    return "The " + std::string(path) +
           " is currently marked as read-only.  Are you sure that you want to modify the file?";
}

std::string ReadOnlyErrorText(std::string_view path, std::string_view systemErrorText)
{
    return "The following error occurred while trying to remove the read-only attribute from " + std::string(path) +
           ". The file will not be updated.  \n" + std::string(systemErrorText.substr(0, kMaxSystemErrorText));
}

std::string ProfileOfferText(std::string_view deviceName, char driveLetter)
{
    return "Do you want to profile the contents of the " + std::string(deviceName) + " (" + driveLetter +
           ":) device?";
}

}  // namespace trayhost
