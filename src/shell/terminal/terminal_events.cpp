// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/terminal/terminal_events.h"

#include <utility>

namespace orbela {

void TerminalEvents::Post(std::function<void()> function)
{
    {
        std::lock_guard lock(mutex_);
        queue_.push_back(std::move(function));
    }
    arrived_.notify_one();
}

std::function<void()> TerminalEvents::Take()
{
    std::lock_guard lock(mutex_);
    if (queue_.empty())
        return {};
    auto function = std::move(queue_.front());
    queue_.pop_front();
    return function;
}

void TerminalEvents::ProcessPending()
{
    // Only what is queued now: an event posted by a function run here waits
    // for the next round.
    std::size_t waiting = 0;
    {
        std::lock_guard lock(mutex_);
        waiting = queue_.size();
    }
    for (; waiting > 0; --waiting) {
        auto function = Take();
        if (!function)
            break;
        function();
    }
}

void TerminalEvents::WaitAndProcess()
{
    {
        std::unique_lock lock(mutex_);
        arrived_.wait(lock, [this] { return !queue_.empty(); });
    }
    ProcessPending();
}

} // namespace orbela
