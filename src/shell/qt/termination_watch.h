// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// SIGTERM, SIGHUP and SIGINT end the window as Program/Exit does. The
// notice is read by whatever message loop runs: the main one, a nested one
// while the game runs, or a message box's while it waits for its answer,
// which may be during the main window's creation. Each signal is heard:
// one that comes while the way out waits for an answer ends the program.

#include <QObject>
#include <QPointer>

class QSocketNotifier;

namespace orbela {

class ErrorReport;
class ProcessEnd;
class TForm1;

class TerminationWatch final : public QObject {
public:
    // `descriptor` becomes readable when a signal came.
    TerminationWatch(int descriptor, ErrorReport& report, ProcessEnd& processEnd, QObject* parent = nullptr);

    // Until it is set, the main window is still being made.
    void SetMainWindow(TForm1* window) { window_ = window; }

private:
    void End();

    ErrorReport& report_;
    ProcessEnd& processEnd_;
    QSocketNotifier* notifier_;
    QPointer<TForm1> window_;
};

} // namespace orbela
