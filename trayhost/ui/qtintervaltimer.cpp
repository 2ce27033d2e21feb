#include "trayhost/ui/qtintervaltimer.h"

namespace trayhost {

QtIntervalTimer::QtIntervalTimer(std::function<void()> onTick)
{
    QObject::connect(&timer_, &QTimer::timeout, std::move(onTick));
}

void QtIntervalTimer::Start(std::chrono::milliseconds period)
{
    timer_.start(period);
}

void QtIntervalTimer::Stop()
{
    timer_.stop();
}

bool QtIntervalTimer::IsRunning() const
{
    return timer_.isActive();
}

}  // namespace trayhost
