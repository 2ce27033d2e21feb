#include "trayhost/cancelwatchdog.h"

namespace trayhost {

CancelWatchdog::CancelWatchdog(Clock& clock, uint32_t limitMs, std::function<void()> onExpired)
    : onExpired_(std::move(onExpired)), timer_(clock.MakeIntervalTimer([this] { Tick(); })), limitMs_(limitMs)
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
    if (elapsedMs_ <= limitMs_) return;
    Stop();
    onExpired_();
}

}  // namespace trayhost
