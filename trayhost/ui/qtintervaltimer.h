#pragma once

#include "trayhost/intervaltimer.h"

#include <QTimer>

#include <functional>

namespace trayhost {

// An interval timer on the Qt event loop of the thread that makes it.
class QtIntervalTimer : public IntervalTimer {
public:
    explicit QtIntervalTimer(std::function<void()> onTick);

    void Start(std::chrono::milliseconds period) override;
    void Stop() override;
    bool IsRunning() const override;

private:
    QTimer timer_;
};

}  // namespace trayhost
