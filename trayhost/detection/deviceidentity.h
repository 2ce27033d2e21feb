#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// How a drive proves it is a jukebox: the SCSI inquiry fields, or the registry's device description.
// Every comparison is case-insensitive and of the whole string, so padding matters: "Corvane"
// without its trailing space is some other vendor.
namespace trayhost {

inline constexpr std::size_t kInquiryVendorWidth = 8;
inline constexpr std::size_t kInquiryProductWidth = 16;

inline constexpr std::string_view kInquiryVendor = "Corvane ";
inline constexpr std::string_view kInquiryProductHd = "Kova HD Storage ";
inline constexpr std::string_view kInquiryProductPj = "Kova PJ Storage ";
inline constexpr std::string_view kDeviceDescHd = "Corvane Kova HD Storage ";
inline constexpr std::string_view kDeviceDescPj = "Corvane Kova PJ Storage ";

// An inquiry field as a C string: at most width bytes of the raw field, ending before the first NUL.
std::string InquiryField(std::string_view raw, std::size_t width);

// The model of a drive from its inquiry fields (already cut by InquiryField); kModelNone unless
// the vendor matches and the product is one of the two models.
uint8_t ModelFromInquiry(std::string_view vendor, std::string_view product);

// The model of a drive from its "DeviceDesc" registry value, read as a C string.
uint8_t ModelFromDeviceDescription(std::string_view description);

}  // namespace trayhost
