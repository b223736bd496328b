// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboard/qt/auto_repeat.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>

namespace orbela {

namespace {

// How long a release waits for the press of its pair. X sends both at once;
// the press may reach the toolkit in a later read of the connection.
constexpr int PairingMilliseconds = 15;

} // namespace

struct AutoRepeatPairing::HeldRelease {
    QPointer<QObject> receiver;
    std::unique_ptr<QKeyEvent> event;
};

AutoRepeatPairing::AutoRepeatPairing(QObject* parent) : QObject(parent) {}

AutoRepeatPairing::~AutoRepeatPairing() = default;

bool AutoRepeatPairing::eventFilter(QObject* watched, QEvent* event)
{
    if (delivering_ || (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease))
        return QObject::eventFilter(watched, event);
    const auto& key = static_cast<const QKeyEvent&>(*event);
    if (event->type() == QEvent::KeyRelease) {
        // Marked repeats are the toolkit's own find: they pass.
        if (key.isAutoRepeat() || !event->spontaneous())
            return QObject::eventFilter(watched, event);
        DeliverHeldRelease();
        held_ = std::make_unique<HeldRelease>(
            HeldRelease{watched, std::unique_ptr<QKeyEvent>(static_cast<QKeyEvent*>(key.clone()))});
        QTimer::singleShot(PairingMilliseconds, this, [this] { DeliverHeldRelease(); });
        return true;
    }
    if (held_ && held_->event->nativeScanCode() == key.nativeScanCode() &&
        held_->event->timestamp() == key.timestamp()) {
        // The pair of a held key's repeat: the release never happened.
        held_.reset();
        return QObject::eventFilter(watched, event);
    }
    // Another key: the release held back came first.
    DeliverHeldRelease();
    return QObject::eventFilter(watched, event);
}

void AutoRepeatPairing::DeliverHeldRelease()
{
    if (!held_)
        return;
    const std::unique_ptr<HeldRelease> release = std::move(held_);
    if (!release->receiver)
        return;
    delivering_ = true;
    QCoreApplication::sendEvent(release->receiver, release->event.get());
    delivering_ = false;
}

void EnableHeldKeyRepeat(QObject& application)
{
    // Under Wayland the toolkit makes a held key's repeats itself and marks
    // every one of them: no X server to ask, no unmarked pair to find, and
    // no reason to hold each real release back.
    if (QGuiApplication::platformName().startsWith("wayland"))
        return;
    if (RequestDetectableAutoRepeat())
        return;
    application.installEventFilter(new AutoRepeatPairing(&application));
}

} // namespace orbela
