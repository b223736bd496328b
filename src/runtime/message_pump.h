// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The GUI message loop as the waits of the core see it. A wait for speech or
// for a tone pumps messages, so that key handlers, menu commands and timer
// ticks run nested inside it; it blocks until the next event arrives
// instead of spinning on the loop.

namespace orbela {

class MessagePump {
public:
    virtual ~MessagePump() = default;
    // Handles every message already waiting, then returns.
    virtual void ProcessPending() = 0;
    // Blocks until at least one message has arrived (an engine's
    // notification, a timer tick, a key), handles what is waiting, returns.
    virtual void WaitAndProcess() = 0;
};

} // namespace orbela
