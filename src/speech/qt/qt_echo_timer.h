// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The echo's timer on a QTimer of the GUI thread.

#include <QTimer>

#include "speech/echo_timer.h"

namespace orbela {

class QtEchoTimer final : public EchoTimer {
public:
    QtEchoTimer();
    void Start(std::int32_t milliseconds, std::function<void()> elapsed) override;
    void Stop() override;

private:
    QTimer timer_;
    std::function<void()> elapsed_;
};

} // namespace orbela
