// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The terminal front-end's message loop: the engines post their events to a
// queue from their own threads, and the waits of the core block on it until
// the next event arrives, or until a termination signal leaves its notice:
// then the wait raises EndOfInput, so a line being spoken ends the run as
// a pause or the input would.

#include <deque>
#include <functional>
#include <mutex>

#include "runtime/message_pump.h"
#include "speech/gui_thread_poster.h"

namespace orbela {

class TerminalEvents final : public GuiThreadPoster, public MessagePump {
public:
    TerminalEvents();
    ~TerminalEvents() override;
    TerminalEvents(const TerminalEvents&) = delete;
    TerminalEvents& operator=(const TerminalEvents&) = delete;

    // A descriptor that becomes readable when the program is to end; -1
    // (the default) watches none.
    void WatchNotice(int notice) { notice_ = notice; }

    void Post(std::function<void()> function) override;
    void ProcessPending() override;
    void WaitAndProcess() override;

private:
    std::function<void()> Take();
    bool QueueEmpty();

    std::mutex mutex_;
    std::deque<std::function<void()>> queue_;
    int wake_ = -1;  // an eventfd each Post counts up
    int notice_ = -1;
};

} // namespace orbela
