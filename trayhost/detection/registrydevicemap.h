#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace trayhost {

struct RegistryDeviceEntry {
    char letter;
    uint8_t model;
};

// The devices one registry scan found: at most one entry per drive letter, in the order found,
// never more than 26 entries.
class RegistryDeviceMap {
public:
    static constexpr std::size_t kCapacity = 26;
    static constexpr char kUnusedLetter = '\xFF';

    RegistryDeviceMap() { Clear(); }

    void Clear();
    bool IsFull() const { return count_ == kCapacity; }
    bool Contains(char letter) const;
    // False, and nothing changes, when the map is full.
    bool Append(char letter, uint8_t model);
    // The model of the first entry with this letter; kModelNone when there is none.
    uint8_t ModelOf(char letter) const;

    std::span<RegistryDeviceEntry> Entries() { return {entries_.data(), count_}; }
    std::span<const RegistryDeviceEntry> Entries() const { return {entries_.data(), count_}; }

private:
    std::array<RegistryDeviceEntry, kCapacity> entries_;
    std::size_t count_ = 0;
};

}  // namespace trayhost
