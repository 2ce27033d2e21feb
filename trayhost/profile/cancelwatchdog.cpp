#include "trayhost/profile/cancelwatchdog.h"

namespace trayhost {

CancelWatchdog::CancelWatchdog(Clock& clock, std::function<void()> onExpired)
    : onExpired_(std::move(onExpired)), timer_(clock.MakeIntervalTimer([this] { Tick(); }))
{
}

void CancelWatchdog::Start()
{
    if (timer_->IsRunning()) return;
    elapsedMs_ = 0;
    timer_->Start(kPeriod);
}

void CancelWatchdog::Stop()
{
    timer_->Stop();
}

void CancelWatchdog::Tick()
{
    elapsedMs_ += static_cast<uint32_t>(kPeriod.count());
    if (elapsedMs_ <= kLimitMs) return;
    Stop();
    onExpired_();
}

}  // namespace trayhost
