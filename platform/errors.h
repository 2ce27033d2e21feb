#pragma once

#include "platform/export.h"

#include <cstdint>
#include <stdexcept>
#include <string>

// Windows error codes as the rest of the system speaks them, mapped from errno.
namespace platform {

inline constexpr uint32_t kErrorSuccess = 0;
inline constexpr uint32_t kErrorFileNotFound = 2;
inline constexpr uint32_t kErrorPathNotFound = 3;
inline constexpr uint32_t kErrorTooManyOpenFiles = 4;
inline constexpr uint32_t kErrorAccessDenied = 5;
inline constexpr uint32_t kErrorInvalidHandle = 6;
inline constexpr uint32_t kErrorNotEnoughMemory = 8;
inline constexpr uint32_t kErrorInvalidDrive = 15;
inline constexpr uint32_t kErrorNotSameDevice = 17;
inline constexpr uint32_t kErrorWriteProtect = 19;
inline constexpr uint32_t kErrorNotReady = 21;
inline constexpr uint32_t kErrorSharingViolation = 32;
inline constexpr uint32_t kErrorHandleEof = 38;
inline constexpr uint32_t kErrorFileExists = 80;
inline constexpr uint32_t kErrorInvalidParameter = 87;
inline constexpr uint32_t kErrorDiskFull = 112;
inline constexpr uint32_t kErrorInvalidName = 123;
inline constexpr uint32_t kErrorDirNotEmpty = 145;
inline constexpr uint32_t kErrorAlreadyExists = 183;
inline constexpr uint32_t kErrorFilenameExcedRange = 206;
inline constexpr uint32_t kErrorFileTooLarge = 223;
inline constexpr uint32_t kErrorRequestAborted = 1235;  // a copy stopped by its cancel flag
inline constexpr uint32_t kErrorNoMoreFiles = 18;
inline constexpr uint32_t kErrorGenFailure = 31;

// The code Windows gives for the same failure. ENOENT maps to kErrorFileNotFound here; calls that
// know the path tell a missing folder on the way (kErrorPathNotFound) apart themselves.
KOVAPLATFORM_API uint32_t ErrorFromErrno(int errnoValue);

// The readable text of a code, as FormatMessage gives it ("The system cannot find the file specified.");
// "Unknown error N." for a code without a text.
KOVAPLATFORM_API std::string ErrorMessage(uint32_t code);

// Per-thread last error, set by every platform call that fails.
KOVAPLATFORM_API uint32_t GetLastError();
KOVAPLATFORM_API void SetLastError(uint32_t code);

// A file or memory failure inside an operation; carries the Windows code and the path involved.
// what() is the path, a colon and the code's text.
class KOVAPLATFORM_API FileError : public std::runtime_error {
public:
    FileError(uint32_t code, const std::string& path);
    uint32_t code() const { return code_; }
    const std::string& path() const { return path_; }

private:
    uint32_t code_;
    std::string path_;
};

}  // namespace platform
