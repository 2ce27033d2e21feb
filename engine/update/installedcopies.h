#pragma once

#include <optional>
#include <string>

// Where the PC installation keeps the copies of the player's system and help files.
namespace engine {

// The installed-copies folder in the inside form ("Z:\usr\lib\kovahdd"), with its subfolders
// "VANTOR", "CORVANE" and "sys_help". Taken from, the first that is set: SetInstalledCopiesFolder,
// the variable KOVAHDD_INSTALLED_FILES (a Linux directory), and the folder of the engine library
// followed by "kovahdd". Empty optional when none gives a folder: every installed copy then counts
// as missing.
std::optional<std::string> InstalledCopiesFolder();

// Uses this Linux directory as the installed-copies folder; an empty optional returns to the rules above.
void SetInstalledCopiesFolder(std::optional<std::string> linuxDirectory);

// The Linux folder of a module path followed by "kovahdd", when the module's file name is the engine
// library's ("libKOVAHDDProfiler.so", any case, a version suffix allowed). The folder keeps its
// case, since Linux names are case-sensitive. Empty optional for any other module.
std::optional<std::string> InstalledCopiesFolderBeside(const std::string& modulePath);

}  // namespace engine
