#pragma once

#include "trayhost/clock.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

namespace trayhost {

// A clock that the test moves: its timers tick only when the test says so, and a worker's pause
// can be held until the test lets it go (released by itself after ten seconds, so that a failing
// test cannot hang).
class ManualClock : public Clock {
public:
    struct TimerState {
        std::function<void()> onTick;
        bool alive = true;
        bool running = false;
        std::vector<std::chrono::milliseconds> starts;
    };

    std::unique_ptr<IntervalTimer> MakeIntervalTimer(std::function<void()> onTick) override
    {
        auto state = std::make_shared<TimerState>();
        state->onTick = std::move(onTick);
        timers_.push_back(state);
        return std::make_unique<Timer>(state);
    }

    void Pause(std::chrono::milliseconds duration) override
    {
        std::unique_lock lock(mutex_);
        pauses_.push_back(duration);
        changed_.notify_all();
        changed_.wait_for(lock, std::chrono::seconds(10), [this] { return !holdPauses_; });
    }

    // Ticks every running timer made so far, count times.
    void Tick(int count = 1)
    {
        for (int tick = 0; tick < count; ++tick) {
            for (const auto& timer : timers_) {
                if (timer->alive && timer->running) timer->onTick();
            }
        }
    }

    const std::vector<std::shared_ptr<TimerState>>& timers() const { return timers_; }

    void HoldPauses()
    {
        std::lock_guard lock(mutex_);
        holdPauses_ = true;
    }
    void ReleasePauses()
    {
        std::lock_guard lock(mutex_);
        holdPauses_ = false;
        changed_.notify_all();
    }
    std::vector<std::chrono::milliseconds> pauses() const
    {
        std::lock_guard lock(mutex_);
        return pauses_;
    }

private:
    class Timer : public IntervalTimer {
    public:
        explicit Timer(std::shared_ptr<TimerState> state) : state_(std::move(state)) {}
        ~Timer() override { state_->alive = false; }
        void Start(std::chrono::milliseconds period) override
        {
            state_->running = true;
            state_->starts.push_back(period);
        }
        void Stop() override { state_->running = false; }
        bool IsRunning() const override { return state_->running; }

    private:
        std::shared_ptr<TimerState> state_;
    };

    std::vector<std::shared_ptr<TimerState>> timers_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool holdPauses_ = false;
    std::vector<std::chrono::milliseconds> pauses_;
};

}  // namespace trayhost
