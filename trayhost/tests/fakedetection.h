#pragma once

#include "trayhost/detection/kovadetection.h"

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <utility>
#include <vector>

namespace trayhost {

// Stands in for KOVAHDDDetectionEnumDevices: reports the devices a test has "attached".
// Detection is a plain function, so its state is static; each test sets it up first with Attach.
struct FakeDetection {
    static inline std::vector<std::pair<char, uint8_t>> devices;
    static inline bool throwAfterFirstDevice = false;
    static inline int calls = 0;
    // Runs inside the enumeration, as a dialog's nested event loop would.
    static inline std::function<void()> whileDetecting;
    static inline tagKOVAHDCONFLICTDIALOGINFO lastInfo{};

    static void Attach(std::vector<std::pair<char, uint8_t>> attached)
    {
        devices = std::move(attached);
        throwAfterFirstDevice = false;
        calls = 0;
        whileDetecting = nullptr;
    }

    static int32_t Enumerate(KovaDetectionCallback callback, tagKOVAHDCONFLICTDIALOGINFO& info, int32_t userData)
    {
        ++calls;
        lastInfo = info;
        if (whileDetecting) whileDetecting();
        int32_t found = 0;
        for (const auto& [letter, model] : devices) {
            if (callback) callback(letter, model, userData);
            ++found;
            if (throwAfterFirstDevice) throw std::runtime_error("detection failed");
        }
        return found;
    }
};

}  // namespace trayhost
