#pragma once

#include "platform/export.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The registry's keys and values in memory: what the registry file holds and the registry calls
// (platform/registry.h) work on. Names are 8-bit texts in the system code page.
namespace platform {

// Value types, as the registry numbers them.
inline constexpr uint32_t kRegSz = 1;
inline constexpr uint32_t kRegBinary = 3;
inline constexpr uint32_t kRegDword = 4;

// The limits Windows sets: a key name of at most 255 characters, keys at most 512 levels deep.
inline constexpr std::size_t kMaxKeyNameLength = 255;
inline constexpr std::size_t kMaxKeyDepth = 512;
inline constexpr std::size_t kMaxValueNameLength = 16383;

struct RegistryValue {
    std::string name;  // empty for the key's default value
    uint32_t type = kRegBinary;
    std::string data;  // the bytes as stored: a REG_SZ holds its terminating NUL, a REG_DWORD may be short

    bool operator==(const RegistryValue&) const = default;
};

// Windows' order of key names: compared without regard to case with letters folded to upper case
// (so "_" sorts after the letters, and "10" and "11" before "2"); double-byte characters of the
// system code page are compared as units. <0, 0, >0.
KOVAPLATFORM_API int CompareKeyNames(std::string_view a, std::string_view b);

// One key: its values in the order they were first set, and its subkeys in the registry's
// enumeration order (CompareKeyNames). A name matches whatever its case; a key keeps the case it was
// created with. The top node of a tree has no name and holds the root keys (HKEY_LOCAL_MACHINE ...).
class KOVAPLATFORM_API RegistryNode {
public:
    explicit RegistryNode(std::string name = {}) : name_(std::move(name)) {}

    const std::string& name() const { return name_; }

    std::size_t SubkeyCount() const { return subkeys_.size(); }
    // index < SubkeyCount(), in enumeration order.
    const RegistryNode& SubkeyAt(std::size_t index) const { return *subkeys_[index]; }
    RegistryNode* FindSubkey(std::string_view name);
    const RegistryNode* FindSubkey(std::string_view name) const;
    // The subkey of that name, created when there is none.
    RegistryNode& AddSubkey(std::string_view name);
    // Removes the subkey with everything below it; false when there is none.
    bool RemoveSubkey(std::string_view name);

    const std::vector<RegistryValue>& values() const { return values_; }
    const RegistryValue* FindValue(std::string_view name) const;
    void SetValue(std::string_view name, uint32_t type, std::string data);

    // Same names, values and subkeys, all the way down.
    bool operator==(const RegistryNode& other) const;

private:
    std::vector<std::unique_ptr<RegistryNode>>::const_iterator LowerBound(std::string_view name) const;

    std::string name_;
    std::vector<RegistryValue> values_;
    std::vector<std::unique_ptr<RegistryNode>> subkeys_;
};

// A key name the registry accepts: 1 to kMaxKeyNameLength bytes, no backslash, no control character
// (the registry file keeps one key a line).
KOVAPLATFORM_API bool IsValidKeyName(std::string_view name);
// The key names of a path such as "Software\Corvane multimedia\KovaSync", split at the backslashes
// that are characters of their own (not the trail byte of a double-byte character); empty names
// stay where two backslashes meet. The empty path is one empty name.
KOVAPLATFORM_API std::vector<std::string_view> SplitKeyPath(std::string_view path);
// A value name the registry file can hold: at most kMaxValueNameLength bytes, no control character.
KOVAPLATFORM_API bool IsValidValueName(std::string_view name);

}  // namespace platform
