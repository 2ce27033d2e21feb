#pragma once

#include "trayhost/clock.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>

namespace trayhost {

// The watchdog of a progress dialog's cancel: a worker that has not stopped soon after the cancel
// hangs on the device, and its dialog (or the program) is ended rather than left hanging with it.
// It ticks every 500 ms from its start and calls onExpired once the time since then exceeds the
// limit: with the profile's and the verification's 5000 ms at its eleventh tick (5.5 s), with the
// synchronisation's 8000 ms at its seventeenth (8.5 s).
class CancelWatchdog {
public:
    static constexpr std::chrono::milliseconds kPeriod{500};
    static constexpr uint32_t kProfileLimitMs = 5000;
    static constexpr uint32_t kSyncLimitMs = 8000;

    CancelWatchdog(Clock& clock, uint32_t limitMs, std::function<void()> onExpired);

    // Starts from 0 ms unless the watchdog already runs: a second cancel does not give more time.
    void Start();
    void Stop();
    bool IsRunning() const { return timer_->IsRunning(); }

private:
    void Tick();

    std::function<void()> onExpired_;
    std::unique_ptr<IntervalTimer> timer_;
    uint32_t limitMs_;
    uint32_t elapsedMs_ = 0;
};

}  // namespace trayhost
