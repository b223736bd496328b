// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/qt/screen_reader_watch.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QTimer>

#include <system_error>
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
    try {
        firstLook_ = std::async(std::launch::async, [this] { return LookFirst(); });
    } catch (const std::system_error&) {
        // No thread to spare: the look is made here.
        std::promise<FirstLook> done;
        done.set_value(LookFirst());
        firstLook_ = done.get_future();
    }
}

ScreenReaderWatch::~ScreenReaderWatch()
{
    if (firstLook_.valid())
        firstLook_.wait();
    if (accessibilityConnected_)
        QDBusConnection::disconnectFromBus(ConnectionName);
}

// On the first look's thread: every call here may block on a bus. Each
// subscription comes before the look it follows, so nothing that changes
// meanwhile goes unseen.
ScreenReaderWatch::FirstLook ScreenReaderWatch::LookFirst()
{
    FirstLook look;
    QDBusConnection session = QDBusConnection::sessionBus();
    look.sessionBus = session.isConnected();
    if (!look.sessionBus)
        return look;
    session.connect(LauncherService, LauncherPath, PropertiesInterface, "PropertiesChanged", this,
                    SLOT(StatusChanged(QString, QVariantMap, QStringList)));
    if (ConnectAccessibilityBus()) {
        QDBusMessage get = QDBusMessage::createMethodCall(RegistryService, RegistryPath, RegistryInterface,
                                                          "GetRegisteredEvents");
        const QDBusMessage reply = accessibility_.call(get, QDBus::Block, StartTimeoutMs);
        if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty())
            look.listenersShowReader =
                ListenersShowScreenReader(ParseListeners(reply.arguments().front().value<QDBusArgument>()));
    }
    return look;
}

void ScreenReaderWatch::TakeFirstLook()
{
    if (!firstLook_.valid())
        return;
    const FirstLook look = firstLook_.get();
    listenersShowReader_ = look.listenersShowReader;
    if (look.sessionBus) {
        // The watcher is an object of this thread, so it is made here, and
        // Orca's service is asked after it.
        auto* orca = new QDBusServiceWatcher(this);
        orca->setConnection(QDBusConnection::sessionBus());
        orca->setWatchedServices(OrcaServices);
        connect(orca, &QDBusServiceWatcher::serviceRegistered, this, &ScreenReaderWatch::LookSoon);
        connect(orca, &QDBusServiceWatcher::serviceUnregistered, this, &ScreenReaderWatch::LookSoon);
    }
    running_ = firstAnswer_ = listenersShowReader_ || OrcaServiceRuns();
}

bool ScreenReaderWatch::FirstAnswer()
{
    TakeFirstLook();
    return firstAnswer_;
}

bool ScreenReaderWatch::Running()
{
    TakeFirstLook();
    return running_;
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
    TakeFirstLook();
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
