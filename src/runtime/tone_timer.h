// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's millisecond timer as the tone statement arms it. Its
// tick clears timerwait and disables the timer; that is the window's job.

#include <cstdint>

namespace orbela {

class ToneTimer {
public:
    virtual ~ToneTimer() = default;
    // (Re)arms the single timer with this interval; an armed timer starts
    // counting again.
    virtual void Start(std::int32_t intervalMilliseconds) = 0;
    virtual void Stop() = 0;
};

} // namespace orbela
