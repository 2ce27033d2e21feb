#pragma once

#include "trayhost/detection/operatingsystemkind.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace trayhost {

enum class InquiryStatus {
    Answered,
    CannotOpen,    // the drive, or the channel to it, could not be opened
    CallFailed,    // the control call failed; errorCode holds the operating system's code
    NotCompleted,  // the call ran but the driver never reported the inquiry complete
};

// A drive's answer to a SCSI INQUIRY. The fields are the raw bytes of the standard inquiry data,
// space padded and possibly holding NUL bytes; detection cuts them to their width.
struct InquiryReply {
    InquiryStatus status = InquiryStatus::CannotOpen;
    uint32_t errorCode = 0;
    std::string vendor;   // 8 bytes
    std::string product;  // 16 bytes
};

// One instance of a device in the registry's SCSI enumeration. A value that is missing is empty.
struct RegisteredInstance {
    std::optional<std::string> deviceDesc;
    std::optional<std::string> currentDriveLetterAssignment;  // the first character is the letter
};

// One device key of the enumeration with its instances, in the order the registry lists them.
struct RegisteredDevice {
    std::vector<RegisteredInstance> instances;
};

// What device detection asks of the operating system. One implementation per operating system,
// chosen in kovadetection.cpp; tests use fakes. Calls come from one thread and never overlap.
class DetectionPlatform {
public:
    virtual ~DetectionPlatform() = default;

    // Empty when the version cannot be read.
    virtual std::optional<WindowsVersion> GetVersion() = 0;
    // Brings the list of drives up to date; called at the start of every enumeration.
    virtual void RefreshDrives() = 0;
    // The drive exists and is a removable one.
    virtual bool IsRemovableDrive(char letter) = 0;
    virtual InquiryReply Inquire(char letter) = 0;
    // The device keys of the SCSI enumeration. An empty list when there is no enumeration at all;
    // an empty optional when it exists but could not be read (the caller tries again later).
    virtual std::optional<std::vector<RegisteredDevice>> RegisteredDevices() = 0;
    // The drive has a medium that answers: its root ("E:\") has attributes and a free-space figure.
    virtual bool IsDriveAccessible(const std::string& rootPath) = 0;
};

}  // namespace trayhost
