#include "platform/errors.h"

#include <cerrno>

namespace platform {

namespace {

thread_local uint32_t lastError = kErrorSuccess;

struct ErrorText {
    uint32_t code;
    const char* text;
};

// The texts FormatMessage gives in English for the codes the system meets.
constexpr ErrorText kErrorTexts[] = {
    {kErrorSuccess, "The operation completed successfully."},
    {kErrorFileNotFound, "The system cannot find the file specified."},
    {kErrorPathNotFound, "The system cannot find the path specified."},
    {kErrorTooManyOpenFiles, "The system cannot open the file."},
    {kErrorAccessDenied, "Access is denied."},
    {kErrorInvalidHandle, "The handle is invalid."},
    {kErrorNotEnoughMemory, "Not enough memory resources are available to process this command."},
    {kErrorInvalidDrive, "The system cannot find the drive specified."},
    {kErrorNotSameDevice, "The system cannot move the file to a different disk drive."},
    {kErrorNoMoreFiles, "There are no more files."},
    {kErrorWriteProtect, "The media is write protected."},
    {kErrorNotReady, "The device is not ready."},
    {kErrorGenFailure, "A device attached to the system is not functioning."},
    {kErrorSharingViolation, "The process cannot access the file because it is being used by another process."},
    {kErrorHandleEof, "Reached the end of the file."},
    {kErrorFileExists, "The file exists."},
    {kErrorInvalidParameter, "The parameter is incorrect."},
    {kErrorDiskFull, "There is not enough space on the disk."},
    {kErrorInvalidName, "The filename, directory name, or volume label syntax is incorrect."},
    {kErrorDirNotEmpty, "The directory is not empty."},
    {kErrorAlreadyExists, "Cannot create a file when that file already exists."},
    {kErrorFilenameExcedRange, "The filename or extension is too long."},
    {kErrorFileTooLarge, "The file size exceeds the limit allowed and cannot be saved."},
    {kErrorRequestAborted, "The request was aborted."},
};

}  // namespace

uint32_t ErrorFromErrno(int errnoValue)
{
    switch (errnoValue) {
    case 0: return kErrorSuccess;
    case ENOENT: return kErrorFileNotFound;
    case ENOTDIR:
    case ELOOP: return kErrorPathNotFound;
    case EMFILE:
    case ENFILE: return kErrorTooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EISDIR: return kErrorAccessDenied;
    case EBADF: return kErrorInvalidHandle;
    case ENOMEM: return kErrorNotEnoughMemory;
    case EXDEV: return kErrorNotSameDevice;
    case EROFS: return kErrorWriteProtect;
    // What an unplugged or unmounted medium answers: the drive is there, its medium is not.
    case ENODEV:
    case ENXIO:
    case ENOMEDIUM:
    case ENOTCONN:
    case ESTALE: return kErrorNotReady;
    case EBUSY:
    case ETXTBSY: return kErrorSharingViolation;
    case EEXIST: return kErrorFileExists;
    case EINVAL: return kErrorInvalidParameter;
    case ENOSPC:
    case EDQUOT: return kErrorDiskFull;
    case EILSEQ: return kErrorInvalidName;
    case ENOTEMPTY: return kErrorDirNotEmpty;
    case ENAMETOOLONG: return kErrorFilenameExcedRange;
    case EFBIG: return kErrorFileTooLarge;
    default: return kErrorGenFailure;
    }
}

std::string ErrorMessage(uint32_t code)
{
    for (const ErrorText& entry : kErrorTexts) {
        if (entry.code == code) return entry.text;
    }
    return "Unknown error " + std::to_string(code) + ".";
}

uint32_t GetLastError()
{
    return lastError;
}

void SetLastError(uint32_t code)
{
    lastError = code;
}

FileError::FileError(uint32_t code, const std::string& path)
    : std::runtime_error(path + ": " + ErrorMessage(code)), code_(code), path_(path)
{
}

}  // namespace platform
