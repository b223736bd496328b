// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The single-shot timer a key's echo waits on between its steps (the
// capital-letter tone's length), so that no handler has to wait.

#include <cstdint>
#include <functional>

namespace orbela {

class EchoTimer {
public:
    virtual ~EchoTimer() = default;
    // (Re)arms the timer: `elapsed` runs once, on the GUI thread, from the
    // message loop, after the interval.
    virtual void Start(std::int32_t milliseconds, std::function<void()> elapsed) = 0;
    // Disarms it; a pending `elapsed` does not run.
    virtual void Stop() = 0;
};

} // namespace orbela
