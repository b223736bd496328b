// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/terminal/terminal_events.h"

#include <cerrno>
#include <cstdint>
#include <poll.h>
#include <stdexcept>
#include <sys/eventfd.h>
#include <unistd.h>
#include <utility>

#include "shell/terminal/terminal_dialog.h"

namespace orbela {

TerminalEvents::TerminalEvents() : wake_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{
    if (wake_ < 0)
        throw std::runtime_error("cannot create the terminal's event queue");
}

TerminalEvents::~TerminalEvents()
{
    ::close(wake_);
}

void TerminalEvents::Post(std::function<void()> function)
{
    {
        std::lock_guard lock(mutex_);
        queue_.push_back(std::move(function));
    }
    const std::uint64_t one = 1;
    // A full counter still wakes the waiter: nothing to do on failure.
    if (::write(wake_, &one, sizeof one) < 0)
        return;
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

bool TerminalEvents::QueueEmpty()
{
    std::lock_guard lock(mutex_);
    return queue_.empty();
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
    // The counter is cleared only after the queue was seen empty, so a Post
    // between the look and the poll still wakes it.
    for (;;) {
        pollfd watched[2] = {{notice_, POLLIN, 0}, {wake_, POLLIN, 0}};
        const int timeout = QueueEmpty() ? -1 : 0;
        const int ready = ::poll(watched, 2, timeout);
        if (ready < 0 && errno != EINTR)
            break;
        if (ready > 0 && watched[0].revents != 0)
            throw EndOfInput();
        if (timeout == 0)
            break;
        if (ready > 0 && watched[1].revents != 0) {
            std::uint64_t count = 0;
            if (::read(wake_, &count, sizeof count) < 0)
                continue;  // cleared by another round already
        }
    }
    ProcessPending();
}

} // namespace orbela
