// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Carries the engines' events to the GUI thread as queued events of the
// Qt event loop, so that a wait pumping that loop wakes up for them.

#include <QObject>

#include "speech/gui_thread_poster.h"

namespace orbela {

class QtGuiThreadPoster final : public GuiThreadPoster {
public:
    // Create on the GUI thread; it may come before the application object
    // (what is posted then runs once the message loop does).
    QtGuiThreadPoster();
    ~QtGuiThreadPoster() override;

    void Post(std::function<void()> function) override;

private:
    // Lives on the GUI thread: a queued call to it runs there.
    QObject receiver_;
};

} // namespace orbela
