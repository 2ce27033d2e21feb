#include "trayhost/ui/realclock.h"

#include "trayhost/ui/qtintervaltimer.h"

#include <thread>

namespace trayhost {

std::unique_ptr<IntervalTimer> RealClock::MakeIntervalTimer(std::function<void()> onTick)
{
    return std::make_unique<QtIntervalTimer>(std::move(onTick));
}

void RealClock::Pause(std::chrono::milliseconds duration)
{
    std::this_thread::sleep_for(duration);
}

}  // namespace trayhost
