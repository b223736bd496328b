// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/qt/qt_echo_timer.h"

namespace orbela {

QtEchoTimer::QtEchoTimer()
{
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        // The callback may arm the timer again for the next step.
        auto elapsed = std::move(elapsed_);
        elapsed_ = nullptr;
        if (elapsed)
            elapsed();
    });
}

void QtEchoTimer::Start(std::int32_t milliseconds, std::function<void()> elapsed)
{
    elapsed_ = std::move(elapsed);
    timer_.start(milliseconds);
}

void QtEchoTimer::Stop()
{
    timer_.stop();
    elapsed_ = nullptr;
}

} // namespace orbela
