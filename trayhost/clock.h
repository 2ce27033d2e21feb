#pragma once

#include "trayhost/intervaltimer.h"

#include <chrono>
#include <functional>
#include <memory>

namespace trayhost {

// The passing of time as the tray program's operations see it: periodic timers on the GUI thread and
// pauses of worker threads. The program runs on real time; tests step time themselves.
class Clock {
public:
    virtual ~Clock() = default;

    // A stopped timer that calls onTick on the GUI thread at each of its ticks.
    virtual std::unique_ptr<IntervalTimer> MakeIntervalTimer(std::function<void()> onTick) = 0;
    // Blocks the calling worker thread for the duration.
    virtual void Pause(std::chrono::milliseconds duration) = 0;
};

}  // namespace trayhost
