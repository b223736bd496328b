// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Hands a function from an engine's thread to the GUI thread. The Qt
// front-end posts a queued event; tests keep a queue that their message
// pump drains. Post may be called from any thread and returns at once; the
// function runs later, on the GUI thread, inside the message loop.

#include <functional>

namespace orbela {

class GuiThreadPoster {
public:
    virtual ~GuiThreadPoster() = default;
    virtual void Post(std::function<void()> function) = 0;
};

} // namespace orbela
