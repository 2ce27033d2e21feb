#pragma once

#include "platform/export.h"
#include "platform/registrytree.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// The registry calls the system makes, on one text file per user: $XDG_CONFIG_HOME/kovahdd/registry.reg
// (platform/registryfile.h gives its notation). They behave as Windows' do where the system relies
// on it: subkeys enumerate in Windows' order (CompareKeyNames: "10" and "11" before "2"), a value
// read into a buffer too small for it fails with kErrorMoreData, a value keeps the exact length it
// was set with (a REG_DWORD of 1 byte stays 1 byte), SHDeleteKey removes a whole subtree.
//
// Every call returns kErrorSuccess (0) or a Windows error code. The file is read under an exclusive
// lock (flock on registry.reg.lock beside it) and replaced whole (temporary file, fsync, rename), so
// the tray program and kovahdd never see each other's half-written file nor lose each other's
// writes. A file that cannot be parsed is moved aside (registry.reg.damaged-<time>) with a warning on
// standard error, never replaced, and the registry starts empty. A file that cannot be read at all
// fails every call, with a warning on standard error, and is never overwritten.
namespace platform {

inline constexpr uint32_t kErrorBadPathname = 161;
inline constexpr uint32_t kErrorMoreData = 234;
inline constexpr uint32_t kErrorNoMoreItems = 259;
inline constexpr uint32_t kErrorKeyDeleted = 1018;

// An open key. LocalMachine is always open; the others come from RegCreateKeyEx or RegOpenKeyEx and
// are closed with RegCloseKey.
enum class RegistryKey : uint32_t {
    None = 0,
    LocalMachine = 0x80000002,
};

enum class RegistryAccess {
    Read,  // KEY_READ: a value set through the key fails with kErrorAccessDenied
    All,   // KEY_ALL_ACCESS
};

struct RegistryKeyInfo {
    uint32_t subkeyCount = 0;
    uint32_t longestSubkeyName = 0;  // characters, without the terminating NUL
    uint32_t valueCount = 0;
};

// The registry file's Linux path; empty when the user has no home to keep it in.
KOVAPLATFORM_API std::string RegistryFilePath();

// One registry transaction: from construction to destruction the calls of this process see the
// file as it was read at the start, and other processes wait for it. Changes are written once, by
// Commit or at the end. Calls made outside a transaction are each one of their own; a transaction
// begun inside another joins it, and only the outermost one writes.
class KOVAPLATFORM_API RegistryTransaction {
public:
    RegistryTransaction();
    ~RegistryTransaction();
    RegistryTransaction(const RegistryTransaction&) = delete;
    RegistryTransaction& operator=(const RegistryTransaction&) = delete;

    // Writes the changes made so far (outermost transaction only; a joined one has nothing to write
    // yet). The file's write error, or kErrorSuccess.
    uint32_t Commit();
};

// subKey may name several levels ("Software\Corvane multimedia\KovaSync"); the empty name opens
// another handle to parent itself. Names match without regard to case.
KOVAPLATFORM_API uint32_t RegCreateKeyEx(RegistryKey parent, std::string_view subKey, RegistryAccess access,
                                         RegistryKey& result);
// kErrorFileNotFound when the key does not exist.
KOVAPLATFORM_API uint32_t RegOpenKeyEx(RegistryKey parent, std::string_view subKey, RegistryAccess access,
                                       RegistryKey& result);
KOVAPLATFORM_API uint32_t RegCloseKey(RegistryKey key);
KOVAPLATFORM_API uint32_t RegQueryInfoKey(RegistryKey key, RegistryKeyInfo& info);
// The name of the subkey at index in enumeration order into name (its size counts the NUL);
// kErrorNoMoreItems past the last, kErrorMoreData when the name does not fit.
KOVAPLATFORM_API uint32_t RegEnumKey(RegistryKey key, uint32_t index, std::span<char> name);
// valueName empty: the default value. With a null data span ({}) only the size is asked. On return dataSize
// holds the value's size; kErrorMoreData when it exceeds data.size(). type may be null.
KOVAPLATFORM_API uint32_t RegQueryValueEx(RegistryKey key, std::string_view valueName, uint32_t* type,
                                          std::span<char> data, uint32_t& dataSize);
KOVAPLATFORM_API uint32_t RegSetValueEx(RegistryKey key, std::string_view valueName, uint32_t type,
                                        std::span<const char> data);
// Deletes subKey with every key and value below it; kErrorFileNotFound when it does not exist.
KOVAPLATFORM_API uint32_t SHDeleteKey(RegistryKey parent, std::string_view subKey);

}  // namespace platform
