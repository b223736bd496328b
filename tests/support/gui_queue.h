// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The GUI thread of a test: engines post to a queue, and the test's message
// pump runs what is queued, blocking while the queue is empty. Tests put
// their own "key presses" into the same queue, from another thread if need
// be, to run code nested inside a wait. It also plays the main window's one
// timer: a wait with the timer armed ends with the tick when no message came
// first, either when the interval has really passed or, with virtual time,
// as soon as the queue is empty.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <stdexcept>

#include "runtime/message_pump.h"
#include "runtime/tone_timer.h"
#include "speech/gui_thread_poster.h"

namespace orbela::testing {

struct NoEventArrived : std::runtime_error {
    NoEventArrived() : std::runtime_error("no event arrived while waiting") {}
};

class GuiQueue final : public GuiThreadPoster, public MessagePump, public ToneTimer {
public:
    enum class Time { Real, Virtual };
    explicit GuiQueue(Time time = Time::Real) : time_(time) {}

    void Post(std::function<void()> function) override
    {
        {
            std::lock_guard lock(mutex_);
            queue_.push_back(std::move(function));
        }
        arrived_.notify_all();
    }

    void ProcessPending() override
    {
        while (auto function = Take()) {
            ++processed_;
            function();
        }
    }

    // A test that goes wrong must not hang: when nothing arrives within the
    // timeout and no timer is armed, the wait raises NoEventArrived.
    void WaitAndProcess() override
    {
        ++waits_;
        if (!WaitForMessage()) {
            // A single shot, as the window's handler stops its timer.
            due_.reset();
            if (onTick_)
                onTick_();
            return;
        }
        ProcessPending();
    }

    // The timer. The handlers are the window's: what arming it and its tick do.
    void Start(std::int32_t interval) override
    {
        due_ = std::chrono::steady_clock::now() + std::chrono::milliseconds(interval);
        if (onStart_)
            onStart_(interval);
    }
    void Stop() override { due_.reset(); }
    void OnTimerStart(std::function<void(std::int32_t)> handler) { onStart_ = std::move(handler); }
    void OnTick(std::function<void()> handler) { onTick_ = std::move(handler); }
    bool TimerArmed() const { return due_.has_value(); }

    void SetTimeout(std::chrono::milliseconds timeout) { timeout_ = timeout; }
    int Waits() const { return waits_; }
    int Processed() const { return processed_; }

private:
    // False when the timer's tick comes first.
    bool WaitForMessage()
    {
        std::unique_lock lock(mutex_);
        auto waiting = [this] { return !queue_.empty(); };
        if (!due_) {
            if (!arrived_.wait_for(lock, timeout_, waiting))
                throw NoEventArrived();
            return true;
        }
        if (time_ == Time::Virtual)
            return waiting();
        return arrived_.wait_until(lock, *due_, waiting);
    }

    std::function<void()> Take()
    {
        std::lock_guard lock(mutex_);
        if (queue_.empty())
            return {};
        auto function = std::move(queue_.front());
        queue_.pop_front();
        return function;
    }

    const Time time_;
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<std::function<void()>> queue_;
    std::chrono::milliseconds timeout_{5000};
    std::optional<std::chrono::steady_clock::time_point> due_;
    std::function<void(std::int32_t)> onStart_;
    std::function<void()> onTick_;
    int waits_ = 0;
    int processed_ = 0;
};

} // namespace orbela::testing
