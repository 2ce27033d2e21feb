#pragma once

#include "trayhost/syncui/rtfreader.h"

#include <optional>
#include <string>

// The help text of the KovaSync options: the rich-text file "KovaSync Options hlp.rtf", shipped
// with the program. An installed program finds it in <prefix>/share/kovahdd/ (its own folder being
// <prefix>/bin/); a program in a build tree finds it beside itself.
namespace trayhost {

inline constexpr const char* kSyncOptionsHelpFileName = "KovaSync Options hlp.rtf";
// The tray program's file name: another program (a test, a renamed copy) has no help file of its own.
inline constexpr const char* kTrayProgramFileName = "KOVAHDDProfilerTrayApp";
// A help file is a few pages; more than this is not read.
inline constexpr std::size_t kMaxSyncOptionsHelpBytes = 4 * 1024 * 1024;

// The help file for the program at executablePath (a Linux path): the installed one when it exists,
// else the one beside the program. Nothing when the program's file name is not the tray program's
// (compared without regard to case).
std::optional<std::string> SyncOptionsHelpPath(const std::string& executablePath);

// The help text read from the file; an empty document when the file is missing or unreadable, and
// what was read when reading stopped part way.
RtfDocument LoadSyncOptionsHelp(const std::string& helpPath);

}  // namespace trayhost
