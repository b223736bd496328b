// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The terminal front-end's message loop: the engines post their events to a
// queue from their own threads, and the waits of the core block on it until
// the next event arrives.

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

#include "runtime/message_pump.h"
#include "speech/gui_thread_poster.h"

namespace orbela {

class TerminalEvents final : public GuiThreadPoster, public MessagePump {
public:
    void Post(std::function<void()> function) override;
    void ProcessPending() override;
    void WaitAndProcess() override;

private:
    std::function<void()> Take();

    std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<std::function<void()>> queue_;
};

} // namespace orbela
