// SPDX-License-Identifier: GPL-3.0-or-later
#include "braille/qt/braille_session.h"

#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSocketNotifier>
#include <QWindow>

#include <algorithm>

#include "keyboard/qt/tform2.h"
#include "keyboard/qt/tform6.h"
#include "runtime/runtime.h"

namespace orbela {
namespace {

// The click the screen review gives at its edges, for panning past a
// line's end.
constexpr double EdgeClick = 16;
// How soon a lost BRLTTY or display is looked for again; a BRLTTY that
// answers but has no display yet (still starting) sooner.
constexpr int RetryMilliseconds = 1500;
constexpr int DisplayRetryMilliseconds = 500;
// While no BRLTTY answers, each attempt waits twice as long as the one
// before, up to this: a machine without one is not woken every 1.5 s, and
// a BRLTTY started later is still found within seconds.
constexpr int LongestRetryMilliseconds = 6000;
// A server that accepts the socket but does not answer within this time
// counts as absent (its attempt is left to end by itself).
constexpr int AttemptMilliseconds = 4000;

} // namespace

BrailleSession::BrailleSession(Runtime& runtime, Windows windows, QObject* parent)
    : QObject(parent),
      runtime_(runtime),
      windows_(windows),
      screenView_(runtime.GetScreen(), [this] { Refresh(); }),
      dataEntryView_(*windows.dataEntry),
      reviewView_(*windows.review),
      controlView_(windows.main),
      menuView_(windows.main ? windows.main->findChild<QMenuBar*>() : nullptr, windows.main)
{
    runtime_.SetPrintListener(&screenView_);
    presenter_.SetEdgeSignal([this] { runtime_.Click(EdgeClick); });
    connect(&retry_, &QTimer::timeout, this, &BrailleSession::TryConnect);
    attemptLimit_.setSingleShot(true);
    attemptLimit_.setInterval(AttemptMilliseconds);
    connect(&attemptLimit_, &QTimer::timeout, this, &BrailleSession::AttemptTimedOut);
    connect(qApp, &QGuiApplication::focusWindowChanged, this, &BrailleSession::FocusWindowChanged);
    connect(qApp, &QApplication::focusChanged, this, [this] { ChooseView(); });
    QLineEdit* field = windows_.dataEntry->inputedit;
    connect(field, &QLineEdit::textChanged, this, &BrailleSession::Refresh);
    connect(field, &QLineEdit::cursorPositionChanged, this, &BrailleSession::Refresh);
    connect(windows_.review->virtualscrmemo, &QPlainTextEdit::cursorPositionChanged, this, &BrailleSession::Refresh);
    WatchMenus();
    // The other dialogs' values change by keys and clicks.
    qApp->installEventFilter(this);
}

void BrailleSession::WatchMenus()
{
    if (!windows_.main)
        return;
    // The item under the keys changes while the focus stays.
    const auto follow = [this] { QTimer::singleShot(0, this, &BrailleSession::ChooseView); };
    if (auto* bar = windows_.main->findChild<QMenuBar*>())
        connect(bar, &QMenuBar::hovered, this, follow);
    for (QMenu* menu : windows_.main->findChildren<QMenu*>()) {
        connect(menu, &QMenu::hovered, this, follow);
        connect(menu, &QMenu::aboutToHide, this, follow);
    }
}

BrailleSession::~BrailleSession()
{
    runtime_.SetPrintListener(nullptr);
    Close();
}

void BrailleSession::Close()
{
    retry_.stop();
    attemptLimit_.stop();
    StopWatchingKeys();
    StopWatchingAttempt();
    connection_.AbandonConnecting();
    // The display goes back to the screen reader or console below.
    connection_.Disconnect();
}

void BrailleSession::FollowScreenReader()
{
    presenter_.Invalidate();
    FocusWindowChanged(QGuiApplication::focusWindow());
}

void BrailleSession::SetEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    if (!enabled) {
        Close();
        return;
    }
    retryDelay_ = RetryMilliseconds;
    TryConnect();
}

void BrailleSession::TryConnect()
{
    if (!enabled_)
        return;
    if (connection_.Connected()) {
        UseConnection();
        return;
    }
    if (connection_.Connecting())
        return;
    // An attempt given up on may still be blocked: none starts beside it.
    if (!connection_.StartConnecting()) {
        RetryLater();
        return;
    }
    retry_.stop();
    WatchAttempt();
    attemptLimit_.start();
}

void BrailleSession::WatchAttempt()
{
    Watch(attempt_, connection_.AttemptDescriptor(), &BrailleSession::AttemptEnded);
}

void BrailleSession::StopWatchingAttempt()
{
    StopWatching(attempt_);
}

