#pragma once

#include "platform/export.h"

#include <string>

// The program's folders in the user's home, by the XDG base directory rules: a variable that holds
// an absolute path wins, else the default below $HOME. Read at every call, so tests may point the
// variables elsewhere. Empty when neither the variable nor HOME gives a folder.
namespace platform {

// $XDG_CONFIG_HOME/kovahdd (default ~/.config/kovahdd): drives.conf, the registry file.
KOVAPLATFORM_API std::string UserConfigFolder();
// $XDG_STATE_HOME/kovahdd (default ~/.local/state/kovahdd): the sync state file.
KOVAPLATFORM_API std::string UserStateFolder();
// $XDG_CACHE_HOME/kovahdd (default ~/.cache/kovahdd): what the program can make again, such as the
// tags read from each device.
KOVAPLATFORM_API std::string UserCacheFolder();

// Creates the folder and the missing folders above it, the new ones private to the user (0700).
// False, with the last error set, when that fails.
KOVAPLATFORM_API bool CreateUserFolder(const std::string& folder);

}  // namespace platform
