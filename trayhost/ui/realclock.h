#pragma once

#include "trayhost/clock.h"

namespace trayhost {

// The program's clock: Qt timers and real pauses.
class RealClock : public Clock {
public:
    std::unique_ptr<IntervalTimer> MakeIntervalTimer(std::function<void()> onTick) override;
    void Pause(std::chrono::milliseconds duration) override;
};

}  // namespace trayhost