void BrailleSession::AttemptEnded()
{
    // The attempt's descriptor closes with it.
    StopWatchingAttempt();
    attemptLimit_.stop();
    if (!connection_.FinishConnecting()) {
        if (enabled_)
            RetryLater();
        return;
    }
    retryDelay_ = RetryMilliseconds;
    if (!enabled_) {
        connection_.Disconnect();
        return;
    }
    presenter_.Invalidate();
    WatchKeys();
    UseConnection();
}

void BrailleSession::AttemptTimedOut()
{
    StopWatchingAttempt();
    connection_.AbandonConnecting();
    // Still blocked: its end is awaited before the next attempt.
    if (connection_.AttemptDescriptor() >= 0)
        WatchAttempt();
    else if (enabled_)
        RetryLater();
}

void BrailleSession::RetryLater()
{
    retry_.start(retryDelay_);
    retryDelay_ = std::min(retryDelay_ * 2, LongestRetryMilliseconds);
}

void BrailleSession::UseConnection()
{
    FocusWindowChanged(QGuiApplication::focusWindow());
    if (connection_.Connected() && (!connection_.HoldsDisplay() || presenter_.Written()))
        retry_.stop();
}

void BrailleSession::WatchKeys()
{
    Watch(keys_, connection_.FileDescriptor(), &BrailleSession::ReadKeys);
}

void BrailleSession::StopWatchingKeys()
{
    StopWatching(keys_);
}

void BrailleSession::Watch(QPointer<QSocketNotifier>& notifier, int descriptor, void (BrailleSession::*handler)())
{
    StopWatching(notifier);
    notifier = new QSocketNotifier(descriptor, QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, handler);
}

void BrailleSession::StopWatching(QPointer<QSocketNotifier>& notifier)
{
    if (!notifier)
        return;
    // Possibly called from the notifier's own signal.
    notifier->setEnabled(false);
    notifier->deleteLater();
    notifier = nullptr;
}

void BrailleSession::FocusWindowChanged(QWindow* window)
{
    if (!connection_.Connected())
        return;
    if (!window || (yields_ && yields_())) {
        // Another program has the focus, or the screen reader shows ours:
        // its display again.
        connection_.ReleaseDisplay();
        presenter_.Invalidate();
        CheckConnection();
        return;
    }
    // Every X window of the program is a window of its own to BrlAPI, as
    // xbrlapi reports the desktop's focus. Elsewhere (Wayland) a window id
    // means nothing to BRLTTY and no one reports the focus: the program
    // takes the session's terminal while one of its windows has the focus.
    const bool x11 = QGuiApplication::platformName() == QLatin1String("xcb");
    if (connection_.TakeDisplay(x11 ? window->winId() : BrlapiConnection::SessionTerminal)) {
        ChooseView();
        Refresh();
    }
    CheckConnection();
}

void BrailleSession::ChooseView()
{
    const QWidget* active = QApplication::activeWindow();
    BrailleView* view = nullptr;
    if (menuView_.Showing())
        view = &menuView_;
    else if (active == windows_.dataEntry)
        view = &dataEntryView_;
    else if (active == windows_.review)
        view = &reviewView_;
    else if (active == windows_.main)
        view = &screenView_;
    else if (active)
        view = &controlView_;
    if (!enabled_ || !connection_.HoldsDisplay()) {
        presenter_.SetView(nullptr);
        return;
    }
    presenter_.SetView(view);
    Refresh();
}

void BrailleSession::Refresh()
{
    if (!enabled_ || !connection_.HoldsDisplay())
        return;
    if (yields_ && yields_()) {
        FocusWindowChanged(QGuiApplication::focusWindow());
        return;
    }
    presenter_.Refresh();
    CheckConnection();
}

void BrailleSession::ReadKeys()
{
    for (const BrailleKey& key : connection_.ReadKeys())
        presenter_.HandleKey(key);
    if (connection_.TakeSizeChange() && connection_.HoldsDisplay()) {
        // The server sized our buffer when it gave us the display: take it
        // again at the new size, and draw every cell.
        connection_.TakeDisplayAgain();
        presenter_.Invalidate();
        Refresh();
    }
    CheckConnection();
}

void BrailleSession::CheckConnection()
{
    if (!enabled_)
        return;
    if (!connection_.Connected()) {
        StopWatchingKeys();
        presenter_.Invalidate();
    }
    // A lost server, or a server without a display yet: look again later.
    const bool missing = !connection_.Connected() ||
                         (connection_.HoldsDisplay() && presenter_.View() && !presenter_.Written());
    if (missing && !retry_.isActive()) {
        if (connection_.Connected())
            retry_.start(DisplayRetryMilliseconds);
        else
            RetryLater();
    }
}

bool BrailleSession::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    // A menu opens and closes by keys and clicks too.
    if (enabled_ && (type == QEvent::KeyRelease || type == QEvent::MouseButtonRelease))
        QTimer::singleShot(0, this, &BrailleSession::ChooseView);
    return QObject::eventFilter(watched, event);
}

} // namespace orbela
