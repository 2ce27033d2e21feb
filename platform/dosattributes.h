#pragma once

#include <cstdint>
#include <string>
#include <sys/stat.h>

// Inside the platform library only: DOS attribute bits of Linux files.
//
// On a vfat mount the real bits come from the FAT directory entry (FAT_IOCTL_*). Elsewhere hidden,
// system and archive live in the user.DOSATTRIB extended attribute as text "0x%x", as Wine and Samba
// keep them, and read-only is the absence of every write permission bit. A file without that
// attribute reads as archive, as a new file does on Windows. Where the file system has no extended
// attributes a leading dot reads as hidden and the other stored bits are lost.
namespace platform {

// True when the path lies on a vfat mount, where the FAT directory entry holds the bits.
bool IsOnFatVolume(const std::string& linuxPath);

// The attributes of an existing file whose stat the caller has; kAttributeNormal when no bit is set.
uint32_t ReadDosAttributes(const std::string& linuxPath, const struct stat& status);
// The same when the caller knows the volume already (a listing asks once for all its entries).
uint32_t ReadDosAttributes(const std::string& linuxPath, const struct stat& status, bool onFatVolume);

// Sets read-only, hidden, system and archive as given; other bits (directory, normal, temporary)
// are ignored, and read-only is ignored on folders as Windows does. 0, or the errno of the failure.
int WriteDosAttributes(const std::string& linuxPath, uint32_t attributes);

}  // namespace platform
