// kovahdd update TARGET [--model hd|pj]: brings the device's help files and system files up to the
// copies installed beside the engine, and tells the outcome in the tray program's words.

#include "cli/commands.h"
#include "cli/target.h"

#include "engine/kovahddprofiler.h"

#include <cstdio>
#include <optional>
#include <string>

namespace cli {

namespace {

constexpr unsigned char kHdModel = 1;
constexpr unsigned char kPjModel = 2;

// Results of the engine's updates.
constexpr int32_t kUpdateDone = 1;
constexpr int32_t kDeviceSystemFilesNewer = 2;

constexpr const char* kUsage = "Usage: kovahdd update TARGET [--model hd|pj]\n";
constexpr const char* kErrorTitle = "ERROR";
constexpr const char* kHelpFilesFailedText = "Error occurred while trying to update the help files.";
constexpr const char* kSystemFilesFailedText = "Error occurred while trying to update the system files.";
constexpr const char* kHdSupportAddress = "http://www.vantor.com/support";
constexpr const char* kPjSupportAddress = "http://www.corvane.com/kova";

struct UpdateRequest {
    std::string target;
    unsigned char model = kHdModel;
};

std::optional<unsigned char> ModelNamed(const std::string& name)
{
    if (name == "hd") return kHdModel;
    if (name == "pj") return kPjModel;
    return std::nullopt;
}

// TARGET and an optional "--model hd|pj", in either order.
std::optional<UpdateRequest> ParseRequest(const Arguments& arguments)
{
    UpdateRequest request;
    bool haveTarget = false;
    for (std::size_t index = 0; index < arguments.size(); ++index) {
        if (arguments[index] == "--model") {
            if (index + 1 == arguments.size()) return std::nullopt;
            const std::optional<unsigned char> model = ModelNamed(arguments[++index]);
            if (!model) return std::nullopt;
            request.model = *model;
        } else if (!haveTarget) {
            request.target = arguments[index];
            haveTarget = true;
        } else {
            return std::nullopt;
        }
    }
    if (!haveTarget) return std::nullopt;
    return request;
}

std::string NewerSystemFilesText(unsigned char model)
{
    if (model == kHdModel) {
        return std::string("One or more of the system files on the Vantor Kova MP3 Jukebox device is newer than the "
                           "system files installed with the Kova Profiler application.  It is recommended that you "
                           "visit the Customer Support page on ") +
               kHdSupportAddress + " to check for software updates.";
    }
    return std::string("One or more of the system files on the Corvane Kova Personal Jukebox device is newer than the "
                       "system files installed with the Kova Profiler application.  It is recommended that you visit ") +
           kPjSupportAddress + " to check for software updates.";
}

std::string UpdatedText(unsigned char model, char drive)
{
    const char* format = model == kHdModel
                             ? "The Vantor Kova MP3 Jukebox device (%c:) system files were successfully updated."
                             : "The Corvane Kova Personal Jukebox device (%c:) system files were successfully updated.";
    char text[128];
    std::snprintf(text, sizeof text, format, drive);
    return text;
}

void ShowError(const char* text)
{
    std::fprintf(stderr, "%s: %s\n", kErrorTitle, text);
}

}  // namespace

int RunUpdate(const Arguments& arguments)
{
    const std::optional<UpdateRequest> request = ParseRequest(arguments);
    if (!request) {
        std::fprintf(stderr, "%s", kUsage);
        return kExitUsage;
    }
    std::string error;
    const std::optional<char> letter = ResolveTarget(request->target, error);
    if (!letter) {
        std::fprintf(stderr, "kovahdd: %s\n", error.c_str());
        return kExitUsage;
    }

    std::printf("Updating drive %c:\n", *letter);
    std::fflush(stdout);
    // Help files first, then the system files; a failed help update does not stop the system update.
    const bool helpUpdated = KOVAHDDUpdateHelpFiles(*letter) == kUpdateDone;
    if (!helpUpdated) ShowError(kHelpFilesFailedText);

    const int32_t systemResult = KOVAHDDUpdateSystemFiles(*letter, request->model);
    if (systemResult == kDeviceSystemFilesNewer) {
        std::printf("%s\n", NewerSystemFilesText(request->model).c_str());
    } else if (systemResult == kUpdateDone) {
        // As in the tray program, success is not announced after the help files failed.
        if (helpUpdated) std::printf("%s\n", UpdatedText(request->model, *letter).c_str());
    } else {
        ShowError(kSystemFilesFailedText);
    }
    const bool systemUpdated = systemResult == kUpdateDone || systemResult == kDeviceSystemFilesNewer;
    return helpUpdated && systemUpdated ? kExitSuccess : kExitFailure;
}

}  // namespace cli
