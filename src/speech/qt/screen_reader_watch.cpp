// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/qt/screen_reader_watch.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>

namespace orbela {
namespace {

const QString Service = "org.a11y.Bus";
const QString Path = "/org/a11y/bus";
const QString StatusInterface = "org.a11y.Status";
const QString Property = "ScreenReaderEnabled";
const QString PropertiesInterface = "org.freedesktop.DBus.Properties";
// The bus answers at once or not at all; the start must not hang on it.
constexpr int ReadTimeoutMs = 3000;

} // namespace

ScreenReaderWatch::ScreenReaderWatch(Changed changed, QObject* parent) : QObject(parent), changed_(std::move(changed))
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    bus.connect(Service, Path, PropertiesInterface, "PropertiesChanged", this,
                SLOT(PropertiesChanged(QString, QVariantMap, QStringList)));
    running_ = ReadProperty();
}

bool ScreenReaderWatch::ReadProperty()
{
    QDBusMessage get = QDBusMessage::createMethodCall(Service, Path, PropertiesInterface, "Get");
    get << StatusInterface << Property;
    const QDBusMessage reply = QDBusConnection::sessionBus().call(get, QDBus::Block, ReadTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return false;
    return reply.arguments().front().value<QDBusVariant>().variant().toBool();
}

void ScreenReaderWatch::PropertiesChanged(const QString& interface, const QVariantMap& changed,
                                          const QStringList& invalidated)
{
    if (interface != StatusInterface)
        return;
    if (changed.contains(Property))
        Set(changed.value(Property).toBool());
    else if (invalidated.contains(Property))
        Set(ReadProperty());
}

void ScreenReaderWatch::Set(bool running)
{
    if (running == running_)
        return;
    running_ = running;
    if (changed_)
        changed_(running);
}

} // namespace orbela
