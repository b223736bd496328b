// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/terminal/interruptible_input.h"

#include <cerrno>
#include <poll.h>
#include <unistd.h>

#include "shell/terminal/terminal_dialog.h"

namespace orbela {

InterruptibleInput::int_type InterruptibleInput::underflow()
{
    if (gptr() < egptr())
        return traits_type::to_int_type(*gptr());
    for (;;) {
        pollfd watched[2] = {{notice_, POLLIN, 0}, {input_, POLLIN, 0}};
        if (::poll(watched, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return traits_type::eof();
        }
        if (watched[0].revents != 0)
            return traits_type::eof();
        if (watched[1].revents == 0)
            continue;
        const ssize_t got = ::read(input_, buffer_.data(), buffer_.size());
        if (got < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (got <= 0)
            return traits_type::eof();
        setg(buffer_.data(), buffer_.data(), buffer_.data() + got);
        return traits_type::to_int_type(*gptr());
    }
}

void InterruptibleClock::Sleep(std::chrono::milliseconds duration)
{
    const auto end = system_.Now() + duration;
    for (;;) {
        const auto left = end - system_.Now();
        pollfd watched{notice_, POLLIN, 0};
        const int ready = ::poll(&watched, 1, left.count() > 0 ? static_cast<int>(left.count()) : 0);
        if (ready > 0)
            throw EndOfInput();
        if (ready == 0 || (ready < 0 && errno != EINTR))
            return;
    }
}

} // namespace orbela
