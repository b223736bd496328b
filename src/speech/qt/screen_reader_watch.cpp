// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/qt/screen_reader_watch.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QTimer>

#include <vector>

#include "speech/screen_reader_listeners.h"

namespace orbela {
namespace {

const QString LauncherService = "org.a11y.Bus";
const QString LauncherPath = "/org/a11y/bus";
const QString StatusInterface = "org.a11y.Status";
const QString RegistryService = "org.a11y.atspi.Registry";
const QString RegistryPath = "/org/a11y/atspi/registry";
const QString RegistryInterface = "org.a11y.atspi.Registry";
const QString PropertiesInterface = "org.freedesktop.DBus.Properties";
const QStringList OrcaServices{"org.gnome.Orca.Service", "org.gnome.Orca1.Service"};
const QString ConnectionName = "orbela-screen-reader-watch";
// The buses answer at once or not at all; the start must not hang on them.
constexpr int StartTimeoutMs = 3000;
// A screen reader registers a score of listeners in a burst: look once after
// it, well within the second a change may take to be followed.
constexpr int SettleMs = 150;

std::vector<EventListener> ParseListeners(const QDBusArgument& argument)
{
    std::vector<EventListener> listeners;
    argument.beginArray();
    while (!argument.atEnd()) {
        QString client, event;
        argument.beginStructure();
        argument >> client >> event;
        argument.endStructure();
        listeners.emplace_back(client.toStdString(), event.toStdString());
    }
    argument.endArray();
    return listeners;
}

} // namespace

ScreenReaderWatch::ScreenReaderWatch(Changed changed, QObject* parent) : QObject(parent), changed_(std::move(changed))
{
    settle_ = new QTimer(this);
    settle_->setSingleShot(true);
    settle_->setInterval(SettleMs);
    connect(settle_, &QTimer::timeout, this, &ScreenReaderWatch::LookNow);

    QDBusConnection session = QDBusConnection::sessionBus();
    if (!session.isConnected())
        return;
    session.connect(LauncherService, LauncherPath, PropertiesInterface, "PropertiesChanged", this,
                    SLOT(StatusChanged(QString, QVariantMap, QStringList)));
    auto* orca = new QDBusServiceWatcher(this);
    orca->setConnection(session);
    orca->setWatchedServices(OrcaServices);
    connect(orca, &QDBusServiceWatcher::serviceRegistered, this, &ScreenReaderWatch::LookSoon);
    connect(orca, &QDBusServiceWatcher::serviceUnregistered, this, &ScreenReaderWatch::LookSoon);

    // The first look waits for its answers: the first window is spoken, or
    // left to the screen reader, by what it finds.
    if (ConnectAccessibilityBus()) {
        QDBusMessage get = QDBusMessage::createMethodCall(RegistryService, RegistryPath, RegistryInterface,
                                                          "GetRegisteredEvents");
        const QDBusMessage reply = accessibility_.call(get, QDBus::Block, StartTimeoutMs);
        if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty())
            listenersShowReader_ =
                ListenersShowScreenReader(ParseListeners(reply.arguments().front().value<QDBusArgument>()));
    }
    running_ = listenersShowReader_ || OrcaServiceRuns();
}

ScreenReaderWatch::~ScreenReaderWatch()
{
    if (accessibilityConnected_)
        QDBusConnection::disconnectFromBus(ConnectionName);
}

bool ScreenReaderWatch::ConnectAccessibilityBus()
{
    if (accessibilityConnected_)
        return true;
    QDBusMessage ask = QDBusMessage::createMethodCall(LauncherService, LauncherPath, LauncherService, "GetAddress");
    const QDBusMessage reply = QDBusConnection::sessionBus().call(ask, QDBus::Block, StartTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return false;
    const QString address = reply.arguments().front().toString();
    if (address.isEmpty())
        return false;
    accessibility_ = QDBusConnection::connectToBus(address, ConnectionName);
    if (!accessibility_.isConnected()) {
        QDBusConnection::disconnectFromBus(ConnectionName);
        return false;
    }
    accessibilityConnected_ = true;
    for (const char* signal : {"EventListenerRegistered", "EventListenerDeregistered"})
        accessibility_.connect(RegistryService, RegistryPath, RegistryInterface, signal, this,
                               SLOT(ListenersChanged()));
    // A client that ends without deregistering: the registry drops its
    // listeners when its name leaves the bus.
    accessibility_.connect("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                           "NameOwnerChanged", this, SLOT(ClientLeft(QString, QString, QString)));
    return true;
}

bool ScreenReaderWatch::OrcaServiceRuns() const
{
    const QDBusConnectionInterface* names = QDBusConnection::sessionBus().interface();
    if (!names)
        return false;
    for (const QString& service : OrcaServices)
        if (names->isServiceRegistered(service).value())
            return true;
    return false;
}

void ScreenReaderWatch::StatusChanged(const QString& interface, const QVariantMap&, const QStringList&)
{
    // Either switch turning is a reason to look, never an answer by itself.
    if (interface == StatusInterface)
        LookSoon();
}

void ScreenReaderWatch::ListenersChanged()
{
    LookSoon();
}

void ScreenReaderWatch::ClientLeft(const QString& name, const QString&, const QString& newOwner)
{
    if (newOwner.isEmpty() && name.startsWith(':'))
        LookSoon();
}

void ScreenReaderWatch::LookSoon()
{
    if (!settle_->isActive())
        settle_->start();
}

void ScreenReaderWatch::LookNow()
{
    if (!ConnectAccessibilityBus()) {
        listenersShowReader_ = false;
        Set(OrcaServiceRuns());
        return;
    }
    QDBusMessage get =
        QDBusMessage::createMethodCall(RegistryService, RegistryPath, RegistryInterface, "GetRegisteredEvents");
    auto* call = new QDBusPendingCallWatcher(accessibility_.asyncCall(get), this);
    connect(call, &QDBusPendingCallWatcher::finished, this, &ScreenReaderWatch::ListenersRead);
}

void ScreenReaderWatch::ListenersRead(QDBusPendingCallWatcher* call)
{
    call->deleteLater();
    const QDBusMessage reply = call->reply();
    // A failed read means nobody is listening.
    listenersShowReader_ = reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
                           ListenersShowScreenReader(ParseListeners(reply.arguments().front().value<QDBusArgument>()));
    Set(listenersShowReader_ || OrcaServiceRuns());
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
