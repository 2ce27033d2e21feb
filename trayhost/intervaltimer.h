#pragma once

#include <chrono>

namespace trayhost {

// A periodic timer of the GUI thread; its owner gave it the function to call at every tick.
class IntervalTimer {
public:
    virtual ~IntervalTimer() = default;

    // Ticks every period from now on; a running timer starts over.
    virtual void Start(std::chrono::milliseconds period) = 0;
    virtual void Stop() = 0;
    virtual bool IsRunning() const = 0;
};

}  // namespace trayhost
