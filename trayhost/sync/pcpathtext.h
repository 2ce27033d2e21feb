#pragma once

#include <string>

// PC paths as the person sees and types them: Linux paths ("/home/me/Music"), while inside the
// system they are paths with a drive letter ("Z:\home\me\Music"). A Linux path inside a mapped
// drive's directory is that drive's path, so a folder on a device's mount point is the device's.
namespace trayhost {

// The Linux path (UTF-8) of an inside path; the inside path itself, in UTF-8, when it names no
// mapped drive (a network path, a path without a drive, a drive not mapped).
std::string PcPathForDisplay(const std::string& insidePath);

// A path of a sync run as the person sees it (UTF-8): on the device's drive as written, with its
// letter; anywhere else a PC path (PcPathForDisplay).
std::string SyncPathForDisplay(const std::string& insidePath, char deviceLetter);
// The same in the system code page, as the run's messages are written.
std::string SyncPathForMessage(const std::string& insidePath, char deviceLetter);

// The inside path of a typed or dropped PC path (UTF-8): an absolute Linux path, or one starting
// with "~/" (the home folder), becomes the path of its drive; anything else is taken as written, so
// that "C:\Music" and "\\server\share" keep their meaning and "Music" names no drive.
std::string PcPathFromDisplay(const std::string& shownPath);

}  // namespace trayhost
