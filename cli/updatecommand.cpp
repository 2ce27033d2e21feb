// kovahdd update TARGET [--model hd|pj]: brings the device's help files and system files up to the
// copies installed beside the engine, and tells the outcome in the tray program's words.

#include "cli/commands.h"
#include "cli/target.h"

#include "engine/kovahddprofiler.h"
#include "platform/files.h"
#include "platform/module.h"
#include "platform/paths.h"
#include "trayhost/detection/kovadetection.h"
#include "trayhost/profile/updatetexts.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
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

// Names the installed-copies folder in place of the one beside the engine library.
constexpr const char* kInstalledCopiesVariable = "KOVAHDD_INSTALLED_FILES";

struct UpdateRequest {
    std::string target;
    std::optional<unsigned char> model;  // from --model; else what detection finds at the drive
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

void ShowError(const char* text)
{
    std::fprintf(stderr, "%s: %s\n", trayhost::kUpdateErrorTitle, text);
}

std::optional<unsigned char> detectedModel;

int32_t NoteDetectedModel(char letter, uint8_t model, int32_t wantedLetter)
{
    if (letter == static_cast<char>(wantedLetter)) detectedModel = model;
    return 0;
}

// The model of the jukebox at the drive, as the tray program would find it; empty for another drive.
std::optional<unsigned char> DetectModel(char letter)
{
    detectedModel.reset();
    tagKOVAHDCONFLICTDIALOGINFO info{};
    KOVAHDDDetectionEnumDevices(NoteDetectedModel, info, letter);
    return detectedModel;
}

// The folder the engine takes the installed copies from, by the engine's own rule: the variable,
// else "kovahdd" beside the engine library.
std::string InstalledCopiesFolder()
{
    const char* named = std::getenv(kInstalledCopiesVariable);
    if (named && *named) return named;
    const std::filesystem::path engine =
        platform::ModulePathOf(reinterpret_cast<const void*>(&KOVAHDDUpdateHelpFiles));
    return (engine.parent_path() / "kovahdd").string();
}

// Whether the folder holds a file the update copies: a help file, or a system file of the model.
// Looked up as the engine looks, without regard to the case of the names.
bool HoldsInstalledCopies(const std::string& folder, unsigned char model)
{
    const std::string inside = platform::ToWindowsPath(folder);
    for (const char* subfolder : {"sys_help", model == kHdModel ? "VANTOR" : "CORVANE"}) {
        const auto listing = platform::FindFiles(inside + "\\" + subfolder + "\\*.*", platform::ListingDetail::Quick);
        if (!listing) continue;
        for (const platform::FolderEntry& entry : *listing) {
            if (!entry.IsFolder()) return true;
        }
    }
    return false;
}

}  // namespace

int RunUpdate(const Arguments& arguments)
{
    const std::optional<UpdateRequest> request = ParseRequest(arguments);
    if (!request) {
        std::fprintf(stderr, "%s", kUsage);
        return kExitUsage;
    }
    const std::optional<char> letter = ResolveTarget(request->target);
    if (!letter) return kExitUsage;

    // The system files differ by model: a guess could put one model's programs on the other.
    const std::optional<unsigned char> model = request->model ? request->model : DetectModel(*letter);
    if (!model) {
        std::fprintf(stderr, "kovahdd: %c: is not a detected jukebox; name its model with --model hd or --model pj\n",
                     *letter);
        return kExitUsage;
    }

    std::printf("Updating drive %c:\n", *letter);
    std::fflush(stdout);
    // Help files first, then the system files; a failed help update does not stop the system update.
    const bool helpUpdated = KOVAHDDUpdateHelpFiles(*letter) == kUpdateDone;
    if (!helpUpdated) ShowError(trayhost::kHelpFilesFailedText);

    const int32_t systemResult = KOVAHDDUpdateSystemFiles(*letter, *model);
    if (systemResult == kDeviceSystemFilesNewer) {
        std::printf("%s\n", trayhost::NewerSystemFilesText(*model, trayhost::SupportAddress()).c_str());
    } else if (systemResult == kUpdateDone) {
        // As in the tray program, success is not announced after the help files failed.
        if (helpUpdated) std::printf("%s\n", trayhost::SystemFilesUpdatedText(*model, *letter).c_str());
    } else {
        ShowError(trayhost::kSystemFilesFailedText);
    }
    const std::string installed = InstalledCopiesFolder();
    if (!HoldsInstalledCopies(installed, *model)) {
        std::fprintf(stderr,
                     "kovahdd: no installed copies of the device files in %s (its folders VANTOR, CORVANE and "
                     "sys_help); set %s to take them from another folder.\n",
                     installed.c_str(), kInstalledCopiesVariable);
    }
    const bool systemUpdated = systemResult == kUpdateDone || systemResult == kDeviceSystemFilesNewer;
    return helpUpdated && systemUpdated ? kExitSuccess : kExitFailure;
}

}  // namespace cli
