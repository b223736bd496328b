// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/qt/caret_blink_timeout.h"

#include <QApplication>
#include <QEvent>

namespace orbela {

CaretBlinkTimeout::CaretBlinkTimeout(int timeoutMilliseconds, QObject* parent)
    : QObject(parent), flashTime_(QApplication::cursorFlashTime())
{
    timer_.setSingleShot(true);
    timer_.setInterval(timeoutMilliseconds);
    connect(&timer_, &QTimer::timeout, this, [this] { Still(); });
    qApp->installEventFilter(this);
    timer_.start();
}

bool CaretBlinkTimeout::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::FocusIn:
        // Each event reaches the filter once per receiver on its way up:
        // the timer is only restarted, and the blink given back once.
        if (QApplication::cursorFlashTime() == 0 && flashTime_ > 0)
            QApplication::setCursorFlashTime(flashTime_);
        timer_.start();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void CaretBlinkTimeout::Still()
{
    if (QApplication::cursorFlashTime() > 0) {
        flashTime_ = QApplication::cursorFlashTime();
        QApplication::setCursorFlashTime(0);
    }
}

} // namespace orbela
