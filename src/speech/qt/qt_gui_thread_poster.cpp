// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/qt/qt_gui_thread_poster.h"

#include <QMetaObject>

#include <utility>

namespace orbela {

QtGuiThreadPoster::QtGuiThreadPoster() = default;

// Events still queued for the receiver are dropped with it.
QtGuiThreadPoster::~QtGuiThreadPoster() = default;

void QtGuiThreadPoster::Post(std::function<void()> function)
{
    QMetaObject::invokeMethod(&receiver_, std::move(function), Qt::QueuedConnection);
}

} // namespace orbela
