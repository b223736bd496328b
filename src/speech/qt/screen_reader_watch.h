// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whether a screen reader runs, however it was started, followed as it
// starts and quits:
// - the accessibility bus's registry lists the event listeners of its
//   clients; one that follows the focus and the caret is a screen reader
//   (see screen_reader_listeners.h: tools that read the tree do not count);
// - Orca's own service on the session bus (from Orca 49) counts too;
// - the launcher's ScreenReaderEnabled and IsEnabled switches are only
//   hints to look again: nothing sets the first when Orca is started by
//   hand, and it stays on after Orca crashes; the second stays on for good.
// Nothing here writes the desktop's settings.

#include <QDBusConnection>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

#include <functional>
#include <future>

class QDBusPendingCallWatcher;
class QTimer;

namespace orbela {

class ScreenReaderWatch final : public QObject {
    Q_OBJECT

public:
    using Changed = std::function<void(bool running)>;

    // Begins the first look on a thread of its own (the buses' round trips
    // need not hold up the window being built) and reports every later
    // change to `changed`.
    explicit ScreenReaderWatch(Changed changed, QObject* parent = nullptr);
    ~ScreenReaderWatch() override;

    // What the first look found, waiting for it when it is not done yet;
    // false without a session bus or an accessibility bus.
    bool FirstAnswer();
    // What is found now: the first answer until a change was seen.
    bool Running();

private slots:
    void StatusChanged(const QString& interface, const QVariantMap& changed, const QStringList& invalidated);
    void ListenersChanged();
    void ClientLeft(const QString& name, const QString& oldOwner, const QString& newOwner);

private:
    struct FirstLook {
        bool sessionBus = false;
        bool listenersShowReader = false;
    };
    FirstLook LookFirst();
    void TakeFirstLook();
    bool ConnectAccessibilityBus();
    bool OrcaServiceRuns() const;
    void LookSoon();
    void LookNow();
    void ListenersRead(QDBusPendingCallWatcher* call);
    void Set(bool running);

    Changed changed_;
    // Until it is taken, the first look's thread owns the members below.
    std::future<FirstLook> firstLook_;
    QDBusConnection accessibility_{QString()};
    bool accessibilityConnected_ = false;
    bool listenersShowReader_ = false;
    bool firstAnswer_ = false;
    bool running_ = false;
    QTimer* settle_ = nullptr;
};

} // namespace orbela
