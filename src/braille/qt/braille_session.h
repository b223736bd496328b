// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The braille display beside the program's windows: connects to BRLTTY when
// it runs (quietly, and again after a loss), takes the display for the
// program's window while the window has the focus and gives it back when
// the focus leaves or the program ends, shows the active window's line and
// hands the display's keys to it.

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>

#include "braille/braille_presenter.h"
#include "braille/brlapi_connection.h"
#include "braille/qt/window_views.h"
#include "braille/screen_row_view.h"

class QSocketNotifier;
class QWidget;
class QWindow;

namespace orbela {

class Runtime;

class BrailleSession final : public QObject {
    Q_OBJECT

public:
    struct Windows {
        QWidget* main = nullptr;
        TForm2* dataEntry = nullptr;
        TForm6* review = nullptr;
    };

    // Becomes the runtime's print listener. Starts switched off.
    BrailleSession(Runtime& runtime, Windows windows, QObject* parent = nullptr);
    ~BrailleSession() override;

    // Asked before the display is taken: true leaves it to a screen reader
    // that shows the program's windows itself.
    void SetYieldsToScreenReader(std::function<bool()> yields) { yields_ = std::move(yields); }
    // After the answer may have changed (a screen reader started or
    // ended): takes the display, or gives it back, for the focused window.
    void FollowScreenReader();

    void SetEnabled(bool enabled);
    bool Enabled() const { return enabled_; }
    bool Connected() const { return connection_.Connected(); }

    // Shows the active window's line now (after a print, a caret move).
    void Refresh();

    // Leaves the display to BRLTTY and closes the connection, for a program
    // that ends without unwinding (BRLTTY then shows its own screen at once).
    void Close();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void TryConnect();
    // Another attempt after the current wait, which then grows.
    void RetryLater();
    void AttemptEnded();
    void AttemptTimedOut();
    void WatchAttempt();
    void StopWatchingAttempt();
    void UseConnection();
    void FocusWindowChanged(QWindow* window);
    void ChooseView();
    void WatchMenus();
    void ReadKeys();
    // After any call that may have lost the connection: watch again.
    void CheckConnection();
    void WatchKeys();
    void StopWatchingKeys();
    void Watch(QPointer<QSocketNotifier>& notifier, int descriptor, void (BrailleSession::*handler)());
    void StopWatching(QPointer<QSocketNotifier>& notifier);

    Runtime& runtime_;
    Windows windows_;
    BrlapiConnection connection_;
    BraillePresenter presenter_{connection_};
    ScreenRowView screenView_;
    DataEntryBrailleView dataEntryView_;
    ReviewBrailleView reviewView_;
    FocusedControlView controlView_;
    MenuItemView menuView_;
    QPointer<QSocketNotifier> keys_;
    QPointer<QSocketNotifier> attempt_;
    // How long a connection attempt may take before it counts as failed.
    QTimer attemptLimit_;
    // Runs only while something is missing: a server, a display, the tty.
    QTimer retry_;
    // The next wait for a BRLTTY that did not answer.
    int retryDelay_ = 1500;
    bool enabled_ = false;
    std::function<bool()> yields_;
};

} // namespace orbela
