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

class QDBusPendingCallWatcher;
class QTimer;

namespace orbela {

class ScreenReaderWatch final : public QObject {
    Q_OBJECT

public:
    using Changed = std::function<void(bool running)>;

    // Looks at once (false without a session bus or an accessibility bus)
    // and reports every later change to `changed`.
    explicit ScreenReaderWatch(Changed changed, QObject* parent = nullptr);
    ~ScreenReaderWatch() override;

    bool Running() const { return running_; }

private slots:
    void StatusChanged(const QString& interface, const QVariantMap& changed, const QStringList& invalidated);
    void ListenersChanged();
    void ClientLeft(const QString& name, const QString& oldOwner, const QString& newOwner);

private:
    bool ConnectAccessibilityBus();
    bool OrcaServiceRuns() const;
    void LookSoon();
    void LookNow();
    void ListenersRead(QDBusPendingCallWatcher* call);
    void Set(bool running);

    Changed changed_;
    QDBusConnection accessibility_{QString()};
    bool accessibilityConnected_ = false;
    bool listenersShowReader_ = false;
    bool running_ = false;
    QTimer* settle_ = nullptr;
};

} // namespace orbela
