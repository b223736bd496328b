// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/clock.h"

#include <thread>

namespace orbela {

void SystemClock::Sleep(std::chrono::milliseconds duration)
{
    std::this_thread::sleep_for(duration);
}

std::chrono::milliseconds SystemClock::Now() const
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
}

} // namespace orbela
