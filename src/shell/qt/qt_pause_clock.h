// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The game's pauses in the window: the thread keeps answering the window
// system and the accessibility bus while it waits (a screen reader waits
// for the window's answer to every key it is told about), but what the
// user types or clicks during a pause acts only when the pause is over, as
// if the thread had slept: held here, then posted again in order.

#include <QObject>
#include <QPointer>

#include <memory>
#include <vector>

#include "runtime/clock.h"

class QEvent;

namespace orbela {

class QtPauseClock final : public QObject, public Clock {
    Q_OBJECT

public:
    // Watches the application's events while a pause lasts.
    explicit QtPauseClock(QObject& application);
    ~QtPauseClock() override;

    void Sleep(std::chrono::milliseconds duration) override;
    std::chrono::milliseconds Now() const override { return system_.Now(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct HeldEvent {
        QPointer<QObject> receiver;
        std::unique_ptr<QEvent> event;
    };

    void PostHeld();

    QObject& application_;
    SystemClock system_;
    int pausing_ = 0;
    std::vector<HeldEvent> held_;
};

} // namespace orbela
