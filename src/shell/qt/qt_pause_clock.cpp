// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/qt/qt_pause_clock.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>

namespace orbela {
namespace {

bool IsInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
        return true;
    default:
        return false;
    }
}

// The menu item a held key press names, in the window that has the focus
// now: a posted press reaches the widget only, not the shortcuts.
QAction* ShortcutFor(const QKeyEvent& press)
{
    QWidget* window = QApplication::activeWindow();
    if (!window)
        return nullptr;
    const QKeySequence typed(press.keyCombination());
    for (QAction* action : window->findChildren<QAction*>())
        if (action->isEnabled() && action->shortcuts().contains(typed))
            return action;
    return nullptr;
}

} // namespace

QtPauseClock::QtPauseClock(QObject& application) : application_(application) {}

QtPauseClock::~QtPauseClock() = default;

void QtPauseClock::Sleep(std::chrono::milliseconds duration)
{
    // First in the application's line while the pause lasts: input is held
    // before any handler or key table of the program sees it.
    if (pausing_++ == 0)
        application_.installEventFilter(this);
    QEventLoop pause;
    QTimer::singleShot(duration, &pause, &QEventLoop::quit);
    pause.exec();
    if (--pausing_ == 0) {
        application_.removeEventFilter(this);
        PostHeld();
    }
}

bool QtPauseClock::eventFilter(QObject* watched, QEvent* event)
{
    if (!IsInput(event->type()))
        return false;
    if (event->type() == QEvent::ShortcutOverride) {
        // Taken as the widget's own key, so that no menu item acts now; the
        // press that follows is held, and its item found when it is posted.
        event->accept();
        return true;
    }
    // A key from the window system goes first to the accessibility bus,
    // which hands it back once the screen reader has heard it: that copy is
    // the one held, so the screen reader names the key during the pause.
    const bool keyFromWindowSystem = event->spontaneous() && (event->type() == QEvent::KeyPress ||
                                                              event->type() == QEvent::KeyRelease);
    if (keyFromWindowSystem && QAccessible::isActive())
        return false;
    held_.push_back({watched, std::unique_ptr<QEvent>(event->clone())});
    return true;
}

void QtPauseClock::PostHeld()
{
    // Posted, not sent: the handler that paused finishes before they act,
    // as it did when the thread slept.
    for (HeldEvent& held : std::exchange(held_, {})) {
        if (!held.receiver)
            continue;
        if (held.event->type() == QEvent::KeyPress) {
            QPointer<QObject> receiver = held.receiver;
            std::shared_ptr<QEvent> press(held.event.release());
            QMetaObject::invokeMethod(
                this,
                [receiver, press] {
                    if (QAction* action = ShortcutFor(static_cast<const QKeyEvent&>(*press)))
                        action->trigger();
                    else if (receiver)
                        QCoreApplication::sendEvent(receiver, press.get());
                },
                Qt::QueuedConnection);
            continue;
        }
        QCoreApplication::postEvent(held.receiver, held.event.release());
    }
}

} // namespace orbela
