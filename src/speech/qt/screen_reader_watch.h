// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whether the desktop's screen reader runs: the ScreenReaderEnabled
// property of org.a11y.Status on the accessibility bus's launcher (session
// bus, service org.a11y.Bus, object /org/a11y/bus), read at start and
// followed through its PropertiesChanged signal.

#include <QObject>
#include <QStringList>
#include <QVariantMap>

#include <functional>

namespace orbela {

class ScreenReaderWatch final : public QObject {
    Q_OBJECT

public:
    using Changed = std::function<void(bool running)>;

    // Reads the property at once (false without a session bus or an
    // accessibility bus) and reports every later change to `changed`.
    explicit ScreenReaderWatch(Changed changed, QObject* parent = nullptr);

    bool Running() const { return running_; }

private slots:
    void PropertiesChanged(const QString& interface, const QVariantMap& changed, const QStringList& invalidated);

private:
    static bool ReadProperty();
    void Set(bool running);

    Changed changed_;
    bool running_ = false;
};

} // namespace orbela
