// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Hands each key from the window system to the screen reader before the
// window acts on it, as the toolkit's accessibility bridge does, but waits
// up to a second for the answer instead of the bridge's 100 ms: a screen
// reader busy for a moment (a loaded machine, a burst of the window's text
// events) then still hears the key in order and may take it for itself,
// instead of the key going on unanswered.

#include <QObject>
#include <QPointer>

#include <deque>
#include <functional>
#include <memory>

class QDBusPendingCallWatcher;
class QEvent;
class QKeyEvent;

namespace orbela {

class ScreenReaderKeyRelay final : public QObject {
    Q_OBJECT

public:
    explicit ScreenReaderKeyRelay(QObject* parent = nullptr);
    ~ScreenReaderKeyRelay() override;

    // True when the key was taken: it reaches `receiver` later, as a posted
    // copy, unless the screen reader consumes it. Called before any event
    // filter sees the event.
    bool Take(QObject* receiver, QEvent* event);
    // Whether a screen reader is found now. Without one, the round trip
    // would only delay each key, and the bridge's own way serves any other
    // listener; unset, every key is relayed.
    void SetWanted(std::function<bool()> wanted) { wanted_ = std::move(wanted); }

private:
    struct Pending {
        QPointer<QObject> receiver;
        std::unique_ptr<QKeyEvent> key;
        bool answered = false;
        bool consumed = false;
    };

    void Answered(QDBusPendingCallWatcher* call, Pending* pending);
    void DeliverAnswered();

    std::deque<std::unique_ptr<Pending>> pending_;
    std::function<bool()> wanted_;
};

} // namespace orbela
