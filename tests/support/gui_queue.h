// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The GUI thread of a test: engines post to a queue, and the test's message
// pump runs what is queued, blocking while the queue is empty. Tests put
// their own "key presses" into the same queue, from another thread if need
// be, to run code nested inside a wait.

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <stdexcept>

#include "runtime/message_pump.h"
#include "speech/gui_thread_poster.h"

namespace orbela::testing {

struct NoEventArrived : std::runtime_error {
    NoEventArrived() : std::runtime_error("no event arrived while waiting") {}
};

class GuiQueue final : public GuiThreadPoster, public MessagePump {
public:
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
    // timeout, the wait raises NoEventArrived.
    void WaitAndProcess() override
    {
        ++waits_;
        {
            std::unique_lock lock(mutex_);
            if (!arrived_.wait_for(lock, timeout_, [this] { return !queue_.empty(); })) {
                throw NoEventArrived();
            }
        }
        ProcessPending();
    }

    void SetTimeout(std::chrono::milliseconds timeout) { timeout_ = timeout; }
    int Waits() const { return waits_; }
    int Processed() const { return processed_; }

private:
    std::function<void()> Take()
    {
        std::lock_guard lock(mutex_);
        if (queue_.empty())
            return {};
        auto function = std::move(queue_.front());
        queue_.pop_front();
        return function;
    }

    std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<std::function<void()>> queue_;
    std::chrono::milliseconds timeout_{5000};
    int waits_ = 0;
    int processed_ = 0;
};

} // namespace orbela::testing
