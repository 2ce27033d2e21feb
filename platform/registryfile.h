#pragma once

#include "platform/export.h"
#include "platform/registrytree.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The text of the registry file, in the notation of the registry editor's exports (REGEDIT4: bytes
// in the system code page, one "[key path]" line per key followed by its values):
//
//   REGEDIT4
//
//   [HKEY_LOCAL_MACHINE\Software\Corvane multimedia\KovaSync\DeviceID]
//   @=hex(4):45
//
//   [HKEY_LOCAL_MACHINE\Software\Corvane multimedia\KovaSync\Options]
//   @=dword:00000001
//
// "@" is the default value. A REG_SZ holding one terminating NUL and no control character is
// written "text" ('\' and '"' escaped by a '\'), a 4-byte REG_DWORD dword:xxxxxxxx; every other
// value hex(type):bytes (hex: for REG_BINARY), which keeps its bytes and length exactly. Reading
// also takes "Windows Registry Editor Version 5.00" as the first line, ';' comment lines, '\' line
// continuations in hex lists and "\r\n" line ends.
namespace platform {

struct RegistryFileError {
    std::size_t line = 0;  // 1-based
    std::string reason;
};

// The tree the text describes, below an unnamed top node; empty optional, with the first fault in
// error, when the text is not a registry file this notation describes.
KOVAPLATFORM_API std::optional<RegistryNode> ParseRegistryFile(std::string_view text, RegistryFileError& error);

// Every key of the tree below the top node, each after its parent, siblings in enumeration order.
KOVAPLATFORM_API std::string FormatRegistryFile(const RegistryNode& top);

}  // namespace platform
