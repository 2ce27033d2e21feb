#pragma once

#include "platform/files.h"

#include <dirent.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Internal to the platform library: FindFiles and Folder::List read a listing the same way.
namespace platform {

// The entries of the open listing whose names match the pattern, as FindFiles gives them (the
// folder's "." and ".." too, but for a drive's root). linuxPath is the folder's. Empty, with the
// last error set to kErrorFileNotFound, when nothing matches.
std::optional<std::vector<FolderEntry>> ListOpenFolder(DIR* listing, const std::string& linuxPath, bool isDriveRoot,
                                                       std::string_view namePattern, ListingDetail detail);

}  // namespace platform
