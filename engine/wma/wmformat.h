#pragma once

#include <cstddef>
#include <cstdint>

// Result codes and attribute types of the Windows Media metadata editor, as our stand-in for it
// (MetadataEditor, on TagLib) reports them. The values are the media SDK's, so that callers and the
// diagnostic lines speak the same codes as on Windows.
namespace engine {

// A COM-style result: 0 or above is success, below 0 a failure.
using HResult = int32_t;

inline constexpr HResult kSOk = 0;
inline constexpr HResult kENoInterface = static_cast<HResult>(0x80004002);
inline constexpr HResult kEUnexpected = static_cast<HResult>(0x8000FFFF);
inline constexpr HResult kEOutOfMemory = static_cast<HResult>(0x8007000E);
inline constexpr HResult kEInvalidArg = static_cast<HResult>(0x80070057);
inline constexpr HResult kAsfEBufferTooSmall = static_cast<HResult>(0xC00D07D1);
inline constexpr HResult kAsfEInvalidHeader = static_cast<HResult>(0xC00D07E2);
inline constexpr HResult kAsfENotFound = static_cast<HResult>(0xC00D07F0);

constexpr bool Failed(HResult result)
{
    return result < 0;
}

// A Windows error code (platform/errors.h) in the Win32 facility; 0 stays success.
constexpr HResult HResultFromWin32(uint32_t code)
{
    return code == 0 ? kSOk : static_cast<HResult>(0x80070000u | (code & 0xFFFFu));
}

// The attribute value types, with the SDK's codes.
enum class AttributeDataType : uint32_t {
    Dword = 0,   // 32-bit unsigned, little-endian
    String = 1,  // UTF-16LE with a terminating zero unit
    Binary = 2,
    Bool = 3,    // 32-bit, 0 or 1
    Qword = 4,
    Word = 5,    // 16-bit unsigned
    Guid = 6,    // 16 bytes
};

// Attributes at stream number 0 describe the whole file.
inline constexpr uint16_t kFileLevelStream = 0;

// The reader takes attribute values into a buffer of this many bytes: a string of up to 127 wide
// characters and its terminator. A longer value is refused by the editor, never cut or overrun.
inline constexpr std::size_t kAttributeValueBufferSize = 256;

}  // namespace engine
