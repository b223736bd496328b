// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Stops the text caret blinking once no key or click came for a while, as
// desktops do, and lets it blink again at the next one: a blinking caret
// repaints its field twice a second, which keeps an idle program waking.
// Installed once on the application; the caret stays shown while still.

#include <QObject>
#include <QTimer>

namespace orbela {

class CaretBlinkTimeout final : public QObject {
public:
    CaretBlinkTimeout(int timeoutMilliseconds, QObject* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Still();

    QTimer timer_;
    // The desktop's blink period, given back at the next input.
    int flashTime_;
};

} // namespace orbela
