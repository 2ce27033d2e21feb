#include "trayhost/detection/devicedetector.h"

#include "trayhost/detection/deviceidentity.h"

namespace trayhost {

namespace {

// A: and B: are floppy drives: never examined, even when they say they are removable.
constexpr char kFirstExaminedLetter = 'C';
constexpr char kLastLetter = 'Z';

bool HasIdentificationMethod(OperatingSystemKind kind)
{
    switch (kind) {
    case OperatingSystemKind::Windows98:
    case OperatingSystemKind::WindowsMe:
    case OperatingSystemKind::NtMinor0:
    case OperatingSystemKind::NtMinor1:
        return true;
    case OperatingSystemKind::VersionQueryFailed:
    case OperatingSystemKind::Unsupported:
        return false;
    }
    return false;
}

uint8_t ModelFromReply(const InquiryReply& reply)
{
    return ModelFromInquiry(InquiryField(reply.vendor, kInquiryVendorWidth),
                            InquiryField(reply.product, kInquiryProductWidth));
}

}  // namespace

int32_t DeviceDetector::EnumDevices(KovaDetectionCallback callback, int32_t userData)
{
    registry_.Reset();
    const OperatingSystemKind kind = KindOfOperatingSystem(platform_.GetVersion());
    if (!HasIdentificationMethod(kind)) return 0;

    platform_.RefreshDrives();
    int32_t count = 0;
    for (char letter = kFirstExaminedLetter; letter <= kLastLetter; ++letter) {
        if (!platform_.IsRemovableDrive(letter)) continue;
        const uint8_t model = Identify(kind, letter);
        if (model == kModelNone) continue;
        if (callback) callback(letter, model, userData);
        ++count;
    }
    return count;
}

uint8_t DeviceDetector::Identify(OperatingSystemKind kind, char letter)
{
    if (kind == OperatingSystemKind::Windows98) return IdentifyByControlChannel(letter);
    if (kind == OperatingSystemKind::WindowsMe) return registry_.Lookup(letter);
    return IdentifyByStorageQuery(letter);
}

uint8_t DeviceDetector::IdentifyByControlChannel(char letter)
{
    trace_ << "Starting Inquiry \n";
    const InquiryReply reply = platform_.Inquire(letter);
    if (reply.status == InquiryStatus::CallFailed) {
        trace_ << "GetLastError() = " << static_cast<int32_t>(reply.errorCode) << "\n";
    }
    if (reply.status == InquiryStatus::CannotOpen || reply.status == InquiryStatus::CallFailed) {
        trace_ << "Error executing vxd ioctl\n";
        return kModelNone;
    }
    trace_ << "Succeeded at executing vxd ioctl\n";
    if (reply.status == InquiryStatus::NotCompleted) return kModelNone;
    trace_ << "Inquiry Finished Successfully \n";
    return ModelFromReply(reply);
}

uint8_t DeviceDetector::IdentifyByStorageQuery(char letter)
{
    const InquiryReply reply = platform_.Inquire(letter);
    if (reply.status != InquiryStatus::Answered) return kModelNone;
    return ModelFromReply(reply);
}

}  // namespace trayhost
