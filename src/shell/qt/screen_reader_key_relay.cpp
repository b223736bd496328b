// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/qt/screen_reader_key_relay.h"

#include <QAccessible>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDateTime>
#include <QDebug>
#include <QKeyEvent>

namespace orbela {
namespace {

// The key as the registry's device event controller takes it; the fields
// and their order are the toolkit bridge's own.
struct DeviceEvent {
    unsigned int type = 0;
    int id = 0;
    int hardwareCode = 0;
    int modifiers = 0;
    int timestamp = 0;
    QString text;
    bool isText = false;
};

QDBusArgument& operator<<(QDBusArgument& argument, const DeviceEvent& event)
{
    argument.beginStructure();
    argument << event.type << event.id << event.hardwareCode << event.modifiers << event.timestamp << event.text
             << event.isText;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, DeviceEvent& event)
{
    argument.beginStructure();
    argument >> event.type >> event.id >> event.hardwareCode >> event.modifiers >> event.timestamp >> event.text >>
        event.isText;
    argument.endStructure();
    return argument;
}

} // namespace
} // namespace orbela

Q_DECLARE_METATYPE(orbela::DeviceEvent)

namespace orbela {
namespace {

// The toolkit bridge's connection to the accessibility bus, by its name.
const QString BridgeConnection = "a11y";
// Longer than a busy screen reader takes; a stalled one holds a key no
// longer than this before typing goes on without it.
constexpr int AnswerTimeoutMs = 1000;

// The key names screen readers match, for the keys whose text is empty or
// a control character.
QString KeyName(const QKeyEvent& key)
{
    const bool keypad = key.modifiers() & Qt::KeypadModifier;
    switch (key.key()) {
    case Qt::Key_Tab: return QStringLiteral("Tab");
    case Qt::Key_Backtab: return QStringLiteral("Backtab");
    case Qt::Key_Control: return QStringLiteral("Control_L");
    case Qt::Key_Left: return keypad ? QStringLiteral("KP_Left") : QStringLiteral("Left");
    case Qt::Key_Right: return keypad ? QStringLiteral("KP_Right") : QStringLiteral("Right");
    case Qt::Key_Up: return keypad ? QStringLiteral("KP_Up") : QStringLiteral("Up");
    case Qt::Key_Down: return keypad ? QStringLiteral("KP_Down") : QStringLiteral("Down");
    case Qt::Key_Enter:
    case Qt::Key_Return: return QStringLiteral("Return");
    case Qt::Key_Backspace: return QStringLiteral("BackSpace");
    case Qt::Key_Delete: return QStringLiteral("Delete");
    case Qt::Key_PageUp: return keypad ? QStringLiteral("KP_Page_Up") : QStringLiteral("Page_Up");
    case Qt::Key_PageDown: return keypad ? QStringLiteral("KP_Page_Down") : QStringLiteral("Page_Down");
    case Qt::Key_Home: return keypad ? QStringLiteral("KP_Home") : QStringLiteral("Home");
    case Qt::Key_End: return keypad ? QStringLiteral("KP_End") : QStringLiteral("End");
    case Qt::Key_Clear: return keypad ? QStringLiteral("KP_Begin") : key.text();
    case Qt::Key_Escape: return QStringLiteral("Escape");
    case Qt::Key_Space: return QStringLiteral("space");
    case Qt::Key_CapsLock: return QStringLiteral("Caps_Lock");
    case Qt::Key_NumLock: return QStringLiteral("Num_Lock");
    case Qt::Key_Insert: return QStringLiteral("Insert");
    default: return key.text();
    }
}

DeviceEvent Describe(const QKeyEvent& key)
{
    // The registry's modifier bits: shift, shift lock, control, alt, meta.
    constexpr int Shift = 1 << 0, ShiftLock = 1 << 1, Control = 1 << 2, Alt = 1 << 3, Meta = 1 << 4;
    constexpr quint32 X11LockMask = 1 << 1;
    DeviceEvent event;
    event.type = key.type() == QEvent::KeyPress ? 0 : 1;
    event.id = static_cast<int>(key.nativeVirtualKey());
    event.hardwareCode = static_cast<int>(key.nativeScanCode());
    event.timestamp = static_cast<int>(QDateTime::currentMSecsSinceEpoch());
    event.text = KeyName(key);
    event.isText = !event.text.isEmpty();
    const Qt::KeyboardModifiers held = key.modifiers();
    if ((held & Qt::ShiftModifier) && key.key() != Qt::Key_Shift)
        event.modifiers |= Shift;
    if (key.nativeModifiers() & X11LockMask)
        event.modifiers |= ShiftLock;
    if ((held & Qt::ControlModifier) && key.key() != Qt::Key_Control)
        event.modifiers |= Control;
    if ((held & Qt::AltModifier) && key.key() != Qt::Key_Alt)
        event.modifiers |= Alt;
    if ((held & Qt::MetaModifier) && key.key() != Qt::Key_Meta)
        event.modifiers |= Meta;
    return event;
}

std::unique_ptr<QKeyEvent> Copy(const QKeyEvent& key)
{
    return std::make_unique<QKeyEvent>(key.type(), key.key(), key.modifiers(), key.nativeScanCode(),
                                       key.nativeVirtualKey(), key.nativeModifiers(), key.text(),
                                       key.isAutoRepeat(), key.count());
}

} // namespace

ScreenReaderKeyRelay::ScreenReaderKeyRelay(QObject* parent) : QObject(parent)
{
    qDBusRegisterMetaType<DeviceEvent>();
}

ScreenReaderKeyRelay::~ScreenReaderKeyRelay() = default;

bool ScreenReaderKeyRelay::Take(QObject* receiver, QEvent* event)
{
    // Only keys from the window system: the copies handed back are posted,
    // so they pass here once.
    if (!event->spontaneous() || (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease))
        return false;
    if (!QAccessible::isActive())
        return false;
    // Keys still waiting keep the later ones behind them, in the order typed.
    if (pending_.empty() && wanted_ && !wanted_())
        return false;
    QDBusConnection bus(BridgeConnection);
    // Not yet on the accessibility bus: the bridge's own way is left.
    if (!bus.isConnected())
        return false;
    const auto& key = static_cast<const QKeyEvent&>(*event);
    QDBusMessage notify = QDBusMessage::createMethodCall(
        "org.a11y.atspi.Registry", "/org/a11y/atspi/registry/deviceeventcontroller",
        "org.a11y.atspi.DeviceEventController", "NotifyListenersSync");
    notify.setArguments({QVariant::fromValue(Describe(key))});
    auto pending = std::make_unique<Pending>();
    pending->receiver = receiver;
    pending->key = Copy(key);
    Pending* waiting = pending.get();
    auto* call = new QDBusPendingCallWatcher(bus.asyncCall(notify, AnswerTimeoutMs), this);
    pending_.push_back(std::move(pending));
    connect(call, &QDBusPendingCallWatcher::finished, this,
            [this, waiting](QDBusPendingCallWatcher* finished) { Answered(finished, waiting); });
    return true;
}

void ScreenReaderKeyRelay::Answered(QDBusPendingCallWatcher* call, Pending* pending)
{
    call->deleteLater();
    const QDBusMessage reply = call->reply();
    pending->answered = true;
    if (reply.type() == QDBusMessage::ReplyMessage)
        pending->consumed = !reply.arguments().isEmpty() && reply.arguments().front().toBool();
    else
        qWarning() << "orbela: the screen reader did not answer a key:" << reply.errorName();
    DeliverAnswered();
}

void ScreenReaderKeyRelay::DeliverAnswered()
{
    // In the order typed: a key answered early waits for the ones before it.
    while (!pending_.empty() && pending_.front()->answered) {
        std::unique_ptr<Pending> done = std::move(pending_.front());
        pending_.pop_front();
        if (!done->consumed && done->receiver)
            QCoreApplication::postEvent(done->receiver, done->key.release());
    }
}

} // namespace orbela
